#include "textview/rtf_writer.h"

#include "common/cp1251_codec.h"
#include "common/error.h"
#include "common/file_write.h"

#include <array>

namespace songwick {
namespace {

// 11 points in twips.
constexpr int kFirstLineIndentTwips = 220;

const char kHeader[] = "{\\rtf1\\ansi\\ansicpg1251\\deff0\\deflang1049"
                       "{\\fonttbl{\\f0\\fswiss\\fcharset204 Arial;}}\r\n"
                       "{\\*\\generator Songwick;}\\viewkind4\\uc1\r\n";

// Code page 1251 byte of each character of the Basic Multilingual Plane, 0 for none.
struct Cp1251Bytes {
    std::array<unsigned char, 0x10000> bytes{};

    Cp1251Bytes() {
        for (int b = 0x80; b < 0x100; ++b)
            bytes[cp1251ToUnicode(static_cast<unsigned char>(b))] = static_cast<unsigned char>(b);
        // U+0098 is carried on byte 0x98, which the code page leaves unassigned; other
        // readers would not give the same character back.
        bytes[0x98] = 0;
    }
};

unsigned char cp1251Byte(char16_t unit) {
    static const Cp1251Bytes table;
    return table.bytes[unit];
}

void appendHex(QByteArray& out, unsigned char byte) {
    static const char kDigits[] = "0123456789abcdef";
    const char escape[4] = {'\\', '\'', kDigits[byte >> 4], kDigits[byte & 0x0F]};
    out.append(escape, 4);
}

void appendUnicode(QByteArray& out, char16_t unit) {
    // The control word's parameter is a signed 16-bit number.
    const int signedUnit = unit > 0x7FFF ? int(unit) - 0x10000 : int(unit);
    out.append("\\u");
    out.append(QByteArray::number(signedUnit));
    out.append('?');
}

void appendCharacter(QByteArray& out, char16_t unit) {
    switch (unit) {
    case u'\\':
        out.append("\\\\");
        return;
    case u'{':
        out.append("\\{");
        return;
    case u'}':
        out.append("\\}");
        return;
    case u'\t':
        out.append("\\tab ");
        return;
    default:
        break;
    }
    if (unit < 0x20)
        return; // control characters have no place in the text
    if (unit < 0x80) {
        out.append(char(unit));
        return;
    }
    const unsigned char byte = cp1251Byte(unit);
    if (byte == 0)
        appendUnicode(out, unit);
    else
        appendHex(out, byte);
}

void appendParagraph(QByteArray& out, QStringView text) {
    out.append("\\pard\\fi");
    out.append(QByteArray::number(kFirstLineIndentTwips));
    out.append("\\f0\\fs20 ");
    for (const QChar character : text)
        appendCharacter(out, character.unicode());
    out.append("\\par\r\n");
}

} // namespace

QByteArray RtfWriter::toRtf(const QStringList& paragraphs) {
    QByteArray out(kHeader);
    qsizetype expected = 0;
    for (const QString& paragraph : paragraphs)
        expected += paragraph.size() * 4 + 32; // most letters take four bytes
    out.reserve(out.size() + expected + 4);
    for (const QString& paragraph : paragraphs) {
        QStringView rest(paragraph);
        for (;;) {
            const qsizetype lineEnd = rest.indexOf(u'\n');
            QStringView line = lineEnd < 0 ? rest : rest.first(lineEnd);
            if (line.endsWith(u'\r'))
                line.chop(1);
            appendParagraph(out, line);
            if (lineEnd < 0)
                break;
            rest = rest.sliced(lineEnd + 1);
        }
    }
    out.append("}\r\n");
    return out;
}

void RtfWriter::writeFile(const QString& path, const QStringList& paragraphs) {
    const QByteArray bytes = toRtf(paragraphs);
    try {
        writeFileAtomically(path, bytes);
    } catch (const Error& error) {
        throw Error(QStringLiteral("Failed to Save Stream: %1").arg(error.message()));
    }
}

} // namespace songwick
