#include "catalogue/catalogue_table.h"

#include "common/error.h"
#include "common/halves.h"

#include <QCoreApplication>
#include <algorithm>
#include <utility>
#include <vector>

namespace songwick {
namespace {

constexpr int kFirstFieldColumn = 1;
constexpr int kFieldColumnEnd = kFirstFieldColumn + kRecordFieldCount; // columns 1 to 6

QString numberText(int row) {
    return QString::number(row);
}

QString markedNumberText(int row, bool marked) {
    return marked ? QStringLiteral("V ") + numberText(row) : numberText(row);
}

} // namespace

void setHeaderCells(CatalogueGrid& grid) {
    grid.setCell(0, 0, QStringLiteral("№"));
    // The letters come first, so that the columns without their own text keep theirs.
    for (int column = 1; column <= 8 && column < grid.columnCount(); ++column)
        grid.setCell(column, 0, QString(QChar(u'A' + (column - 1))));
    const std::pair<int, QString> texts[] = {
        {1, QCoreApplication::translate("songwick::Catalogue", "Имя файла")},
        {2, QCoreApplication::translate("songwick::Catalogue", "Расположение (путь)")},
        {3, QCoreApplication::translate("songwick::Catalogue", "Исполнитель и/или название песни")},
        {6, QCoreApplication::translate("songwick::Catalogue", "Сделана...")},
    };
    for (const auto& [column, text] : texts)
        if (column < grid.columnCount())
            grid.setCell(column, 0, text);
}

void numberRows(CatalogueGrid& grid) {
    for (int row = 1; row < grid.rowCount(); ++row)
        grid.setCell(0, row, numberText(row));
}

void prepareGrid(CatalogueGrid& grid, int dataRowCount) {
    grid.resize(kCatalogueColumnCount, std::max(dataRowCount, 0) + 1);
    grid.clearCells();
    setHeaderCells(grid);
    numberRows(grid);
}

void rebuildFromStore(CatalogueGrid& grid, const RecordStore& store) {
    const int count = std::max(store.count(), 0);
    grid.resize(kCatalogueColumnCount, count + 1);
    grid.clearCells();
    setHeaderCells(grid);
    // Each row's cells are its own: a large table's halves are filled at once.
    inTwoHalves(1, count + 1, kRowsWorthASecondThread, [&](int, int first, int end) {
        for (int row = first; row < end; ++row) {
            grid.setCell(0, row, numberText(row));
            const CatalogueRecord& record = store.record(row);
            for (int field = 0; field < kRecordFieldCount; ++field)
                grid.setCell(kFirstFieldColumn + field, row, record[field]);
            grid.setRowFile(row, store.file(row));
        }
    });
}

void copyBackToStores(const CatalogueGrid& grid, CatalogueState& state) {
    const int rows = grid.dataRowCount();
    if (rows > RecordStore::kCapacity)
        throw Error(
            QCoreApplication::translate("songwick::Catalogue",
                                        "Таблица содержит %1 строк, а хранилище записей вмещает не "
                                        "больше %2. Записи не скопированы.")
                .arg(rows)
                .arg(RecordStore::kCapacity));
    const int columnEnd = std::min(kFieldColumnEnd, grid.columnCount());
    for (int row = 1; row <= rows; ++row) {
        CatalogueRecord record;
        for (int column = kFirstFieldColumn; column < columnEnd; ++column)
            record[column - kFirstFieldColumn] = grid.cell(column, row);
        state.startWindowStore.setRecord(row, record);
        state.mainWindowStore.setRecord(row, std::move(record));
        state.startWindowStore.setFile(row, grid.rowFile(row));
        state.mainWindowStore.setFile(row, grid.rowFile(row));
    }
    state.tableSourceStore().setCount(rows);
}

bool refillOnActivation(CatalogueGrid& grid, CatalogueState& state) {
    state.mainTable.activated = true;
    if (state.loadedInStartWindow)
        return false;
    state.mainTable.firstInsertion = true;
    const bool rebuild = !state.compositeRenameDone;
    if (rebuild)
        rebuildFromStore(grid, state.tableSourceStore());
    else
        grid.setColumnCount(kCatalogueColumnCount);
    state.compositeRenameDone = false;
    return rebuild;
}

bool isMarked(const CatalogueGrid& grid, int row) {
    return grid.cell(0, row).contains(u'V');
}

void toggleMark(CatalogueGrid& grid, int row) {
    const QString& number = grid.cell(0, row);
    if (number.contains(u'V'))
        grid.setCell(0, row, number.sliced(std::min<qsizetype>(2, number.size())));
    else
        grid.setCell(0, row, QStringLiteral("V ") + number);
}

void markAll(CatalogueGrid& grid) {
    for (int row = 1; row < grid.rowCount(); ++row)
        if (!isMarked(grid, row))
            toggleMark(grid, row);
}

void unmarkAll(CatalogueGrid& grid) {
    for (int row = 1; row < grid.rowCount(); ++row)
        if (isMarked(grid, row))
            toggleMark(grid, row);
}

void insertRow(CatalogueGrid& grid, int row, CatalogueState& state) {
    const int rows = grid.dataRowCount();
    if (rows >= RecordStore::kCapacity)
        throw Error(QCoreApplication::translate(
                        "songwick::Catalogue",
                        "В таблице уже %1 строки, больше строк программа хранить не "
                        "может. Строка не добавлена.")
                        .arg(RecordStore::kCapacity));
    const int target = std::clamp(row, 1, rows + 1);
    grid.setRowCount(rows + 2);
    grid.shiftCellsDown(target, kFirstFieldColumn, kFieldColumnEnd);
    grid.shiftRowFilesDown(target);
    // Numbers stay in order; a mark goes down with its row, so that it never comes to stand
    // on another song (a removal or a rename of the marked rows would then take that one).
    for (int moved = rows + 1; moved > target; --moved)
        grid.setCell(0, moved, markedNumberText(moved, isMarked(grid, moved - 1)));
    grid.setCell(0, target, numberText(target));
    state.mainTable.firstInsertion = false;
    copyBackToStores(grid, state);
}

namespace {

struct ColumnScan {
    ColumnValues widestPixels{};
    ColumnValues measures{};
};

// The widest text of one column: the exact width of each candidate (a text whose estimate is
// within a tenth of the column's largest), taken in order of falling estimate until no later
// candidate can be wider than the widest found. The estimate is a sum of rounded character
// widths, so its bias is learned from the texts measured (the largest exact/estimate ratio
// seen), with a fiftieth and two pixels to spare. Texts of one shape (a full table of similar
// names) all share the largest estimate and differ in exact width by a pixel of kerning at
// most, so no more than kMostTextsMeasured are measured: a full table stays fast. Ties go to
// the first row.
constexpr std::size_t kMostTextsMeasured = 256;

void scanColumnExactly(const CatalogueGrid& grid, int column, const std::vector<int>& estimates,
                       int largestEstimate, const TextWidthFunction& exact, ColumnScan& scan) {
    std::vector<int> candidates;
    for (int row = 0; row < grid.rowCount(); ++row) {
        const int estimated = estimates[std::size_t(row)];
        if (estimated > 0 && estimated * 10LL >= largestEstimate * 9LL)
            candidates.push_back(row);
    }
    const auto fallingEstimate = [&estimates](int a, int b) {
        return estimates[std::size_t(a)] > estimates[std::size_t(b)];
    };
    const std::size_t measured = std::min(candidates.size(), kMostTextsMeasured);
    std::partial_sort(
        candidates.begin(), candidates.begin() + std::ptrdiff_t(measured), candidates.end(),
        [&](int a, int b) { return fallingEstimate(a, b) || (!fallingEstimate(b, a) && a < b); });
    int widest = 0;
    int widestRow = -1;
    double largestRatio = 0;
    if (candidates.size() > kMostTextsMeasured)
        candidates.resize(kMostTextsMeasured);
    for (const int row : candidates) {
        const int estimated = estimates[std::size_t(row)];
        if (widestRow >= 0 && estimated * largestRatio * 1.02 + 2 < widest)
            break;
        const int width = exact(grid.cell(column, row));
        largestRatio = std::max(largestRatio, double(width) / estimated);
        if (width > widest || (width == widest && widestRow >= 0 && row < widestRow)) {
            widest = width;
            widestRow = row;
        }
    }
    if (widestRow >= 0 && widest > 0) {
        scan.widestPixels[column] = widest;
        scan.measures[column] = int(grid.cell(column, widestRow).size());
    }
}

// Columns 1 to 6, rows 0 to N: the widest text of each column in pixels and the character
// length of the first cell that reached it. With an exact measure, the estimate picks the
// candidates and only those are measured exactly, so that a full table stays fast.
ColumnScan scanColumns(const CatalogueGrid& grid, const ColumnValues& previousMeasures,
                       const TextWidthFunction& estimate, const TextWidthFunction& exact) {
    ColumnScan scan;
    scan.measures = previousMeasures;
    const int columnEnd = std::min(kFieldColumnEnd, grid.columnCount());
    std::vector<int> estimates(std::size_t(grid.rowCount()));
    for (int column = kFirstFieldColumn; column < columnEnd; ++column) {
        int largestEstimate = 0;
        for (int row = 0; row < grid.rowCount(); ++row) {
            estimates[std::size_t(row)] = estimate(grid.cell(column, row));
            largestEstimate = std::max(largestEstimate, estimates[std::size_t(row)]);
        }
        if (exact) {
            scanColumnExactly(grid, column, estimates, largestEstimate, exact, scan);
            continue;
        }
        for (int row = 0; row < grid.rowCount(); ++row) {
            const int estimated = estimates[std::size_t(row)];
            if (estimated > scan.widestPixels[column]) {
                scan.widestPixels[column] = estimated;
                scan.measures[column] = int(grid.cell(column, row).size());
            }
        }
    }
    return scan;
}

ColumnValues widthsForMode(int mode, const ColumnValues& currentWidths,
                           const ColumnValues& userWidths, const ColumnValues& widestPixels) {
    switch (mode) {
    case FixedColumnWidths:
        return kFixedColumnWidths;
    case UserColumnWidths:
        return userWidths;
    case WidestTextColumnWidths: {
        constexpr int kGridLineWidth = 1;
        constexpr int kMargin = 3;
        ColumnValues widths = currentWidths;
        for (int column = kFirstFieldColumn; column < kFieldColumnEnd; ++column)
            widths[column] = widestPixels[column] + kGridLineWidth + kMargin;
        return widths;
    }
    default:
        return currentWidths;
    }
}

} // namespace

ColumnLayout columnLayout(const CatalogueGrid& grid, int mode, const ColumnValues& currentWidths,
                          const ColumnValues& userWidths, const ColumnValues& previousMeasures,
                          const TextWidthFunction& textWidth) {
    return columnLayout(grid, mode, currentWidths, userWidths, previousMeasures, textWidth, {});
}

ColumnLayout columnLayout(const CatalogueGrid& grid, int mode, const ColumnValues& currentWidths,
                          const ColumnValues& userWidths, const ColumnValues& previousMeasures,
                          const TextWidthFunction& estimatedWidth,
                          const TextWidthFunction& exactWidth) {
    const ColumnScan scan = scanColumns(grid, previousMeasures, estimatedWidth, exactWidth);
    return {widthsForMode(mode, currentWidths, userWidths, scan.widestPixels), scan.measures};
}

ColumnValues columnWidths(const CatalogueGrid& grid, int mode, const ColumnValues& currentWidths,
                          const ColumnValues& userWidths, const TextWidthFunction& textWidth) {
    if (mode != WidestTextColumnWidths)
        return widthsForMode(mode, currentWidths, userWidths, {});
    return widthsForMode(mode, currentWidths, userWidths,
                         scanColumns(grid, {}, textWidth, {}).widestPixels);
}

ColumnValues columnTextMeasures(const CatalogueGrid& grid, const ColumnValues& previousMeasures,
                                const TextWidthFunction& textWidth) {
    return scanColumns(grid, previousMeasures, textWidth, {}).measures;
}

ColumnValues userWidthsToKeep(const ColumnValues& onScreen, int shownColumns,
                              const ColumnValues& stored) {
    ColumnValues kept = stored;
    for (int column = 0; column < std::min<int>(shownColumns, int(kept.size())); ++column)
        kept[column] = std::max(onScreen[column], kMinimumColumnWidth);
    return kept;
}

QString processedStatusText(int fileCount) {
    return QCoreApplication::translate("songwick::Catalogue",
                                       "Обработано и помещено в таблицу %1 файла(ов)")
        .arg(fileCount);
}

QString renamedStatusText(int renameCount) {
    return QCoreApplication::translate("songwick::Catalogue", "Переименовано %1 файла(ов).")
        .arg(renameCount);
}

QString statusText(const MainTableState& state, const CatalogueGrid& grid) {
    if (state.renameResult)
        return renamedStatusText(state.renameCount);
    int files = 0;
    for (int row = 1; row <= grid.dataRowCount(); ++row)
        files += grid.contains(1, row) && !grid.cell(1, row).isEmpty() ? 1 : 0;
    return processedStatusText(files);
}

QString cutShortScanStatusText(int fileCount) {
    return processedStatusText(fileCount) +
           QCoreApplication::translate("songwick::Catalogue", " — сканирование прервано");
}

QString withMarkedCount(const QString& status, int markedRows) {
    if (markedRows <= 0)
        return status;
    return status +
           QCoreApplication::translate("songwick::Catalogue", "   Отмечено: %1").arg(markedRows);
}

} // namespace songwick
