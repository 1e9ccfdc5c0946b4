#pragma once

#include "catalogue/catalogue_state.h"
#include "common/date_time.h"
#include "office/workbook.h"
#include "translations/interface_language.h"

#include <QLocale>
#include <QString>
#include <optional>

namespace songwick {

class CatalogueGrid;
class DesktopOpener;
struct ProgramSettings;

// The sheet's name and the heading of the lines under the table, in the interface's language.
QString exportSheetName();
QString extraBlockHeading();

// The catalogue table as the formatted spreadsheet "Ms &Excel" makes: the table in rows 1 to
// N (N the table's row count, header row first), with or without the number column, filled,
// coloured, boxed and sized by the "Экспорт в Excel" settings, and the extra block of date,
// list texts and own line below it. It prints landscape, fitted to the page width, with the page
// numbers in the footer; with column titles their row is printed on every page, stays in view
// on screen and carries the autofilter. columnMeasures are the catalogue's column text-length
// measures (columns 1 to 6). Nothing for a table whose first data row has no number, as a
// table without data rows.
std::optional<Workbook> buildExcelExport(const CatalogueGrid& grid,
                                         const ColumnValues& columnMeasures,
                                         const ProgramSettings& settings, const Clock& clock,
                                         const QLocale& locale = interfaceLocale());

// Where shown workbooks and documents are written: the user's cache folder, made when missing.
QString defaultShowFolder();

// A name in `folder` that does not exist yet: the base name, a time stamp and the extension.
QString timeStampedPath(const QString& folder, const QString& baseName, const QString& extension,
                        DateTimeValue now);

// A workbook written and opened: its file and the number of cells whose text was cut at the
// length a cell holds (said to the user once afterwards, cutCellsMessage()).
struct ShownWorkbook {
    QString path;
    int cutCells = 0;
};

// "Make visible": writes the workbook as .xlsx into `folder` (empty: defaultShowFolder())
// under a time-stamped name and opens it in the desktop's spreadsheet program.
ShownWorkbook showWorkbook(const Workbook& workbook, const Clock& clock, DesktopOpener& opener,
                           const QString& folder = {});

// The whole "Ms &Excel" command without its window: builds, shows and returns the file shown;
// nothing, and nothing started, for an empty table.
std::optional<ShownWorkbook> exportToSpreadsheetProgram(const CatalogueGrid& grid,
                                                        const ColumnValues& columnMeasures,
                                                        const ProgramSettings& settings,
                                                        const Clock& clock, DesktopOpener& opener,
                                                        const QString& folder = {});

} // namespace songwick
