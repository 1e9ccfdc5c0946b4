#include "office/excel_import.h"

#include "catalogue/catalogue_grid.h"
#include "catalogue/catalogue_state.h"
#include "common/error.h"
#include "common/file_name_codec.h"
#include "office/excel_export.h"

#include <QCoreApplication>
#include <algorithm>

namespace songwick {
namespace {

constexpr int kExtraBlockRows = 3;
// The start window's table takes the sheet's columns; a stray value far to the right of a long
// table must not make a grid too big to hold.
constexpr qint64 kMaxCellCount = qint64(RecordStore::kCapacity + 1) * 16;

bool marksExtraBlock(const SheetValues& values, int row) {
    // A sheet exported in either language is read in both.
    const QString heading = extraBlockHeading();
    const QString& second = values.text(row, 2);
    return second == heading || values.text(row, 1) == heading ||
           second.contains(QStringLiteral("Дополните")) ||
           second.contains(QStringLiteral(" информ")) ||
           second == QStringLiteral("Additional information:") ||
           values.text(row, 1) == QStringLiteral("Additional information:");
}

// " \"<file>\"" for the messages, when the sheet was read from a file.
QString workbookNamed(const SheetValues& values) {
    if (values.sourceName().isEmpty())
        return {};
    return QStringLiteral(" \"%1\"").arg(displayFileName(values.sourceName()));
}

} // namespace

QString spreadsheetImportFilter() {
    return QCoreApplication::translate("songwick::Office", "Файлы Excel|*.xls;*.xlsx|");
}

int importColumnShift(const SheetValues& values, ImportWindow window) {
    const QString& first = values.text(1, 1);
    const bool numberColumn = first == u"№" || (window == ImportWindow::Main && first == u"#");
    return numberColumn ? 0 : 1;
}

int importedRowCount(const SheetValues& values) {
    const int lastRow = values.rowCount();
    // A one-row range has no row above its last to look at.
    if (lastRow >= 2 && marksExtraBlock(values, lastRow - 1))
        return std::max(lastRow - kExtraBlockRows, 1);
    return lastRow;
}

SheetLimits importLimits(ImportWindow window, const CatalogueGrid& grid) {
    SheetLimits limits;
    if (window == ImportWindow::Main)
        limits.keptColumns = std::max(grid.columnCount(), 1);
    return limits;
}

SpreadsheetImport importSheet(const SheetValues& values, ImportWindow window, CatalogueGrid& grid,
                              CatalogueState& state) {
    const int rows = importedRowCount(values);
    const int dataRows = rows - 1;
    const int shift = importColumnShift(values, window);
    const int lastColumn = values.columnCount();
    if (dataRows > RecordStore::kCapacity)
        throw Error(QCoreApplication::translate(
                        "songwick::Office",
                        "Лист книги%1 содержит %2 строк, а таблица вмещает не больше "
                        "%3. Файл не загружен.")
                        .arg(workbookNamed(values))
                        .arg(dataRows)
                        .arg(RecordStore::kCapacity));
    if (window == ImportWindow::Start && qint64(rows) * (lastColumn + shift) > kMaxCellCount)
        throw Error(
            QCoreApplication::translate("songwick::Office",
                                        "Лист книги%1 описывает таблицу из %2 строк и %3 столбцов, "
                                        "слишком большую для программы. Файл не загружен.")
                .arg(workbookNamed(values))
                .arg(dataRows)
                .arg(lastColumn + shift));
    if (window == ImportWindow::Start)
        grid.setColumnCount(lastColumn + shift);
    grid.setRowCount(rows);
    grid.takeOrderAsMade();
    const int reachableColumns = std::min(lastColumn, grid.columnCount() - shift);
    for (int row = 1; row <= rows; ++row) {
        for (int column = 1; column <= reachableColumns; ++column)
            grid.setCell(column - 1 + shift, row - 1, values.text(row, column));
    }

    grid.setCell(0, 0, QStringLiteral("№"));
    for (int row = 1; row <= dataRows; ++row)
        grid.setCell(0, row, QString::number(row));

    RecordStore& store = state.mainWindowStore;
    for (int row = 1; row <= dataRows; ++row) {
        CatalogueRecord record;
        for (int field = 0; field < kRecordFieldCount; ++field) {
            const int column = field + 1;
            if (column < grid.columnCount())
                record[std::size_t(field)] = grid.cell(column, row);
        }
        // A sheet keeps texts, not the bytes of names on disk: a "?" or U+FFFD may stand for
        // a byte lost on the way, and such a row then stands for no file.
        const std::optional<RowFile> file =
            rowFileFromCells(record[FileNameField], record[FolderField]);
        grid.setRowFile(row, file);
        store.setFile(row, file);
        store.setRecord(row, std::move(record));
    }
    store.setCount(dataRows);
    state.tableSource = TableSource::MainWindowStore;

    SpreadsheetImport result;
    result.dataRowCount = dataRows;
    if (window == ImportWindow::Start)
        state.loadedInStartWindow = true;
    else
        result.statusText =
            QCoreApplication::translate("songwick::Office", "Импортировано в таблицу %1 запись(и)")
                .arg(dataRows);
    return result;
}

SpreadsheetImport importSpreadsheet(const QString& path, ImportWindow window, CatalogueGrid& grid,
                                    CatalogueState& state) {
    return importSheet(readFirstSheet(path, importLimits(window, grid)), window, grid, state);
}

} // namespace songwick
