#pragma once

#include <QByteArray>
#include <QString>
#include <variant>
#include <vector>

namespace songwick::testing {

// One cell of a hand-made .xls: a text (through the shared string table) or a number.
struct XlsCell {
    int row; // from 0
    int column;
    std::variant<QString, double> value;
};

// A minimal BIFF8 workbook in a compound file, as a spreadsheet program stores an .xls: one
// worksheet holding the cells.
QByteArray biff8Workbook(const std::vector<XlsCell>& cells);

} // namespace songwick::testing
