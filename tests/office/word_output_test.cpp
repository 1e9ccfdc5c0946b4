#include "office/word_output.h"
#include "office_fixtures.h"
#include "settings/program_settings.h"
#include "zip_reading.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <numeric>

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

QString savedDocumentXml(const Document& document, const QTemporaryDir& folder) {
    const QString path = folder.filePath(QStringLiteral("table.docx"));
    document.saveAs(path);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(testing::zipPart(file.readAll(), "word/document.xml").value_or(""));
}

std::vector<int> gridColumnWidths(const QString& xml) {
    std::vector<int> widths;
    const QRegularExpression column(QStringLiteral("<w:gridCol w:w=\"(\\d+)\"/>"));
    for (const QRegularExpressionMatch& match : column.globalMatch(xml))
        widths.push_back(match.captured(1).toInt());
    return widths;
}

TEST(WordOutput, TableDocumentHoldsARealTableWithARepeatedHeaderAndTheTrailerAfterIt) {
    ProgramSettings settings;
    settings.TextAddCaption = true;
    const testing::FixedClock clock(testing::fixedMoment());
    CatalogueGrid grid = testing::sampleGrid(2);
    const Document document = tableDocument(grid, settings, clock.now());
    // Its text, for printing, is the rendering as it was.
    EXPECT_EQ(document.printText(),
              documentWithText(freshTableText(grid, settings, clock.now())).printText());

    QTemporaryDir folder;
    QString xml = savedDocumentXml(document, folder);
    EXPECT_TRUE(xml.contains(QStringLiteral("<w:body><w:tbl>"))) << xml.toStdString();
    EXPECT_EQ(xml.count(QStringLiteral("<w:tr>")), 3);
    EXPECT_EQ(xml.count(QStringLiteral("<w:tblHeader/>")), 1);
    const QString header = xml.section(QStringLiteral("<w:tr>"), 1, 1);
    EXPECT_TRUE(header.contains(QStringLiteral("<w:tblHeader/>")));
    const qsizetype number = header.indexOf(QStringLiteral(">№<"));
    const qsizetype location = header.indexOf(QStringLiteral(">Расположение (путь)<"));
    const qsizetype name = header.indexOf(QStringLiteral(">Имя файла<"));
    EXPECT_TRUE(number >= 0 && number < location && location < name) << header.toStdString();
    EXPECT_TRUE(xml.contains(QStringLiteral("</w:tbl><w:p/><w:p><w:r><w:t xml:space=\"preserve\"> "
                                            "Made in Earth</w:t></w:r></w:p><w:sectPr>")));
    EXPECT_EQ(gridColumnWidths(xml).size(), 7u);

    CatalogueGrid narrow(4, 2);
    const QStringList shortTitles = {QStringLiteral("№"), QStringLiteral("Имя"),
                                     QStringLiteral("Путь"), QStringLiteral("Песня")};
    for (int column = 0; column < 4; ++column)
        narrow.setCell(column, 0, shortTitles[column]);
    xml = savedDocumentXml(tableDocument(narrow, settings, clock.now()), folder);
    EXPECT_TRUE(xml.contains(QStringLiteral("<w:pgSz w:w=\"11906\" w:h=\"16838\"/>")))
        << "a narrow table stays upright";

    // Wider than the upright page: landscape, the columns fitted to its width, the short ones
    // as wide as their texts and the long ones sharing the rest.
    grid.setCell(3, 1, QString(150, u'т'));
    grid.setCell(2, 2, QStringLiteral("/очень/длинный/путь/") + QString(100, u'п'));
    xml = savedDocumentXml(tableDocument(grid, settings, clock.now()), folder);
    EXPECT_TRUE(xml.contains(QStringLiteral("<w:pgSz w:w=\"16838\" w:h=\"11906\" "
                                            "w:orient=\"landscape\"/>")));
    const std::vector<int> widths = gridColumnWidths(xml);
    ASSERT_EQ(widths.size(), 7u);
    EXPECT_LE(std::accumulate(widths.begin(), widths.end(), 0), 16838 - 1701 - 850);
    EXPECT_LT(widths[0], 1000) << "the number column";
    EXPECT_EQ(widths[1], widths[3]) << "the location and title columns share the rest";
    EXPECT_GT(widths[3], 3 * widths[2]) << "the title column against the file names";
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
