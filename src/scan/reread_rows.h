#pragma once

#include "catalogue/catalogue_grid.h"
#include "scan/reading_options.h"

namespace songwick {

// Reads the files of the marked rows again by the structured reading: each marked row whose
// file (its folder and file name cells) exists and can be read gets its columns 3 to 6 from
// it. Returns how many rows were read; a file that cannot be read leaves its row as it was.
int rereadMarkedRowsStructured(CatalogueGrid& grid, const StructuredReadingOptions& options);

} // namespace songwick
