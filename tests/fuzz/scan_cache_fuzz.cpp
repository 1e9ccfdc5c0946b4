#include "fuzz/cache_key.h"
#include "fuzz/fuzz_check.h"
#include "scan/scan_cache.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

using namespace songwick;

namespace {

// Four texts cut out of the input: the first three bytes give the first three lengths.
KarTexts textsFrom(QByteArrayView bytes) {
    KarTexts texts;
    if (bytes.size() < 3) {
        texts[0] = bytes.toByteArray();
        return texts;
    }
    QByteArrayView rest = bytes.sliced(3);
    for (int i = 0; i < 3; ++i) {
        const qsizetype length =
            std::min<qsizetype>(static_cast<unsigned char>(bytes[i]), rest.size());
        texts[std::size_t(i)] = rest.first(length).toByteArray();
        rest = rest.sliced(length);
    }
    texts[3] = rest.toByteArray();
    return texts;
}

} // namespace

// A stored row is taken only as the encoding of its own texts under its own key; any texts
// encoded come back the same, and never under another key or with a changed check sum.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const CacheKey key = fuzz::fuzzCacheKey();

    if (const std::optional<KarTexts> decoded = decodeCachedTexts(key, bytes)) {
        FUZZ_CHECK(encodeCachedTexts(key, *decoded) == bytes);
        qsizetype total = 0;
        for (const QByteArray& text : *decoded)
            total += text.size();
        FUZZ_CHECK(total + 4 * 4 + 8 == bytes.size());
    }

    const KarTexts texts = textsFrom(bytes);
    QByteArray stored = encodeCachedTexts(key, texts);
    FUZZ_CHECK(decodeCachedTexts(key, stored) == texts);
    CacheKey otherFile = key;
    otherFile.name += 'x';
    FUZZ_CHECK(!decodeCachedTexts(otherFile, stored));
    CacheKey otherVersion = key;
    ++otherVersion.identity.modifiedNs;
    FUZZ_CHECK(!decodeCachedTexts(otherVersion, stored));
    stored.back() = char(stored.back() ^ 0x01);
    FUZZ_CHECK(!decodeCachedTexts(key, stored));
    return 0;
}
