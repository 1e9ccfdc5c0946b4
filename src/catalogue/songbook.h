#pragma once

#include "catalogue/catalogue_grid.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

namespace songwick {

// The songbook: the songs of the table grouped by performer, performers in alphabetical
// order under letter headings, laid out in columns and pages.

struct SongbookPerformer {
    QString name; // empty for the songs without a performer
    QStringList titles;
    // Beside each title: the song's number, its row in the table; none past its end.
    std::vector<int> numbers = {};
    int numberOf(qsizetype title) const {
        return std::size_t(title) < numbers.size() ? numbers[std::size_t(title)] : 0;
    }
};

struct SongbookSection {
    QString heading; // the letter, or "Без исполнителя"
    std::vector<SongbookPerformer> performers;
};

// The sections for the given data rows, each row's performer and title read as SongReader
// reads them: performers compared as repeats compare them (case, "ё", punctuation, "The")
// and shown in their most frequent spelling, in Russian collation (Cyrillic, then Latin, numbers
// as numbers), each performer's titles likewise, a title that repeats shown once. A heading
// is a performer's first letter in upper case ("Ё" as "Е"), "#" for a performer that starts
// with anything else. The songs without a performer come last under "Без исполнителя".
std::vector<SongbookSection> songbookSections(const CatalogueGrid& grid,
                                              const std::vector<int>& rows);

enum class SongbookLineKind { Heading, Performer, Title };

struct SongbookLine {
    SongbookLineKind kind;
    QString text;
    int number = 0; // a title's song number; 0 for none
};

// The page's columns, left to right, each a list of lines from the top.
using SongbookPage = std::vector<std::vector<SongbookLine>>;

// The index by title: every title with its performer ("Waterloo — ABBA") and number, in
// Russian collation, as one section headed "Указатель песен".
SongbookSection songbookIndex(const std::vector<SongbookSection>& sections);

// Flows the sections into columns of a given height, `columnsPerPage` to a page: a heading
// never ends a column without its first performer and title, a performer never without its
// first title, and a performer continued at the top of a new column is repeated there with
// " (продолжение)". Heights are in any unit, as long as they agree; a line that wraps is as
// high as its wrapped lines together.
std::vector<SongbookPage> layOutSongbook(const std::vector<SongbookSection>& sections,
                                         int columnsPerPage, double columnHeight,
                                         const std::function<double(const SongbookLine&)>& height);

} // namespace songwick
