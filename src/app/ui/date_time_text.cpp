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

} // namespace

QString defaultDateTimeText(DateTimeValue value, const QLocale& locale) {
    const QDateTime moment = fromDateTimeValue(value);
    QString text = locale.toString(moment.date(), QLocale::ShortFormat);
    if (moment.time() != QTime(0, 0))
        text += u' ' + locale.toString(moment.time(), longTimeFormatWithoutZone(locale));
    return text;
}

} // namespace songwick
