#include "office/excel_export.h"

#include "catalogue/catalogue_grid.h"
#include "common/error.h"
#include "office/desktop_opener.h"
#include "office/xlsx_writer.h"
#include "settings/program_settings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <array>

namespace songwick {

QString exportSheetName() {
    return QCoreApplication::translate("songwick::Office", "Список караоке файлов");
}

QString extraBlockHeading() {
    return QCoreApplication::translate("songwick::Office", "Дополнительная информация:");
}
namespace {

constexpr int kDataColumnCount = 6;

// Fill and font colour of data columns 1 to 6.
constexpr std::array<int, kDataColumnCount> kDataFills = {24, 4, 19, 22, 20, 15};
constexpr std::array<AutomationColor, kDataColumnCount> kDataFontColors = {
    255, 8388608, 32768, 8388736, 8421376, 16711680};

constexpr int kNumberColumnFill = 8;
constexpr int kTitleRowFill = 6;
constexpr int kSpareTitleCellFill = 2;
constexpr int kExtraHeadingFill = 27;
constexpr AutomationColor kNumberColumnFontColor = 128;
constexpr AutomationColor kHeaderFontColor = 16711680;
constexpr AutomationColor kDateFontColor = 8388608;

constexpr double kSheetColumnWidth = 14;
constexpr double kNumberColumnWidth = 8;
constexpr double kNumberColumnAutoWidth = 9;
constexpr double kFirstColumnWidthWithoutNumbers = 31;

const BorderLine kTableBorder{kLineStyleContinuous, kBorderWeightThin, 5, 255};
const BorderLine kTitleBorder{kLineStyleContinuous, kBorderWeightMedium, 3, 255};

enum BorderKind { VerticalBorders = 0, HorizontalBorders = 1, AllBorders = 2 };

// The export's layout once the empty number column is gone when row numbers are off.
class ExportLayout {
public:
    ExportLayout(int rowCount, bool rowNumbers) : rowCount_(rowCount), rowNumbers_(rowNumbers) {}

    int lastRow() const { return rowCount_; }
    bool hasNumberColumn() const { return rowNumbers_; }
    // Data column k (1 to 6) of the table.
    int sheetColumn(int dataColumn) const { return rowNumbers_ ? dataColumn + 1 : dataColumn; }
    int lastTableColumn() const { return sheetColumn(kDataColumnCount); }

    CellRange column(int sheetColumn, int fromRow = 1) const {
        return {{fromRow, sheetColumn}, {rowCount_, sheetColumn}};
    }
    CellRange titleRow() const { return {{1, 1}, {1, lastTableColumn()}}; }

private:
    int rowCount_;
    bool rowNumbers_;
};

std::vector<QString> transferArray(const CatalogueGrid& grid, const ProgramSettings& settings) {
    const int rows = grid.rowCount();
    const int columns = grid.columnCount();
    std::vector<QString> array(std::size_t(rows) * std::size_t(columns));
    const int firstRow = settings.ExcelColumnTitles ? 0 : 1;
    const int firstColumn = settings.ExcelRowNumbers ? 0 : 1;
    for (int row = firstRow; row < rows; ++row) {
        for (int column = firstColumn; column < columns; ++column)
            array[std::size_t(row) * std::size_t(columns) + std::size_t(column)] =
                grid.cell(column, row);
    }
    return array;
}

void fillAndColour(Worksheet& sheet, const ExportLayout& layout, const ProgramSettings& settings) {
    if (settings.ExcelHeaderFill) {
        if (layout.hasNumberColumn())
            sheet.setFill(layout.column(1), kNumberColumnFill);
        sheet.setFill(layout.titleRow(), kTitleRowFill);
    }
    if (settings.ExcelTableFill) {
        for (int k = 1; k <= kDataColumnCount; ++k) {
            if (layout.lastRow() >= 2)
                sheet.setFill(layout.column(layout.sheetColumn(k), 2), kDataFills[k - 1]);
        }
        if (!layout.hasNumberColumn())
            sheet.setFill(CellRange::fromA1(u"G1"), kSpareTitleCellFill);
    }
    if (settings.ExcelTableTextColor) {
        for (int k = 1; k <= kDataColumnCount; ++k)
            sheet.setFontColor(layout.column(layout.sheetColumn(k)), kDataFontColors[k - 1]);
        if (layout.hasNumberColumn() && !settings.ExcelHeaderTextColor)
            sheet.setFontColor(layout.column(1), kNumberColumnFontColor);
    }
}

void drawTableBorders(Worksheet& sheet, const ExportLayout& layout, int kind) {
    const int lastColumn = layout.lastTableColumn();
    switch (kind) {
    case AllBorders:
        for (int row = 1; row < layout.lastRow(); ++row) {
            for (int column = 1; column <= lastColumn; ++column)
                sheet.borderAround({{row, column}, {row + 1, column}}, kTableBorder);
        }
        break;
    case HorizontalBorders:
        for (int row = 1; row < layout.lastRow(); ++row)
            sheet.borderAround({{row, 1}, {row + 1, lastColumn}}, kTableBorder);
        break;
    case VerticalBorders:
        for (int column = 1; column <= lastColumn; ++column)
            sheet.borderAround(layout.column(column), kTableBorder);
        break;
    default:
        break;
    }
}

void formatNumberColumn(Worksheet& sheet, const ExportLayout& layout,
                        const ProgramSettings& settings) {
    const CellRange numbers = layout.column(1);
    if (settings.ExcelHeaderTextColor)
        sheet.setFontColor(numbers, kHeaderFontColor);
    if (settings.ExcelHeaderBorderColor) {
        for (int row = 1; row < layout.lastRow(); ++row)
            sheet.borderAround({{row, 1}, {row + 1, 1}}, kTitleBorder);
    }
    sheet.setAlignment(numbers, HorizontalAlignment::Centre);
    if (settings.ExcelRowNumbersItalic)
        sheet.setItalic(numbers, true);
    sheet.setBold(numbers, true);
}

void formatTitleRow(Worksheet& sheet, const ExportLayout& layout, const ProgramSettings& settings) {
    const CellRange titles = layout.titleRow();
    sheet.setAlignment(titles, HorizontalAlignment::Centre);
    sheet.setBold(titles, true);
    if (settings.ExcelHeaderTextColor)
        sheet.setFontColor(titles, kHeaderFontColor);
    if (settings.ExcelHeaderBorderColor) {
        sheet.borderAround(titles, kTitleBorder);
        for (int column = 1; column < layout.lastTableColumn(); ++column)
            sheet.borderAround({{1, column}, {1, column + 1}}, kTitleBorder);
    }
}

void setWidths(Worksheet& sheet, const ExportLayout& layout, const ColumnValues& measures,
               const ProgramSettings& settings) {
    const auto setWidth = [&sheet](int column, double width) {
        sheet.setColumnWidth({{1, column}, {1, column}}, width);
    };
    if (layout.hasNumberColumn())
        setWidth(1, kNumberColumnWidth);
    if (!settings.ExcelAutoWidth)
        return;
    for (int k = 1; k <= kDataColumnCount; ++k)
        setWidth(layout.sheetColumn(k), measures[std::size_t(k)]);
    if (layout.hasNumberColumn()) {
        setWidth(1, kNumberColumnAutoWidth);
        setWidth(layout.sheetColumn(kDataColumnCount), measures[kDataColumnCount] + 1);
    }
}

QString dateTimeText(int kind, DateTimeValue now, const QLocale& locale) {
    switch (kind) {
    case 0:
        return formatDateTime(now, u"dd.mmm.yyy", locale);
    case 1:
        return formatDateTime(now, kPatternTime, locale);
    case 2:
        return formatDateTime(now, kPatternDateTime, locale);
    default:
        return {};
    }
}

void addExtraBlock(Worksheet& sheet, const ExportLayout& layout, const ProgramSettings& settings,
                   DateTimeValue now, const QLocale& locale) {
    const int headingRow = layout.lastRow() + 2;
    const int itemRow = layout.lastRow() + 3;
    int nextColumn = 2;
    if (settings.ExcelAddDateTime) {
        const CellRef dateCell{itemRow, nextColumn++};
        sheet.setValue(dateCell, dateTimeText(settings.ExcelDateTimeKind, now, locale));
        const CellRef heading{headingRow, 2};
        sheet.setValue(heading, extraBlockHeading());
        sheet.setAlignment({heading, heading}, HorizontalAlignment::Left);
        if (settings.ExcelTableFill)
            sheet.setFill({heading, heading}, kExtraHeadingFill);
        if (settings.ExcelTableTextColor)
            sheet.setFontColor({dateCell, dateCell}, kDateFontColor);
    }
    if (settings.ExcelUseList1)
        sheet.setValue({itemRow, nextColumn++}, settings.ExcelList1Text);
    if (settings.ExcelUseList2)
        sheet.setValue({itemRow, nextColumn++}, settings.ExcelList2Text);
    if (settings.ExcelAddLine)
        sheet.setValue({itemRow, nextColumn++}, settings.ExcelLineText);
}

// On paper: landscape, every column on the width of one page, the page number and count in
// the footer, and with column titles their row on top of every page. On screen the title row
// stays in view and filters the table below it.
void setUpPrinting(Worksheet& sheet, const ExportLayout& layout, bool columnTitles) {
    PageSetup& setup = sheet.pageSetup();
    setup.landscape = true;
    setup.fitToPagesWide = 1;
    setup.centreFooter = QStringLiteral("&P / &N");
    if (!columnTitles)
        return;
    setup.titleRows = 1;
    sheet.freezeRows(1);
    sheet.setAutoFilter({{1, 1}, {layout.lastRow(), layout.lastTableColumn()}});
}

} // namespace

std::optional<Workbook> buildExcelExport(const CatalogueGrid& grid,
                                         const ColumnValues& columnMeasures,
                                         const ProgramSettings& settings, const Clock& clock,
                                         const QLocale& locale) {
    if (grid.rowCount() < 2 || grid.cell(0, 1).isEmpty())
        return std::nullopt;
    const int rows = grid.rowCount();
    Workbook workbook;
    Worksheet& sheet = workbook.worksheet();
    sheet.setValues({{1, 1}, {rows, grid.columnCount()}}, transferArray(grid, settings));
    sheet.setName(exportSheetName());
    sheet.setAllColumnsAlignment(HorizontalAlignment::Right);
    sheet.setAllColumnsWidth(kSheetColumnWidth);
    if (!settings.ExcelRowNumbers) {
        // The empty number column goes; its width stays with column A, now data column 1.
        sheet.setColumnWidth(CellRange::fromA1(u"A1"), kFirstColumnWidthWithoutNumbers);
        sheet.deleteShiftLeft({{1, 1}, {rows, 1}});
    }
    const ExportLayout layout(rows, settings.ExcelRowNumbers);
    fillAndColour(sheet, layout, settings);
    if (settings.ExcelTableBorderColor)
        drawTableBorders(sheet, layout, settings.ExcelBorderKind);
    if (layout.hasNumberColumn())
        formatNumberColumn(sheet, layout, settings);
    if (settings.ExcelColumnTitles)
        formatTitleRow(sheet, layout, settings);
    setWidths(sheet, layout, columnMeasures, settings);
    addExtraBlock(sheet, layout, settings, clock.now(), locale);
    setUpPrinting(sheet, layout, settings.ExcelColumnTitles);
    return workbook;
}

QString defaultShowFolder() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    if (folder.isEmpty() || !QDir().mkpath(folder))
        throw Error(QCoreApplication::translate(
                        "songwick::Office", "Не удалось создать папку для временных файлов \"%1\"")
                        .arg(folder));
    return folder;
}

QString timeStampedPath(const QString& folder, const QString& baseName, const QString& extension,
                        DateTimeValue now) {
    const QString stamp = formatDateTime(now, u"yyy-mm-dd hh.mm.ss");
    const QDir dir(folder);
    QString path = dir.filePath(QStringLiteral("%1 %2.%3").arg(baseName, stamp, extension));
    for (int copy = 2; QFileInfo::exists(path); ++copy)
        path = dir.filePath(
            QStringLiteral("%1 %2 (%3).%4").arg(baseName, stamp).arg(copy).arg(extension));
    return path;
}

ShownWorkbook showWorkbook(const Workbook& workbook, const Clock& clock, DesktopOpener& opener,
                           const QString& folder) {
    const QString path = timeStampedPath(folder.isEmpty() ? defaultShowFolder() : folder,
                                         exportSheetName(), QStringLiteral("xlsx"), clock.now());
    const int cutCells = writeXlsx(workbook, path);
    opener.open(path);
    return {path, cutCells};
}

std::optional<ShownWorkbook> exportToSpreadsheetProgram(const CatalogueGrid& grid,
                                                        const ColumnValues& columnMeasures,
                                                        const ProgramSettings& settings,
                                                        const Clock& clock, DesktopOpener& opener,
                                                        const QString& folder) {
    const std::optional<Workbook> workbook =
        buildExcelExport(grid, columnMeasures, settings, clock);
    if (!workbook)
        return std::nullopt;
    return showWorkbook(*workbook, clock, opener, folder);
}

} // namespace songwick
