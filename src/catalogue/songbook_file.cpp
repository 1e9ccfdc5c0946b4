// The songbook's options and its file; the drawing is songbook_pdf.cpp, in a library of its own.
#include "catalogue/catalogue_record.h"
#include "catalogue/songbook_pdf.h"
#include "common/file_write.h"

namespace songwick {
namespace {

constexpr int kFolderColumn = 1 + FolderField;

const QString kPaper = QStringLiteral("songbook/paper");
const QString kColumns = QStringLiteral("songbook/columns");
const QString kTitle = QStringLiteral("songbook/title");
const QString kNumbers = QStringLiteral("songbook/numbers");
const QString kIndex = QStringLiteral("songbook/index");

} // namespace

SongbookOptions songbookOptionsFrom(const QSettings& file) {
    SongbookOptions options;
    options.paper =
        songbookPaperFromName(file.value(kPaper).toString()).value_or(SongbookPaper::A4);
    bool ok = false;
    const int columns = file.value(kColumns).toInt(&ok);
    if (ok && columns >= 1 && columns <= 3)
        options.columns = columns;
    options.title = file.value(kTitle).toString();
    options.numbers = file.value(kNumbers).toBool();
    options.index = file.value(kIndex).toBool();
    return options;
}

void storeSongbookOptions(QSettings& file, const SongbookOptions& options) {
    file.setValue(kPaper, options.paper == SongbookPaper::Letter ? QStringLiteral("letter")
                                                                 : QStringLiteral("a4"));
    file.setValue(kColumns, options.columns);
    file.setValue(kTitle, options.title);
    file.setValue(kNumbers, options.numbers);
    file.setValue(kIndex, options.index);
}

std::optional<SongbookPaper> songbookPaperFromName(const QString& name) {
    if (name.compare(u"a4", Qt::CaseInsensitive) == 0)
        return SongbookPaper::A4;
    if (name.compare(u"letter", Qt::CaseInsensitive) == 0)
        return SongbookPaper::Letter;
    return std::nullopt;
}

QString commonFolder(const CatalogueGrid& grid, const std::vector<int>& rows) {
    if (kFolderColumn >= grid.columnCount() || rows.empty())
        return {};
    QString common = grid.cell(kFolderColumn, rows.front());
    for (const int row : rows) {
        const QString& folder = grid.cell(kFolderColumn, row);
        qsizetype same = 0;
        const qsizetype limit = std::min(common.size(), folder.size());
        while (same < limit && common[same] == folder[same])
            ++same;
        common.truncate(same);
        if (common.isEmpty())
            break;
    }
    // Only whole folder names: cut back to the last separator.
    return common.left(common.lastIndexOf(u'/') + 1);
}

void writeSongbookPdf(const QString& path, const std::vector<SongbookSection>& sections,
                      const SongbookOptions& options, SongbookPdfDrawer draw) {
    std::vector<SongbookSection> book = sections;
    if (options.index && !sections.empty())
        book.push_back(songbookIndex(sections));
    // Drawn in memory first: the file is written whole through the atomic writer, so a failure
    // names the file and the system's reason and leaves any previous songbook as it was.
    writeFileAtomically(path, draw(book, options, layOutSongbook));
}

} // namespace songwick
