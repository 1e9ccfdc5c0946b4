#include "common/date_time.h"

#include <cmath>

namespace songwick {
namespace {

// A function, not a global, so that callers running during static start-up see it built.
QDate epoch() {
    return QDate(1899, 12, 30);
}
constexpr double kMillisecondsPerDay = 86400000.0;

QString twoDigits(int value) {
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

} // namespace

DateTimeValue toDateTimeValue(const QDateTime& local) {
    const QDateTime asLocal = local.toLocalTime();
    const double days = static_cast<double>(epoch().daysTo(asLocal.date()));
    const double fraction = asLocal.time().msecsSinceStartOfDay() / kMillisecondsPerDay;
    return days + fraction;
}

QDateTime fromDateTimeValue(DateTimeValue value) {
    const double wholeDays = std::floor(value);
    const auto milliseconds =
        static_cast<int>(std::llround((value - wholeDays) * kMillisecondsPerDay));
    QDate date = epoch().addDays(static_cast<qint64>(wholeDays));
    QTime time = QTime::fromMSecsSinceStartOfDay(0);
    if (milliseconds >= 86400000)
        date = date.addDays(1);
    else
        time = QTime::fromMSecsSinceStartOfDay(milliseconds);
    return QDateTime(date, time);
}

QString abbreviatedMonthName(int month, const QLocale& locale) {
    // The C locale has no month names of its own: the program speaks Russian.
    const QLocale named =
        locale.language() == QLocale::C ? QLocale(QLocale::Russian, QLocale::Russia) : locale;
    QString name = named.monthName(month, QLocale::ShortFormat);
    // The pattern puts its own dot after the month ("08.дек.2026").
    if (name.endsWith(u'.'))
        name.chop(1);
    return name;
}

QString formatDateTime(DateTimeValue value, QStringView pattern, const QLocale& locale) {
    const QDateTime moment = fromDateTimeValue(value);
    const QDate date = moment.date();
    const QTime time = moment.time();
    QString out;
    bool afterHour = false;
    for (qsizetype i = 0; i < pattern.size();) {
        const QStringView rest = pattern.mid(i);
        if (rest.startsWith(u"yyy")) {
            out += QStringLiteral("%1").arg(date.year(), 4, 10, QLatin1Char('0'));
            i += 3;
            afterHour = false;
        } else if (rest.startsWith(u"mmm")) {
            out += abbreviatedMonthName(date.month(), locale);
            i += 3;
            afterHour = false;
        } else if (rest.startsWith(u"mm")) {
            out += afterHour ? twoDigits(time.minute()) : twoDigits(date.month());
            i += 2;
            afterHour = false;
        } else if (rest.startsWith(u"dd")) {
            out += twoDigits(date.day());
            i += 2;
            afterHour = false;
        } else if (rest.startsWith(u"hh")) {
            out += twoDigits(time.hour());
            i += 2;
            afterHour = true;
        } else if (rest.startsWith(u"ss")) {
            out += twoDigits(time.second());
            i += 2;
            afterHour = false;
        } else {
            out += pattern[i];
            ++i;
        }
    }
    return out;
}

DateTimeValue SystemClock::now() const {
    return toDateTimeValue(QDateTime::currentDateTime());
}

} // namespace songwick
