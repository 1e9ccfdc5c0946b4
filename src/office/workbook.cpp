#include "office/workbook.h"

#include "common/error.h"

#include <QCoreApplication>
#include <QHashFunctions>
#include <algorithm>
#include <array>
#include <limits>

namespace songwick {
namespace {

// The spreadsheet's default palette, indices 1 to 56.
constexpr std::array<std::uint32_t, 56> kPalette = {
    0x000000, 0xFFFFFF, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0xFF00FF, 0x00FFFF,
    0x800000, 0x008000, 0x000080, 0x808000, 0x800080, 0x008080, 0xC0C0C0, 0x808080,
    0x9999FF, 0x993366, 0xFFFFCC, 0xCCFFFF, 0x660066, 0xFF8080, 0x0066CC, 0xCCCCFF,
    0x000080, 0xFF00FF, 0xFFFF00, 0x00FFFF, 0x800080, 0x800000, 0x008080, 0x0000FF,
    0x00CCFF, 0xCCFFFF, 0xCCFFCC, 0xFFFF99, 0x99CCFF, 0xFF99CC, 0xCC99FF, 0xFFCC99,
    0x3366FF, 0x33CCCC, 0x99CC00, 0xFFCC00, 0xFF9900, 0xFF6600, 0x666699, 0x969696,
    0x003366, 0x339966, 0x003300, 0x333300, 0x993300, 0x993366, 0x333399, 0x333333,
};

constexpr std::uint8_t kTopEdge = 1;
constexpr std::uint8_t kBottomEdge = 2;
constexpr std::uint8_t kLeftEdge = 4;
constexpr std::uint8_t kRightEdge = 8;

Error badReference(QStringView reference) {
    return Error(
        QCoreApplication::translate("songwick::Office", "Неверная ссылка на ячейку: \"%1\"")
            .arg(reference));
}

} // namespace

CellRef CellRef::fromA1(QStringView reference) {
    qsizetype i = 0;
    int column = 0;
    while (i < reference.size() && reference[i].isLetter() && reference[i].unicode() < 128) {
        column = column * 26 + (reference[i].toUpper().unicode() - u'A' + 1);
        if (column > Worksheet::kMaxColumns)
            throw badReference(reference);
        ++i;
    }
    bool ok = false;
    const int row = reference.mid(i).toInt(&ok);
    if (i == 0 || !ok || row < 1 || row > Worksheet::kMaxRows || !reference[i].isDigit())
        throw badReference(reference);
    return {row, column};
}

CellRange::CellRange(CellRef from, CellRef to)
    : first{std::min(from.row, to.row), std::min(from.column, to.column)},
      last{std::max(from.row, to.row), std::max(from.column, to.column)} {}

CellRange CellRange::fromA1(QStringView from, QStringView to) {
    return {CellRef::fromA1(from), CellRef::fromA1(to)};
}

QString columnLetters(int column) {
    QString letters;
    while (column > 0) {
        const int digit = (column - 1) % 26;
        letters.prepend(QChar(char16_t(u'A' + digit)));
        column = (column - 1) / 26;
    }
    return letters;
}

std::uint32_t paletteRgb(int colorIndex) {
    if (colorIndex < 1 || colorIndex > int(kPalette.size()))
        throw Error(
            QCoreApplication::translate("songwick::Office", "Нет цвета с номером %1 в палитре")
                .arg(colorIndex));
    return kPalette[std::size_t(colorIndex - 1)];
}

std::uint32_t automationColorToRgb(AutomationColor color) {
    const auto value = std::uint32_t(color);
    const std::uint32_t red = value & 0xFF;
    const std::uint32_t green = (value >> 8) & 0xFF;
    const std::uint32_t blue = (value >> 16) & 0xFF;
    return (red << 16) | (green << 8) | blue;
}

void Worksheet::FormatChange::applyTo(CellFormat& format) const {
    switch (kind) {
    case Kind::Alignment:
        format.alignment = HorizontalAlignment(value);
        break;
    case Kind::Fill:
        format.fillColorIndex = std::int16_t(value);
        break;
    case Kind::FontColor:
        format.fontColor = value;
        break;
    case Kind::Bold:
        format.bold = value != 0;
        break;
    case Kind::Italic:
        format.italic = value != 0;
        break;
    case Kind::Border:
        if (edges & kTopEdge)
            format.top = line;
        if (edges & kBottomEdge)
            format.bottom = line;
        if (edges & kLeftEdge)
            format.left = line;
        if (edges & kRightEdge)
            format.right = line;
        break;
    }
}

std::size_t Worksheet::FormatHash::operator()(const CellFormat& format) const {
    std::size_t seed = 0;
    const auto mix = [&seed](auto value) { seed = qHashMulti(seed, value); };
    mix(int(format.alignment));
    mix(format.fillColorIndex);
    mix(format.fontColor);
    mix(format.bold);
    mix(format.italic);
    for (const BorderLine* line : {&format.top, &format.bottom, &format.left, &format.right}) {
        mix(line->lineStyle);
        mix(line->weight);
        mix(line->colorIndex);
        mix(line->color);
    }
    return seed;
}

Worksheet::Worksheet() {
    formats_.emplace_back();
    formatIds_.emplace(CellFormat{}, 0);
}

std::uint16_t Worksheet::intern(const CellFormat& format) {
    const auto found = formatIds_.find(format);
    if (found != formatIds_.end())
        return found->second;
    if (formats_.size() > std::numeric_limits<std::uint16_t>::max())
        throw Error(QCoreApplication::translate("songwick::Office",
                                                "Слишком много различных форматов ячеек"));
    const auto id = std::uint16_t(formats_.size());
    formats_.push_back(format);
    formatIds_.emplace(format, id);
    return id;
}

std::uint16_t Worksheet::internChange(const FormatChange& change) {
    const auto found = std::find(changes_.begin(), changes_.end(), change);
    if (found != changes_.end())
        return std::uint16_t(found - changes_.begin());
    changes_.push_back(change);
    return std::uint16_t(changes_.size() - 1);
}

std::uint16_t Worksheet::changed(std::uint16_t formatId, std::uint16_t changeId) {
    const std::uint64_t key = (std::uint64_t(formatId) << 32) | changeId;
    const auto found = changedFormats_.find(key);
    if (found != changedFormats_.end())
        return found->second;
    CellFormat format = formats_[formatId];
    changes_[changeId].applyTo(format);
    const std::uint16_t id = intern(format);
    changedFormats_.emplace(key, id);
    return id;
}

void Worksheet::ensureSize(int rows, int columns) {
    if (rows <= rowCount_ && columns <= columnCount_)
        return;
    const int newColumns = std::max(columns, columnCount_);
    const int newRows = std::max(rows, rowCount_);
    if (newColumns > int(columnFormats_.size())) {
        columnFormats_.resize(std::size_t(newColumns), otherColumnsFormat_);
        columnWidths_.resize(std::size_t(newColumns), otherColumnsWidth_);
    }
    if (newColumns != columnCount_) {
        std::vector<QString> values(std::size_t(newRows) * std::size_t(newColumns));
        std::vector<std::uint16_t> formats(values.size());
        for (int row = 1; row <= newRows; ++row) {
            for (int column = 1; column <= newColumns; ++column) {
                const auto target = std::size_t(row - 1) * std::size_t(newColumns) + (column - 1);
                if (row <= rowCount_ && column <= columnCount_) {
                    values[target] = std::move(values_[std::size_t(indexOf(row, column))]);
                    formats[target] = cellFormats_[std::size_t(indexOf(row, column))];
                } else {
                    formats[target] = columnFormats_[std::size_t(column - 1)];
                }
            }
        }
        values_ = std::move(values);
        cellFormats_ = std::move(formats);
    } else {
        values_.resize(std::size_t(newRows) * std::size_t(newColumns));
        cellFormats_.reserve(values_.size());
        for (int row = rowCount_ + 1; row <= newRows; ++row)
            cellFormats_.insert(cellFormats_.end(), columnFormats_.begin(),
                                columnFormats_.begin() + newColumns);
    }
    rowCount_ = newRows;
    columnCount_ = newColumns;
}

void Worksheet::checkRange(const CellRange& range) const {
    if (range.first.row < 1 || range.first.column < 1 || range.last.row > kMaxRows ||
        range.last.column > kMaxColumns)
        throw Error(QCoreApplication::translate("songwick::Office", "Диапазон ячеек вне листа"));
}

void Worksheet::setValues(const CellRange& range, const std::vector<QString>& rowMajorTexts) {
    checkRange(range);
    if (rowMajorTexts.size() != std::size_t(range.rowCount()) * std::size_t(range.columnCount()))
        throw Error(QCoreApplication::translate(
            "songwick::Office", "Размер массива не совпадает с размером диапазона"));
    ensureSize(range.last.row, range.last.column);
    auto text = rowMajorTexts.begin();
    for (int row = range.first.row; row <= range.last.row; ++row) {
        for (int column = range.first.column; column <= range.last.column; ++column)
            values_[std::size_t(indexOf(row, column))] = *text++;
    }
}

void Worksheet::setValue(CellRef cell, QString text) {
    checkRange({cell, cell});
    ensureSize(cell.row, cell.column);
    values_[std::size_t(indexOf(cell.row, cell.column))] = std::move(text);
}

const QString& Worksheet::value(CellRef cell) const {
    static const QString empty;
    if (cell.row < 1 || cell.column < 1 || cell.row > rowCount_ || cell.column > columnCount_)
        return empty;
    return values_[std::size_t(indexOf(cell.row, cell.column))];
}

std::uint16_t Worksheet::columnFormatId(int column) const {
    return column <= int(columnFormats_.size()) ? columnFormats_[std::size_t(column - 1)]
                                                : otherColumnsFormat_;
}

std::uint16_t Worksheet::formatId(CellRef cell) const {
    if (cell.row < 1 || cell.column < 1 || cell.row > rowCount_ || cell.column > columnCount_)
        return columnFormatId(cell.column);
    return cellFormats_[std::size_t(indexOf(cell.row, cell.column))];
}

const CellFormat& Worksheet::format(CellRef cell) const {
    return formats_[formatId(cell)];
}

const CellFormat& Worksheet::columnFormat(int column) const {
    return formats_[columnFormatId(column)];
}

std::optional<double> Worksheet::columnWidth(int column) const {
    return column <= int(columnWidths_.size()) ? columnWidths_[std::size_t(column - 1)]
                                               : otherColumnsWidth_;
}

int Worksheet::lastDistinctColumn() const {
    return std::max({columnCount_, int(columnFormats_.size()), int(columnWidths_.size()), 1});
}

void Worksheet::applyChange(const CellRange& range, const FormatChange& change) {
    checkRange(range);
    ensureSize(range.last.row, range.last.column);
    const std::uint16_t changeId = internChange(change);
    for (int row = range.first.row; row <= range.last.row; ++row) {
        std::uint16_t* cell = &cellFormats_[std::size_t(indexOf(row, range.first.column))];
        for (int column = range.first.column; column <= range.last.column; ++column, ++cell)
            *cell = changed(*cell, changeId);
    }
}

void Worksheet::applyToAllColumns(const FormatChange& change) {
    const std::uint16_t changeId = internChange(change);
    for (auto& format : columnFormats_)
        format = changed(format, changeId);
    otherColumnsFormat_ = changed(otherColumnsFormat_, changeId);
    for (auto& format : cellFormats_)
        format = changed(format, changeId);
}

void Worksheet::setAllColumnsAlignment(HorizontalAlignment alignment) {
    applyToAllColumns({FormatChange::Kind::Alignment, 0, int(alignment), {}});
}

void Worksheet::setAllColumnsWidth(double characters) {
    std::fill(columnWidths_.begin(), columnWidths_.end(), characters);
    otherColumnsWidth_ = characters;
}

void Worksheet::setAlignment(const CellRange& range, HorizontalAlignment alignment) {
    applyChange(range, {FormatChange::Kind::Alignment, 0, int(alignment), {}});
}

void Worksheet::setColumnWidth(const CellRange& range, double characters) {
    checkRange(range);
    if (range.last.column > int(columnWidths_.size())) {
        columnWidths_.resize(std::size_t(range.last.column), otherColumnsWidth_);
        columnFormats_.resize(std::size_t(range.last.column), otherColumnsFormat_);
    }
    for (int column = range.first.column; column <= range.last.column; ++column)
        columnWidths_[std::size_t(column - 1)] = characters;
}

void Worksheet::setFill(const CellRange& range, int colorIndex) {
    paletteRgb(colorIndex);
    applyChange(range, {FormatChange::Kind::Fill, 0, colorIndex, {}});
}

void Worksheet::setFontColor(const CellRange& range, AutomationColor color) {
    applyChange(range, {FormatChange::Kind::FontColor, 0, color & 0xFFFFFF, {}});
}

void Worksheet::setBold(const CellRange& range, bool bold) {
    applyChange(range, {FormatChange::Kind::Bold, 0, bold ? 1 : 0, {}});
}

void Worksheet::setItalic(const CellRange& range, bool italic) {
    applyChange(range, {FormatChange::Kind::Italic, 0, italic ? 1 : 0, {}});
}

void Worksheet::borderAround(const CellRange& range, const BorderLine& line) {
    checkRange(range);
    ensureSize(range.last.row, range.last.column);
    const auto edgesOf = [&range](int row, int column) {
        std::uint8_t edges = 0;
        if (row == range.first.row)
            edges |= kTopEdge;
        if (row == range.last.row)
            edges |= kBottomEdge;
        if (column == range.first.column)
            edges |= kLeftEdge;
        if (column == range.last.column)
            edges |= kRightEdge;
        return edges;
    };
    std::array<int, 16> changeIds{};
    changeIds.fill(-1);
    for (int row = range.first.row; row <= range.last.row; ++row) {
        const bool edgeRow = row == range.first.row || row == range.last.row;
        for (int column = range.first.column; column <= range.last.column; ++column) {
            const bool edgeColumn = column == range.first.column || column == range.last.column;
            if (!edgeRow && !edgeColumn) {
                column = range.last.column - 1; // jump to the right edge
                continue;
            }
            const std::uint8_t edges = edgesOf(row, column);
            if (changeIds[edges] < 0)
                changeIds[edges] = internChange({FormatChange::Kind::Border, edges, 0, line});
            std::uint16_t& cell = cellFormats_[std::size_t(indexOf(row, column))];
            cell = changed(cell, std::uint16_t(changeIds[edges]));
        }
    }
}

void Worksheet::deleteShiftLeft(const CellRange& range) {
    checkRange(range);
    ensureSize(range.last.row, range.last.column);
    const int width = range.columnCount();
    for (int row = range.first.row; row <= range.last.row; ++row) {
        for (int column = range.first.column; column <= columnCount_; ++column) {
            const int from = column + width;
            const auto target = std::size_t(indexOf(row, column));
            if (from <= columnCount_) {
                const auto source = std::size_t(indexOf(row, from));
                values_[target] = std::move(values_[source]);
                cellFormats_[target] = cellFormats_[source];
            } else {
                values_[target].clear();
                cellFormats_[target] = columnFormatId(from);
            }
        }
    }
}

void Worksheet::setAutoFilter(const CellRange& range) {
    checkRange(range);
    autoFilter_ = range;
}

CellRef Worksheet::lastUsedCell() const {
    CellRef last{1, 1};
    for (int row = 1; row <= rowCount_; ++row) {
        for (int column = 1; column <= columnCount_; ++column) {
            const auto index = std::size_t(indexOf(row, column));
            if (!values_[index].isEmpty() || cellFormats_[index] != columnFormatId(column)) {
                last.row = std::max(last.row, row);
                last.column = std::max(last.column, column);
            }
        }
    }
    return last;
}

} // namespace songwick
