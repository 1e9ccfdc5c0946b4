#pragma once

#include "catalogue/songbook.h"

#include <QByteArray>
#include <QSettings>
#include <QString>
#include <functional>
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

// The options as the options file keeps them in its "songbook" group (paper, columns, title,
// numbers, index), and back; what the file does not hold keeps its default.
SongbookOptions songbookOptionsFrom(const QSettings& file);
void storeSongbookOptions(QSettings& file, const SongbookOptions& options);

// "a4" or "letter" (any case); nothing for another text.
std::optional<SongbookPaper> songbookPaperFromName(const QString& name);

// The folder all given rows' files lie in (the longest common folder of column 2), empty when
// they share none.
QString commonFolder(const CatalogueGrid& grid, const std::vector<int>& rows);

// How the sections flow into pages: layOutSongbook.
using SongbookLayout = std::function<std::vector<SongbookPage>(
    const std::vector<SongbookSection>& sections, int columnsPerPage, double columnHeight,
    const std::function<double(const SongbookLine&)>& height)>;

// Draws the book (its index, when asked for, one of its sections) as a PDF, portrait, with the
// header line and page numbers on every page and its fonts embedded; a title too long for its
// column wraps. Needs a QGuiApplication (the fonts) and Qt Gui: it is in the drawing library
// songwick_songbook_pdf, and in the module the command line loads for it (songbook_pdf_module.h).
// Throws Error when there are no fonts.
QByteArray drawSongbookPdf(const std::vector<SongbookSection>& book, const SongbookOptions& options,
                           const SongbookLayout& layOut);

using SongbookPdfDrawer = QByteArray (*)(const std::vector<SongbookSection>& book,
                                         const SongbookOptions& options,
                                         const SongbookLayout& layOut);

// Writes the songbook of the sections (and their index when options ask for it) as the PDF
// that draw makes. Written atomically; throws Error when the file cannot be written.
void writeSongbookPdf(const QString& path, const std::vector<SongbookSection>& sections,
                      const SongbookOptions& options, SongbookPdfDrawer draw);

// The same, drawn by drawSongbookPdf (so only where the drawing library is linked).
inline void writeSongbookPdf(const QString& path, const std::vector<SongbookSection>& sections,
                             const SongbookOptions& options) {
    writeSongbookPdf(path, sections, options, drawSongbookPdf);
}

} // namespace songwick
