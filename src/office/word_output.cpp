#include "office/word_output.h"

#include "catalogue/catalogue_grid.h"
#include "office/desktop_opener.h"
#include "office/excel_export.h"
#include "settings/program_settings.h"
#include "textview/table_text.h"

namespace songwick {

QString viewText(const QStringList& lines) {
    return lines.join(QStringLiteral("\r\n"));
}

QString freshTableText(const CatalogueGrid& grid, const ProgramSettings& settings,
                       DateTimeValue now, const QLocale& locale) {
    return viewText(tableText(grid, TableTextLayout::A, settings, now, locale));
}

Document documentWithText(const QString& text) {
    Document document;
    document.insertAfter(text);
    return document;
}

QString showDocument(const Document& document, const Clock& clock, DesktopOpener& opener,
                     const QString& folder) {
    const QString path = timeStampedPath(folder.isEmpty() ? defaultShowFolder() : folder,
                                         QStringLiteral("Список kar файлов"),
                                         QString::fromUtf16(kWordDocumentExtension), clock.now());
    document.saveAs(path);
    opener.open(path);
    return path;
}

} // namespace songwick
