#include "catalogue/catalogue_grid.h"

#include <algorithm>
#include <stdexcept>
#include <string>

namespace songwick {
namespace {

void checkCount(int count, const char* what) {
    if (count < 1)
        throw std::out_of_range(std::string(what) + " count " + std::to_string(count) + " below 1");
}

} // namespace

CatalogueGrid::CatalogueGrid(int columnCount, int rowCount) {
    checkCount(columnCount, "column");
    checkCount(rowCount, "row");
    columnCount_ = columnCount;
    rowCount_ = rowCount;
    cells_.resize(std::size_t(columnCount) * std::size_t(rowCount));
}

void CatalogueGrid::setColumnCount(int count) {
    resize(count, rowCount_);
}

void CatalogueGrid::setRowCount(int count) {
    resize(columnCount_, count);
}

void CatalogueGrid::resize(int columnCount, int rowCount) {
    checkCount(columnCount, "column");
    checkCount(rowCount, "row");
    if (columnCount == columnCount_) {
        cells_.resize(std::size_t(columnCount) * std::size_t(rowCount));
        rowCount_ = rowCount;
        return;
    }
    std::vector<QString> cells(std::size_t(columnCount) * std::size_t(rowCount));
    const int keptRows = std::min(rowCount, rowCount_);
    const int keptColumns = std::min(columnCount, columnCount_);
    for (int row = 0; row < keptRows; ++row)
        for (int column = 0; column < keptColumns; ++column)
            cells[std::size_t(row) * columnCount + column] =
                std::move(cells_[indexOf(column, row)]);
    cells_ = std::move(cells);
    columnCount_ = columnCount;
    rowCount_ = rowCount;
}

const QString& CatalogueGrid::cell(int column, int row) const {
    checkCell(column, row);
    return cells_[indexOf(column, row)];
}

void CatalogueGrid::setCell(int column, int row, QString text) {
    checkCell(column, row);
    cells_[indexOf(column, row)] = std::move(text);
}

void CatalogueGrid::clearCells() {
    for (QString& text : cells_)
        text.clear();
}

void CatalogueGrid::shiftCellsDown(int row, int firstColumn, int endColumn) {
    if (row < 0 || row >= rowCount_)
        throw std::out_of_range("row " + std::to_string(row) + " outside the grid");
    firstColumn = std::max(firstColumn, 0);
    endColumn = std::min(endColumn, columnCount_);
    for (int r = rowCount_ - 2; r >= row; --r)
        for (int column = firstColumn; column < endColumn; ++column)
            cells_[indexOf(column, r + 1)] = std::move(cells_[indexOf(column, r)]);
    for (int column = firstColumn; column < endColumn; ++column)
        cells_[indexOf(column, row)].clear();
}

void CatalogueGrid::arrangeDataRows(const std::vector<int>& rows) {
    std::vector<char> taken(std::size_t(rowCount_), 0);
    for (const int row : rows) {
        if (row < 1 || row >= rowCount_ || taken[std::size_t(row)])
            throw std::out_of_range("data row " + std::to_string(row) + " not arrangeable");
        taken[std::size_t(row)] = 1;
    }
    std::vector<QString> cells(std::size_t(columnCount_) * (rows.size() + 1));
    for (int column = 0; column < columnCount_; ++column)
        cells[std::size_t(column)] = std::move(cells_[indexOf(column, 0)]);
    for (std::size_t i = 0; i < rows.size(); ++i)
        for (int column = 0; column < columnCount_; ++column)
            cells[(i + 1) * std::size_t(columnCount_) + std::size_t(column)] =
                std::move(cells_[indexOf(column, rows[i])]);
    cells_ = std::move(cells);
    rowCount_ = int(rows.size()) + 1;
}

void CatalogueGrid::checkCell(int column, int row) const {
    if (!contains(column, row))
        throw std::out_of_range("cell (" + std::to_string(column) + ", " + std::to_string(row) +
                                ") outside the grid of " + std::to_string(columnCount_) + " x " +
                                std::to_string(rowCount_));
}

} // namespace songwick
