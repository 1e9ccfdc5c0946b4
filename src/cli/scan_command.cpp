#include "cli/commands.h"

#include <stdexcept>

namespace songwick::cli {

int runScan(const QStringList&) {
    throw std::runtime_error("this command is not available yet");
}

} // namespace songwick::cli
