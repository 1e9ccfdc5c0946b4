#pragma once

#include <QString>
#include <QStringView>
#include <algorithm>
#include <cstdint>
#include <optional>
#include <unordered_map>
#include <vector>

namespace songwick {

// A cell of a worksheet; rows and columns count from 1.
struct CellRef {
    int row = 1;
    int column = 1;

    // "A1"-style reference; throws songwick::Error for anything else.
    static CellRef fromA1(QStringView reference);
    bool operator==(const CellRef&) const = default;
};

// The rectangle between two cells, both included.
struct CellRange {
    CellRef first;
    CellRef last;

    CellRange(CellRef from, CellRef to);
    // Range("A1", "G1") with two references, or one reference for a single cell.
    static CellRange fromA1(QStringView from, QStringView to);
    static CellRange fromA1(QStringView cell) { return fromA1(cell, cell); }

    int rowCount() const { return last.row - first.row + 1; }
    int columnCount() const { return last.column - first.column + 1; }
    bool operator==(const CellRange&) const = default;
};

// The letters naming a column (1 -> "A", 27 -> "AA").
QString columnLetters(int column);

// HorizontalAlignment values as the spreadsheet's automation names them.
enum class HorizontalAlignment : std::int16_t {
    General = 1,
    Left = -4131,
    Centre = -4108,
    Right = -4152,
};

// BorderAround's line style and weight as the spreadsheet's automation numbers them.
inline constexpr int kLineStyleNone = -4142;
inline constexpr int kLineStyleContinuous = 1;
inline constexpr int kBorderWeightHairline = 1;
inline constexpr int kBorderWeightThin = 2;
inline constexpr int kBorderWeightMedium = 3; // also accepted as -4138
inline constexpr int kBorderWeightThick = 4;

// Colours as the automation gives them: red + 256 x green + 65536 x blue.
using AutomationColor = std::int32_t;
inline constexpr AutomationColor kAutomaticColor = -1;

// One edge of a cell. The palette index and the explicit colour are both kept, as given;
// where both are set the explicit colour is the one shown (see the xlsx writer).
struct BorderLine {
    std::int16_t lineStyle = kLineStyleNone;
    std::int16_t weight = kBorderWeightThin;
    std::int16_t colorIndex = 0; // 0: none given
    AutomationColor color = kAutomaticColor;

    bool isDrawn() const { return lineStyle != kLineStyleNone; }
    bool operator==(const BorderLine&) const = default;
};

// Everything the export sets on a cell. Fill: palette index 0 is "no fill"; a fill is
// always the solid pattern with the automatic pattern colour.
struct CellFormat {
    HorizontalAlignment alignment = HorizontalAlignment::General;
    std::int16_t fillColorIndex = 0;
    AutomationColor fontColor = kAutomaticColor;
    bool bold = false;
    bool italic = false;
    BorderLine top;
    BorderLine bottom;
    BorderLine left;
    BorderLine right;

    bool operator==(const CellFormat&) const = default;
};

// PageSetup of a worksheet as the export gives it: how the sheet goes onto paper.
struct PageSetup {
    bool landscape = false;
    // FitToPagesWide with FitToPagesTall off: every column on this many pages across, as many
    // pages down as the rows take; 0 prints the sheet at its own size.
    int fitToPagesWide = 0;
    // PrintTitleRows: rows 1 to this one are printed at the top of every page; 0 for none.
    int titleRows = 0;
    // CenterFooter in the spreadsheet's codes ("&P" the page number, "&N" the page count);
    // empty for none.
    QString centreFooter;

    bool operator==(const PageSetup&) const = default;
};

// The spreadsheet's standard 56-colour palette: index 1 to 56 to 0xRRGGBB. Throws
// songwick::Error outside 1..56.
std::uint32_t paletteRgb(int colorIndex);
// red + 256 x green + 65536 x blue to 0xRRGGBB.
std::uint32_t automationColorToRgb(AutomationColor color);

// One worksheet as the export builds it: cell values and the formatting calls the export
// issues, each later call overriding earlier ones on the same cells. Column-wide settings
// ("Columns" of the whole sheet) hold for every cell of the sheet, stored or not.
//
// Storage: the cells from A1 to the furthest one touched, row-major, one text and one small
// format id per cell; the distinct formats live once in a table. Cells outside the stored
// rectangle have their column's format and no value.
class Worksheet {
public:
    Worksheet();

    const QString& name() const { return name_; }
    void setName(QString name) { name_ = std::move(name); }

    // Range.Value with a 2-D array of rowCount x columnCount texts, row after row. Throws
    // songwick::Error when the array does not have the range's size.
    void setValues(const CellRange& range, const std::vector<QString>& rowMajorTexts);
    void setValue(CellRef cell, QString text);
    // Empty for a cell never written.
    const QString& value(CellRef cell) const;

    // Columns.HorizontalAlignment and Columns.ColumnWidth: every column of the sheet.
    void setAllColumnsAlignment(HorizontalAlignment alignment);
    void setAllColumnsWidth(double characters);

    void setAlignment(const CellRange& range, HorizontalAlignment alignment);
    // Range.ColumnWidth: the width of every column the range spans, in characters.
    void setColumnWidth(const CellRange& range, double characters);
    // Interior.ColorIndex with Pattern solid and PatternColorIndex automatic.
    void setFill(const CellRange& range, int colorIndex);
    void setFontColor(const CellRange& range, AutomationColor color);
    void setBold(const CellRange& range, bool bold);
    void setItalic(const CellRange& range, bool italic);
    // BorderAround: the given line on the outer edges of the range.
    void borderAround(const CellRange& range, const BorderLine& line);
    // Range.Delete with shift left: the range's cells go; the cells to their right in the
    // same rows move left by the range's width, values and formats. Column widths stay.
    void deleteShiftLeft(const CellRange& range);

    PageSetup& pageSetup() { return pageSetup_; }
    const PageSetup& pageSetup() const { return pageSetup_; }
    // FreezePanes: rows 1 to `rows` stay in view while the rest scrolls; 0 for none.
    void freezeRows(int rows) { frozenRows_ = std::clamp(rows, 0, kMaxRows - 1); }
    int frozenRows() const { return frozenRows_; }
    // Range.AutoFilter: the range's first row gets the filter buttons over the rows below it.
    void setAutoFilter(const CellRange& range);
    const std::optional<CellRange>& autoFilter() const { return autoFilter_; }

    // SpecialCells(11): the last row and the last column holding a value or a format of its
    // own; A1 for an empty sheet.
    CellRef lastUsedCell() const;

    const CellFormat& format(CellRef cell) const;
    const CellFormat& columnFormat(int column) const;
    // The width of a column in characters; empty while the sheet's standard width holds.
    std::optional<double> columnWidth(int column) const;

    // The stored rectangle, for writers: rows 1..storedRowCount(), columns 1..storedColumnCount().
    int storedRowCount() const { return rowCount_; }
    int storedColumnCount() const { return columnCount_; }
    // Columns past this one all have the same width and format as this one.
    int lastDistinctColumn() const;
    // Format ids of the stored cells; formatById() gives the format.
    std::uint16_t formatId(CellRef cell) const;
    std::uint16_t columnFormatId(int column) const;
    const CellFormat& formatById(std::uint16_t id) const { return formats_[id]; }
    int formatCount() const { return int(formats_.size()); }

    static constexpr int kMaxRows = 1048576;
    static constexpr int kMaxColumns = 16384;

private:
    // One kind of formatting call with its parameters, interned so that applying it to a cell
    // is one lookup of (old format id, change id).
    struct FormatChange {
        enum class Kind : std::uint8_t { Alignment, Fill, FontColor, Bold, Italic, Border };
        Kind kind = Kind::Alignment;
        std::uint8_t edges = 0; // Border: bit 0 top, 1 bottom, 2 left, 3 right
        std::int32_t value = 0;
        BorderLine line;

        bool operator==(const FormatChange&) const = default;
        void applyTo(CellFormat& format) const;
    };
    struct FormatHash {
        std::size_t operator()(const CellFormat& format) const;
    };

    void ensureSize(int rows, int columns);
    void checkRange(const CellRange& range) const;
    qsizetype indexOf(int row, int column) const {
        return qsizetype(row - 1) * columnCount_ + (column - 1);
    }
    std::uint16_t intern(const CellFormat& format);
    std::uint16_t internChange(const FormatChange& change);
    std::uint16_t changed(std::uint16_t formatId, std::uint16_t changeId);
    void applyChange(const CellRange& range, const FormatChange& change);
    void applyToAllColumns(const FormatChange& change);

    QString name_;
    PageSetup pageSetup_;
    int frozenRows_ = 0;
    std::optional<CellRange> autoFilter_;
    int rowCount_ = 0;
    int columnCount_ = 0;
    std::vector<QString> values_;            // row-major
    std::vector<std::uint16_t> cellFormats_; // row-major
    // Formats of columns 1..columnFormats_.size(); later columns have otherColumnsFormat_.
    std::vector<std::uint16_t> columnFormats_;
    std::uint16_t otherColumnsFormat_ = 0;
    // Widths of columns 1..columnWidths_.size(); later columns have otherColumnsWidth_.
    std::vector<std::optional<double>> columnWidths_;
    std::optional<double> otherColumnsWidth_;

    std::vector<CellFormat> formats_; // id 0 is the default format
    std::unordered_map<CellFormat, std::uint16_t, FormatHash> formatIds_;
    std::vector<FormatChange> changes_;
    std::unordered_map<std::uint64_t, std::uint16_t> changedFormats_; // (format, change) -> format
};

// A new workbook made from the one-sheet template: one worksheet, item 1.
class Workbook {
public:
    Worksheet& worksheet() { return sheet_; }
    const Worksheet& worksheet() const { return sheet_; }

private:
    Worksheet sheet_;
};

} // namespace songwick
