#include "common/error.h"
#include "textview/rtf_reader.h"
#include "textview/rtf_writer.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace songwick {
namespace {

const QByteArray kHeader = "{\\rtf1\\ansi\\ansicpg1251\\deff0\\deflang1049"
                           "{\\fonttbl{\\f0\\fswiss\\fcharset204 Arial;}}\r\n"
                           "{\\*\\generator Songwick;}\\viewkind4\\uc1\r\n";

TEST(RtfWriterTest, WritesCodePage1251BytesEscapesAndUnicode) {
    const QStringList paragraphs = {u"Ab"_s, u"Пр\t{x}\\ ё"_s, u"€ 中 😀"_s};
    const QByteArray expected =
        kHeader + "\\pard\\fi220\\f0\\fs20 Ab\\par\r\n"
                  "\\pard\\fi220\\f0\\fs20 \\'cf\\'f0\\tab \\{x\\}\\\\ \\'b8\\par\r\n"
                  "\\pard\\fi220\\f0\\fs20 \\'88 \\u20013? \\u-10179?\\u-8704?\\par\r\n"
                  "}\r\n";
    EXPECT_EQ(RtfWriter::toRtf(paragraphs), expected);
}

TEST(RtfWriterTest, EmptyContentIsAWholeDocument) {
    EXPECT_EQ(RtfWriter::toRtf({}), kHeader + "}\r\n");
    EXPECT_TRUE(RtfReader::toLines(RtfWriter::toRtf({})).isEmpty());
}

TEST(RtfWriterTest, LineBreakInsideAnElementStartsAParagraph) {
    EXPECT_EQ(RtfReader::toLines(RtfWriter::toRtf({u"one\r\ntwo\nthree"_s, u"four"_s})),
              QStringList({u"one"_s, u"two"_s, u"three"_s, u"four"_s}));
}

TEST(RtfWriterTest, RoundTripGivesTheSameLines) {
    const QStringList paragraphs = {
        u"1\tC:/Музыка/Песни/Ой, мороз.kar Надежда Кадышева\tслова народные\t\t\t"_s,
        u"V 2\t/home/ёжик/{скобки}/\\обратная\\ черта.kar \t\t\t"_s,
        QString(),
        u"Ελληνικά, 中文, emoji 😀, U+0098 \u0098, nbsp \u00A0, №, «кавычки» — тире"_s,
        u"   leading blanks and trailing ones   "_s,
        u"Ѐ Ґ ґ Ў ў Є ї"_s,
        QString(),
        QString(),
    };
    EXPECT_EQ(RtfReader::toLines(RtfWriter::toRtf(paragraphs)), paragraphs);
}

TEST(RtfWriterTest, EveryCharacterOfTheBasicPlaneComesBack) {
    QString all;
    for (char32_t c = 0x20; c < 0x10000; ++c) {
        if (c >= 0xD800 && c < 0xE000)
            continue;
        all += QChar(char16_t(c));
    }
    EXPECT_EQ(RtfReader::toLines(RtfWriter::toRtf({all})), QStringList{all});
}

TEST(RtfWriterTest, WriteFileReplacesTheFileWhole) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString path = folder.filePath(u"список.txt"_s);
    {
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("an older and much longer content that must disappear completely");
    }
    RtfWriter::writeFile(path, {u"Привет"_s});
    QFile written(path);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll(), RtfWriter::toRtf({u"Привет"_s}));
}

TEST(RtfWriterTest, WriteFileIntoAMissingFolderThrows) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString path = folder.filePath(u"missing/list.txt"_s);
    try {
        RtfWriter::writeFile(path, {u"x"_s});
        FAIL() << "no error";
    } catch (const Error& error) {
        EXPECT_TRUE(error.message().startsWith(u"Failed to Save Stream"_s)) << error.what();
    }
    EXPECT_FALSE(QFile::exists(path));
}

} // namespace
} // namespace songwick
