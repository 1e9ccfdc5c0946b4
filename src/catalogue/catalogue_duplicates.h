#pragma once

#include "catalogue/catalogue_grid.h"

#include <QString>
#include <QStringView>
#include <functional>
#include <optional>
#include <vector>

namespace songwick {

// Rows that name the same song, or stand for byte-identical files.

// Where a dash with a blank beside it parts performer from title ("Artist - Song"), or -1.
qsizetype performerTitleDash(QStringView text);

struct DuplicateSearch {
    // Also groups rows whose files are byte-identical. A file is read only when another
    // row's file has the same size, and then once, for a 128-bit hash of its bytes (files of
    // one size with the same hash count as identical).
    bool compareContents = false;
    // Full path of the file a data row stands for; empty for none. Without it, the file the
    // row stands for (rowFilePath). A path that is not absolute is never read.
    std::function<QString(int row)> filePath;
    // While contents are compared: told after each file how many of the files to read are
    // read (unreadable ones included) ...
    std::function<void(int read, int toRead)> fileRead;
    // ... and asked then whether to stop; true ends the search without groups.
    std::function<bool()> interruptRequested;
};

// The full path of the file a data row stands for, folder and name joined as paths; empty when
// the row stands for none or its folder is not an absolute folder path.
QString rowFilePath(const CatalogueGrid& grid, int row);

// Groups of data rows (each of two rows or more, rows in table order, groups in the order of
// their first rows) that name the same song or, when asked, have identical files. Rows name
// the same song when performer and title, as SongReader reads them and foldedSongName folds
// them, agree, or when a title squashed as 8.3 file names squash it ("DONTKNOW") abbreviates
// the other's spaced title and the performers agree or one is missing. Rows whose file names
// give the song different numbers ("Interlude 1", "Interlude 2") are different pieces.

std::vector<std::vector<int>> duplicateGroups(const CatalogueGrid& grid,
                                              const DuplicateSearch& search);
// The same, or none when search.interruptRequested ended it.
std::optional<std::vector<std::vector<int>>>
interruptibleDuplicateGroups(const CatalogueGrid& grid, const DuplicateSearch& search);

// The groups "Найти повторы" finds and the "повторы" filter shows: same song or identical
// files (each row's own file, through absolute folders only).
std::vector<std::vector<int>> repeatGroups(const CatalogueGrid& grid);
// The same with the search's reports and its way to stop (compareContents and filePath are
// set here); none when it was stopped.
std::optional<std::vector<std::vector<int>>> repeatGroups(const CatalogueGrid& grid,
                                                          DuplicateSearch search);

// Data rows that belong to one of the repeatGroups, by grid row (element 0 unused).
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
