#pragma once

#include "catalogue/catalogue_grid.h"

#include <QString>
#include <QStringView>
#include <functional>
#include <vector>

namespace songwick {

// Rows that name the same song, or stand for byte-identical files.

// Where a dash with a blank beside it parts performer from title ("Artist - Song"), or -1.
qsizetype performerTitleDash(QStringView text);

// The song a performer-and-title text names, for comparison: bracketed notes ("(XG)",
// "[GM2]", "(karaoke)") and "feat./ft./featuring" parts dropped, folded as the find line
// folds (case, "ё", punctuation), a leading "The" of performer or title dropped. Performer
// and title, when a dash with a blank beside it parts them, are compared each on its own.
// Empty when nothing is left.
QString songKey(QStringView performerTitle);

// The key a row is compared by: the song key of its title column, or of its file name
// without extension when the title column holds no title. Empty for a row that names none.
QString rowSongKey(const CatalogueGrid& grid, int row);

struct DuplicateSearch {
    // Also groups rows whose files are byte-identical. A file is read only when another
    // row's file has the same size.
    bool compareContents = false;
    // Full path of the file a data row stands for; empty for none. Without it, the file the
    // row stands for (rowFilePath). A path that is not absolute is never read.
    std::function<QString(int row)> filePath;
};

// The full path of the file a data row stands for, folder and name joined as paths; empty when
// the row stands for none or its folder is not an absolute folder path.
QString rowFilePath(const CatalogueGrid& grid, int row);

// Groups of data rows (each of two rows or more, rows in table order, groups in the order of
// their first rows) that name the same song or, when asked, have identical files.
std::vector<std::vector<int>> duplicateGroups(const CatalogueGrid& grid,
                                              const DuplicateSearch& search);

// Data rows that share their song key with another row, by grid row (element 0 unused).
std::vector<char> rowsNamingSharedSongs(const CatalogueGrid& grid);

// The table order that puts each group together at the place of its first row, every other
// row keeping its order. Feed it to arrangeRows.
std::vector<int> groupedRowOrder(int dataRowCount, const std::vector<std::vector<int>>& groups);

struct DuplicatesFound {
    int duplicateRows = 0; // rows marked: every row of a group after its first
    int groupCount = 0;
};

// Puts the groups together (groupedRowOrder and arrangeRows), marks every row of a group
// after the first and unmarks the first, so that removing the marked rows keeps one of each.
// Other rows keep their marks. Deletes nothing.
DuplicatesFound arrangeDuplicateGroups(CatalogueGrid& grid,
                                       const std::vector<std::vector<int>>& groups);

// "Найдено повторов: N в M группах"
QString duplicatesFoundMessage(const DuplicatesFound& found);

} // namespace songwick
