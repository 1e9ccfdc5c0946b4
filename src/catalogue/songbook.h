#pragma once

#include "catalogue/catalogue_grid.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

namespace songwick {

// The songbook: the songs of the table grouped by performer, performers in alphabetical
// order under letter headings, laid out in columns and pages.

// Performer and title of a data row. The title column is read as "performer - title" when a
// dash with a blank beside it parts them, else as a title alone; a format marker counts as no
// title. A row without a title takes its file name (without extension).
struct SongbookSong {
    QString performer; // empty: the row names no performer
    QString title;
};
SongbookSong songbookSong(const CatalogueGrid& grid, int row);

struct SongbookPerformer {
    QString name; // empty for the songs without a performer
    QStringList titles;
};

struct SongbookSection {
    QString heading; // the letter, or "Без исполнителя"
    std::vector<SongbookPerformer> performers;
};

// The sections for the given data rows: performers compared without case, "ё" or
// punctuation and shown as first spelt, in Russian collation (Cyrillic, then Latin, numbers
// as numbers), each performer's titles likewise, a title that repeats shown once. A heading
// is a performer's first letter in upper case ("Ё" as "Е"), "#" for a performer that starts
// with anything else. The songs without a performer come last under "Без исполнителя".
std::vector<SongbookSection> songbookSections(const CatalogueGrid& grid,
                                              const std::vector<int>& rows);

enum class SongbookLineKind { Heading, Performer, Title };

struct SongbookLine {
    SongbookLineKind kind;
    QString text;
};

// The page's columns, left to right, each a list of lines from the top.
using SongbookPage = std::vector<std::vector<SongbookLine>>;

// Flows the sections into columns of a given height, `columnsPerPage` to a page: a heading
// never ends a column without its first performer and title, a performer never without its
// first title, and a performer continued at the top of a new column is repeated there with
// " (продолжение)". Heights are in any unit, as long as they agree.
std::vector<SongbookPage> layOutSongbook(const std::vector<SongbookSection>& sections,
                                         int columnsPerPage, double columnHeight,
                                         const std::function<double(SongbookLineKind)>& height);

} // namespace songwick
