#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringList>

namespace songwick {

// How a text file opened in the text view was read.
enum class TextFileFormat {
    Rtf,
    Utf8,
    Cp1251,
};

struct TextFileContent {
    TextFileFormat format = TextFileFormat::Utf8;
    QStringList lines;
};

// A text file as the text view opens it: as RTF when it begins as RTF does, else as UTF-8
// when its bytes are valid UTF-8 (a byte order mark is dropped), else as Windows-1251.
// Plain text is split at CR LF, LF and CR; a final line break does not start an empty line.
TextFileContent decodeTextFile(QByteArrayView bytes);

// Throws Error when the file cannot be opened or read.
TextFileContent readTextFile(const QString& path);

} // namespace songwick
