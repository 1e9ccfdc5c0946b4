#include "common/cp1251_codec.h"

#include <algorithm>
#include <array>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace songwick {
namespace {

// clang-format off
constexpr std::array<char16_t, 128> kUpperHalf = {
    u'\u0402', u'\u0403', u'\u201A', u'\u0453', u'\u201E', u'\u2026', u'\u2020', u'\u2021',
    u'\u20AC', u'\u2030', u'\u0409', u'\u2039', u'\u040A', u'\u040C', u'\u040B', u'\u040F',
    u'\u0452', u'\u2018', u'\u2019', u'\u201C', u'\u201D', u'\u2022', u'\u2013', u'\u2014',
    char16_t(0x0098), u'\u2122', u'\u0459', u'\u203A', u'\u045A', u'\u045C', u'\u045B', u'\u045F',
    u'\u00A0', u'\u040E', u'\u045E', u'\u0408', u'\u00A4', u'\u0490', u'\u00A6', u'\u00A7',
    u'\u0401', u'\u00A9', u'\u0404', u'\u00AB', u'\u00AC', u'\u00AD', u'\u00AE', u'\u0407',
    u'\u00B0', u'\u00B1', u'\u0406', u'\u0456', u'\u0491', u'\u00B5', u'\u00B6', u'\u00B7',
    u'\u0451', u'\u2116', u'\u0454', u'\u00BB', u'\u0458', u'\u0405', u'\u0455', u'\u0457',
    u'\u0410', u'\u0411', u'\u0412', u'\u0413', u'\u0414', u'\u0415', u'\u0416', u'\u0417',
    u'\u0418', u'\u0419', u'\u041A', u'\u041B', u'\u041C', u'\u041D', u'\u041E', u'\u041F',
    u'\u0420', u'\u0421', u'\u0422', u'\u0423', u'\u0424', u'\u0425', u'\u0426', u'\u0427',
    u'\u0428', u'\u0429', u'\u042A', u'\u042B', u'\u042C', u'\u042D', u'\u042E', u'\u042F',
    u'\u0430', u'\u0431', u'\u0432', u'\u0433', u'\u0434', u'\u0435', u'\u0436', u'\u0437',
    u'\u0438', u'\u0439', u'\u043A', u'\u043B', u'\u043C', u'\u043D', u'\u043E', u'\u043F',
    u'\u0440', u'\u0441', u'\u0442', u'\u0443', u'\u0444', u'\u0445', u'\u0446', u'\u0447',
    u'\u0448', u'\u0449', u'\u044A', u'\u044B', u'\u044C', u'\u044D', u'\u044E', u'\u044F',
};
// clang-format on

struct EncodeTable {
    // Index: a character of the Basic Multilingual Plane; 0 means "not in the code page"
    // except for index 0 itself.
    std::array<unsigned char, 0x10000> bytes{};

    EncodeTable() {
        for (int b = 0; b < 0x80; ++b)
            bytes[b] = static_cast<unsigned char>(b);
        for (int b = 0x80; b < 0x100; ++b)
            bytes[kUpperHalf[b - 0x80]] = static_cast<unsigned char>(b);
    }
};

const EncodeTable& encodeTable() {
    static const EncodeTable table;
    return table;
}

// Copies the leading characters of `in` from U+0020 to U+007F to `out` as their bytes, eight at
// a time (nearly every text is all of them); returns how many it copied.
qsizetype copyPrintableAscii(const char16_t* in, qsizetype size, char* out) {
    qsizetype done = 0;
#if defined(__SSE2__)
    const __m128i belowSpace = _mm_set1_epi16(0x1F);
    const __m128i pastAscii = _mm_set1_epi16(0x80);
    for (; done + 8 <= size; done += 8) {
        const __m128i units = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + done));
        // Compared as signed: units from 0x8000 on are negative and fail the first test.
        const __m128i printable =
            _mm_and_si128(_mm_cmpgt_epi16(units, belowSpace), _mm_cmplt_epi16(units, pastAscii));
        if (_mm_movemask_epi8(printable) != 0xFFFF)
            break;
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out + done), _mm_packus_epi16(units, units));
    }
#endif
    return done;
}

// Widens the leading bytes of `in` below 0x80 to `out`, sixteen at a time; returns how many.
qsizetype widenAscii(const char* in, qsizetype size, char16_t* out) {
    qsizetype done = 0;
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    for (; done + 16 <= size; done += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + done));
        if (_mm_movemask_epi8(bytes) != 0)
            break;
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + done), _mm_unpacklo_epi8(bytes, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + done + 8),
                         _mm_unpackhi_epi8(bytes, zero));
    }
#endif
    return done;
}

} // namespace

char16_t cp1251ToUnicode(unsigned char byte) {
    return byte < 0x80 ? char16_t(byte) : kUpperHalf[byte - 0x80];
}

QString decodeCp1251(QByteArrayView bytes) {
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    const qsizetype widened =
        widenAscii(bytes.data(), bytes.size(), reinterpret_cast<char16_t*>(out));
    out += widened;
    for (char c : bytes.sliced(widened))
        *out++ = QChar(cp1251ToUnicode(static_cast<unsigned char>(c)));
    return text;
}

bool appendCp1251Line(QByteArray& bytes, QStringView text, QByteArrayView lineEnd) {
    const EncodeTable& table = encodeTable();
    const qsizetype start = bytes.size();
    bytes.resize(start + text.size() + lineEnd.size());
    char* out = bytes.data() + start;
    const qsizetype copied = copyPrintableAscii(text.utf16(), text.size(), out);
    out += copied;
    for (const QChar c : text.sliced(copied)) {
        const char16_t unit = c.unicode();
        if (unit >= 0x20 && unit < 0x80) { // nearly every character: itself
            *out++ = char(unit);
            continue;
        }
        const unsigned char b = table.bytes[unit];
        if ((b == 0 && unit != 0) || unit == u'\r' || unit == u'\n') {
            bytes.truncate(start);
            return false;
        }
        *out++ = char(b);
    }
    std::copy(lineEnd.begin(), lineEnd.end(), out);
    return true;
}

QByteArray encodeCp1251(QStringView text, bool* exact) {
    const EncodeTable& table = encodeTable();
    QByteArray bytes(text.size(), Qt::Uninitialized);
    char* out = bytes.data();
    bool held = true;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i].unicode();
        const unsigned char b = table.bytes[unit];
        if (b != 0 || unit == 0) {
            *out++ = char(b);
            continue;
        }
        held = false;
        if (QChar::isHighSurrogate(unit) && i + 1 < text.size() &&
            QChar::isLowSurrogate(text[i + 1].unicode()))
            ++i; // one character outside the plane, one '?'
        *out++ = '?';
    }
    bytes.truncate(out - bytes.constData());
    if (exact)
        *exact = held;
    return bytes;
}

} // namespace songwick
