#pragma once

#include "catalogue/catalogue_grid.h"

#include <optional>
#include <vector>

class QProgressBar;

namespace songwick {

// The groups of "Найти повторы" (repeatGroups), found with the progress bar shown, filling as
// the files are read, and "Прервать" beside it, as a scan shows them; none when the user
// interrupted. The bar is hidden again afterwards.
std::optional<std::vector<std::vector<int>>> findRepeatsWithProgress(const CatalogueGrid& grid,
                                                                     QProgressBar* bar);

} // namespace songwick
