#include "catalogue/catalogue_order.h"

#include "catalogue/catalogue_table.h"

#include <QCollator>
#include <QLocale>
#include <algorithm>
#include <numeric>

namespace songwick {

QString sortableText(const QString& text) {
    qsizetype start = 0;
    while (start < text.size() && !text[start].isLetterOrNumber())
        ++start;
    // A text of nothing but marks is ordered by its marks.
    return start == text.size() ? text : text.mid(start);
}

std::vector<int> sortedRowOrder(const CatalogueGrid& grid, int column, SortOrder order) {
    std::vector<int> rows(std::size_t(std::max(grid.dataRowCount(), 0)));
    std::iota(rows.begin(), rows.end(), 1);
    if (column < 0 || column >= grid.columnCount())
        return rows;
    if (column == 0) {
        std::stable_sort(rows.begin(), rows.end(), [&](int a, int b) {
            return order == SortOrder::Descending ? grid.rowPlace(b) < grid.rowPlace(a)
                                                  : grid.rowPlace(a) < grid.rowPlace(b);
        });
        return rows;
    }
    const auto filledEnd = std::stable_partition(
        rows.begin(), rows.end(), [&](int row) { return !grid.cell(column, row).isEmpty(); });

    QCollator collator{QLocale(QLocale::Russian, QLocale::Russia)};
    collator.setNumericMode(true);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    // One key per cell, so that each comparison is a plain byte comparison.
    std::vector<QCollatorSortKey> keys;
    keys.reserve(std::size_t(filledEnd - rows.begin()));
    for (auto it = rows.begin(); it != filledEnd; ++it)
        keys.push_back(collator.sortKey(sortableText(grid.cell(column, *it))));
    std::vector<int> positions(keys.size());
    std::iota(positions.begin(), positions.end(), 0);
    const bool descending = order == SortOrder::Descending;
    std::stable_sort(positions.begin(), positions.end(), [&](int a, int b) {
        return descending ? keys[std::size_t(b)].compare(keys[std::size_t(a)]) < 0
                          : keys[std::size_t(a)].compare(keys[std::size_t(b)]) < 0;
    });
    std::vector<int> sorted;
    sorted.reserve(rows.size());
    for (const int position : positions)
        sorted.push_back(rows[std::size_t(position)]);
    sorted.insert(sorted.end(), filledEnd, rows.end());
    return sorted;
}

void renumberKeepingMarks(CatalogueGrid& grid) {
    for (int row = 1; row < grid.rowCount(); ++row) {
        const QString number = QString::number(row);
        grid.setCell(0, row, isMarked(grid, row) ? QStringLiteral("V ") + number : number);
    }
}

void arrangeRows(CatalogueGrid& grid, const std::vector<int>& rows) {
    grid.arrangeDataRows(rows);
    renumberKeepingMarks(grid);
}

void sortRows(CatalogueGrid& grid, int column, SortOrder order) {
    arrangeRows(grid, sortedRowOrder(grid, column, order));
}

int markedRowCount(const CatalogueGrid& grid) {
    int count = 0;
    for (int row = 1; row < grid.rowCount(); ++row)
        count += isMarked(grid, row) ? 1 : 0;
    return count;
}

int removeMarkedRows(CatalogueGrid& grid) {
    std::vector<int> kept;
    for (int row = 1; row < grid.rowCount(); ++row)
        if (!isMarked(grid, row))
            kept.push_back(row);
    const int removed = grid.dataRowCount() - int(kept.size());
    if (removed > 0)
        arrangeRows(grid, kept);
    return removed;
}

} // namespace songwick
