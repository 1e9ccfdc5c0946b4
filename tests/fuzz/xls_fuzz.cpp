#include "common/error.h"
#include "fuzz/sheet_checks.h"
#include "office/xls_reader.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

using namespace songwick;

// .xls bytes: read in the child process within the limits, or refused with an Error; the
// BIFF library's own faults cost only the child. With SONGWICK_XLS_IN_PROCESS set the library
// runs in this process, which is how damaged files that crash it are found.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    static const bool inProcess = std::getenv("SONGWICK_XLS_IN_PROCESS") != nullptr;
    const SheetLimits limits = fuzz::smallLimits();
    try {
        const SheetValues values =
            inProcess ? xls::readUnprotected(bytes, QStringLiteral("f.xls"), limits)
                      : xls::readInChild(bytes, QStringLiteral("f.xls"), limits, {2, 0});
        fuzz::checkWithinLimits(values, limits);
    } catch (const Error&) {
    }
    return 0;
}
