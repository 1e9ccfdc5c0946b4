#pragma once

#include "catalogue/songbook.h"

#include <QString>
#include <optional>

namespace songwick {

enum class SongbookPaper { A4, Letter };

struct SongbookOptions {
    SongbookPaper paper = SongbookPaper::A4;
    int columns = 2;      // 1 to 3
    QString title;        // the header line's left part ("Песенник", the collection's name)
    QString folder;       // the header line's left part when there is no title
    QString date;         // the header line's right part
    bool numbers = false; // each title's song number (its row) beside it, for request slips
    bool index = false;   // an index by title at the end
};

// "a4" or "letter" (any case); nothing for another text.
std::optional<SongbookPaper> songbookPaperFromName(const QString& name);

// The folder all given rows' files lie in (the longest common folder of column 2), empty when
// they share none.
QString commonFolder(const CatalogueGrid& grid, const std::vector<int>& rows);

// Writes the songbook as a PDF, portrait, with the header line and page numbers on every
// page and its fonts embedded; a title too long for its column wraps. Written atomically; throws
// Error when the file cannot be written. Needs a QGuiApplication (the fonts).
void writeSongbookPdf(const QString& path, const std::vector<SongbookSection>& sections,
                      const SongbookOptions& options);

} // namespace songwick
