#include "common/date_time.h"

#include <gtest/gtest.h>

using namespace songwick;

TEST(DateTime, DaysCountFromTheLastDaysOf1899) {
    EXPECT_DOUBLE_EQ(toDateTimeValue(QDateTime(QDate(1899, 12, 30), QTime(0, 0))), 0.0);
    EXPECT_DOUBLE_EQ(toDateTimeValue(QDateTime(QDate(1900, 1, 1), QTime(18, 0))), 2.75);
    const QDateTime moment(QDate(2026, 12, 8), QTime(19, 5, 42));
    EXPECT_EQ(fromDateTimeValue(toDateTimeValue(moment)), moment);
}

TEST(DateTime, PatternsOfTheProgram) {
    const DateTimeValue value = toDateTimeValue(QDateTime(QDate(2024, 3, 7), QTime(9, 4, 5)));
    EXPECT_EQ(formatDateTime(value, kPatternDateTime), QStringLiteral("07.03.2024  09.04.05"));
    EXPECT_EQ(formatDateTime(value, kPatternDate), QStringLiteral("07.03.2024"));
    EXPECT_EQ(formatDateTime(value, kPatternTime), QStringLiteral("09.04.05"));
    const QLocale russian(QLocale::Russian, QLocale::Russia);
    EXPECT_EQ(formatDateTime(value, kPatternDateMonthNameTime, russian),
              QStringLiteral("07.мар.2024  09.04.05"));
}

TEST(DateTime, MonthNamesHaveOneDotAndAreRussianInTheCLocale) {
    const DateTimeValue value = toDateTimeValue(QDateTime(QDate(2026, 12, 8), QTime(12, 0)));
    const QLocale russian(QLocale::Russian, QLocale::Russia);
    EXPECT_EQ(formatDateTime(value, kPatternDateMonthNameTime, russian),
              QStringLiteral("08.дек.2026  12.00.00"));
    EXPECT_EQ(formatDateTime(value, kPatternDateMonthNameTime, QLocale::c()),
              QStringLiteral("08.дек.2026  12.00.00"));
    EXPECT_EQ(formatDateTime(value, kPatternDateMonthNameTime, QLocale(QLocale::German)),
              QStringLiteral("08.Dez.2026  12.00.00"));
}
