#include "scan/reread_rows.h"

#include "catalogue/catalogue_table.h"
#include "common/error.h"
#include "scan/kar_extractor.h"
#include "scan/structured_reading.h"

#include <QFile>
#include <QFileInfo>

namespace songwick {

int rereadMarkedRowsStructured(CatalogueGrid& grid, const StructuredReadingOptions& options) {
    if (grid.columnCount() <= MadeByField + 1)
        return 0;
    StructuredReader reader(options);
    KarFileReader fileReader;
    int reread = 0;
    for (int row = 1; row < grid.rowCount(); ++row) {
        if (!isMarked(grid, row))
            continue;
        const QString fileName = grid.cell(FileNameField + 1, row);
        const QString path = grid.cell(FolderField + 1, row) + fileName;
        if (fileName.isEmpty() || !QFileInfo(path).isFile())
            continue;
        try {
            const StructuredTexts texts =
                reader.read(fileReader.readStructure(QFile::encodeName(path)), fileName);
            for (int i = 0; i < 4; ++i)
                grid.setCell(PerformerTitleField + 1 + i, row, texts.texts[size_t(i)]);
            ++reread;
        } catch (const Error&) {
            // An unreadable file keeps its row as it was.
        }
    }
    return reread;
}

} // namespace songwick
