#pragma once

#include <QByteArrayView>
#include <cstdint>
#include <cstring>

namespace songwick {

// Whether no byte of the text is 0x80 or above. Eight bytes at a time: most texts are lyrics,
// thousands of them in a file.
inline bool isAscii(QByteArrayView text) {
    const char* at = text.data();
    const char* const end = at + text.size();
    std::uint64_t high = 0;
    for (; end - at >= 8; at += 8) {
        std::uint64_t word;
        std::memcpy(&word, at, sizeof word);
        high |= word;
    }
    for (; at < end; ++at)
        high |= static_cast<unsigned char>(*at);
    return (high & 0x8080808080808080u) == 0;
}

} // namespace songwick
