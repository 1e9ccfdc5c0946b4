#pragma once

#include "office/sheet_reader.h"

#include <QString>

namespace songwick {

class CatalogueGrid;
struct CatalogueState;

// The two menu entries that read a table from a spreadsheet.
enum class ImportWindow {
    Start, // "&Импорт из Файла Excel": recognises the number column by "№" only, sets the
           // table's column count, and leaves the table to the main window
    Main, // "&Импорт из файла MS Excel": also by "#", keeps the table's columns
};

// The open dialog's filter for the import.
QString spreadsheetImportFilter();

struct SpreadsheetImport {
    int dataRowCount = 0;
    // What the main window's status label shows afterwards: "Импортировано в таблицу " N
    // " запись(и)"; empty for the start window, which hands over instead.
    QString statusText;
};

// Number of sheet columns before the first data column: 0 when cell A1 names a number column.
int importColumnShift(const SheetValues& values, ImportWindow window);
// The used rows without the block of three rows the export adds below the table.
int importedRowCount(const SheetValues& values);

// What a sheet read for the import keeps: the main window's table keeps its columns, so cells
// right of them are passed over as they are read.
SheetLimits importLimits(ImportWindow window, const CatalogueGrid& grid);

// Puts the sheet's used range into the table: sheet row r is table row r - 1 (row 1 the
// header), sheet column c is table column c - 1 + shift; the number column is renumbered
// 1, 2, 3 (marks do not come back) under the title "№"; records 1 to N of the main-window
// store take the data rows and the table source becomes that store. In the start window the
// loaded-in-start-window condition is set. Cells past the table's columns are left out in the
// main window. Each row stands for the file its name and folder cells name for certain (a
// "?" or U+FFFD in them may stand for a lost byte: then for none). A sheet with more data rows
// than a store holds, or one that would give the start window's table an unreasonably large
// grid, is refused with songwick::Error naming the workbook before anything changes.
SpreadsheetImport importSheet(const SheetValues& values, ImportWindow window, CatalogueGrid& grid,
                              CatalogueState& state);

// Reads the first sheet of an .xlsx or .xls file and imports it.
SpreadsheetImport importSpreadsheet(const QString& path, ImportWindow window, CatalogueGrid& grid,
                                    CatalogueState& state);

} // namespace songwick
