#include "common/error.h"
#include "office/workbook.h"

#include <gtest/gtest.h>

namespace songwick {
namespace {

CellRange range(const char* from, const char* to) {
    return CellRange::fromA1(QString::fromLatin1(from), QString::fromLatin1(to));
}

CellRef cell(const char* reference) {
    return CellRef::fromA1(QString::fromLatin1(reference));
}

TEST(CellReferences, ReadLettersAndRowsAndRejectOthers) {
    EXPECT_EQ(cell("A1"), (CellRef{1, 1}));
    EXPECT_EQ(cell("g45002"), (CellRef{45002, 7}));
    EXPECT_EQ(cell("AA3"), (CellRef{3, 27}));
    EXPECT_EQ(columnLetters(1), QStringLiteral("A"));
    EXPECT_EQ(columnLetters(26), QStringLiteral("Z"));
    EXPECT_EQ(columnLetters(27), QStringLiteral("AA"));
    EXPECT_EQ(columnLetters(16384), QStringLiteral("XFD"));
    for (const char* bad : {"", "A", "1", "A0", "A-1", "1A", "A1B", "XFE1"})
        EXPECT_THROW(cell(bad), Error) << bad;
    // Range corners in either order give the same rectangle.
    EXPECT_EQ(range("C5", "A1"), range("A1", "C5"));
}

TEST(Palette, HasTheStandardColours) {
    EXPECT_EQ(paletteRgb(1), 0x000000u);
    EXPECT_EQ(paletteRgb(3), 0xFF0000u);
    EXPECT_EQ(paletteRgb(4), 0x00FF00u);
    EXPECT_EQ(paletteRgb(5), 0x0000FFu);
    EXPECT_EQ(paletteRgb(6), 0xFFFF00u);
    EXPECT_EQ(paletteRgb(8), 0x00FFFFu);
    EXPECT_EQ(paletteRgb(15), 0xC0C0C0u);
    EXPECT_EQ(paletteRgb(19), 0xFFFFCCu);
    EXPECT_EQ(paletteRgb(20), 0xCCFFFFu);
    EXPECT_EQ(paletteRgb(22), 0xFF8080u);
    EXPECT_EQ(paletteRgb(24), 0xCCCCFFu);
    EXPECT_EQ(paletteRgb(27), 0xFFFF00u);
    EXPECT_EQ(paletteRgb(56), 0x333333u);
    EXPECT_THROW(paletteRgb(0), Error);
    EXPECT_THROW(paletteRgb(57), Error);
    // Automation colours are red + 256 x green + 65536 x blue.
    EXPECT_EQ(automationColorToRgb(255), 0xFF0000u);
    EXPECT_EQ(automationColorToRgb(8388608), 0x000080u);
    EXPECT_EQ(automationColorToRgb(8421376), 0x008080u);
}

TEST(Worksheet, ValuesGoByRangeAndGrowTheStoredArea) {
    Worksheet sheet;
    sheet.setValues(range("B2", "C3"), {QStringLiteral("a"), QStringLiteral("b"),
                                        QStringLiteral("c"), QStringLiteral("d")});
    EXPECT_EQ(sheet.value(cell("B2")), QStringLiteral("a"));
    EXPECT_EQ(sheet.value(cell("C3")), QStringLiteral("d"));
    EXPECT_TRUE(sheet.value(cell("A1")).isEmpty());
    EXPECT_TRUE(sheet.value(cell("Z99")).isEmpty());
    EXPECT_EQ(sheet.lastUsedCell(), cell("C3"));
    // Growing by columns keeps what is stored.
    sheet.setValue(cell("E1"), QStringLiteral("e"));
    EXPECT_EQ(sheet.value(cell("B2")), QStringLiteral("a"));
    EXPECT_EQ(sheet.value(cell("C3")), QStringLiteral("d"));
    EXPECT_EQ(sheet.lastUsedCell(), cell("E3"));
    EXPECT_THROW(sheet.setValues(range("A1", "B1"), {QStringLiteral("x")}), Error);
    EXPECT_EQ(Worksheet().lastUsedCell(), cell("A1"));
}

TEST(Worksheet, LaterCallsOverrideEarlierOnesCellByCell) {
    Worksheet sheet;
    sheet.setValues(range("A1", "C3"), std::vector<QString>(9, QStringLiteral("x")));
    sheet.setAllColumnsAlignment(HorizontalAlignment::Right);
    sheet.setFill(range("A1", "C3"), 24);
    sheet.setFill(range("B1", "B3"), 4);
    sheet.setFontColor(range("A1", "A3"), 255);
    sheet.setBold(range("A1", "C1"), true);
    sheet.setItalic(range("A2", "A2"), true);
    sheet.setAlignment(range("A1", "C1"), HorizontalAlignment::Centre);

    EXPECT_EQ(sheet.format(cell("A1")).fillColorIndex, 24);
    EXPECT_EQ(sheet.format(cell("B2")).fillColorIndex, 4);
    EXPECT_EQ(sheet.format(cell("A3")).fontColor, 255);
    EXPECT_EQ(sheet.format(cell("B3")).fontColor, kAutomaticColor);
    EXPECT_TRUE(sheet.format(cell("C1")).bold);
    EXPECT_FALSE(sheet.format(cell("C2")).bold);
    EXPECT_TRUE(sheet.format(cell("A2")).italic);
    EXPECT_EQ(sheet.format(cell("B1")).alignment, HorizontalAlignment::Centre);
    EXPECT_EQ(sheet.format(cell("B2")).alignment, HorizontalAlignment::Right);
    // Whole-sheet alignment holds for cells never stored too.
    EXPECT_EQ(sheet.format(cell("K40")).alignment, HorizontalAlignment::Right);
    // A cell stored later starts with its column's format.
    sheet.setValue(cell("D9"), QStringLiteral("late"));
    EXPECT_EQ(sheet.format(cell("D9")).alignment, HorizontalAlignment::Right);
    EXPECT_EQ(sheet.format(cell("D9")).fillColorIndex, 0);
    EXPECT_THROW(sheet.setFill(range("A1", "A1"), 57), Error);
}

TEST(Worksheet, BorderAroundDrawsOnlyTheOuterEdges) {
    Worksheet sheet;
    const BorderLine thin{kLineStyleContinuous, kBorderWeightThin, 5, 255};
    sheet.borderAround(range("B2", "D4"), thin);
    const CellFormat& corner = sheet.format(cell("B2"));
    EXPECT_EQ(corner.top, thin);
    EXPECT_EQ(corner.left, thin);
    EXPECT_FALSE(corner.bottom.isDrawn());
    EXPECT_FALSE(corner.right.isDrawn());
    EXPECT_EQ(sheet.format(cell("D4")).bottom, thin);
    EXPECT_EQ(sheet.format(cell("D4")).right, thin);
    EXPECT_EQ(sheet.format(cell("C3")), CellFormat{});
    EXPECT_EQ(sheet.format(cell("C4")).bottom, thin);
    EXPECT_FALSE(sheet.format(cell("C4")).left.isDrawn());

    // Boxes around each pair of rows leave every inner cell boxed on all sides; a later box
    // with another line replaces the edges it draws and keeps the others.
    Worksheet pairs;
    for (int row = 1; row < 4; ++row)
        pairs.borderAround({{row, 1}, {row + 1, 1}}, thin);
    const CellFormat& inner = pairs.format(cell("A2"));
    EXPECT_TRUE(inner.top.isDrawn() && inner.bottom.isDrawn() && inner.left.isDrawn() &&
                inner.right.isDrawn());
    const BorderLine medium{kLineStyleContinuous, kBorderWeightMedium, 3, 255};
    pairs.borderAround(range("A1", "B1"), medium);
    EXPECT_EQ(pairs.format(cell("A1")).left, medium);
    EXPECT_EQ(pairs.format(cell("A1")).top, medium);
    EXPECT_EQ(pairs.format(cell("A1")).bottom, medium);
    EXPECT_EQ(pairs.format(cell("A1")).right, thin);
}

TEST(Worksheet, DeleteShiftLeftMovesValuesAndFormatsButNotWidths) {
    Worksheet sheet;
    sheet.setValues(range("A1", "C2"),
                    {QStringLiteral(""), QStringLiteral("b1"), QStringLiteral("c1"),
                     QStringLiteral(""), QStringLiteral("b2"), QStringLiteral("c2")});
    sheet.setValue(cell("B3"), QStringLiteral("below"));
    sheet.setAllColumnsAlignment(HorizontalAlignment::Right);
    sheet.setFill(range("B1", "B2"), 24);
    sheet.setFill(range("C1", "C2"), 4);
    sheet.setColumnWidth(range("A1", "A1"), 31);
    sheet.setColumnWidth(range("B1", "B1"), 10);
    sheet.deleteShiftLeft(range("A1", "A2"));

    EXPECT_EQ(sheet.value(cell("A1")), QStringLiteral("b1"));
    EXPECT_EQ(sheet.value(cell("B2")), QStringLiteral("c2"));
    EXPECT_TRUE(sheet.value(cell("C1")).isEmpty());
    EXPECT_EQ(sheet.format(cell("A2")).fillColorIndex, 24);
    EXPECT_EQ(sheet.format(cell("B1")).fillColorIndex, 4);
    EXPECT_EQ(sheet.format(cell("C1")).fillColorIndex, 0);
    EXPECT_EQ(sheet.format(cell("C1")).alignment, HorizontalAlignment::Right);
    // Rows outside the deleted range stay where they are.
    EXPECT_EQ(sheet.value(cell("B3")), QStringLiteral("below"));
    EXPECT_EQ(sheet.columnWidth(1), 31.0);
    EXPECT_EQ(sheet.columnWidth(2), 10.0);
    EXPECT_FALSE(sheet.columnWidth(3).has_value());
}

TEST(Worksheet, WidthsOfAllColumnsAndOfSomeColumns) {
    Worksheet sheet;
    EXPECT_FALSE(sheet.columnWidth(1).has_value());
    sheet.setAllColumnsWidth(14);
    sheet.setColumnWidth(range("A5", "B5"), 8);
    EXPECT_EQ(sheet.columnWidth(1), 8.0);
    EXPECT_EQ(sheet.columnWidth(2), 8.0);
    EXPECT_EQ(sheet.columnWidth(3), 14.0);
    EXPECT_EQ(sheet.columnWidth(900), 14.0);
    sheet.setAllColumnsWidth(9);
    EXPECT_EQ(sheet.columnWidth(1), 9.0);
}

TEST(Worksheet, FormatsAreSharedNotStoredPerCell) {
    Worksheet sheet;
    sheet.setValues({{1, 1}, {45002, 7}}, std::vector<QString>(45002 * 7));
    sheet.setAllColumnsAlignment(HorizontalAlignment::Right);
    for (int column = 1; column <= 7; ++column)
        sheet.setFill({{2, column}, {45002, column}}, 20 + column);
    EXPECT_LE(sheet.formatCount(), 10);
    EXPECT_EQ(sheet.lastUsedCell(), (CellRef{45002, 7}));
}

} // namespace
} // namespace songwick
