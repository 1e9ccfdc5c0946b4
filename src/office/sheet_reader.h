#pragma once

#include <QByteArrayView>
#include <QString>
#include <map>
#include <utility>
#include <vector>

namespace songwick {

// The used range of a worksheet as texts: from A1 to the last row and the last column that
// hold a value (an empty sheet gives the one empty cell A1). Rows and columns count from 1.
// Numbers come as the spreadsheet shows whole numbers ("12", not "12.0"), other numbers with
// up to 15 significant digits; booleans as "TRUE" and "FALSE"; dates as "dd.mm.yyyy", with
// " hh:mm:ss" after them where the cell holds a time of day.
// Only the cells that hold a value are stored, so memory follows the sheet's content.
class SheetValues {
public:
    int rowCount() const { return rowCount_; }
    int columnCount() const { return columnCount_; }
    // Number of cells that hold a value.
    qsizetype cellCount() const { return cellCount_; }
    // Empty for a cell without a value, inside the used range or not.
    const QString& text(int row, int column) const;

    // For readers: a value for a cell; an empty text is no value.
    void setText(int row, int column, QString text);

    // The workbook the values were read from, for messages; empty when they were not read.
    const QString& sourceName() const { return sourceName_; }
    void setSourceName(QString name) { sourceName_ = std::move(name); }

private:
    using Row = std::vector<std::pair<int, QString>>; // (column, text), by column
    std::map<int, Row> rows_;
    int rowCount_ = 1;
    int columnCount_ = 1;
    qsizetype cellCount_ = 0;
    QString sourceName_;
};

// What a reader keeps of a sheet. A row number above maxRow or a column number above
// maxColumn is refused as soon as it is read; cells right of keptColumns are passed over;
// more than maxCells values are refused. The defaults are what an import can take: a full
// record store with its heading and the block of three rows the export adds below it, the
// widest sheet a spreadsheet program makes, and as many cells as the start window's table
// may hold.
struct SheetLimits {
    int maxRow = 45002 + 1 + 3;
    int maxColumn = 16384;
    int keptColumns = 16384;
    qsizetype maxCells = qsizetype(45002 + 1) * 16;
};

// Reads the first worksheet of a workbook: an .xlsx (Office Open XML) or an .xls (BIFF), told
// apart by their content, not by the name. Throws songwick::Error naming the file when it
// cannot be read, is not a workbook, is damaged (a part cut short or not well-formed) or goes
// past the limits; name is the file's name for the messages and the values' source name.
SheetValues readFirstSheet(QByteArrayView bytes, const QString& name,
                           const SheetLimits& limits = {});
SheetValues readFirstSheet(const QString& path, const SheetLimits& limits = {});

SheetValues readXlsxFirstSheet(QByteArrayView bytes, const QString& name,
                               const SheetLimits& limits = {});
// Reads in a child process with a time and a memory limit, so that a damaged file that
// makes the BIFF library crash or run away costs only the child.
SheetValues readXlsFirstSheet(QByteArrayView bytes, const QString& name,
                              const SheetLimits& limits = {});

// How a cell's number reads as text.
QString numberText(double value);
// A date-time value (days since 30 December 1899) as a sheet shows a date cell:
// "dd.mm.yyyy", with " hh:mm:ss" when withTime.
QString dateCellText(double value, bool withTime);

// The message for a workbook that cannot be read: "Файл повреждён или не является книгой
// Excel: <name>".
QString damagedWorkbookMessage(const QString& name);

} // namespace songwick
