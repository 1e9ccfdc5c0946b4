#include "common/cp1251_codec.h"
#include "common/error.h"
#include "textview/rtf_writer.h"
#include "textview/text_file.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace songwick {
namespace {

const QStringList kLines = {u"1\t/музыка/Ой, мороз.kar Кадышева\t"_s, QString(),
                            u"Ёжик — «туман» №5"_s};

TEST(TextFileTest, Utf8TextOpensWithItsLetters) {
    const QByteArray bytes = kLines.join(u"\r\n"_s).toUtf8() + "\r\n";
    const TextFileContent content = decodeTextFile(bytes);
    EXPECT_EQ(content.format, TextFileFormat::Utf8);
    EXPECT_EQ(content.lines, kLines);
    // A byte order mark is not text.
    EXPECT_EQ(decodeTextFile("\xEF\xBB\xBF" + bytes).lines, kLines);
}

TEST(TextFileTest, Cp1251TextOpensWithItsLetters) {
    const QByteArray bytes = encodeCp1251(kLines.join(u"\n"_s));
    const TextFileContent content = decodeTextFile(bytes);
    EXPECT_EQ(content.format, TextFileFormat::Cp1251);
    EXPECT_EQ(content.lines, kLines);
}

TEST(TextFileTest, LineEndsOfEveryKindSplitLines) {
    EXPECT_EQ(decodeTextFile("a\r\nb\nc\rd\n\ne").lines,
              QStringList({u"a"_s, u"b"_s, u"c"_s, u"d"_s, QString(), u"e"_s}));
    EXPECT_EQ(decodeTextFile("a\n\n").lines, QStringList({u"a"_s, QString()}));
    EXPECT_TRUE(decodeTextFile("").lines.isEmpty());
    // A cut-off UTF-8 sequence at the end is not UTF-8.
    EXPECT_EQ(decodeTextFile("\xd0\x9f\xd0").format, TextFileFormat::Cp1251);
}

TEST(TextFileTest, RtfFileOpensAsRtfAndPlainTextSavedAgainComesBack) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString plainPath = folder.filePath(u"plain.txt"_s);
    {
        QFile plain(plainPath);
        ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
        plain.write(encodeCp1251(kLines.join(u"\r\n"_s)));
    }
    const TextFileContent opened = readTextFile(plainPath);
    const QString savedPath = folder.filePath(u"saved.txt"_s);
    RtfWriter::writeFile(savedPath, opened.lines);
    const TextFileContent reopened = readTextFile(savedPath);
    EXPECT_EQ(reopened.format, TextFileFormat::Rtf);
    EXPECT_EQ(reopened.lines, kLines);
}

TEST(TextFileTest, MissingFileThrows) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    EXPECT_THROW(readTextFile(folder.filePath(u"none.txt"_s)), Error);
    EXPECT_THROW(readTextFile(folder.path()), Error); // a folder is not a text file
}

} // namespace
} // namespace songwick
