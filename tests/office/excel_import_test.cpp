#include "biff8_fixture.h"
#include "common/error.h"
#include "office/excel_export.h"
#include "office/excel_import.h"
#include "office/xlsx_writer.h"
#include "office_fixtures.h"
#include "settings/program_settings.h"
#include "zip_reading.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace songwick {
namespace {

using testing::sampleGrid;

// A sheet from rows of texts, row 1 first.
SheetValues sheetOf(const std::vector<QStringList>& rows) {
    SheetValues values;
    for (std::size_t row = 0; row < rows.size(); ++row) {
        for (qsizetype column = 0; column < rows[row].size(); ++column)
            values.setText(int(row) + 1, int(column) + 1, rows[row][column]);
    }
    return values;
}

QStringList rowOf(const CatalogueGrid& grid, int row) {
    QStringList cells;
    for (int column = 0; column < grid.columnCount(); ++column)
        cells.append(grid.cell(column, row));
    return cells;
}

class ExcelImport : public ::testing::Test {
protected:
    CatalogueGrid grid_;
    CatalogueState state_;
};

TEST_F(ExcelImport, ExportedSheetComesBackRenumberedWithoutMarksOrExtraBlock) {
    CatalogueGrid original = sampleGrid(3);
    original.setCell(0, 2, QStringLiteral("V 2"));
    original.setCell(3, 1, QStringLiteral("12"));
    original.setCell(5, 3, QString());
    ProgramSettings settings;
    settings.ExcelUseList1 = true;
    settings.ExcelAddLine = true;
    const testing::FixedClock clock(testing::fixedMoment());
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("export.xlsx"));
    writeXlsx(*buildExcelExport(original, testing::sampleMeasures(), settings, clock), path);

    grid_ = sampleGrid(9); // a longer table before the import
    const SpreadsheetImport result = importSpreadsheet(path, ImportWindow::Main, grid_, state_);

    original.setCell(0, 2, QStringLiteral("2"));
    ASSERT_EQ(grid_.rowCount(), original.rowCount());
    ASSERT_EQ(grid_.columnCount(), 7);
    for (int row = 0; row < original.rowCount(); ++row)
        EXPECT_EQ(rowOf(grid_, row), rowOf(original, row)) << row;
    EXPECT_EQ(result.dataRowCount, 3);
    EXPECT_EQ(result.statusText, QStringLiteral("Импортировано в таблицу 3 запись(и)"));
    EXPECT_EQ(state_.tableSource, TableSource::MainWindowStore);
    EXPECT_EQ(state_.mainWindowStore.count(), 3);
    EXPECT_EQ(state_.mainWindowStore.record(1)[PerformerTitleField], QStringLiteral("12"));
    EXPECT_EQ(state_.mainWindowStore.record(3)[MadeByField], QStringLiteral("3:6"));
    EXPECT_FALSE(state_.loadedInStartWindow);
}

TEST_F(ExcelImport, NumberColumnIsRecognisedByItsTitle) {
    const SheetValues hash = sheetOf({{QStringLiteral("#"), QStringLiteral("Имя")},
                                      {QStringLiteral("7"), QStringLiteral("a.kar")}});
    EXPECT_EQ(importColumnShift(hash, ImportWindow::Main), 0);
    EXPECT_EQ(importColumnShift(hash, ImportWindow::Start), 1);

    importSheet(hash, ImportWindow::Main, grid_, state_);
    EXPECT_EQ(rowOf(grid_, 1), (QStringList{QStringLiteral("1"), QStringLiteral("a.kar")}));
    grid_ = CatalogueGrid();
    importSheet(hash, ImportWindow::Start, grid_, state_);
    // The start window's table gets the sheet's columns and one more for the numbers.
    EXPECT_EQ(grid_.columnCount(), 3);
    EXPECT_EQ(rowOf(grid_, 0),
              (QStringList{QStringLiteral("№"), QStringLiteral("#"), QStringLiteral("Имя")}));
    EXPECT_EQ(rowOf(grid_, 1),
              (QStringList{QStringLiteral("1"), QStringLiteral("7"), QStringLiteral("a.kar")}));
    EXPECT_TRUE(state_.loadedInStartWindow);
    EXPECT_EQ(state_.mainWindowStore.record(1)[FileNameField], QStringLiteral("7"));
    EXPECT_EQ(state_.mainWindowStore.record(1)[FolderField], QStringLiteral("a.kar"));
}

TEST_F(ExcelImport, MainWindowKeepsItsColumnsAndTheirTextsWhereTheSheetEnds) {
    grid_ = sampleGrid(3);
    const SheetValues narrow = sheetOf({{QStringLiteral("№"), QStringLiteral("Файл")},
                                        {QStringLiteral("V 1"), QStringLiteral("x.kar")},
                                        {QString(), QStringLiteral("y.kar")}});
    const SpreadsheetImport result = importSheet(narrow, ImportWindow::Main, grid_, state_);
    EXPECT_EQ(grid_.columnCount(), 7);
    EXPECT_EQ(grid_.rowCount(), 3);
    EXPECT_EQ(rowOf(grid_, 1),
              (QStringList{QStringLiteral("1"), QStringLiteral("x.kar"), QStringLiteral("1:2"),
                           QStringLiteral("1:3"), QStringLiteral("1:4"), QStringLiteral("1:5"),
                           QStringLiteral("1:6")}));
    EXPECT_EQ(grid_.cell(0, 2), QStringLiteral("2"));
    EXPECT_EQ(result.statusText, QStringLiteral("Импортировано в таблицу 2 запись(и)"));

    // Without a number column the sheet's first column is data column 1; a column past the
    // table's last is left out.
    const SheetValues wide = sheetOf(
        {{QStringLiteral("Имя файла"), QStringLiteral("b"), QStringLiteral("c"),
          QStringLiteral("d"), QStringLiteral("e"), QStringLiteral("f"), QStringLiteral("g")}});
    importSheet(wide, ImportWindow::Main, grid_, state_);
    EXPECT_EQ(rowOf(grid_, 0),
              (QStringList{QStringLiteral("№"), QStringLiteral("Имя файла"), QStringLiteral("b"),
                           QStringLiteral("c"), QStringLiteral("d"), QStringLiteral("e"),
                           QStringLiteral("f")}));
    EXPECT_EQ(grid_.rowCount(), 1);
}

TEST_F(ExcelImport, ExtraBlockIsRecognisedOnlyByItsHeadingRow) {
    const QStringList header = {QStringLiteral("№"), QStringLiteral("Имя файла")};
    const QStringList data = {QStringLiteral("1"), QStringLiteral("a.kar")};
    // Written without the date: no heading, so the three rows are imported.
    const SheetValues noHeading =
        sheetOf({header, data, {}, {}, {QString(), QStringLiteral("Made in Earth")}});
    EXPECT_EQ(importedRowCount(noHeading), 5);
    importSheet(noHeading, ImportWindow::Main, grid_, state_);
    EXPECT_EQ(grid_.rowCount(), 5);
    EXPECT_EQ(grid_.cell(1, 4), QStringLiteral("Made in Earth"));
    EXPECT_EQ(grid_.cell(0, 4), QStringLiteral("4"));

    const SheetValues heading = sheetOf({header,
                                         data,
                                         {},
                                         {QString(), QStringLiteral("Дополнительная информация:")},
                                         {QString(), QStringLiteral("05.03.2024")}});
    EXPECT_EQ(importedRowCount(heading), 2);
    // Any text holding " информ" or "Дополните" in column 2 of that row counts.
    const SheetValues lookalike =
        sheetOf({header, data, data, data, {QString(), QStringLiteral("Общая информация")}, data});
    EXPECT_EQ(importedRowCount(lookalike), 3);
    const SheetValues inFirstColumn =
        sheetOf({header, data, {}, {QStringLiteral("Дополнительная информация:")}, data});
    EXPECT_EQ(importedRowCount(inFirstColumn), 2);
}

TEST_F(ExcelImport, TinySheetsImportWithoutTrouble) {
    const SpreadsheetImport one =
        importSheet(sheetOf({{QStringLiteral("№")}}), ImportWindow::Main, grid_, state_);
    EXPECT_EQ(one.dataRowCount, 0);
    EXPECT_EQ(grid_.rowCount(), 1);
    EXPECT_EQ(grid_.cell(0, 0), QStringLiteral("№"));
    EXPECT_EQ(one.statusText, QStringLiteral("Импортировано в таблицу 0 запись(и)"));
    EXPECT_EQ(state_.mainWindowStore.count(), 0);

    importSheet(SheetValues(), ImportWindow::Start, grid_, state_);
    EXPECT_EQ(grid_.columnCount(), 2);
    EXPECT_EQ(grid_.rowCount(), 1);

    // Only the extra block's heading and items: nothing but the header row remains.
    const SheetValues onlyBlock =
        sheetOf({{QString(), QStringLiteral("Дополнительная информация:")},
                 {QString(), QStringLiteral("x")}});
    importSheet(onlyBlock, ImportWindow::Main, grid_, state_);
    EXPECT_EQ(grid_.rowCount(), 1);
}

TEST_F(ExcelImport, SheetLongerThanAStoreIsRefusedAndChangesNothing) {
    grid_ = sampleGrid(2);
    SheetValues values;
    values.setText(1, 1, QStringLiteral("№"));
    values.setText(RecordStore::kCapacity + 2, 2, QStringLiteral("one too many"));
    try {
        importSheet(values, ImportWindow::Main, grid_, state_);
        FAIL() << "imported";
    } catch (const Error& error) {
        EXPECT_TRUE(error.message().contains(QStringLiteral("45003"))) << error.what();
    }
    EXPECT_EQ(grid_.rowCount(), 3);
    EXPECT_EQ(grid_.cell(1, 1), QStringLiteral("1:1"));
    EXPECT_EQ(state_.tableSource, TableSource::StartWindowStore);

    // The start window's table takes the sheet's columns: a long table with a value far to
    // the right is too big a grid.
    SheetValues wide;
    wide.setText(1, 200, QStringLiteral("far right"));
    wide.setText(10000, 1, QStringLiteral("long"));
    EXPECT_THROW(importSheet(wide, ImportWindow::Start, grid_, state_), Error);
    EXPECT_EQ(grid_.columnCount(), 7);
    EXPECT_EQ(importSheet(wide, ImportWindow::Main, grid_, state_).dataRowCount, 9999);

    values = SheetValues();
    values.setText(RecordStore::kCapacity + 1, 1, QStringLiteral("fits"));
    EXPECT_EQ(importSheet(values, ImportWindow::Main, grid_, state_).dataRowCount,
              RecordStore::kCapacity);
}

TEST_F(ExcelImport, ASheetCutShortIsDamagedAndTheTableStays) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("cut.xlsx"));
    writeXlsx(*buildExcelExport(sampleGrid(4), testing::sampleMeasures(), ProgramSettings(),
                                testing::FixedClock(testing::fixedMoment())),
              path);
    QFile written(path);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    const QByteArray sheet = *testing::zipPart(written.readAll(), "xl/worksheets/sheet1.xml");
    written.close();
    // Cut where a row begins: what is left reads as a table of two data rows.
    ASSERT_TRUE(testing::replaceZipPart(path, "xl/worksheets/sheet1.xml",
                                        sheet.left(sheet.indexOf("<row r=\"4\""))));

    grid_ = sampleGrid(9);
    state_.mainWindowStore.setCount(9);
    try {
        importSpreadsheet(path, ImportWindow::Main, grid_, state_);
        ADD_FAILURE() << "a damaged workbook was imported";
    } catch (const Error& error) {
        EXPECT_EQ(error.message(), damagedWorkbookMessage(path));
    }
    EXPECT_EQ(grid_.dataRowCount(), 9);
    EXPECT_EQ(rowOf(grid_, 5), rowOf(sampleGrid(9), 5));
    EXPECT_EQ(state_.mainWindowStore.count(), 9);
}

TEST_F(ExcelImport, NamesThatMayHaveLostAByteStandForNoFile) {
    grid_ = sampleGrid(0);
    importSheet(
        sheetOf({{QStringLiteral("№"), QStringLiteral("Имя файла"), QStringLiteral("Путь")},
                 {QStringLiteral("1"), QStringLiteral("?.kar"), QStringLiteral("/m/")},
                 {QStringLiteral("2"), QStringLiteral("b.kar"), QStringLiteral("/m\uFFFD/")},
                 {QStringLiteral("3"), QStringLiteral("c.kar"), QStringLiteral("/m/")}}),
        ImportWindow::Main, grid_, state_);
    EXPECT_EQ(grid_.rowFile(1), std::nullopt);
    EXPECT_EQ(grid_.rowFile(2), std::nullopt);
    EXPECT_EQ(grid_.rowFile(3), (RowFile{QStringLiteral("/m/"), QStringLiteral("c.kar")}));
    EXPECT_EQ(state_.mainWindowStore.file(1), std::nullopt);
}

TEST_F(ExcelImport, XlsWrittenByAnotherProgramImports) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("old.xls"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(testing::biff8Workbook({{0, 0, QStringLiteral("№")},
                                       {0, 1, QStringLiteral("Имя файла")},
                                       {1, 0, 1.0},
                                       {1, 1, QStringLiteral("песня.kar")},
                                       {2, 1, QStringLiteral("вторая.kar")}}));
    file.close();
    const SpreadsheetImport result = importSpreadsheet(path, ImportWindow::Main, grid_, state_);
    EXPECT_EQ(result.dataRowCount, 2);
    EXPECT_EQ(grid_.cell(1, 2), QStringLiteral("вторая.kar"));
    EXPECT_EQ(grid_.cell(0, 2), QStringLiteral("2"));
    EXPECT_EQ(state_.mainWindowStore.record(1)[FileNameField], QStringLiteral("песня.kar"));
}

} // namespace
} // namespace songwick
