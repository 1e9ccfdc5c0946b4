#pragma once

#include "office/workbook.h"

#include <QString>

namespace songwick {

// Writes the workbook's one worksheet as an .xlsx file, with every value, fill, font colour,
// bold, italic, border, alignment and column width the worksheet holds, its page setup, frozen
// rows and autofilter.
//
// Column widths are in the spreadsheet's own unit, characters of the default font's digit
// width, the unit ColumnWidth is given in: a width of 14 in the model is a column Excel and
// LibreOffice show as 14 characters wide.
//
// Texts that are whole numbers in plain form ("12", "-3", not "012" or "1.0") are written as
// numbers, the way the spreadsheet takes them when they are typed; every other text is
// written as text, a leading "=" included (never as a formula).
//
// A palette index and an explicit colour given to the same border: the explicit colour is the
// one written.
//
// A text longer than a cell can hold (kMaxCellTextLength characters) is cut at that length.
//
// The file is written next to its final place and renamed over it only when complete.
// Throws songwick::Error when it cannot be written. Returns the number of cells whose text
// was cut.
inline constexpr int kMaxCellTextLength = 32767;
int writeXlsx(const Workbook& workbook, const QString& path);

// What the user is told after an export that cut cells: empty for none.
QString cutCellsMessage(int cutCells);

} // namespace songwick
