#pragma once

#include "catalogue/catalogue_grid.h"

#include <vector>

namespace songwick {

// Reordering and removing whole rows of the catalogue table. A row moves with everything it
// has: its cells, its mark. The number column is renumbered afterwards, marks kept.

enum class SortOrder { Ascending, Descending };

// The data rows (1 to N) in the order a sort by `column` puts them: stable, Russian
// collation, case ignored, numbers inside texts compared as numbers ("Song 2" before
// "Song 10"), leading blanks, quotes and other marks passed over (">>> Song" and "\"Song\""
// go with "Song"), empty cells last in either order. The number column (0) orders the rows
// as the table was made (CatalogueGrid::rowPlace). A column outside the grid keeps the order.
// The text a cell is ordered by: from its first letter or digit on.
QString sortableText(const QString& text);
std::vector<int> sortedRowOrder(const CatalogueGrid& grid, int column, SortOrder order);

// Data row i + 1 becomes former data row rows[i]; rows not named are dropped. Then every
// number cell is renumbered: "i", or "V i" when the row is marked.
void arrangeRows(CatalogueGrid& grid, const std::vector<int>& rows);

// Sorts the table by a column (sortedRowOrder, then arrangeRows).
void sortRows(CatalogueGrid& grid, int column, SortOrder order);

// Removes the marked rows and renumbers; returns how many were removed.
int removeMarkedRows(CatalogueGrid& grid);
int markedRowCount(const CatalogueGrid& grid);

// The number cells as "i" or "V i", by each row's mark.
void renumberKeepingMarks(CatalogueGrid& grid);

} // namespace songwick
