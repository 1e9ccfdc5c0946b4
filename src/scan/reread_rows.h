#pragma once

#include "catalogue/catalogue_grid.h"
#include "scan/reading_options.h"

#include <QString>
#include <QStringList>

namespace songwick {

// What reading the marked rows again did.
struct RereadResult {
    int reread = 0;        // rows whose columns 3 to 6 were read again
    QStringList notReread; // one line per marked row that was left as it was, naming its file
};

// Reads the files of the marked rows again by the structured reading: each marked row whose
// own file (the file the row stands for, never the one its editable cells name) can be read
// gets its columns 3 to 6 from it. A row without a file, a row whose folder is not an absolute
// path and a file that cannot be read leave the row as it was, with a line in notReread.
RereadResult rereadMarkedRowsStructured(CatalogueGrid& grid,
                                        const StructuredReadingOptions& options);

// The message for the rows that were not read again; empty when every marked row was.
QString notRereadMessage(const RereadResult& result);

} // namespace songwick
