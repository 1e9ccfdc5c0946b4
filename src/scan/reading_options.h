#pragma once

#include "scan/code_page.h"
#include "scan/file_name_patterns.h"

#include <QSettings>
#include <QString>
#include <QStringList>

namespace songwick {

// How a scan reads the descriptive texts of a file: by the program's byte rules, or from the
// file's MIDI structure.
enum class KarReading { Program, Structured };

struct StructuredReadingOptions {
    QString codePage = kAutomaticCodePage; // "auto" or a key of knownCodePages()
    QStringList fileNamePatterns = defaultFileNamePatterns();
};

struct ReadingOptions {
    KarReading reading = KarReading::Program;
    StructuredReadingOptions structured;
};

// The options of the group "reading" of the options file; a missing or unknown value reads as
// its default.
ReadingOptions loadReadingOptions(QSettings& options);
void saveReadingOptions(QSettings& options, const ReadingOptions& reading);

// "program" / "structured" as the options file and the command line name them.
QString readingName(KarReading reading);

// A fingerprint of everything that changes what a scan reads from a file, for caches of
// readings: the method, and for the structured reading its code page, its patterns and the
// revision of its rules (any change of the scan's sources makes a new one).
QByteArray readingKey(const ReadingOptions& reading);
// How every structured key of this build begins: "structured/", the revision, "/".
QByteArray structuredRevisionKey();

} // namespace songwick
