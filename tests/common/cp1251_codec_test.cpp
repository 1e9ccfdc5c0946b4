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
