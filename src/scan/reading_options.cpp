#include "scan/reading_options.h"

#include "scan/structured_reading_revision.h"

#include <QCryptographicHash>

namespace songwick {
namespace {

const QString kMethodKey = QStringLiteral("reading/method");
const QString kCodePageKey = QStringLiteral("reading/codePage");
const QString kPatternsKey = QStringLiteral("reading/fileNamePatterns");

} // namespace

QString readingName(KarReading reading) {
    return reading == KarReading::Structured ? QStringLiteral("structured")
                                             : QStringLiteral("program");
}

ReadingOptions loadReadingOptions(QSettings& options) {
    ReadingOptions reading;
    if (options.value(kMethodKey).toString() == readingName(KarReading::Structured))
        reading.reading = KarReading::Structured;
    const QString codePage = options.value(kCodePageKey).toString();
    if (findCodePage(codePage))
        reading.structured.codePage = codePage;
    if (options.contains(kPatternsKey))
        reading.structured.fileNamePatterns = options.value(kPatternsKey).toStringList();
    return reading;
}

void saveReadingOptions(QSettings& options, const ReadingOptions& reading) {
    options.setValue(kMethodKey, readingName(reading.reading));
    options.setValue(kCodePageKey, reading.structured.codePage);
    options.setValue(kPatternsKey, reading.structured.fileNamePatterns);
    options.sync();
}

QByteArray structuredRevisionKey() {
    return QByteArrayLiteral("structured/") + kStructuredReadingRevision + '/';
}

QByteArray readingKey(const ReadingOptions& reading) {
    if (reading.reading == KarReading::Program)
        return "program";
    // Each part with its length, so that no two lists of options give the same bytes; hashed,
    // so that the key stays short in every cache entry.
    QCryptographicHash hash(QCryptographicHash::Sha256);
    const auto addPart = [&hash](const QByteArray& part) {
        hash.addData(QByteArray::number(part.size()) + ':');
        hash.addData(part);
    };
    addPart(reading.structured.codePage.toUtf8());
    for (const QString& pattern : reading.structured.fileNamePatterns)
        addPart(pattern.toUtf8());
    return structuredRevisionKey() + hash.result().first(12).toHex();
}

} // namespace songwick
