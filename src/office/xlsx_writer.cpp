#include "office/xlsx_writer.h"

#include "common/error.h"
#include "common/file_name_codec.h"
#include "common/file_write.h"
#include "common/system_error.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <algorithm>
#include <cerrno>
#include <memory>
#include <vector>
#include <xlsxwriter.h>

namespace songwick {
namespace {

struct WorkbookCloser {
    void operator()(lxw_workbook* workbook) const { workbook_close(workbook); }
};
using WorkbookHandle = std::unique_ptr<lxw_workbook, WorkbookCloser>;

Error writeError(const QString& path, lxw_error error) {
    return Error(
        QCoreApplication::translate("songwick::Office", "Не удалось записать файл \"%1\": %2")
            .arg(path, QString::fromUtf8(lxw_strerror(error))));
}

// libxlsxwriter reads 0x000000 as "no colour"; black has its own value.
lxw_color_t libraryColor(std::uint32_t rgb) {
    return rgb == 0 ? lxw_color_t(LXW_COLOR_BLACK) : lxw_color_t(rgb);
}

uint8_t libraryAlignment(HorizontalAlignment alignment) {
    switch (alignment) {
    case HorizontalAlignment::Left:
        return LXW_ALIGN_LEFT;
    case HorizontalAlignment::Centre:
        return LXW_ALIGN_CENTER;
    case HorizontalAlignment::Right:
        return LXW_ALIGN_RIGHT;
    case HorizontalAlignment::General:
        break;
    }
    return LXW_ALIGN_NONE;
}

// Continuous lines by weight; the automation numbers medium both 3 and -4138.
uint8_t libraryBorderStyle(const BorderLine& line) {
    if (!line.isDrawn())
        return LXW_BORDER_NONE;
    switch (line.weight) {
    case kBorderWeightHairline:
        return LXW_BORDER_HAIR;
    case kBorderWeightMedium:
    case -4138:
        return LXW_BORDER_MEDIUM;
    case kBorderWeightThick:
        return LXW_BORDER_THICK;
    default:
        return LXW_BORDER_THIN;
    }
}

std::uint32_t borderRgb(const BorderLine& line) {
    if (line.color != kAutomaticColor)
        return automationColorToRgb(line.color);
    if (line.colorIndex >= 1 && line.colorIndex <= 56)
        return paletteRgb(line.colorIndex);
    return 0;
}

void applyBorder(lxw_format* format, const BorderLine& line, void (*setStyle)(lxw_format*, uint8_t),
                 void (*setColor)(lxw_format*, lxw_color_t)) {
    if (!line.isDrawn())
        return;
    setStyle(format, libraryBorderStyle(line));
    setColor(format, libraryColor(borderRgb(line)));
}

// Whole numbers in the form the spreadsheet would show them back: no sign but "-", no
// leading zeros, at most 15 digits so that the value is exact.
bool isPlainWholeNumber(const QString& text) {
    qsizetype start = text.startsWith(u'-') ? 1 : 0;
    const qsizetype digits = text.size() - start;
    if (digits < 1 || digits > 15)
        return false;
    if (text[start] == u'0' && digits > 1)
        return false;
    if (start == 1 && digits == 1 && text[1] == u'0')
        return false; // "-0"
    for (qsizetype i = start; i < text.size(); ++i) {
        if (text[i] < u'0' || text[i] > u'9')
            return false;
    }
    return true;
}

class FormatTable {
public:
    FormatTable(lxw_workbook* workbook, const Worksheet& sheet)
        : workbook_(workbook), sheet_(sheet), formats_(std::size_t(sheet.formatCount())) {}

    // Null for the default format.
    lxw_format* format(std::uint16_t id) {
        if (id == 0)
            return nullptr;
        lxw_format*& made = formats_[id];
        if (!made)
            made = make(sheet_.formatById(id));
        return made;
    }

private:
    lxw_format* make(const CellFormat& cell) {
        lxw_format* format = workbook_add_format(workbook_);
        if (!format)
            throw Error(QCoreApplication::translate("songwick::Office",
                                                    "Недостаточно памяти для форматов книги"));
        if (const uint8_t alignment = libraryAlignment(cell.alignment); alignment != LXW_ALIGN_NONE)
            format_set_align(format, alignment);
        if (cell.fillColorIndex > 0) {
            format_set_pattern(format, LXW_PATTERN_SOLID);
            format_set_bg_color(format, libraryColor(paletteRgb(cell.fillColorIndex)));
        }
        if (cell.fontColor != kAutomaticColor)
            format_set_font_color(format, libraryColor(automationColorToRgb(cell.fontColor)));
        if (cell.bold)
            format_set_bold(format);
        if (cell.italic)
            format_set_italic(format);
        applyBorder(format, cell.top, format_set_top, format_set_top_color);
        applyBorder(format, cell.bottom, format_set_bottom, format_set_bottom_color);
        applyBorder(format, cell.left, format_set_left, format_set_left_color);
        applyBorder(format, cell.right, format_set_right, format_set_right_color);
        return format;
    }

    lxw_workbook* workbook_;
    const Worksheet& sheet_;
    std::vector<lxw_format*> formats_;
};

// Column formats are carried to this column at least. The library walks every formatted
// column for every row it writes, so formatting all 16,384 would make a long sheet slow to
// write; the columns past it keep their width, and their empty cells the standard format.
constexpr int kLastFormattedColumn = 52;

void writeColumns(lxw_worksheet* target, const Worksheet& sheet, FormatTable& formats) {
    const int lastDistinct = sheet.lastDistinctColumn();
    const auto setColumns = [&](int first, int last, int column, bool withFormat) {
        const std::optional<double> width = sheet.columnWidth(column);
        const std::uint16_t formatId = withFormat ? sheet.columnFormatId(column) : 0;
        if (!width && formatId == 0)
            return;
        const lxw_error error =
            worksheet_set_column(target, lxw_col_t(first - 1), lxw_col_t(last - 1),
                                 width.value_or(LXW_DEF_COL_WIDTH), formats.format(formatId));
        if (error != LXW_NO_ERROR)
            throw Error(QString::fromUtf8(lxw_strerror(error)));
    };
    for (int column = 1; column <= lastDistinct; ++column)
        setColumns(column, column, column, true);
    // The columns past the last distinct one share the sheet's width and format for all
    // columns, not the last distinct column's own.
    const int firstOther = lastDistinct + 1;
    if (firstOther > Worksheet::kMaxColumns)
        return;
    const int lastFormatted = std::max(firstOther, kLastFormattedColumn);
    setColumns(firstOther, lastFormatted, firstOther, true);
    if (lastFormatted < Worksheet::kMaxColumns)
        setColumns(lastFormatted + 1, Worksheet::kMaxColumns, firstOther, false);
}

// The text as a cell takes it: at most kMaxCellTextLength characters, never half a pair.
QByteArray cellTextBytes(const QString& text, int& cutCells) {
    if (text.size() <= kMaxCellTextLength || text.toUcs4().size() <= kMaxCellTextLength)
        return text.toUtf8();
    ++cutCells;
    qsizetype end = 0;
    for (int characters = 0; characters < kMaxCellTextLength && end < text.size(); ++characters)
        end += text[end].isHighSurrogate() && end + 1 < text.size() ? 2 : 1;
    return text.first(end).toUtf8();
}

int writeCells(lxw_worksheet* target, const Worksheet& sheet, FormatTable& formats) {
    int cutCells = 0;
    for (int row = 1; row <= sheet.storedRowCount(); ++row) {
        for (int column = 1; column <= sheet.storedColumnCount(); ++column) {
            const CellRef cell{row, column};
            const QString& text = sheet.value(cell);
            const std::uint16_t formatId = sheet.formatId(cell);
            const auto rowIndex = lxw_row_t(row - 1);
            const auto columnIndex = lxw_col_t(column - 1);
            lxw_error error = LXW_NO_ERROR;
            if (text.isEmpty()) {
                if (formatId == sheet.columnFormatId(column))
                    continue;
                error =
                    worksheet_write_blank(target, rowIndex, columnIndex, formats.format(formatId));
            } else if (isPlainWholeNumber(text)) {
                error = worksheet_write_number(target, rowIndex, columnIndex, text.toDouble(),
                                               formats.format(formatId));
            } else {
                error = worksheet_write_string(target, rowIndex, columnIndex,
                                               cellTextBytes(text, cutCells).constData(),
                                               formats.format(formatId));
            }
            if (error != LXW_NO_ERROR)
                throw Error(QString::fromUtf8(lxw_strerror(error)));
        }
    }
    return cutCells;
}

void check(lxw_error error) {
    if (error != LXW_NO_ERROR)
        throw Error(QString::fromUtf8(lxw_strerror(error)));
}

// How the sheet goes onto paper, and what stays in view on screen.
void writePageLayout(lxw_worksheet* target, const Worksheet& sheet) {
    const PageSetup& setup = sheet.pageSetup();
    if (setup.landscape)
        worksheet_set_landscape(target);
    if (setup.fitToPagesWide > 0)
        worksheet_fit_to_pages(target, uint16_t(std::min(setup.fitToPagesWide, 0xFFFF)), 0);
    if (setup.titleRows > 0)
        check(worksheet_repeat_rows(target, 0, lxw_row_t(setup.titleRows - 1)));
    if (!setup.centreFooter.isEmpty())
        check(worksheet_set_footer(target, ("&C" + setup.centreFooter.toUtf8()).constData()));
    if (sheet.frozenRows() > 0)
        worksheet_freeze_panes(target, lxw_row_t(sheet.frozenRows()), 0);
    if (const std::optional<CellRange>& filter = sheet.autoFilter())
        check(worksheet_autofilter(
            target, lxw_row_t(filter->first.row - 1), lxw_col_t(filter->first.column - 1),
            lxw_row_t(filter->last.row - 1), lxw_col_t(filter->last.column - 1)));
}

} // namespace

QString cutCellsMessage(int cutCells) {
    if (cutCells == 0)
        return {};
    return QCoreApplication::translate(
               "songwick::Office",
               "Текст %1 ячеек длиннее %2 знаков, которые вмещает ячейка, и обрезан "
               "до этой длины.")
        .arg(cutCells)
        .arg(kMaxCellTextLength);
}

int writeXlsx(const Workbook& workbook, const QString& path) {
    const Worksheet& sheet = workbook.worksheet();
    // The library writes by name and keeps its own temporary files; it writes into a private
    // folder, and the finished file reaches its place through the one atomic writer, which
    // says why a write failed.
    errno = 0;
    QTemporaryDir scratch;
    if (!scratch.isValid())
        throw Error(writeFailureMessage(path, errno != 0 ? errno : EIO));
    const QString scratchFile = scratch.filePath(QStringLiteral("book.xlsx"));
    int cutCells = 0;
    {
        const QByteArray scratchFolder = encodeFileName(scratch.path());
        lxw_workbook_options options{};
        options.constant_memory = LXW_TRUE;
        options.tmpdir = const_cast<char*>(scratchFolder.constData());
        const QByteArray temporaryName = encodeFileName(scratchFile);
        WorkbookHandle target(workbook_new_opt(temporaryName.constData(), &options));
        if (!target)
            throw writeError(path, LXW_ERROR_CREATING_XLSX_FILE);
        const QByteArray sheetName = sheet.name().toUtf8();
        lxw_worksheet* worksheet = workbook_add_worksheet(
            target.get(), sheetName.isEmpty() ? nullptr : sheetName.constData());
        if (!worksheet)
            throw Error(
                QCoreApplication::translate("songwick::Office", "Недопустимое имя листа: \"%1\"")
                    .arg(sheet.name()));
        FormatTable formats(target.get(), sheet);
        try {
            writeColumns(worksheet, sheet, formats);
            writePageLayout(worksheet, sheet);
            cutCells = writeCells(worksheet, sheet, formats);
        } catch (const Error& error) {
            throw Error(QCoreApplication::translate("songwick::Office",
                                                    "Не удалось записать файл \"%1\": %2")
                            .arg(path, error.message()));
        }
        errno = 0;
        const lxw_error closed = workbook_close(target.release());
        if (closed != LXW_NO_ERROR)
            throw errno != 0 ? Error(writeFailureMessage(path, errno)) : writeError(path, closed);
    }
    writeFileAtomically(path, readWholeFile(scratchFile));
    return cutCells;
}

} // namespace songwick
