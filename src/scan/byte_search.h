#pragma once

#include "common/ascii_text.h"

#include <QByteArrayView>
#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
#include <immintrin.h>
#endif

namespace songwick {

// Searches of raw file bytes for short markers. The markers of karaoke files are two bytes long
// and music data is full of their first byte "@": a search that stops at each first byte, or
// takes two bytes at a time, goes nearly byte by byte there. These compare a marker's first
// byte and its last at many positions at once, as fast string searches do, and look closer only
// where both match: 64 positions at once with AVX2, where the processor has it, else 32.
namespace byte_search_detail {

#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
#define SONGWICK_BYTE_SEARCH_AVX2 1

inline bool hasAvx2() {
    static const bool has = __builtin_cpu_supports("avx2");
    return has;
}

// The 64-position steps of findCandidate() on processors that have AVX2, from `at` on while
// all 64 positions may begin a match; leaves `at` where the steps ended.
template <typename Check>
__attribute__((target("avx2"))) qsizetype
findCandidateWide(const char* data, qsizetype& at, qsizetype lastStart, qsizetype distance,
                  char first, char last, char otherLast, Check check) {
    const __m256i firsts = _mm256_set1_epi8(first);
    const __m256i lastsA = _mm256_set1_epi8(last);
    const __m256i lastsB = _mm256_set1_epi8(otherLast);
    for (; lastStart - at >= 63; at += 64) {
        const char* const step = data + at;
        const __m256i firstLow = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(step));
        const __m256i firstHigh = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(step + 32));
        const __m256i lastLow =
            _mm256_loadu_si256(reinterpret_cast<const __m256i*>(step + distance));
        const __m256i lastHigh =
            _mm256_loadu_si256(reinterpret_cast<const __m256i*>(step + distance + 32));
        const __m256i low = _mm256_and_si256(_mm256_cmpeq_epi8(firstLow, firsts),
                                             _mm256_or_si256(_mm256_cmpeq_epi8(lastLow, lastsA),
                                                             _mm256_cmpeq_epi8(lastLow, lastsB)));
        const __m256i high = _mm256_and_si256(_mm256_cmpeq_epi8(firstHigh, firsts),
                                              _mm256_or_si256(_mm256_cmpeq_epi8(lastHigh, lastsA),
                                                              _mm256_cmpeq_epi8(lastHigh, lastsB)));
        if (_mm256_testz_si256(_mm256_or_si256(low, high), _mm256_or_si256(low, high)))
            continue;
        auto mask = static_cast<std::uint64_t>(static_cast<unsigned>(_mm256_movemask_epi8(low))) |
                    static_cast<std::uint64_t>(static_cast<unsigned>(_mm256_movemask_epi8(high)))
                        << 32;
        for (; mask != 0; mask &= mask - 1) {
            const qsizetype start = at + std::countr_zero(mask);
            if (check(start))
                return start;
        }
    }
    return -1;
}
#endif

// The first position p in [from, lastStart] where data[p] is `first`, data[p + distance] is
// one of `last` and `otherLast` (the same byte twice for one) and check(p) holds; -1 when
// none is. Every byte up to data[lastStart + distance] may be read.
template <typename Check>
qsizetype findCandidate(const char* data, qsizetype from, qsizetype lastStart, qsizetype distance,
                        char first, char last, char otherLast, Check check) {
    qsizetype at = from;
#if defined(SONGWICK_BYTE_SEARCH_AVX2)
    if (hasAvx2()) {
        const qsizetype found =
            findCandidateWide(data, at, lastStart, distance, first, last, otherLast, check);
        if (found >= 0)
            return found;
    }
#endif
#if defined(__SSE2__)
    const __m128i firsts = _mm_set1_epi8(first);
    const __m128i lastsA = _mm_set1_epi8(last);
    const __m128i lastsB = _mm_set1_epi8(otherLast);
    const auto candidates = [&](qsizetype start) {
        const __m128i atFirst = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + start));
        const __m128i atLast =
            _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + start + distance));
        const __m128i lastMatches =
            _mm_or_si128(_mm_cmpeq_epi8(atLast, lastsA), _mm_cmpeq_epi8(atLast, lastsB));
        return _mm_and_si128(_mm_cmpeq_epi8(atFirst, firsts), lastMatches);
    };
    // 32 positions a step while all of them may begin a match, so that no load passes the end.
    for (; lastStart - at >= 31; at += 32) {
        const __m128i low = candidates(at);
        const __m128i high = candidates(at + 16);
        if (_mm_movemask_epi8(_mm_or_si128(low, high)) == 0)
            continue;
        auto mask = static_cast<unsigned>(_mm_movemask_epi8(low)) |
                    static_cast<unsigned>(_mm_movemask_epi8(high)) << 16;
        for (; mask != 0; mask &= mask - 1) {
            const qsizetype start = at + std::countr_zero(mask);
            if (check(start))
                return start;
        }
    }
#endif
    for (; at <= lastStart; ++at) {
        const char atLast = data[at + distance];
        if (data[at] == first && (atLast == last || atLast == otherLast) && check(at))
            return at;
    }
    return -1;
}

} // namespace byte_search_detail

// Where needle first occurs in haystack at or after from; -1 when it does not.
inline qsizetype findBytes(QByteArrayView haystack, qsizetype from, QByteArrayView needle) {
    const qsizetype size = needle.size();
    if (from < 0 || size <= 0 || haystack.size() - from < size)
        return -1;
    const char* const data = haystack.data();
    const char* const inner = needle.data() + 1;
    const auto innerSize = static_cast<size_t>(std::max<qsizetype>(size - 2, 0));
    return byte_search_detail::findCandidate(
        data, from, haystack.size() - size, size - 1, needle.front(), needle.back(), needle.back(),
        [&](qsizetype at) {
            return innerSize == 0 || std::memcmp(data + at + 1, inner, innerSize) == 0;
        });
}

// Where the first of two two-byte markers that begin with the same byte ("@T" and "@I")
// occurs in haystack at or after from; -1 when neither does.
inline qsizetype findEitherPair(QByteArrayView haystack, qsizetype from, char first, char second,
                                char otherSecond) {
    if (from < 0 || haystack.size() - from < 2)
        return -1;
    return byte_search_detail::findCandidate(haystack.data(), from, haystack.size() - 2, 1, first,
                                             second, otherSecond, [](qsizetype) { return true; });
}

} // namespace songwick
