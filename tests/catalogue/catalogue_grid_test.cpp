#include "catalogue/catalogue_grid.h"

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
