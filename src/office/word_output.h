#pragma once

#include "common/date_time.h"
#include "office/document.h"
#include "translations/interface_language.h"

#include <QLocale>
#include <QString>
#include <QStringList>

namespace songwick {

class CatalogueGrid;
class DesktopOpener;
class Clock;
struct ProgramSettings;

// The save dialogs' filter and the extension a name typed without one gets.
QString wordDocumentFilter();
inline constexpr char16_t kWordDocumentExtension[] = u"docx";

// The text view's content as plain text: its lines joined by CR LF.
QString viewText(const QStringList& lines);

// The fresh rendering the main window's Word entries carry: the table as the text view renders
// it for viewing, with the trailer lines of the text output settings.
QString freshTableText(const CatalogueGrid& grid, const ProgramSettings& settings,
                       DateTimeValue now, const QLocale& locale = interfaceLocale());

// A new document holding exactly the text.
Document documentWithText(const QString& text);

// The fresh rendering as a document: the table as a table of the document, its header row the
// catalogue's column titles, its columns in the order of the rendering for viewing (number,
// location, file name, then every column from 3 on), followed by the trailer lines of the text
// output settings as paragraphs. Its text form (paragraphs, printout) is freshTableText's.
Document tableDocument(const CatalogueGrid& grid, const ProgramSettings& settings,
                       DateTimeValue now, const QLocale& locale = interfaceLocale());

// "Visible": writes the document into `folder` (empty: the user's cache folder) under a
// time-stamped name and opens it in the desktop's word processor. Returns the file written.
QString showDocument(const Document& document, const Clock& clock, DesktopOpener& opener,
                     const QString& folder = {});

} // namespace songwick
