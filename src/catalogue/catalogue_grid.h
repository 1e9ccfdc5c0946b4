#pragma once

#include "catalogue/catalogue_record.h"

#include <QString>
#include <optional>
#include <span>
#include <vector>

namespace songwick {

// The catalogue table's cells: a grid of texts addressed as (column, row), both from 0.
// Row 0 is the header row and column 0 the number column; data rows are 1 to rowCount() - 1.
// Cells are stored flat, row after row, so that growing by rows and walking a row are cheap.
//
// Every mutating method says what it changes, so that a table model wrapping the grid knows
// which notifications to send: resizes change the shape (reset or insert/remove rows),
// setCell changes one cell, the bulk methods change the ranges they name.
class CatalogueGrid {
public:
    // The table as the main window creates it: 2 columns, 2 rows, all cells empty.
    CatalogueGrid() : CatalogueGrid(2, 2) {}
    // Throws std::out_of_range for a count below 1.
    CatalogueGrid(int columnCount, int rowCount);

    int columnCount() const { return columnCount_; }
    int rowCount() const { return rowCount_; }
    int dataRowCount() const { return rowCount_ - 1; }
    bool contains(int column, int row) const {
        return column >= 0 && column < columnCount_ && row >= 0 && row < rowCount_;
    }

    // Changing the shape keeps the text of every cell that stays inside the grid; new cells
    // are empty. Counts below 1 throw std::out_of_range.
    void setColumnCount(int count);
    void setRowCount(int count);
    void resize(int columnCount, int rowCount);

    // A cell outside the grid throws std::out_of_range.
    const QString& cell(int column, int row) const;
    void setCell(int column, int row, QString text);
    // The cells of a row, column 0 first, for work that goes through whole rows; a row outside
    // the grid throws std::out_of_range. Valid until the shape changes.
    std::span<const QString> rowCells(int row) const;

    // Empties every cell; the shape stays.
    void clearCells();

    // Moves the cells of columns [firstColumn, endColumn) one row down, from row `row` to
    // the row before the last: cell (c, r + 1) takes the text of (c, r) for r from
    // rowCount() - 2 down to `row`; the former last-row texts of those columns are dropped
    // and row `row` is left empty in those columns. Columns outside the grid are ignored.
    void shiftCellsDown(int row, int firstColumn, int endColumn);

    // The file each data row stands for, beside its cells (row 0 has none). Resizing keeps the
    // files of the rows that stay; clearCells and new rows have none. Anything that moves rows
    // must move their files with them: use moveRows/removeRows (or shiftRowFilesDown with
    // shiftCellsDown), never setCell alone.
    const std::optional<RowFile>& rowFile(int row) const;
    void setRowFile(int row, std::optional<RowFile> file);
    // Row files from `row` down move one row lower, as shiftCellsDown moves the cells; `row` is
    // left without a file.
    void shiftRowFilesDown(int row);
    // Reorders data rows: data row i of the result is former data row order[i - 1] (order holds
    // every data row 1..N exactly once), every cell of the row and its file with it. Throws
    // std::invalid_argument for an order that is not such a permutation.
    void moveRows(const std::vector<int>& order);
    // Removes the data rows for which keep(row) is false, cells and files; the rows after them
    // move up.
    template <typename Keep> void removeRowsUnless(Keep keep) {
        std::vector<int> kept;
        for (int row = 1; row < rowCount_; ++row)
            if (keep(row))
                kept.push_back(row);
        keepRows(kept);
    }
    // Puts whole data rows (every column) into a new order and drops the rest: new data row
    // i + 1 takes the cells of data row rows[i]. Each entry must be a data row, none twice;
    // otherwise std::out_of_range is thrown and the grid is unchanged. The header row stays.
    void arrangeDataRows(const std::vector<int>& rows);

    // Each data row's place in the order the table was made in (by the scan, a list load, an
    // import): rows keep it through every move, so that the table can go back to that order.
    // A grid whose cells are cleared, and rows added at the end, take their row numbers; a row
    // inserted by shiftRowFilesDown takes a place between its neighbours'.
    double rowPlace(int row) const;
    // The present order becomes the order the table was made in (a load or an import).
    void takeOrderAsMade();

private:
    void keepRows(const std::vector<int>& rows);
    void resizeRowPlaces(int rowCount);
    qsizetype indexOf(int column, int row) const { return qsizetype(row) * columnCount_ + column; }
    void checkCell(int column, int row) const;

    std::vector<QString> cells_;                   // row-major: cell (c, r) at r * columnCount_ + c
    std::vector<std::optional<RowFile>> rowFiles_; // one per row
    std::vector<double> rowPlaces_;                // one per row
    int columnCount_ = 0;
    int rowCount_ = 0;
};

} // namespace songwick
