#include "scan/reread_rows.h"

#include "catalogue/catalogue_table.h"
#include "common/error.h"
#include "common/file_name_codec.h"
#include "common/file_path.h"
#include "scan/kar_extractor.h"
#include "scan/structured_reading.h"

#include <QCoreApplication>

namespace songwick {
namespace {

// No more lines than this in the message; the rest are counted.
constexpr int kLinesShown = 10;

// Why the row cannot be read again, or nothing when its file is to be read.
std::optional<QString> refusalOf(const CatalogueGrid& grid, int row) {
    const std::optional<RowFile>& file = grid.rowFile(row);
    if (!file)
        return QCoreApplication::translate(
                   "songwick::Scan", "Строка %1 (\"%2\"): неизвестно, какой файл на диске она "
                                     "представляет.")
            .arg(row)
            .arg(displayFileName(grid.cell(FileNameField + 1, row)));
    if (!isAbsoluteFolderPath(file->folder))
        return QCoreApplication::translate("songwick::Scan",
                                           "Строка %1: файл \"%2\" лежит в папке, путь которой не "
                                           "абсолютный.")
            .arg(row)
            .arg(displayFileName(file->path()));
    return std::nullopt;
}

} // namespace

RereadResult rereadMarkedRowsStructured(CatalogueGrid& grid,
                                        const StructuredReadingOptions& options) {
    RereadResult result;
    if (grid.columnCount() <= MadeByField + 1)
        return result;
    StructuredReader reader(options);
    KarFileReader fileReader;
    for (int row = 1; row < grid.rowCount(); ++row) {
        if (!isMarked(grid, row))
            continue;
        if (const std::optional<QString> refusal = refusalOf(grid, row)) {
            result.notReread << *refusal;
            continue;
        }
        const RowFile file = *grid.rowFile(row);
        try {
            const StructuredTexts texts =
                reader.read(fileReader.readStructure(encodeFileName(file.path())), file.name);
            for (int i = 0; i < 4; ++i)
                grid.setCell(PerformerTitleField + 1 + i, row, texts.texts[size_t(i)]);
            ++result.reread;
        } catch (const Error& error) {
            result.notReread << QCoreApplication::translate("songwick::Scan", "Строка %1: %2")
                                    .arg(row)
                                    .arg(error.message());
        }
    }
    return result;
}

QString notRereadMessage(const RereadResult& result) {
    if (result.notReread.isEmpty())
        return {};
    QStringList lines{
        QCoreApplication::translate("songwick::Scan", "Не перечитаны отмеченные строки: %1.")
            .arg(result.notReread.size())};
    lines << result.notReread.mid(0, kLinesShown);
    if (result.notReread.size() > kLinesShown)
        lines << QCoreApplication::translate("songwick::Scan", "И ещё строк: %1.")
                     .arg(result.notReread.size() - kLinesShown);
    return lines.join(u'\n');
}

} // namespace songwick
