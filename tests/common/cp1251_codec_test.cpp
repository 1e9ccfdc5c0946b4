#include "common/cp1251_codec.h"

#include <gtest/gtest.h>

using namespace songwick;

TEST(Cp1251Codec, EveryByteRoundTrips) {
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(char(b));
    const QString text = decodeCp1251(all);
    ASSERT_EQ(text.size(), 256);
    EXPECT_EQ(encodeCp1251(text), all);
    EXPECT_EQ(text[0x98].unicode(), 0x0098);
}

TEST(Cp1251Codec, CyrillicLettersAndSigns) {
    EXPECT_EQ(decodeCp1251("\xC0\xFF\xA8\xB8\xB9"), QStringLiteral("АяЁё№"));
    EXPECT_EQ(encodeCp1251(QStringLiteral("Песня Ё")), QByteArray("\xCF\xE5\xF1\xED\xFF \xA8"));
}

TEST(Cp1251Codec, CharactersOutsideTheCodePageBecomeQuestionMarks) {
    EXPECT_EQ(encodeCp1251(QStringLiteral("a\u00E9b")), QByteArray("a?b"));
    EXPECT_EQ(encodeCp1251(QString::fromUtf8("\xF0\x9F\x8E\xA4!")), QByteArray("?!"));
    EXPECT_EQ(encodeCp1251(QStringView(u"\0x", 2)), QByteArray("\0x", 2));
}

// Long texts go eight or sixteen characters at a time: a character that is not plain ASCII
// must be caught wherever it stands among them.
TEST(Cp1251Codec, AnyCharacterAmongLongAsciiIsEncodedAndDecodedAsAlone) {
    const char16_t specials[] = {u'Ж',  u'\t',     u'\r',     u'\n',     u'\u00E9',
                                 u'\0', u'\u8000', u'\u007F', u'\u0080', u'\u001F'};
    for (int at = 0; at < 40; ++at) {
        for (const char16_t special : specials) {
            QString text = QString(at, u'a') + QChar(special) + QString(39 - at, u'b');
            bool exact = false;
            const QByteArray encoded = encodeCp1251(text, &exact);
            const bool oneLine = exact && special != u'\r' && special != u'\n';
            QByteArray line = "start";
            EXPECT_EQ(appendCp1251Line(line, text), oneLine) << at << ' ' << int(special);
            EXPECT_EQ(line, oneLine ? "start" + encoded : QByteArray("start"));
            if (exact) {
                EXPECT_EQ(decodeCp1251(encoded), text) << at << ' ' << int(special);
            }
        }
    }
}
