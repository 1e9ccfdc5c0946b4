#include "catalogue/list_file.h"
#include "office_fixtures.h"
#include "zip_reading.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace songwick {
namespace {

struct CliRun {
    int exitCode = -1;
    QString output;
};

CliRun runCli(const QStringList& arguments) {
    QProcess process;
    process.start(QStringLiteral(SONGWICK_CLI_PATH), arguments);
    process.waitForFinished(60000);
    return {process.exitCode(),
            QString::fromUtf8(process.readAllStandardOutput() + process.readAllStandardError())};
}

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(OfficeCommands, ListGoesToASpreadsheetAndComesBackByteForByte) {
    QTemporaryDir folder;
    const QString list = folder.filePath(QStringLiteral("list.swk"));
    const QString workbook = folder.filePath(QStringLiteral("out.xlsx"));
    const QString back = folder.filePath(QStringLiteral("back.swk"));
    CatalogueGrid grid = testing::sampleGrid(4);
    grid.setCell(0, 3, QStringLiteral("V 3"));
    writeListFile(list, grid);

    ASSERT_EQ(runCli({QStringLiteral("export-xlsx"), list, workbook}).exitCode, 0);
    const CliRun imported = runCli({QStringLiteral("import-xlsx"), workbook, back});
    ASSERT_EQ(imported.exitCode, 0) << imported.output.toStdString();
    EXPECT_TRUE(imported.output.contains(QStringLiteral("Импортировано в таблицу 4 запись(и)")));
    grid.setCell(0, 3, QStringLiteral("3")); // marks do not come back
    for (int row = 1; row <= 4; ++row)       // each row stands for the file its cells name
        grid.setRowFile(row, RowFile{grid.cell(2, row), grid.cell(1, row)});
    const QString expected = folder.filePath(QStringLiteral("expected.swk"));
    writeListFile(expected, grid);
    EXPECT_EQ(fileBytes(back), fileBytes(expected));
}

TEST(OfficeCommands, ListGoesToAWordDocument) {
    QTemporaryDir folder;
    const QString list = folder.filePath(QStringLiteral("list.swk"));
    const QString document = folder.filePath(QStringLiteral("out.docx"));
    writeListFile(list, testing::sampleGrid(2));
    ASSERT_EQ(runCli({QStringLiteral("export-docx"), list, document}).exitCode, 0);
    const auto xml = testing::zipPart(fileBytes(document), "word/document.xml");
    ASSERT_TRUE(xml);
    // The table as a table: row 2's cells in the order of the rendering for viewing.
    const QString body = QString::fromUtf8(*xml);
    EXPECT_TRUE(body.contains(QStringLiteral("<w:tbl>")));
    const qsizetype number = body.indexOf(QStringLiteral(">2</w:t>"));
    const qsizetype location = body.indexOf(QStringLiteral(">2:2</w:t>"));
    const qsizetype name = body.indexOf(QStringLiteral(">2:1</w:t>"));
    EXPECT_TRUE(number > 0 && number < location && location < name) << body.toStdString();
}

TEST(OfficeCommands, BadInputFailsWithTheReason) {
    QTemporaryDir folder;
    const QString text = folder.filePath(QStringLiteral("text.xlsx"));
    QFile file(text);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not a workbook");
    file.close();
    const CliRun notWorkbook =
        runCli({QStringLiteral("import-xlsx"), text, folder.filePath(QStringLiteral("x.swk"))});
    EXPECT_EQ(notWorkbook.exitCode, 1);
    EXPECT_TRUE(notWorkbook.output.contains(QStringLiteral("не является книгой Excel")));
    EXPECT_FALSE(QFile::exists(folder.filePath(QStringLiteral("x.swk"))));

    const QString list = folder.filePath(QStringLiteral("empty.swk"));
    writeListFile(list, testing::sampleGrid(0));
    EXPECT_EQ(
        runCli({QStringLiteral("export-xlsx"), list, folder.filePath(QStringLiteral("e.xlsx"))})
            .exitCode,
        1);
    EXPECT_EQ(runCli({QStringLiteral("import-xlsx"), text, text, QStringLiteral("--window"),
                      QStringLiteral("side")})
                  .exitCode,
              2);
}

TEST(OfficeCommands, ADamagedWorkbookFailsAndAFailedWriteNamesItsFileOnce) {
    QTemporaryDir folder;
    const QString list = folder.filePath(QStringLiteral("list.swk"));
    const QString workbook = folder.filePath(QStringLiteral("out.xlsx"));
    const QString back = folder.filePath(QStringLiteral("back.swk"));
    writeListFile(list, testing::sampleGrid(4));
    ASSERT_EQ(runCli({QStringLiteral("export-xlsx"), list, workbook}).exitCode, 0);
    const QByteArray sheet = *testing::zipPart(fileBytes(workbook), "xl/worksheets/sheet1.xml");
    ASSERT_TRUE(testing::replaceZipPart(workbook, "xl/worksheets/sheet1.xml",
                                        sheet.first(sheet.size() / 2)));

    const CliRun imported = runCli({QStringLiteral("import-xlsx"), workbook, back});
    EXPECT_EQ(imported.exitCode, 1);
    EXPECT_TRUE(imported.output.contains(QStringLiteral("Файл повреждён")))
        << imported.output.toStdString();
    EXPECT_EQ(imported.output.count(workbook), 1) << imported.output.toStdString();
    EXPECT_FALSE(QFile::exists(back));

    const QString nowhere = folder.filePath(QStringLiteral("нет/out.xlsx"));
    const CliRun exported = runCli({QStringLiteral("export-xlsx"), list, nowhere});
    EXPECT_EQ(exported.exitCode, 1);
    EXPECT_EQ(exported.output.count(nowhere), 1) << exported.output.toStdString();
}

} // namespace
} // namespace songwick
