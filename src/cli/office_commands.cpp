#include "cli/commands.h"

#include <stdexcept>

namespace songwick::cli {

int runExportXlsx(const QStringList&) {
    throw std::runtime_error("this command is not available yet");
}

int runImportXlsx(const QStringList&) {
    throw std::runtime_error("this command is not available yet");
}

int runExportDocx(const QStringList&) {
    throw std::runtime_error("this command is not available yet");
}

} // namespace songwick::cli
