#include "office/excel_export.h"
#include "office_fixtures.h"
#include "settings/program_settings.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace songwick {
namespace {

using testing::FixedClock;
using testing::fixedMoment;
using testing::sampleGrid;
using testing::sampleMeasures;

constexpr int kRows = 4; // header and three data rows

class ExcelExport : public ::testing::Test {
protected:
    Worksheet exported() {
        std::optional<Workbook> workbook =
            buildExcelExport(grid_, sampleMeasures(), settings_, clock_, QLocale::c());
        EXPECT_TRUE(workbook.has_value());
        return workbook ? workbook->worksheet() : Worksheet();
    }

    CatalogueGrid grid_ = sampleGrid(kRows - 1);
    ProgramSettings settings_;
    FixedClock clock_{fixedMoment()};
};

const BorderLine kThin{kLineStyleContinuous, kBorderWeightThin, 5, 255};
const BorderLine kMedium{kLineStyleContinuous, kBorderWeightMedium, 3, 255};

bool boxed(const CellFormat& format, const BorderLine& line) {
    return format.top == line && format.bottom == line && format.left == line &&
           format.right == line;
}

TEST_F(ExcelExport, DefaultSettingsGiveTheFullLayout) {
    const Worksheet sheet = exported();
    EXPECT_EQ(sheet.name(), QStringLiteral("Список караоке файлов"));
    for (int column = 1; column <= 7; ++column)
        EXPECT_EQ(sheet.value({1, column}), testing::catalogueHeaders()[column - 1]);
    EXPECT_EQ(sheet.value({3, 1}), QStringLiteral("2"));
    EXPECT_EQ(sheet.value({4, 7}), QStringLiteral("3:6"));

    // Number column: fill 8, blue header font, centred, bold, italic, title-style boxes.
    for (int row = 1; row <= kRows; ++row) {
        const CellFormat& number = sheet.format({row, 1});
        EXPECT_EQ(number.fillColorIndex, row == 1 ? 6 : 8) << row;
        EXPECT_EQ(number.fontColor, 16711680);
        EXPECT_EQ(number.alignment, HorizontalAlignment::Centre);
        EXPECT_TRUE(number.bold && number.italic);
        EXPECT_EQ(number.left, kMedium);
        EXPECT_EQ(number.right, kMedium);
    }
    // Title row: fill 6, centred, bold, blue, boxed in the title style.
    for (int column = 1; column <= 7; ++column) {
        const CellFormat& title = sheet.format({1, column});
        EXPECT_EQ(title.fillColorIndex, 6);
        EXPECT_EQ(title.alignment, HorizontalAlignment::Centre);
        EXPECT_TRUE(title.bold);
        EXPECT_FALSE(column > 1 && title.italic);
        EXPECT_EQ(title.fontColor, 16711680);
        // The edge between F1 and G1 is F1's; G1 keeps its thin table border there.
        if (column < 7)
            EXPECT_TRUE(boxed(title, kMedium)) << column;
        else
            EXPECT_TRUE(title.top == kMedium && title.bottom == kMedium && title.right == kMedium &&
                        title.left == kThin);
    }
    // Data columns: their own fills and font colours, right-aligned, every cell boxed thin.
    const int fills[] = {24, 4, 19, 22, 20, 15};
    const AutomationColor colours[] = {255, 8388608, 32768, 8388736, 8421376, 16711680};
    for (int k = 1; k <= 6; ++k) {
        for (int row = 2; row <= kRows; ++row) {
            const CellFormat& data = sheet.format({row, k + 1});
            EXPECT_EQ(data.fillColorIndex, fills[k - 1]);
            EXPECT_EQ(data.fontColor, colours[k - 1]);
            EXPECT_EQ(data.alignment, HorizontalAlignment::Right);
            EXPECT_FALSE(data.bold || data.italic);
            // Boxes around each pair of rows: the edge between rows r and r + 1 is drawn on
            // both, except above the last row, where it is the row before's bottom.
            if (row < kRows)
                EXPECT_TRUE(boxed(data, kThin)) << row << "," << k;
            else
                EXPECT_TRUE(data.bottom == kThin && data.left == kThin && data.right == kThin &&
                            !data.top.isDrawn());
        }
    }
    // Widths follow the text-length measures.
    EXPECT_EQ(sheet.columnWidth(1), 9.0);
    EXPECT_EQ(sheet.columnWidth(2), 11.0);
    EXPECT_EQ(sheet.columnWidth(4), 33.0);
    EXPECT_EQ(sheet.columnWidth(7), 13.0);
    EXPECT_EQ(sheet.columnWidth(8), 14.0);
    // Extra block: heading in row N + 2, the date and the text of list No. 2 in row N + 3.
    const CellRef heading{kRows + 2, 2};
    EXPECT_EQ(sheet.value(heading), QStringLiteral("Дополнительная информация:"));
    EXPECT_EQ(sheet.format(heading).alignment, HorizontalAlignment::Left);
    EXPECT_EQ(sheet.format(heading).fillColorIndex, 27);
    EXPECT_EQ(sheet.value({kRows + 3, 2}), QStringLiteral("05.мар.2024"));
    EXPECT_EQ(sheet.format({kRows + 3, 2}).fontColor, 8388608);
    EXPECT_EQ(sheet.value({kRows + 3, 3}), QStringLiteral("Made in Earth"));
    EXPECT_EQ(sheet.lastUsedCell(), (CellRef{kRows + 3, 7}));
}

TEST_F(ExcelExport, WithoutRowNumbersEachDataColumnMovesLeftWithItsFormatting) {
    settings_.ExcelRowNumbers = false;
    settings_.ExcelAutoWidth = false;
    grid_.setCell(0, 2, QStringLiteral("V 2"));
    const Worksheet sheet = exported();
    EXPECT_EQ(sheet.value({1, 1}), QStringLiteral("Имя файла"));
    EXPECT_EQ(sheet.value({2, 1}), QStringLiteral("1:1"));
    EXPECT_EQ(sheet.value({4, 6}), QStringLiteral("3:6"));
    EXPECT_TRUE(sheet.value({2, 7}).isEmpty());
    EXPECT_EQ(sheet.columnWidth(1), 31.0);
    EXPECT_EQ(sheet.columnWidth(2), 14.0);
    EXPECT_EQ(sheet.format({3, 1}).fillColorIndex, 24);
    EXPECT_EQ(sheet.format({3, 1}).fontColor, 255);
    EXPECT_EQ(sheet.format({3, 6}).fillColorIndex, 15);
    EXPECT_EQ(sheet.format({3, 6}).fontColor, 16711680);
    EXPECT_TRUE(boxed(sheet.format({3, 6}), kThin));
    EXPECT_FALSE(sheet.format({3, 7}).right.isDrawn());
    // The six title cells, and G1 filled white.
    EXPECT_EQ(sheet.format({1, 6}).fillColorIndex, 6);
    EXPECT_TRUE(sheet.format({1, 6}).bold);
    EXPECT_EQ(sheet.format({1, 7}).fillColorIndex, 2);
    EXPECT_FALSE(sheet.format({1, 7}).bold);
    EXPECT_FALSE(sheet.format({2, 1}).bold || sheet.format({2, 1}).italic);

    settings_.ExcelAutoWidth = true;
    const Worksheet autoWidth = exported();
    EXPECT_EQ(autoWidth.columnWidth(1), 11.0);
    EXPECT_EQ(autoWidth.columnWidth(6), 12.0);
    EXPECT_EQ(autoWidth.columnWidth(7), 14.0);
}

TEST_F(ExcelExport, WithoutColumnTitlesRowOneStaysEmptyButFilled) {
    settings_.ExcelColumnTitles = false;
    grid_.setCell(0, 1, QStringLiteral("V 1"));
    const Worksheet sheet = exported();
    for (int column = 1; column <= 7; ++column) {
        EXPECT_TRUE(sheet.value({1, column}).isEmpty());
        EXPECT_EQ(sheet.format({1, column}).fillColorIndex, 6);
        EXPECT_EQ(sheet.format({1, column}).bold, column == 1); // the number column is bold
    }
    EXPECT_EQ(sheet.value({2, 1}), QStringLiteral("V 1"));
    EXPECT_EQ(sheet.value({2, 2}), QStringLiteral("1:1"));
    // The empty row is no title row: not printed on every page, not frozen, no filter.
    EXPECT_EQ(sheet.pageSetup().titleRows, 0);
    EXPECT_EQ(sheet.frozenRows(), 0);
    EXPECT_FALSE(sheet.autoFilter());
    EXPECT_TRUE(sheet.pageSetup().landscape);
}

TEST_F(ExcelExport, EachBorderKindBoxesItsOwnWay) {
    settings_.ExcelHeaderBorderColor = false;
    settings_.ExcelBorderKind = 0; // a box around each column
    Worksheet sheet = exported();
    EXPECT_EQ(sheet.format({1, 3}).top, kThin);
    EXPECT_FALSE(sheet.format({2, 3}).top.isDrawn());
    EXPECT_FALSE(sheet.format({2, 3}).bottom.isDrawn());
    EXPECT_EQ(sheet.format({2, 3}).left, kThin);
    EXPECT_EQ(sheet.format({kRows, 3}).bottom, kThin);

    settings_.ExcelBorderKind = 1; // a box around each pair of rows
    sheet = exported();
    EXPECT_EQ(sheet.format({2, 3}).top, kThin);
    EXPECT_EQ(sheet.format({2, 3}).bottom, kThin);
    EXPECT_FALSE(sheet.format({2, 3}).left.isDrawn());
    EXPECT_EQ(sheet.format({2, 1}).left, kThin);
    EXPECT_EQ(sheet.format({2, 7}).right, kThin);

    settings_.ExcelBorderKind = 2; // every cell
    sheet = exported();
    EXPECT_TRUE(boxed(sheet.format({2, 3}), kThin));
    EXPECT_EQ(sheet.format({1, 1}).top, kThin);
    EXPECT_FALSE(sheet.format({1, 1}).bottom.isDrawn());

    settings_.ExcelTableBorderColor = false;
    sheet = exported();
    EXPECT_FALSE(sheet.format({2, 3}).left.isDrawn());
    EXPECT_FALSE(sheet.format({1, 1}).top.isDrawn());
}

TEST_F(ExcelExport, ExtraBlockItemsStandSideBySide) {
    settings_.ExcelUseList1 = true;
    settings_.ExcelAddLine = true;
    settings_.ExcelDateTimeKind = 2;
    Worksheet sheet = exported();
    const int items = kRows + 3;
    EXPECT_EQ(sheet.value({items, 2}), QStringLiteral("05.03.2024  14.07.09"));
    EXPECT_EQ(sheet.value({items, 3}), QStringLiteral("Коллекция"));
    EXPECT_EQ(sheet.value({items, 4}), QStringLiteral("Made in Earth"));
    EXPECT_EQ(sheet.value({items, 5}), QStringLiteral("Вся ЖИЗНЬ -- Праздник!"));

    settings_.ExcelDateTimeKind = 1;
    EXPECT_EQ(exported().value({items, 2}), QStringLiteral("14.07.09"));

    // A kind outside 0 to 2 writes an empty date; the heading is still written.
    settings_.ExcelDateTimeKind = 3;
    sheet = exported();
    EXPECT_TRUE(sheet.value({items, 2}).isEmpty());
    EXPECT_EQ(sheet.value({items, 3}), QStringLiteral("Коллекция"));
    EXPECT_EQ(sheet.value({kRows + 2, 2}), QStringLiteral("Дополнительная информация:"));

    // Without the date the first item takes column B and no heading is written.
    settings_.ExcelAddDateTime = false;
    settings_.ExcelUseList1 = false;
    settings_.ExcelAddLine = false;
    sheet = exported();
    EXPECT_EQ(sheet.value({items, 2}), QStringLiteral("Made in Earth"));
    EXPECT_TRUE(sheet.value({kRows + 2, 2}).isEmpty());
    EXPECT_EQ(sheet.format({kRows + 2, 2}).fillColorIndex, 0);
}

TEST_F(ExcelExport, AnEmptyTableStartsNothing) {
    QTemporaryDir folder;
    testing::RecordingOpener opener;
    const CatalogueGrid headerOnly = sampleGrid(0);
    EXPECT_FALSE(buildExcelExport(headerOnly, sampleMeasures(), settings_, clock_));
    EXPECT_FALSE(exportToSpreadsheetProgram(headerOnly, sampleMeasures(), settings_, clock_, opener,
                                            folder.path()));
    EXPECT_TRUE(opener.opened.isEmpty());

    const std::optional<QString> shown =
        exportToSpreadsheetProgram(grid_, sampleMeasures(), settings_, clock_, opener,
                                   folder.path())
            ->path;
    ASSERT_TRUE(shown);
    EXPECT_EQ(opener.opened, QStringList{*shown});
    EXPECT_TRUE(shown->endsWith(QStringLiteral("Список караоке файлов 2024-03-05 14.07.09.xlsx")));
    EXPECT_TRUE(QFileInfo::exists(*shown));
    // The same second again gets a name of its own.
    const std::optional<QString> again =
        exportToSpreadsheetProgram(grid_, sampleMeasures(), settings_, clock_, opener,
                                   folder.path())
            ->path;
    ASSERT_TRUE(again);
    EXPECT_NE(*again, *shown);
}

} // namespace
} // namespace songwick
