#include "catalogue/catalogue_order.h"
#include "catalogue/catalogue_table.h"
#include "common/error.h"

#include <QStringList>
#include <gtest/gtest.h>

using namespace songwick;
using namespace Qt::StringLiterals;

namespace {

CatalogueRecord recordFor(int i) {
    const QString n = QString::number(i);
    return {u"song"_s + n + u".kar"_s, u"/songs/"_s + n + u"/"_s, u"Исполнитель "_s + n,
            u"Слова "_s + n,           u"Музыка "_s + n,          u"Сделал "_s + n};
}

void fillStore(RecordStore& store, int count) {
    for (int i = 1; i <= count; ++i)
        store.append(recordFor(i));
}

QStringList rowTexts(const CatalogueGrid& grid, int row) {
    QStringList texts;
    for (int column = 0; column < grid.columnCount(); ++column)
        texts << grid.cell(column, row);
    return texts;
}

QStringList recordTexts(const CatalogueRecord& record) {
    return QStringList(record.begin(), record.end());
}

QStringList fieldTexts(const CatalogueGrid& grid, int row) {
    return rowTexts(grid, row).mid(1);
}

// One pixel per character, so widths and lengths can be told apart only where a text says so.
int charWidth(const QString& text) {
    return int(text.size());
}

} // namespace

TEST(CatalogueTable, RebuildGivesHeaderNumbersAndRecords) {
    RecordStore store;
    fillStore(store, 3);
    CatalogueGrid grid;

    rebuildFromStore(grid, store);

    ASSERT_EQ(grid.columnCount(), 7);
    ASSERT_EQ(grid.rowCount(), 4);
    EXPECT_EQ(rowTexts(grid, 0), QStringList({u"№"_s, u"Имя файла"_s, u"Расположение (путь)"_s,
                                              u"Исполнитель и/или название песни"_s, u"D"_s, u"E"_s,
                                              u"Сделана..."_s}));
    for (int row = 1; row <= 3; ++row) {
        EXPECT_EQ(grid.cell(0, row), QString::number(row));
        EXPECT_EQ(fieldTexts(grid, row), recordTexts(store.record(row)));
    }
}

TEST(CatalogueTable, RebuildFromAnEmptyStoreLeavesTheHeaderRowOnly) {
    CatalogueGrid grid(7, 50);
    grid.setCell(3, 20, u"старое"_s);
    rebuildFromStore(grid, RecordStore());
    EXPECT_EQ(grid.rowCount(), 1);
    EXPECT_EQ(grid.cell(4, 0), u"D"_s);
}

TEST(CatalogueTable, CopyBackFillsBothStoresAndCountsTheTableSource) {
    CatalogueState state;
    fillStore(state.mainWindowStore, 5);
    state.startWindowStore.setCount(0);
    state.tableSource = TableSource::StartWindowStore;
    CatalogueGrid grid;
    rebuildFromStore(grid, state.mainWindowStore);
    grid.setRowCount(3); // two data rows left
    grid.setCell(1, 2, u"новое.kar"_s);

    copyBackToStores(grid, state);

    EXPECT_EQ(state.startWindowStore.count(), 2);
    EXPECT_EQ(state.mainWindowStore.count(), 5);
    for (const RecordStore* store : {&state.startWindowStore, &state.mainWindowStore}) {
        EXPECT_EQ(recordTexts(store->record(1)), recordTexts(recordFor(1)));
        EXPECT_EQ(store->record(2)[FileNameField], u"новое.kar"_s);
    }
    // Past the table's rows the stores keep what they held.
    EXPECT_EQ(recordTexts(state.mainWindowStore.record(3)), recordTexts(recordFor(3)));
}

TEST(CatalogueTable, CopyBackOfANarrowTableGivesEmptyFields) {
    CatalogueState state;
    CatalogueGrid grid(3, 2);
    grid.setCell(1, 1, u"a.kar"_s);
    grid.setCell(2, 1, u"/songs/"_s);
    copyBackToStores(grid, state);
    EXPECT_EQ(recordTexts(state.startWindowStore.record(1)),
              QStringList({u"a.kar"_s, u"/songs/"_s, {}, {}, {}, {}}));
}

TEST(CatalogueTable, ActivationRebuildsUnlessLoadedInStartWindowAndSkipsOnceAfterComposite) {
    CatalogueState state;
    fillStore(state.startWindowStore, 2);
    CatalogueGrid grid;

    EXPECT_TRUE(refillOnActivation(grid, state));
    EXPECT_TRUE(state.mainTable.activated);
    EXPECT_TRUE(state.mainTable.firstInsertion);
    EXPECT_EQ(grid.dataRowCount(), 2);

    grid.setCell(3, 1, u"после переименования"_s);
    state.compositeRenameDone = true;
    EXPECT_FALSE(refillOnActivation(grid, state));
    EXPECT_EQ(grid.cell(3, 1), u"после переименования"_s);
    EXPECT_FALSE(state.compositeRenameDone);
    EXPECT_TRUE(refillOnActivation(grid, state));
    EXPECT_EQ(grid.cell(3, 1), recordFor(1)[PerformerTitleField]);

    state.loadedInStartWindow = true;
    state.mainTable.firstInsertion = false;
    grid.setCell(3, 1, u"из файла списка"_s);
    EXPECT_FALSE(refillOnActivation(grid, state));
    EXPECT_EQ(grid.cell(3, 1), u"из файла списка"_s);
    EXPECT_FALSE(state.mainTable.firstInsertion);
}

TEST(CatalogueTable, MarksToggleAndAnyVCounts) {
    CatalogueGrid grid;
    prepareGrid(grid, 15);

    toggleMark(grid, 12);
    EXPECT_EQ(grid.cell(0, 12), u"V 12"_s);
    EXPECT_TRUE(isMarked(grid, 12));
    toggleMark(grid, 12);
    EXPECT_EQ(grid.cell(0, 12), u"12"_s);
    EXPECT_FALSE(isMarked(grid, 12));

    grid.setCell(0, 3, u"3V"_s); // edited by the user
    EXPECT_TRUE(isMarked(grid, 3));
    toggleMark(grid, 3);
    EXPECT_TRUE(grid.cell(0, 3).isEmpty()); // unmarking drops the first two characters
    grid.setCell(0, 4, u"V"_s);
    toggleMark(grid, 4);
    EXPECT_TRUE(grid.cell(0, 4).isEmpty());
}

TEST(CatalogueTable, MarkAllAndUnmarkAllLeaveExistingMarksAlone) {
    CatalogueGrid grid;
    prepareGrid(grid, 4);
    toggleMark(grid, 2);

    markAll(grid);
    for (int row = 1; row <= 4; ++row)
        EXPECT_EQ(grid.cell(0, row), u"V "_s + QString::number(row));
    EXPECT_EQ(grid.cell(0, 0), u"№"_s);

    unmarkAll(grid);
    for (int row = 1; row <= 4; ++row)
        EXPECT_EQ(grid.cell(0, row), QString::number(row));
}

TEST(CatalogueTable, InsertionAtTheFirstRowOfALargeTableMovesEveryRecordDown) {
    constexpr int kRows = 45000;
    CatalogueState state;
    fillStore(state.startWindowStore, kRows);
    CatalogueGrid grid;
    rebuildFromStore(grid, state.startWindowStore);
    toggleMark(grid, 1);
    state.mainTable.firstInsertion = true;

    insertRow(grid, 1, state);

    ASSERT_EQ(grid.dataRowCount(), kRows + 1);
    EXPECT_EQ(grid.cell(0, 1), u"1"_s);
    EXPECT_EQ(grid.cell(0, 2), u"V 2"_s); // the mark goes with its row
    for (int column = 1; column < 7; ++column)
        EXPECT_TRUE(grid.cell(column, 1).isEmpty());
    for (int row = 3; row <= kRows + 1; ++row) {
        ASSERT_EQ(grid.cell(0, row), QString::number(row));
        ASSERT_EQ(fieldTexts(grid, row), recordTexts(recordFor(row - 1))) << row;
    }
    EXPECT_FALSE(state.mainTable.firstInsertion);
    // Copied back: record i belongs to row i again.
    EXPECT_EQ(state.startWindowStore.count(), kRows + 1);
    EXPECT_EQ(recordTexts(state.startWindowStore.record(kRows + 1)), recordTexts(recordFor(kRows)));
    EXPECT_EQ(recordTexts(state.mainWindowStore.record(2)), recordTexts(recordFor(1)));
}

TEST(CatalogueTable, InsertionWorksAtAnyRowAndLeavesRowFifteenAlone) {
    for (const int at : {-3, 1, 2, 14, 15, 300, 400, 401, 402, 1000}) {
        constexpr int kRows = 400;
        CatalogueState state;
        fillStore(state.mainWindowStore, kRows);
        state.tableSource = TableSource::MainWindowStore;
        CatalogueGrid grid;
        rebuildFromStore(grid, state.mainWindowStore);
        toggleMark(grid, 15);
        state.mainTable.firstInsertion = true;
        state.mainTable.modified = false;

        insertRow(grid, at, state);

        const int target = std::clamp(at, 1, kRows + 1);
        ASSERT_EQ(grid.dataRowCount(), kRows + 1) << at;
        const int markedRow = target <= 15 ? 16 : 15; // the mark goes with its row
        EXPECT_EQ(grid.cell(0, markedRow), u"V "_s + QString::number(markedRow)) << at;
        EXPECT_EQ(markedRowCount(grid), 1) << at;
        EXPECT_EQ(grid.cell(0, kRows + 1), QString::number(kRows + 1)) << at;
        for (int row = 1; row <= kRows + 1; ++row) {
            const QStringList expected = row < target    ? recordTexts(recordFor(row))
                                         : row == target ? QStringList(6, QString())
                                                         : recordTexts(recordFor(row - 1));
            ASSERT_EQ(fieldTexts(grid, row), expected) << "insert at " << at << ", row " << row;
            ASSERT_EQ(recordTexts(state.startWindowStore.record(row)), expected);
        }
        EXPECT_EQ(state.mainWindowStore.count(), kRows + 1);
        EXPECT_FALSE(state.mainTable.modified);
    }
}

TEST(CatalogueTable, InsertionIntoAFullTableIsRefusedAndChangesNothing) {
    CatalogueState state;
    fillStore(state.startWindowStore, RecordStore::kCapacity);
    CatalogueGrid grid;
    rebuildFromStore(grid, state.startWindowStore);

    try {
        insertRow(grid, 1, state);
        FAIL() << "no error";
    } catch (const Error& error) {
        EXPECT_TRUE(error.message().contains(u"45002"_s)) << error.what();
    }
    EXPECT_EQ(grid.dataRowCount(), RecordStore::kCapacity);
    EXPECT_EQ(fieldTexts(grid, 1), recordTexts(recordFor(1)));
    EXPECT_EQ(state.startWindowStore.count(), RecordStore::kCapacity);
}

TEST(CatalogueTable, WidthModes) {
    CatalogueGrid grid;
    prepareGrid(grid, 2);
    grid.setCell(1, 2, u"длинное-имя.kar"_s); // 15 characters
    grid.setCell(4, 1, u"xy"_s);
    const ColumnValues current = {33, 1, 1, 1, 1, 1, 1};
    const ColumnValues user = {60, 60, 75, 60, 60, 60, 60};

    EXPECT_EQ(columnWidths(grid, FixedColumnWidths, current, user, charWidth),
              ColumnValues({40, 90, 140, 190, 155, 155, 200}));
    EXPECT_EQ(columnWidths(grid, UserColumnWidths, current, user, charWidth), user);
    // Header texts count: "Имя файла" 9, "Расположение (путь)" 19, "D" 1, "Сделана..." 10.
    EXPECT_EQ(columnWidths(grid, WidestTextColumnWidths, current, user, charWidth),
              ColumnValues({33, 19, 23, 36, 6, 5, 14}));
    EXPECT_EQ(columnWidths(grid, 7, current, user, charWidth), current);
}

TEST(CatalogueTable, MeasuresTakeTheLengthOfTheFirstWidestCellAndKeepEmptyColumns) {
    CatalogueGrid grid(7, 4);
    grid.setCell(1, 1, u"iiiiii"_s); // 6 characters, narrow
    grid.setCell(1, 2, u"WWW"_s);    // 3 characters, widest
    grid.setCell(1, 3, u"MMM"_s);    // as wide, comes later
    grid.setCell(2, 3, u"abc"_s);
    const TextWidthFunction width = [](const QString& text) {
        int pixels = 0;
        for (QChar c : text)
            pixels += c == u'i' ? 1 : 10;
        return pixels;
    };
    const ColumnValues previous = {0, 11, 12, 13, 14, 15, 16};

    const ColumnValues measures = columnTextMeasures(grid, previous, width);

    EXPECT_EQ(measures, ColumnValues({0, 3, 3, 13, 14, 15, 16}));
    const ColumnLayout layout =
        columnLayout(grid, WidestTextColumnWidths, {40}, {}, previous, width);
    EXPECT_EQ(layout.measures, measures);
    EXPECT_EQ(layout.widths, ColumnValues({40, 34, 34, 4, 4, 4, 4}));
}

TEST(CatalogueTable, StatusTexts) {
    EXPECT_EQ(processedStatusText(1234), u"Обработано и помещено в таблицу 1234 файла(ов)"_s);
    EXPECT_EQ(renamedStatusText(0), u"Переименовано 0 файла(ов)."_s);
    MainTableState state;
    CatalogueGrid grid;
    prepareGrid(grid, 7);
    for (int row = 1; row <= 6; ++row)
        grid.setCell(1, row, QStringLiteral("%1.kar").arg(row));
    EXPECT_EQ(statusText(state, grid), processedStatusText(6)) << "an empty row is no file";
    state.renameResult = true;
    state.renameCount = 3;
    EXPECT_EQ(statusText(state, grid), renamedStatusText(3));
    EXPECT_EQ(statusLabelLeft(800, 200), 590);
}
