// Imports an .xls written by another program: Python's xlwt, the writer of the old binary
// format. Skipped where python3 with xlwt is missing.
#include "catalogue/catalogue_grid.h"
#include "catalogue/catalogue_state.h"
#include "office/excel_import.h"
#include "office/sheet_reader.h"

#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace songwick {
namespace {

const char kWriteScript[] = R"PY(
import sys
import xlwt

book = xlwt.Workbook(encoding="utf-8")
sheet = book.add_sheet("Список")
rows = [
    ["№", "Имя файла", "Расположение (путь)", "Исполнитель и/или название песни", "D", "E", "Сделана..."],
    [1, "Катюша.kar", "/песни/", "Катюша", "Исаковский М.", "Блантер М.", "Студия"],
    ["V 2", "Yesterday.kar", "/songs/", "Yesterday", "", "", ""],
    [3.0, "Третья.kar", "/песни/", "", "", "", 7],
]
for r, row in enumerate(rows):
    for c, value in enumerate(row):
        if value != "":
            sheet.write(r, c, value)
book.save(sys.argv[1])
)PY";

// The first python3 that has xlwt, or nothing.
QString pythonWithXlwt() {
    for (const QString& candidate :
         {QStringLiteral("python3"), QStringLiteral("/usr/bin/python3")}) {
        QProcess probe;
        probe.start(candidate, {QStringLiteral("-c"), QStringLiteral("import xlwt")});
        if (probe.waitForFinished(30000) && probe.exitStatus() == QProcess::NormalExit &&
            probe.exitCode() == 0)
            return candidate;
    }
    return {};
}

TEST(XlsOfAnotherProgram, ImportsIntoTheMainWindowsTable) {
    const QString python = pythonWithXlwt();
    if (python.isEmpty())
        GTEST_SKIP() << "python3 with xlwt is not installed";
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("list.xls"));
    QProcess write;
    write.start(python, {QStringLiteral("-c"), QString::fromUtf8(kWriteScript), path});
    ASSERT_TRUE(write.waitForFinished(60000));
    ASSERT_EQ(write.exitCode(), 0) << write.readAllStandardError().toStdString();

    const SheetValues values = readFirstSheet(path);
    EXPECT_EQ(values.rowCount(), 4);
    EXPECT_EQ(values.columnCount(), 7);
    EXPECT_EQ(values.text(4, 7), QStringLiteral("7")); // a whole number without ".0"

    CatalogueGrid grid(7, 1); // the main window's table has its seven columns
    CatalogueState state;
    const SpreadsheetImport result = importSpreadsheet(path, ImportWindow::Main, grid, state);
    EXPECT_EQ(result.dataRowCount, 3);
    EXPECT_EQ(result.statusText, QStringLiteral("Импортировано в таблицу 3 запись(и)"));
    ASSERT_EQ(grid.rowCount(), 4);
    EXPECT_EQ(grid.cell(0, 2), QStringLiteral("2")); // renumbered, the mark does not come back
    EXPECT_EQ(grid.cell(1, 1), QStringLiteral("Катюша.kar"));
    EXPECT_EQ(grid.cell(5, 1), QStringLiteral("Блантер М."));
    EXPECT_EQ(grid.cell(1, 3), QStringLiteral("Третья.kar"));
    EXPECT_EQ(state.tableSource, TableSource::MainWindowStore);
    EXPECT_EQ(state.mainWindowStore.count(), 3);
    EXPECT_EQ(state.mainWindowStore.record(2)[FolderField], QStringLiteral("/songs/"));
}

} // namespace
} // namespace songwick
