#include "fuzz/fuzz_check.h"
#include "scan/kar_extractor.h"

#include <cstddef>
#include <cstdint>

using namespace songwick;

// Both readings, as the start window's and the main window's scans take a file. A text is cut
// out of one 8192-byte block and never grows past it.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    for (const ScanWindow window : {ScanWindow::Start, ScanWindow::Main}) {
        const KarTexts texts = extractKarTexts(bytes, window);
        for (const QByteArray& text : texts)
            FUZZ_CHECK(text.size() <= 8192 + qsizetype(sizeof kKarMakerCredit));
        const CatalogueRecord record =
            makeRecord(QStringLiteral("/f/"), QStringLiteral("a.kar"), texts);
        FUZZ_CHECK(record[2].size() == texts[0].size());
    }
    return 0;
}
