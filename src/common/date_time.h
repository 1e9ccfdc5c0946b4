#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>
#include <QStringView>

namespace songwick {

// Date-time values as the program stores them: days since 30 December 1899, local time,
// the fraction being the time of day.
using DateTimeValue = double;

DateTimeValue toDateTimeValue(const QDateTime& local);
QDateTime fromDateTimeValue(DateTimeValue value);

// Formats with the program's patterns ("dd.mm.yyy  hh.mm.ss", "dd.mmm.yyy  hh.mm.ss",
// "dd.mm.yyy", "hh.mm.ss"): dd day, mm month (minutes right after hh), mmm the locale's
// abbreviated month name, yyy four-digit year, hh hour 00-23, ss seconds; anything else
// stands for itself.
QString formatDateTime(DateTimeValue value, QStringView pattern,
                       const QLocale& locale = QLocale::system());

// The locale's abbreviated name of a month (1 to 12) without a trailing dot; the Russian one
// when the locale has no month names of its own (C, POSIX).
QString abbreviatedMonthName(int month, const QLocale& locale = QLocale::system());

inline constexpr const char16_t* kPatternDateTime = u"dd.mm.yyy  hh.mm.ss";
inline constexpr const char16_t* kPatternDateMonthNameTime = u"dd.mmm.yyy  hh.mm.ss";
inline constexpr const char16_t* kPatternDate = u"dd.mm.yyy";
inline constexpr const char16_t* kPatternTime = u"hh.mm.ss";

// The local clock, behind an interface so that tests can set the time.
class Clock {
public:
    virtual ~Clock() = default;
    virtual DateTimeValue now() const = 0;
};

class SystemClock final : public Clock {
public:
    DateTimeValue now() const override;
};

} // namespace songwick
