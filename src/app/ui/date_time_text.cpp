#include "app/ui/date_time_text.h"

#include <QRegularExpression>

namespace songwick {
namespace {

// The locale's long time format less its time-zone field, which a duration does not have.
QString longTimeFormatWithoutZone(const QLocale& locale) {
    static const QRegularExpression zoneField(QStringLiteral("\\s*\\bt+\\b\\s*"));
    QString format = locale.timeFormat(QLocale::LongFormat);
    format.replace(zoneField, QStringLiteral(" "));
    return format.trimmed();
}

// The locale's short date format with the year in four digits: a two-digit year ("12/30/99",
// as some locales write it) cannot tell 1899 from 1999.
QString shortDateFormatWithFullYear(const QLocale& locale) {
    static const QRegularExpression twoDigitYear(QStringLiteral("(?<!y)yy(?!y)"));
    QString format = locale.dateFormat(QLocale::ShortFormat);
    format.replace(twoDigitYear, QStringLiteral("yyyy"));
    return format;
}

} // namespace

QString defaultDateTimeText(DateTimeValue value, const QLocale& locale) {
    const QDateTime moment = fromDateTimeValue(value);
    QString text = locale.toString(moment.date(), shortDateFormatWithFullYear(locale));
    if (moment.time() != QTime(0, 0))
        text += u' ' + locale.toString(moment.time(), longTimeFormatWithoutZone(locale));
    return text;
}

} // namespace songwick
