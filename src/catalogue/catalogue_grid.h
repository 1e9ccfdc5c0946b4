#pragma once

#include <QString>
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

    // Empties every cell; the shape stays.
    void clearCells();

    // Moves the cells of columns [firstColumn, endColumn) one row down, from row `row` to
    // the row before the last: cell (c, r + 1) takes the text of (c, r) for r from
    // rowCount() - 2 down to `row`; the former last-row texts of those columns are dropped
    // and row `row` is left empty in those columns. Columns outside the grid are ignored.
    void shiftCellsDown(int row, int firstColumn, int endColumn);

    // Puts whole data rows (every column) into a new order and drops the rest: new data row
    // i + 1 takes the cells of data row rows[i]. Each entry must be a data row, none twice;
    // otherwise std::out_of_range is thrown and the grid is unchanged. The header row stays.
    void arrangeDataRows(const std::vector<int>& rows);

private:
    qsizetype indexOf(int column, int row) const { return qsizetype(row) * columnCount_ + column; }
    void checkCell(int column, int row) const;

    std::vector<QString> cells_; // row-major: cell (c, r) at r * columnCount_ + c
    int columnCount_ = 0;
    int rowCount_ = 0;
};

} // namespace songwick
