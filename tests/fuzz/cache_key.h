#pragma once

#include "scan/scan_cache.h"

namespace songwick::fuzz {

// The entry key the scan-cache target decodes its inputs with; its seeds are encoded with it.
inline CacheKey fuzzCacheKey() {
    return {"/songs/", "a.kar", "kar/start", {1, 2, 3, 4, 5}};
}

} // namespace songwick::fuzz
