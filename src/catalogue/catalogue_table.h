#pragma once

#include "catalogue/catalogue_grid.h"
#include "catalogue/catalogue_state.h"

#include <QString>
#include <functional>

namespace songwick {

// The operations on the catalogue table that do not need a window. Functions that change the
// grid say which cells they change; a table model around the grid resets itself after the
// bulk ones (rebuild, prepare, mark all, insertion).

// Header row: "№", then the letters "A".."H" for columns 1 to 8 (only those inside the grid),
// then the texts of columns 1, 2, 3 and 6, so that columns 4 and 5 show "D" and "E".
void setHeaderCells(CatalogueGrid& grid);

// Column 0 of data row i becomes the decimal i, for every data row.
void numberRows(CatalogueGrid& grid);

// Gives the grid 7 columns and dataRowCount + 1 rows, all cells empty, then the header
// row and the numbers. No record is filled in.
void prepareGrid(CatalogueGrid& grid, int dataRowCount);

// Rebuilds the table from a store: prepared for store.count() rows, then columns 1 to 6
// of row i hold fields 1 to 6 of record i.
void rebuildFromStore(CatalogueGrid& grid, const RecordStore& store);

// Copies the table back into both record stores: record i of each store becomes columns 1
// to 6 of data row i (a column the grid lacks gives an empty field) and the count of the
// table source's store becomes the number of data rows. Throws Error when the table holds
// more data rows than a store can hold.
void copyBackToStores(const CatalogueGrid& grid, CatalogueState& state);

// What the main window's activation does to the table before widths and status label:
// sets the activated flag; unless the table was loaded in the start window, sets the
// first-insertion flag, rebuilds from the table source's store (skipped once after a
// composite rename) and clears composite-rename-done. Returns true when the grid was
// rebuilt.
bool refillOnActivation(CatalogueGrid& grid, CatalogueState& state);

// Marks. A row is marked when its number cell contains "V" anywhere; marking puts "V " in
// front of the number, unmarking removes the cell's first two characters.
bool isMarked(const CatalogueGrid& grid, int row);
void toggleMark(CatalogueGrid& grid, int row);
void markAll(CatalogueGrid& grid);
void unmarkAll(CatalogueGrid& grid);

// Inserts an empty row at data row `row`: a row is added at the end with the number N + 1,
// the cells of columns 1 to 6 and the rows' files from `row` down move one row lower and `row`
// is left empty and unmarked. The numbers stay 1 to N + 1 in order; each mark moves down with
// its row. Then the table is copied back into the stores. A `row` below 1 inserts at row 1, one
// past the last data row appends. Clears the first-insertion flag; does not set the modified flag.
// Throws Error, changing nothing, when the table already holds as many data rows as a record store
// can hold.
void insertRow(CatalogueGrid& grid, int row, CatalogueState& state);

// Pixel width of a text in the table's font.
using TextWidthFunction = std::function<int(const QString&)>;

// The setting that chooses the column widths.
enum ColumnWidthMode : int {
    FixedColumnWidths = 0,
    UserColumnWidths = 1,
    WidestTextColumnWidths = 2,
};

// No column of the table is ever narrower than this, so none disappears.
inline constexpr int kMinimumColumnWidth = 8;

// The user's widths to keep at the end of a run: the widths on screen of the columns the table
// has (shownColumns), at least kMinimumColumnWidth; the stored widths for the others.
ColumnValues userWidthsToKeep(const ColumnValues& onScreen, int shownColumns,
                              const ColumnValues& stored);

// Mode-0 widths of columns 0 to 6.
inline constexpr ColumnValues kFixedColumnWidths = {40, 90, 140, 190, 155, 155, 200};

// Widths of columns 0 to 6 for a mode: the fixed widths, the user's widths, or (mode 2)
// column 0 as in currentWidths and each column 1 to 6 as wide as its widest text (header
// row included) + 1 (grid line) + 3. An unknown mode keeps currentWidths.
ColumnValues columnWidths(const CatalogueGrid& grid, int mode, const ColumnValues& currentWidths,
                          const ColumnValues& userWidths, const TextWidthFunction& textWidth);

// The column text-length measures of columns 1 to 6: the length in characters of the
// first cell (rows 0 to N in order) whose pixel width is the greatest of its column.
// A column whose cells all measure 0 pixels keeps its previous measure. Element 0 is
// kept as it is.
ColumnValues columnTextMeasures(const CatalogueGrid& grid, const ColumnValues& previousMeasures,
                                const TextWidthFunction& textWidth);

// Both of the above in one pass over the cells, as every width change needs them together.
struct ColumnLayout {
    ColumnValues widths;
    ColumnValues measures;
};
ColumnLayout columnLayout(const CatalogueGrid& grid, int mode, const ColumnValues& currentWidths,
                          const ColumnValues& userWidths, const ColumnValues& previousMeasures,
                          const TextWidthFunction& textWidth);
// The same, with the widths that count taken from exactWidth: estimatedWidth (cheap, within a
// few per cent) finds in each column the texts within a tenth of its largest estimate, and
// only those are measured with exactWidth.
ColumnLayout columnLayout(const CatalogueGrid& grid, int mode, const ColumnValues& currentWidths,
                          const ColumnValues& userWidths, const ColumnValues& previousMeasures,
                          const TextWidthFunction& estimatedWidth,
                          const TextWidthFunction& exactWidth);

// Status label texts.
QString processedStatusText(int fileCount); // "Обработано и помещено в таблицу N файла(ов)"
QString renamedStatusText(int renameCount); // "Переименовано N файла(ов)."
// The rename text while the rename-result flag is set, else the processed text for the
// table's rows that name a file (an empty inserted row is no file).
QString statusText(const MainTableState& state, const CatalogueGrid& grid);
// The processed text of a scan that ended before it had walked every folder.
QString cutShortScanStatusText(int fileCount); // "... файла(ов) — сканирование прервано"
// A status line with the number of marked rows after it ("...   Отмечено: N"); unchanged
// while no row is marked.
QString withMarkedCount(const QString& status, int markedRows);
// Left edge of the status label so that its right end stays 10 pixels from the window's.
inline int statusLabelLeft(int windowWidth, int textWidth) {
    return windowWidth - textWidth - 10;
}

} // namespace songwick
