#include "app/ui/date_time_text.h"
#include "app/ui/fake_platform.h"
#include "app/ui/general_error_report.h"
#include "common/error.h"

#include <gtest/gtest.h>
#include <stdexcept>

namespace songwick::testing {
namespace {

TEST(FileFilterTest, PairsBecomeQtFilters) {
    EXPECT_EQ(toQtFileFilter(QStringLiteral("Файлы списка (Songwick)|*.swk|Все файлы|*.*")),
              QStringLiteral("Файлы списка (Songwick) (*.swk);;Все файлы (*.*)"));
    EXPECT_EQ(toQtFileFilter(QStringLiteral("Файлы списка (Songwick)|*.swk|")),
              QStringLiteral("Файлы списка (Songwick) (*.swk)"));
    EXPECT_EQ(toQtFileFilter(QStringLiteral("Файлы Excel|*.xls;*.xlsx")),
              QStringLiteral("Файлы Excel (*.xls *.xlsx)"));
    EXPECT_EQ(toQtFileFilter(QStringLiteral("Описание без шаблона")), QString());
}

TEST(FileFilterTest, DefaultExtensionOnlyForNamesWithoutOne) {
    const QString swk = QStringLiteral("swk");
    EXPECT_EQ(withDefaultExtension(QStringLiteral("/tmp/list"), swk),
              QStringLiteral("/tmp/list.swk"));
    EXPECT_EQ(withDefaultExtension(QStringLiteral("/tmp/list.txt"), swk),
              QStringLiteral("/tmp/list.txt"));
    EXPECT_EQ(withDefaultExtension(QStringLiteral("/tmp/a.b/list"), swk),
              QStringLiteral("/tmp/a.b/list.swk"));
    EXPECT_EQ(withDefaultExtension(QStringLiteral("/tmp/list"), QString()),
              QStringLiteral("/tmp/list"));
}

TEST(GeneralErrorReportTest, ShowsTheTextOfAnyFailureAndCarriesOn) {
    FakeMessageBoxes messages;
    EXPECT_TRUE(runReportingErrors(messages, nullptr, [] {}));
    EXPECT_FALSE(runReportingErrors(messages, nullptr,
                                    [] { throw Error(QStringLiteral("Файл не найден")); }));
    EXPECT_FALSE(runReportingErrors(messages, nullptr, [] { throw std::out_of_range("index"); }));
    EXPECT_FALSE(runReportingErrors(messages, nullptr, [] { throw 42; }));
    ASSERT_EQ(messages.shown.size(), 3);
    EXPECT_EQ(messages.shown.at(0), QStringLiteral("Файл не найден"));
    EXPECT_EQ(messages.shown.at(1), QStringLiteral("index"));
}

TEST(DefaultDateTimeTextTest, LeavesOutMidnightAndTheTimeZone) {
    const QLocale russian(QLocale::Russian, QLocale::Russia);
    EXPECT_EQ(defaultDateTimeText(0, russian), QStringLiteral("30.12.1899"));
    const QString elapsed = defaultDateTimeText(65.0 / 86400.0, russian);
    EXPECT_TRUE(elapsed.startsWith(QStringLiteral("30.12.1899 "))) << elapsed.toStdString();
    EXPECT_TRUE(elapsed.endsWith(QStringLiteral("0:01:05"))) << elapsed.toStdString();
}

} // namespace
} // namespace songwick::testing
