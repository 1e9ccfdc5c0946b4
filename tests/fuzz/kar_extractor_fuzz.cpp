#include "fuzz/fuzz_check.h"
#include "scan/byte_search.h"
#include "scan/kar_extractor.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

using namespace songwick;

namespace {

// A file that gives no byte more than the extractor asks for, as one read in short steps does.
class ShortSteps final : public KarBytes {
public:
    explicit ShortSteps(QByteArrayView bytes) : bytes_(bytes) {}
    QByteArrayView available() const override { return bytes_.first(size_); }
    bool readUpTo(qsizetype size) override {
        size_ = std::clamp(size, size_, bytes_.size());
        return size <= bytes_.size();
    }

private:
    QByteArrayView bytes_;
    qsizetype size_ = 0;
};

// The plain search the fast one must agree with.
qsizetype referenceFind(QByteArrayView haystack, qsizetype from, QByteArrayView needle) {
    if (from < 0 || from > haystack.size())
        return -1;
    const auto found =
        std::search(haystack.begin() + from, haystack.end(), needle.begin(), needle.end());
    return found == haystack.end() || needle.isEmpty() ? -1 : found - haystack.begin();
}

// Every occurrence, one after another, as the extractor's searches go on from a find.
void checkSearches(QByteArrayView bytes) {
    QByteArrayView needles[] = {"@T", "Words", QByteArrayView("\xFF\x03", 2), bytes.first(0)};
    if (!bytes.isEmpty())
        needles[3] = bytes.first(1 + static_cast<unsigned char>(bytes.front()) %
                                         std::min<qsizetype>(bytes.size(), 4));
    for (QByteArrayView needle : needles) {
        for (qsizetype from = 0;;) {
            const qsizetype found = findBytes(bytes, from, needle);
            FUZZ_CHECK(found == referenceFind(bytes, from, needle));
            if (found < 0)
                break;
            from = found + 1;
        }
    }
    for (qsizetype from = 0;;) {
        const qsizetype found = findEitherPair(bytes, from, '@', 'T', 'I');
        const qsizetype title = referenceFind(bytes, from, "@T");
        const qsizetype information = referenceFind(bytes, from, "@I");
        FUZZ_CHECK(found == (title < 0 || information < 0 ? std::max(title, information)
                                                          : std::min(title, information)));
        if (found < 0)
            break;
        from = found + 1;
    }
}

} // namespace

// Both readings, as the start window's and the main window's scans take a file. A text is cut
// out of one 8192-byte block and never grows past it. A file read on in short steps gives the
// texts the whole file gives, and the fast searches find what a plain search finds.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    for (const ScanWindow window : {ScanWindow::Start, ScanWindow::Main}) {
        const KarTexts texts = extractKarTexts(bytes, window);
        for (const QByteArray& text : texts)
            FUZZ_CHECK(text.size() <= 8192 + qsizetype(sizeof kKarMakerCredit));
        ShortSteps steps(bytes);
        FUZZ_CHECK(extractKarTexts(steps, window) == texts);
        const CatalogueRecord record =
            makeRecord(QStringLiteral("/f/"), QStringLiteral("a.kar"), texts);
        FUZZ_CHECK(record[2].size() == texts[0].size());
    }
    checkSearches(bytes);
    return 0;
}
