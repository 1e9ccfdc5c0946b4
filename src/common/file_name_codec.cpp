#include "common/file_name_codec.h"

#include "common/ascii_text.h"

namespace songwick {
namespace {

constexpr char16_t kFirstEscape = 0xDC80;
constexpr char16_t kLastEscape = 0xDCFF;

bool isContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

// Length of the valid UTF-8 sequence at bytes[i], 0 when there is none (overlong forms,
// surrogates and code points past U+10FFFF are not valid).
int validSequenceLength(QByteArrayView bytes, qsizetype i, char32_t& codePoint) {
    const auto lead = static_cast<unsigned char>(bytes[i]);
    int length = 0;
    char32_t minimum = 0;
    if (lead < 0x80) {
        codePoint = lead;
        return 1;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2, minimum = 0x80, codePoint = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, minimum = 0x800, codePoint = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, minimum = 0x10000, codePoint = lead & 0x07;
    } else {
        return 0;
    }
    if (i + length > bytes.size())
        return 0;
    for (int k = 1; k < length; ++k) {
        const auto byte = static_cast<unsigned char>(bytes[i + k]);
        if (!isContinuation(byte))
            return 0;
        codePoint = (codePoint << 6) | (byte & 0x3F);
    }
    if (codePoint < minimum || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF))
        return 0;
    return length;
}

void appendUtf8(QByteArray& out, char32_t codePoint) {
    if (codePoint < 0x80) {
        out.append(char(codePoint));
    } else if (codePoint < 0x800) {
        out.append(char(0xC0 | (codePoint >> 6)));
        out.append(char(0x80 | (codePoint & 0x3F)));
    } else if (codePoint < 0x10000) {
        out.append(char(0xE0 | (codePoint >> 12)));
        out.append(char(0x80 | ((codePoint >> 6) & 0x3F)));
        out.append(char(0x80 | (codePoint & 0x3F)));
    } else {
        out.append(char(0xF0 | (codePoint >> 18)));
        out.append(char(0x80 | ((codePoint >> 12) & 0x3F)));
        out.append(char(0x80 | ((codePoint >> 6) & 0x3F)));
        out.append(char(0x80 | (codePoint & 0x3F)));
    }
}

} // namespace

QString decodeFileName(QByteArrayView bytes) {
    if (isAscii(bytes)) // most names
        return QString::fromLatin1(bytes);
    // No byte gives more than one UTF-16 unit, but for the four of a sequence that gives two.
    QString name(bytes.size(), Qt::Uninitialized);
    QChar* out = name.data();
    for (qsizetype i = 0; i < bytes.size();) {
        char32_t codePoint = 0;
        const int length = validSequenceLength(bytes, i, codePoint);
        if (length == 0) {
            *out++ = QChar(char16_t(kFirstEscape + (static_cast<unsigned char>(bytes[i]) - 0x80)));
            ++i;
            continue;
        }
        if (codePoint < 0x10000) {
            *out++ = QChar(char16_t(codePoint));
        } else {
            *out++ = QChar(QChar::highSurrogate(codePoint));
            *out++ = QChar(QChar::lowSurrogate(codePoint));
        }
        i += length;
    }
    name.truncate(out - name.constData());
    return name;
}

QByteArray encodeFileName(const QString& name) {
    QByteArray bytes;
    bytes.reserve(name.size());
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char16_t unit = name[i].unicode();
        if (unit >= kFirstEscape && unit <= kLastEscape) {
            bytes.append(char(0x80 + (unit - kFirstEscape)));
        } else if (QChar::isHighSurrogate(unit) && i + 1 < name.size() &&
                   QChar::isLowSurrogate(name[i + 1].unicode())) {
            appendUtf8(bytes, QChar::surrogateToUcs4(unit, name[i + 1].unicode()));
            ++i;
        } else if (QChar::isSurrogate(unit)) {
            bytes.append('?'); // a lone surrogate no decoding gives
        } else {
            appendUtf8(bytes, unit);
        }
    }
    return bytes;
}

QString displayFileName(const QString& name) {
    QString shown = name;
    for (QChar& c : shown)
        if (c.unicode() >= kFirstEscape && c.unicode() <= kLastEscape)
            c = QChar(QChar::ReplacementCharacter);
    return shown;
}

} // namespace songwick
