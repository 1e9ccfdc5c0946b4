#include "common/error.h"
#include "fuzz/fuzz_check.h"
#include "settings/settings_file.h"

#include <cstddef>
#include <cstdint>

using namespace songwick;

namespace {

class FixedRandom final : public RandomSource {
public:
    int below(int) override { return 0; }
};

} // namespace

// Settings that read write back to bytes that read to the same settings.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    ProgramSettings settings;
    try {
        applySettingsBytes(settings, bytes);
    } catch (const Error&) {
        return 0;
    }
    FixedRandom random;
    const ShutdownTimes times{settings.LastShutdownTime, settings.TotalRunTime};
    const QByteArray written = settingsFileBytes(settings, times, random);
    ProgramSettings again;
    applySettingsBytes(again, written);
    // NaN never equals itself; compare what was written instead.
    FUZZ_CHECK(settingsFileBytes(again, times, random) == written);
    return 0;
}
