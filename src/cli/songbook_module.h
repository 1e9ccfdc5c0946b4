#pragma once

#include "catalogue/songbook_pdf_module.h"

#include <QCoreApplication>
#include <memory>

namespace songwick::cli {

// The songbook's drawing module, loaded from beside the program (the build) or from the
// program's library folder (installed). Throws Error when neither loads.
const SongbookPdfModule& songbookPdfModule();

// The application of the songbook command, with the fonts the module offers; none when the
// module does not load (the command then says why).
std::unique_ptr<QCoreApplication> songbookApplication(int& argc, char** argv);

} // namespace songwick::cli
