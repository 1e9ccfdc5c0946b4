#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace songwick {

// Rich Text Format as the text view saves its content: code page 1251, one font, every
// paragraph with an 11-point first-line indent. Letters of the code page are written as
// \'xx, every other character as \uN with '?' for readers without Unicode.
class RtfWriter {
public:
    // One paragraph per element; a line break inside an element starts a new paragraph.
    static QByteArray toRtf(const QStringList& paragraphs);

    // Writes atomically: the previous file stays whole when anything fails.
    // Throws Error with the reason when the file cannot be written.
    static void writeFile(const QString& path, const QStringList& paragraphs);
};

} // namespace songwick
