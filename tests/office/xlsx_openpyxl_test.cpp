// Reads a written .xlsx with another program's reader (Python's openpyxl) to check that the
// file carries what the worksheet holds. Skipped where python3 with openpyxl is missing.
#include "office/excel_export.h"
#include "office/xlsx_writer.h"
#include "office_fixtures.h"
#include "settings/program_settings.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace songwick {
namespace {

const char kCheckScript[] = R"PY(
import sys
import openpyxl

book = openpyxl.load_workbook(sys.argv[1])
sheet = book.worksheets[0]
problems = []

def expect(what, actual, wanted):
    if actual != wanted:
        problems.append("%s: %r, wanted %r" % (what, actual, wanted))

def rgb(color):
    return None if color is None or color.rgb is None else str(color.rgb)[-6:].upper()

expect("sheets", len(book.worksheets), 1)
expect("name", sheet.title, "Список караоке файлов")
expect("A1", sheet["A1"].value, "№")
expect("B1", sheet["B1"].value, "Имя файла")
expect("A2", sheet["A2"].value, 1)
expect("A3", sheet["A3"].value, "V 2")
expect("G4", sheet["G4"].value, "3:6")
expect("B6", sheet["B6"].value, "Дополнительная информация:")
expect("B7", sheet["B7"].value, "05.03.2024  14.07.09")
expect("C7", sheet["C7"].value, "Made in Earth")

expect("A2 fill", rgb(sheet["A2"].fill.fgColor), "00FFFF")
expect("A2 fill pattern", sheet["A2"].fill.fill_type, "solid")
expect("C1 fill", rgb(sheet["C1"].fill.fgColor), "FFFF00")
fills = ["CCCCFF", "00FF00", "FFFFCC", "FF8080", "CCFFFF", "C0C0C0"]
fonts = ["FF0000", "000080", "008000", "800080", "008080", "0000FF"]
for k in range(6):
    cell = sheet.cell(row=3, column=k + 2)
    expect("fill %s" % cell.coordinate, rgb(cell.fill.fgColor), fills[k])
    expect("font %s" % cell.coordinate, rgb(cell.font.color), fonts[k])
    expect("bold %s" % cell.coordinate, bool(cell.font.b), False)
    expect("align %s" % cell.coordinate, cell.alignment.horizontal, "right")
    for side in ("left", "right", "top", "bottom"):
        border = getattr(cell.border, side)
        expect("%s %s" % (side, cell.coordinate), border.style, "thin")
        expect("%s colour %s" % (side, cell.coordinate), rgb(border.color), "FF0000")
expect("B6 fill", rgb(sheet["B6"].fill.fgColor), "FFFF00")
expect("B6 align", sheet["B6"].alignment.horizontal, "left")
expect("B7 font", rgb(sheet["B7"].font.color), "000080")

number = sheet["A3"]
expect("A3 font", rgb(number.font.color), "0000FF")
expect("A3 bold", bool(number.font.b), True)
expect("A3 italic", bool(number.font.i), True)
expect("A3 align", number.alignment.horizontal, "center")
expect("A3 left", number.border.left.style, "medium")
expect("A3 right", number.border.right.style, "medium")
title = sheet["D1"]
expect("D1 bold", bool(title.font.b), True)
expect("D1 italic", bool(title.font.i), False)
expect("D1 top", title.border.top.style, "medium")
expect("D1 align", title.alignment.horizontal, "center")

# libxlsxwriter stores a width of w characters as w plus the cell padding (5 pixels at the
# default font's 7-pixel digit), which is how the spreadsheet stores it too.
widths = {"A": 9, "B": 11, "C": 21, "D": 33, "E": 5, "F": 7, "G": 13}
for letter, width in widths.items():
    stored = sheet.column_dimensions[letter].width
    if stored is None or abs(stored - (width + 5 / 7)) > 0.01:
        problems.append("width %s: %r for %r characters" % (letter, stored, width))

# On paper: landscape, every column on one page's width, the title row on every page and the
# page numbers in the footer; on screen the title row stays in view and filters the table.
expect("orientation", sheet.page_setup.orientation, "landscape")
expect("fit to page", sheet.sheet_properties.pageSetUpPr.fitToPage, True)
# fitToWidth is 1 where the file leaves it out.
expect("pages wide", sheet.page_setup.fitToWidth or 1, 1)
expect("pages tall", sheet.page_setup.fitToHeight, 0)
expect("print titles", sheet.print_title_rows, "$1:$1")
expect("footer", sheet.oddFooter.center.text, "&P / &N")
expect("frozen", sheet.freeze_panes, "A2")
expect("autofilter", sheet.auto_filter.ref, "A1:G4")

if problems:
    print("\n".join(problems))
    sys.exit(1)
print("ok")
)PY";

// The first python3 that has openpyxl, or nothing.
QString pythonWithOpenpyxl() {
    for (const QString& candidate :
         {QStringLiteral("python3"), QStringLiteral("/usr/bin/python3")}) {
        QProcess probe;
        probe.start(candidate, {QStringLiteral("-c"), QStringLiteral("import openpyxl")});
        if (probe.waitForFinished(30000) && probe.exitStatus() == QProcess::NormalExit &&
            probe.exitCode() == 0)
            return candidate;
    }
    return {};
}

TEST(XlsxWithOpenpyxl, AnotherReaderSeesValuesFormatsWidthsTheSheetNameAndThePageSetup) {
    const QString python = pythonWithOpenpyxl();
    if (python.isEmpty())
        GTEST_SKIP() << "python3 with openpyxl is not installed";

    CatalogueGrid grid = testing::sampleGrid(3);
    grid.setCell(0, 2, QStringLiteral("V 2"));
    ProgramSettings settings;
    settings.ExcelDateTimeKind = 2;
    const testing::FixedClock clock(testing::fixedMoment());
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("export.xlsx"));
    writeXlsx(*buildExcelExport(grid, testing::sampleMeasures(), settings, clock), path);

    const QString script = folder.filePath(QStringLiteral("check.py"));
    QFile scriptFile(script);
    ASSERT_TRUE(scriptFile.open(QIODevice::WriteOnly));
    scriptFile.write(kCheckScript);
    scriptFile.close();
    QProcess check;
    check.start(python, {script, path});
    ASSERT_TRUE(check.waitForFinished(60000));
    const QString output =
        QString::fromUtf8(check.readAllStandardOutput() + check.readAllStandardError());
    EXPECT_EQ(check.exitCode(), 0) << output.toStdString();
}

} // namespace
} // namespace songwick
