#include "catalogue/catalogue_grid.h"
#include "catalogue/catalogue_order.h"
#include "catalogue/catalogue_table.h"

#include <gtest/gtest.h>
#include <stdexcept>

using namespace songwick;

TEST(CatalogueGrid, StartsAsTwoByTwoEmptyCells) {
    const CatalogueGrid grid;
    EXPECT_EQ(grid.columnCount(), 2);
    EXPECT_EQ(grid.rowCount(), 2);
    EXPECT_EQ(grid.dataRowCount(), 1);
    EXPECT_TRUE(grid.cell(1, 1).isEmpty());
}

TEST(CatalogueGrid, ResizingKeepsTheCellsThatStayInside) {
    CatalogueGrid grid(3, 3);
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column)
            grid.setCell(column, row, QString::number(column * 10 + row));

    grid.setColumnCount(5);
    EXPECT_EQ(grid.cell(2, 2), u"22");
    EXPECT_EQ(grid.cell(1, 0), u"10");
    EXPECT_TRUE(grid.cell(4, 2).isEmpty());

    grid.setRowCount(2);
    grid.setColumnCount(2);
    EXPECT_EQ(grid.columnCount(), 2);
    EXPECT_EQ(grid.rowCount(), 2);
    EXPECT_EQ(grid.cell(1, 1), u"11");

    grid.setRowCount(4);
    EXPECT_EQ(grid.cell(0, 1), u"1");
    EXPECT_TRUE(grid.cell(1, 3).isEmpty());
}

TEST(CatalogueGrid, RefusesCellsOutsideAndCountsBelowOne) {
    CatalogueGrid grid(7, 3);
    EXPECT_THROW(grid.cell(7, 0), std::out_of_range);
    EXPECT_THROW(grid.cell(0, 3), std::out_of_range);
    EXPECT_THROW(grid.setCell(-1, 0, QStringLiteral("x")), std::out_of_range);
    EXPECT_THROW(grid.setRowCount(0), std::out_of_range);
    EXPECT_THROW(grid.setColumnCount(0), std::out_of_range);
    EXPECT_EQ(grid.rowCount(), 3);
}

TEST(CatalogueGrid, ShiftDownMovesOnlyTheNamedColumns) {
    CatalogueGrid grid(3, 5);
    for (int row = 0; row < 5; ++row)
        for (int column = 0; column < 3; ++column)
            grid.setCell(column, row, QStringLiteral("%1:%2").arg(column).arg(row));

    grid.shiftCellsDown(2, 1, 10);

    for (int row = 0; row < 5; ++row)
        EXPECT_EQ(grid.cell(0, row), QStringLiteral("0:%1").arg(row));
    EXPECT_EQ(grid.cell(1, 1), u"1:1");
    EXPECT_TRUE(grid.cell(1, 2).isEmpty());
    EXPECT_TRUE(grid.cell(2, 2).isEmpty());
    EXPECT_EQ(grid.cell(1, 3), u"1:2");
    EXPECT_EQ(grid.cell(2, 4), u"2:3");
}

namespace songwick {
namespace {

// Rows keep their own file through every change of place: moving, removing, inserting, and
// the copy into the stores and back.
TEST(CatalogueGridRowFiles, FilesMoveWithTheirRows) {
    CatalogueState state;
    for (const char* name : {"a.kar", "b.kar", "c.kar"})
        state.startWindowStore.append({QString::fromLatin1(name), QStringLiteral("/k/")});
    CatalogueGrid grid;
    rebuildFromStore(grid, state.startWindowStore);
    const auto fileOf = [&](int row) {
        return grid.rowFile(row) ? grid.rowFile(row)->name : QStringLiteral("-");
    };

    grid.setCell(1, 1, QStringLiteral("typed.kar"));
    grid.moveRows({3, 1, 2});
    EXPECT_EQ(fileOf(1) + fileOf(2) + fileOf(3), QStringLiteral("c.kara.karb.kar"));
    EXPECT_EQ(grid.cell(1, 2), QStringLiteral("typed.kar"));

    insertRow(grid, 2, state); // copies back into both stores
    EXPECT_EQ(fileOf(1) + fileOf(2) + fileOf(3) + fileOf(4), QStringLiteral("c.kar-a.karb.kar"));
    rebuildFromStore(grid, state.startWindowStore);
    EXPECT_EQ(fileOf(3), QStringLiteral("a.kar"));
    EXPECT_EQ(grid.cell(1, 3), QStringLiteral("typed.kar"));

    grid.removeRowsUnless([&](int row) { return row != 1; });
    EXPECT_EQ(grid.dataRowCount(), 3);
    EXPECT_EQ(fileOf(1) + fileOf(2) + fileOf(3), QStringLiteral("-a.karb.kar"));
    EXPECT_THROW(grid.moveRows({1, 1, 2}), std::invalid_argument);
}

TEST(CatalogueGridRowFiles, RowsGoBackToTheOrderTheTableWasMadeIn) {
    CatalogueState state;
    for (const char* name : {"c.kar", "a.kar", "b.kar"})
        state.startWindowStore.append({QString::fromLatin1(name), QStringLiteral("/k/")});
    CatalogueGrid grid;
    rebuildFromStore(grid, state.startWindowStore);
    const auto names = [&] {
        QString all;
        for (int row = 1; row < grid.rowCount(); ++row)
            all += grid.rowFile(row) ? grid.rowFile(row)->name : QStringLiteral("-");
        return all;
    };
    sortRows(grid, 1, SortOrder::Ascending);
    insertRow(grid, 2, state); // between a.kar and b.kar
    sortRows(grid, 1, SortOrder::Descending);
    sortRows(grid, 0, SortOrder::Ascending);
    EXPECT_EQ(names(), QStringLiteral("c.kara.kar-b.kar"));
    EXPECT_EQ(grid.cell(0, 4), QStringLiteral("4"));
    sortRows(grid, 0, SortOrder::Descending);
    EXPECT_EQ(names(), QStringLiteral("b.kar-a.karc.kar"));
}

} // namespace
} // namespace songwick
