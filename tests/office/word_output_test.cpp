#include "office/word_output.h"
#include "office_fixtures.h"
#include "settings/program_settings.h"
#include "zip_reading.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace songwick {
namespace {

TEST(WordOutput, FreshRenderingBecomesOneParagraphPerLine) {
    ProgramSettings settings;
    settings.TextAddCaption = true;
    const testing::FixedClock clock(testing::fixedMoment());
    const QString text = freshTableText(testing::sampleGrid(2), settings, clock.now());
    EXPECT_EQ(text, QStringLiteral("1\t1:21:1 1:3\t1:4\t1:5\t1:6\t\r\n"
                                   "2\t2:22:1 2:3\t2:4\t2:5\t2:6\t\r\n"
                                   "\r\n"
                                   " Made in Earth"));
    // The document holds exactly the text: no paragraph added before or after it.
    const Document document = documentWithText(text);
    EXPECT_EQ(document.paragraphs().size(), 4);
    EXPECT_EQ(document.paragraphs().last(), QStringLiteral(" Made in Earth"));
    EXPECT_EQ(viewText({QStringLiteral("a"), QStringLiteral("b")}), QStringLiteral("a\r\nb"));
}

TEST(WordOutput, ShownDocumentIsWrittenThenOpened) {
    QTemporaryDir folder;
    testing::RecordingOpener opener;
    const testing::FixedClock clock(testing::fixedMoment());
    const QString path =
        showDocument(documentWithText(QStringLiteral("строка\tдва")), clock, opener, folder.path());
    EXPECT_EQ(opener.opened, QStringList{path});
    EXPECT_TRUE(path.endsWith(QStringLiteral(" 2024-03-05 14.07.09.docx")));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const auto xml = testing::zipPart(file.readAll(), "word/document.xml");
    ASSERT_TRUE(xml);
    EXPECT_TRUE(QString::fromUtf8(*xml).contains(
        QStringLiteral("<w:t xml:space=\"preserve\">строка</w:t><w:tab/>")));
}

} // namespace
} // namespace songwick
