#pragma once

#include "common/date_time.h"
#include "translations/interface_language.h"

#include <QLocale>
#include <QString>
#include <QStringList>

namespace songwick {

class CatalogueGrid;
struct ProgramSettings;

// The two ways the catalogue table is turned into lines of text. Each data row gives one
// line; cells are taken as they stand, TAB (code 9) between and after them.
enum class TableTextLayout {
    // For viewing: number, TAB, location immediately followed by the file name, one blank,
    // then every column from 3 on followed by TAB.
    A,
    // For saving: number, TAB, location immediately followed by performer/title, TAB, then
    // every column from 4 on followed by TAB. The file-name column does not appear.
    B,
};

// One line per data row (rows 1 to the last; the header row is not rendered). Columns the
// grid does not have count as empty cells.
QStringList tableLines(const CatalogueGrid& grid, TableTextLayout layout);

// The lines under the table: an empty line; with TextAddDateTime the moment `now` as
// "dd.mmm.yyy  hh.mm.ss" (the locale's abbreviated month name); with TextAddCaption one
// blank followed by the caption text.
QStringList trailerLines(const ProgramSettings& settings, DateTimeValue now,
                         const QLocale& locale = interfaceLocale());

// The whole rendering: the table lines followed by the trailer lines.
QStringList tableText(const CatalogueGrid& grid, TableTextLayout layout,
                      const ProgramSettings& settings, DateTimeValue now,
                      const QLocale& locale = interfaceLocale());

// The lines that "OK" of the text output settings adds to a rendering on view: with
// TextAddDateTime the moment `now` as "dd.mm.yyy  hh.mm.ss", with TextAddCaption the caption
// text as it stands (no leading blank).
QStringList textOutputConfirmationLines(const ProgramSettings& settings, DateTimeValue now);

// The title of the text view's print job: "Список kar файлов " and "dd.mm.yyy  hh.mm.ss".
QString printJobTitle(DateTimeValue now);

} // namespace songwick
