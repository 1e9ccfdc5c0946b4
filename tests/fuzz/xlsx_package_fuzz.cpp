#include "common/error.h"
#include "fuzz/sheet_checks.h"

#include <cstddef>
#include <cstdint>

using namespace songwick;

// Whole .xlsx packages: read within the limits, or refused with an Error.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    for (const SheetLimits& limits : {SheetLimits{}, fuzz::smallLimits()}) {
        try {
            fuzz::checkWithinLimits(readXlsxFirstSheet(bytes, QStringLiteral("f.xlsx"), limits),
                                    limits);
        } catch (const Error&) {
        }
    }
    return 0;
}
