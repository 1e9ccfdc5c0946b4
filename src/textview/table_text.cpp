#include "textview/table_text.h"

#include "catalogue/catalogue_grid.h"
#include "settings/program_settings.h"

#include <QCoreApplication>

namespace songwick {
namespace {

const QString& cellOrEmpty(const CatalogueGrid& grid, int column, int row) {
    static const QString kEmpty;
    return column < grid.columnCount() ? grid.cell(column, row) : kEmpty;
}

QString rowLine(const CatalogueGrid& grid, int row, TableTextLayout layout) {
    const int firstTrailingColumn = layout == TableTextLayout::A ? 3 : 4;
    qsizetype length = 8;
    for (int column = 0; column < grid.columnCount(); ++column)
        length += grid.cell(column, row).size() + 1;
    QString line;
    line.reserve(length);
    line += cellOrEmpty(grid, 0, row);
    line += u'\t';
    line += cellOrEmpty(grid, 2, row);
    if (layout == TableTextLayout::A) {
        line += cellOrEmpty(grid, 1, row);
        line += u' ';
    } else {
        line += cellOrEmpty(grid, 3, row);
        line += u'\t';
    }
    for (int column = firstTrailingColumn; column < grid.columnCount(); ++column) {
        line += grid.cell(column, row);
        line += u'\t';
    }
    return line;
}

} // namespace

QStringList tableLines(const CatalogueGrid& grid, TableTextLayout layout) {
    QStringList lines;
    lines.reserve(grid.dataRowCount());
    for (int row = 1; row < grid.rowCount(); ++row)
        lines.append(rowLine(grid, row, layout));
    return lines;
}

QStringList trailerLines(const ProgramSettings& settings, DateTimeValue now,
                         const QLocale& locale) {
    QStringList lines{QString()};
    if (settings.TextAddDateTime)
        lines.append(formatDateTime(now, kPatternDateMonthNameTime, locale));
    if (settings.TextAddCaption)
        lines.append(u' ' + settings.TextCaptionText);
    return lines;
}

QStringList tableText(const CatalogueGrid& grid, TableTextLayout layout,
                      const ProgramSettings& settings, DateTimeValue now, const QLocale& locale) {
    QStringList lines = tableLines(grid, layout);
    lines.append(trailerLines(settings, now, locale));
    return lines;
}

QStringList textOutputConfirmationLines(const ProgramSettings& settings, DateTimeValue now) {
    QStringList lines;
    if (settings.TextAddDateTime)
        lines.append(formatDateTime(now, kPatternDateTime));
    if (settings.TextAddCaption)
        lines.append(settings.TextCaptionText);
    return lines;
}

QString printJobTitle(DateTimeValue now) {
    return QCoreApplication::translate("songwick::TextView", "Список kar файлов ") +
           formatDateTime(now, kPatternDateTime);
}

} // namespace songwick
