// Our .docx as another program reads it: LibreOffice converts it to plain text and to PDF.
// Skipped where LibreOffice (or, for the PDF, poppler's pdftotext and pdfinfo) is not
// installed; none of them is a build dependency.
#include "office/document.h"
#include "office/word_output.h"
#include "office_fixtures.h"
#include "settings/program_settings.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace songwick {
namespace {

QString findProgram(const char* name) {
    return QStandardPaths::findExecutable(QString::fromLatin1(name));
}

// Converts the document with LibreOffice into `folder`/out; the converted file's path.
QString convertWithLibreOffice(const QString& office, const QTemporaryDir& folder,
                               const QString& documentPath, const QString& format,
                               const QString& extension) {
    QProcess process;
    process.start(office, {QStringLiteral("-env:UserInstallation=file://") +
                               folder.filePath(QStringLiteral("profile")),
                           QStringLiteral("--headless"), QStringLiteral("--convert-to"), format,
                           QStringLiteral("--outdir"), folder.filePath(QStringLiteral("out")),
                           documentPath});
    EXPECT_TRUE(process.waitForFinished(180000));
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    return folder.filePath(QStringLiteral("out/") + QFileInfo(documentPath).completeBaseName() +
                           u'.' + extension);
}

QString standardOutputOf(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    EXPECT_TRUE(process.waitForFinished(60000));
    EXPECT_EQ(process.exitCode(), 0) << program.toStdString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

TEST(DocxWithLibreOffice, OurDocumentReadsAsTheSameParagraphs) {
    const QString office = findProgram("soffice");
    if (office.isEmpty())
        GTEST_SKIP() << "LibreOffice is not installed";
    const QStringList lines = {
        QStringLiteral("1\tКатюша.kar\t/песни/\tКатюша\tИсаковский М."),
        QStringLiteral("V 2\tYesterday.kar\t/songs/\t<Live> & \"more\""),
        QString(),
        QStringLiteral("08.дек.2026  12.00.00"),
    };
    QTemporaryDir folder;
    Document document;
    document.insertAfter(lines.join(QStringLiteral("\r\n")));
    const QString path = folder.filePath(QStringLiteral("table.docx"));
    document.saveAs(path);

    QFile text(convertWithLibreOffice(
        office, folder, path, QStringLiteral("txt:Text (encoded):UTF8"), QStringLiteral("txt")));
    ASSERT_TRUE(text.open(QIODevice::ReadOnly));
    QString content = QString::fromUtf8(text.readAll());
    content.remove(QChar(0xFEFF));
    content.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    while (content.endsWith(u'\n'))
        content.chop(1);
    EXPECT_EQ(content.split(u'\n'), lines);
}

// A catalogue of many rows with long texts prints as a table: on landscape pages, every row
// whole with all its columns, the header row on top of every page, the trailer after it.
TEST(DocxWithLibreOffice, TheTablePrintsLandscapeWithItsHeaderOnEveryPage) {
    const QString office = findProgram("soffice");
    const QString pdfToText = findProgram("pdftotext");
    const QString pdfInfo = findProgram("pdfinfo");
    if (office.isEmpty() || pdfToText.isEmpty() || pdfInfo.isEmpty())
        GTEST_SKIP() << "LibreOffice or poppler's pdftotext and pdfinfo are not installed";
    constexpr int kRows = 80;
    CatalogueGrid grid = testing::sampleGrid(kRows);
    for (int row = 1; row <= kRows; ++row) {
        grid.setCell(1, row, QStringLiteral("песня-%1.kar").arg(row));
        grid.setCell(2, row, QStringLiteral("/home/music/karaoke/сборник %1/").arg(row % 7));
        grid.setCell(3, row,
                     QStringLiteral("Исполнитель номер %1 - Длинное название песни").arg(row));
        grid.setCell(6, row, QStringLiteral("Мастер%1").arg(row));
    }
    ProgramSettings settings;
    settings.TextAddCaption = true;
    const testing::FixedClock clock(testing::fixedMoment());
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("catalogue.docx"));
    tableDocument(grid, settings, clock.now()).saveAs(path);

    const QString pdf =
        convertWithLibreOffice(office, folder, path, QStringLiteral("pdf"), QStringLiteral("pdf"));
    EXPECT_TRUE(standardOutputOf(pdfInfo, {pdf}).contains(QStringLiteral("841.89 x 595.")))
        << "A4 landscape";
    const QStringList pages =
        standardOutputOf(pdfToText, {pdf, QStringLiteral("-")}).split(u'\f', Qt::SkipEmptyParts);
    ASSERT_GE(pages.size(), 2);
    for (const QString& page : pages)
        EXPECT_TRUE(page.contains(QStringLiteral("Расположение (путь)"))) << page.toStdString();
    for (int row = 1; row <= kRows; ++row) {
        const QString title = QStringLiteral("Исполнитель номер %1 ").arg(row);
        const QString maker = QStringLiteral("Мастер%1\n").arg(row);
        const auto page = std::find_if(pages.begin(), pages.end(),
                                       [&](const QString& p) { return p.contains(title); });
        ASSERT_NE(page, pages.end()) << row;
        EXPECT_TRUE(page->contains(maker)) << "row " << row << " is split";
    }
    EXPECT_TRUE(pages.last().contains(QStringLiteral("Made in Earth")));
}

} // namespace
} // namespace songwick
