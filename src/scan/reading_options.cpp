#include "scan/reading_options.h"

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

QByteArray readingKey(const ReadingOptions& reading) {
    if (reading.reading == KarReading::Program)
        return "program";
    return "structured;" + reading.structured.codePage.toUtf8() + ';' +
           reading.structured.fileNamePatterns.join(u'\n').toUtf8();
}

} // namespace songwick
