#include "textview/text_file.h"

#include "common/cp1251_codec.h"
#include "common/error.h"
#include "common/system_error.h"
#include "textview/rtf_reader.h"

#include <QFile>
#include <QStringDecoder>

namespace songwick {
namespace {

QStringList splitPlainLines(const QString& text) {
    QStringList lines;
    qsizetype lineStart = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c != u'\n' && c != u'\r')
            continue;
        lines.append(text.sliced(lineStart, i - lineStart));
        if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            ++i;
        lineStart = i + 1;
    }
    if (lineStart < text.size())
        lines.append(text.sliced(lineStart));
    return lines;
}

} // namespace

TextFileContent decodeTextFile(QByteArrayView bytes) {
    if (RtfReader::isRtf(bytes))
        return {TextFileFormat::Rtf, RtfReader::toLines(bytes)};
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString asUtf8 = utf8.decode(bytes); // drops a byte order mark
    if (!utf8.hasError())
        return {TextFileFormat::Utf8, splitPlainLines(asUtf8)};
    return {TextFileFormat::Cp1251, splitPlainLines(decodeCp1251(bytes))};
}

TextFileContent readTextFile(const QString& path) {
    try {
        return decodeTextFile(readWholeFile(path));
    } catch (const Error& error) {
        throw Error(QStringLiteral("Failed to Load Stream: ") + error.message());
    }
}

} // namespace songwick
