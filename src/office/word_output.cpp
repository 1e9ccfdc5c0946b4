#include "office/word_output.h"

#include "catalogue/catalogue_grid.h"
#include "office/desktop_opener.h"
#include "office/excel_export.h"
#include "settings/program_settings.h"
#include "textview/table_text.h"

#include <QCoreApplication>

namespace songwick {

QString wordDocumentFilter() {
    return QCoreApplication::translate("songwick::Office", "Документ Word|*.docx|");
}

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

namespace {

// The cells of a row in the order the rendering for viewing takes them.
QStringList viewOrderCells(const CatalogueGrid& grid, int row) {
    QStringList cells;
    for (int column : {0, 2, 1})
        cells << (column < grid.columnCount() ? grid.cell(column, row) : QString());
    for (int column = 3; column < grid.columnCount(); ++column)
        cells << grid.cell(column, row);
    return cells;
}

} // namespace

Document tableDocument(const CatalogueGrid& grid, const ProgramSettings& settings,
                       DateTimeValue now, const QLocale& locale) {
    DocumentTable table;
    table.header = viewOrderCells(grid, 0);
    for (int row = 1; row < grid.rowCount(); ++row)
        table.rows.push_back(viewOrderCells(grid, row));
    table.lines = tableLines(grid, TableTextLayout::A);
    Document document;
    document.insertTableAfter(std::move(table));
    document.insertAfter(viewText(trailerLines(settings, now, locale)));
    return document;
}

QString showDocument(const Document& document, const Clock& clock, DesktopOpener& opener,
                     const QString& folder) {
    const QString path =
        timeStampedPath(folder.isEmpty() ? defaultShowFolder() : folder,
                        QCoreApplication::translate("songwick::Office", "Список kar файлов"),
                        QString::fromUtf16(kWordDocumentExtension), clock.now());
    document.saveAs(path);
    opener.open(path);
    return path;
}

} // namespace songwick
