#include "catalogue/catalogue_grid.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <stdexcept>
#include <string>
#include <utility>

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
    rowFiles_.resize(std::size_t(rowCount));
    resizeRowPlaces(rowCount);
}

void CatalogueGrid::resizeRowPlaces(int rowCount) {
    const std::size_t kept = std::min(rowPlaces_.size(), std::size_t(rowCount));
    double last =
        kept == 0 ? -1.0 : *std::max_element(rowPlaces_.begin(), rowPlaces_.begin() + kept);
    rowPlaces_.resize(kept);
    for (int row = int(kept); row < rowCount; ++row)
        rowPlaces_.push_back(last = std::max(std::floor(last) + 1.0, double(row)));
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
    rowFiles_.resize(std::size_t(rowCount));
    resizeRowPlaces(rowCount);
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

std::span<const QString> CatalogueGrid::rowCells(int row) const {
    checkCell(0, row);
    return std::span(cells_).subspan(std::size_t(indexOf(0, row)), std::size_t(columnCount_));
}

void CatalogueGrid::setCell(int column, int row, QString text) {
    checkCell(column, row);
    cells_[indexOf(column, row)] = std::move(text);
}

void CatalogueGrid::clearCells() {
    for (QString& text : cells_)
        text.clear();
    for (std::optional<RowFile>& file : rowFiles_)
        file.reset();
    takeOrderAsMade();
}

void CatalogueGrid::takeOrderAsMade() {
    std::iota(rowPlaces_.begin(), rowPlaces_.end(), 0.0);
}

double CatalogueGrid::rowPlace(int row) const {
    checkCell(0, row);
    return rowPlaces_[std::size_t(row)];
}

const std::optional<RowFile>& CatalogueGrid::rowFile(int row) const {
    checkCell(0, row);
    return rowFiles_[std::size_t(row)];
}

void CatalogueGrid::setRowFile(int row, std::optional<RowFile> file) {
    checkCell(0, row);
    if (row > 0)
        rowFiles_[std::size_t(row)] = std::move(file);
}

void CatalogueGrid::shiftRowFilesDown(int row) {
    if (row < 1 || row >= rowCount_)
        throw std::out_of_range("row " + std::to_string(row) + " outside the grid");
    for (int r = rowCount_ - 2; r >= row; --r) {
        rowFiles_[std::size_t(r) + 1] = std::move(rowFiles_[std::size_t(r)]);
        rowPlaces_[std::size_t(r) + 1] = rowPlaces_[std::size_t(r)];
    }
    rowFiles_[std::size_t(row)].reset();
    const double before = rowPlaces_[std::size_t(row) - 1];
    const double after = row + 1 < rowCount_ ? rowPlaces_[std::size_t(row) + 1] : before + 1.0;
    rowPlaces_[std::size_t(row)] = (before + after) / 2.0;
}

void CatalogueGrid::moveRows(const std::vector<int>& order) {
    const int dataRows = rowCount_ - 1;
    std::vector<bool> seen(std::size_t(rowCount_), false);
    if (static_cast<int>(order.size()) != dataRows)
        throw std::invalid_argument("row order does not name every data row");
    for (int row : order) {
        if (row < 1 || row > dataRows || seen[std::size_t(row)])
            throw std::invalid_argument("row order is not a permutation of the data rows");
        seen[std::size_t(row)] = true;
    }
    keepRows(order);
}

void CatalogueGrid::keepRows(const std::vector<int>& rows) {
    std::vector<QString> cells(std::size_t(columnCount_) * (rows.size() + 1));
    std::vector<std::optional<RowFile>> files(rows.size() + 1);
    std::vector<double> places(rows.size() + 1, 0.0);
    for (int column = 0; column < columnCount_; ++column)
        cells[std::size_t(column)] = std::move(cells_[indexOf(column, 0)]);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const int from = rows[i];
        for (int column = 0; column < columnCount_; ++column)
            cells[(i + 1) * std::size_t(columnCount_) + std::size_t(column)] =
                std::move(cells_[indexOf(column, from)]);
        files[i + 1] = std::move(rowFiles_[std::size_t(from)]);
        places[i + 1] = rowPlaces_[std::size_t(from)];
    }
    cells_ = std::move(cells);
    rowFiles_ = std::move(files);
    rowPlaces_ = std::move(places);
    rowCount_ = static_cast<int>(rows.size()) + 1;
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
    keepRows(rows);
}

void CatalogueGrid::checkCell(int column, int row) const {
    if (!contains(column, row))
        throw std::out_of_range("cell (" + std::to_string(column) + ", " + std::to_string(row) +
                                ") outside the grid of " + std::to_string(columnCount_) + " x " +
                                std::to_string(rowCount_));
}

} // namespace songwick
