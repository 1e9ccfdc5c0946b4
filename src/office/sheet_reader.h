#pragma once

#include <QString>
#include <vector>

namespace songwick {

// The used range of a worksheet as texts: from A1 to the last row and the last column that
// hold a value (an empty sheet gives the one empty cell A1). Rows and columns count from 1.
// Numbers come as the spreadsheet shows whole numbers ("12", not "12.0"), other numbers with
// up to 15 significant digits; booleans as "TRUE" and "FALSE".
class SheetValues {
public:
    int rowCount() const { return rowCount_; }
    int columnCount() const { return columnCount_; }
    // Empty for a cell without a value, inside the used range or not.
    const QString& text(int row, int column) const;

    // For readers: a value for a cell; an empty text is no value.
    void setText(int row, int column, QString text);

private:
    std::vector<std::vector<QString>> rows_; // rows_[r - 1][c - 1], each row as long as needed
    int rowCount_ = 1;
    int columnCount_ = 1;
};

// Reads the first worksheet of a workbook: an .xlsx (Office Open XML) or an .xls (BIFF), told
// apart by their content, not by the name. Throws songwick::Error when the file cannot be read
// or is not a workbook.
SheetValues readFirstSheet(const QString& path);

SheetValues readXlsxFirstSheet(const QString& path);
SheetValues readXlsFirstSheet(const QString& path);

// How a cell's number reads as text.
QString numberText(double value);

} // namespace songwick
