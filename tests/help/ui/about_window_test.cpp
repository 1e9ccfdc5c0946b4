#include "app/ui/clickable_label.h"
#include "app/ui/date_time_text.h"
#include "app/ui/program_fixture.h"
#include "help/help_topics.h"
#include "help/ui/about_window.h"
#include "help/ui/splash_window.h"

#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

namespace songwick {
namespace {

using testing::ProgramUnderTest;

class AboutWindowTest : public ::testing::Test {
protected:
    AboutWindowTest()
        : program(folder.filePath(QStringLiteral("prop.dat"))), about(*program.registry) {}
    ~AboutWindowTest() override { about.hide(); }

    void open() {
        WindowRegistry::showWindow(&about);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&about));
        ProgramUnderTest::settle();
    }

    QTemporaryDir folder;
    ProgramUnderTest program;
    TForm5 about;
};

TEST_F(AboutWindowTest, ShowsWhenTheProgramLastEnded) {
    // 8 December 2026, 12:30:15.
    program.registry->settings().LastShutdownTime = 46364.0 + (12 * 3600 + 30 * 60 + 15) / 86400.0;
    program.registry->settings().TotalRunTime = 0.25;
    open();
    EXPECT_EQ(about.Label7->text(),
              QStringLiteral("Время последнего выключения программы: ") +
                  defaultDateTimeText(program.registry->settings().LastShutdownTime));
    EXPECT_TRUE(about.Label7->text().contains(QStringLiteral("2026")));
    EXPECT_TRUE(about.Label7->text().contains(QStringLiteral("12")));
    EXPECT_TRUE(about.Label8->isHidden());
    EXPECT_TRUE(about.Label8->text().startsWith(QStringLiteral("Время работы программы: ")));
}

TEST_F(AboutWindowTest, AboutAndHelpNameTheProgramsThatOpenTheExports) {
    open();
    QStringList texts{about.Label6->text(), officeNote()};
    for (const HelpTopic& topic : helpTopics())
        texts << topic.answer << topic.answers;
    for (const QString& text : texts) {
        EXPECT_FALSE(text.contains(QStringLiteral("Офис 97"))) << text.toStdString();
        EXPECT_FALSE(text.contains(QStringLiteral("Ms Office соответствующей версии")))
            << text.toStdString();
    }
    EXPECT_TRUE(about.Label6->text().contains(QStringLiteral("LibreOffice")));
    EXPECT_TRUE(officeNote().contains(QStringLiteral("LibreOffice")));
    EXPECT_LE(about.Label6->sizeHint().width(), about.width() - 24);
}

TEST_F(AboutWindowTest, WithoutASettingsFileTheLineShowsTheZeroDate) {
    open();
    EXPECT_EQ(about.Label7->text(),
              QStringLiteral("Время последнего выключения программы: ") + defaultDateTimeText(0));
    EXPECT_TRUE(about.Label7->text().contains(QStringLiteral("1899")));
    // Midnight: the date alone, no time.
    EXPECT_FALSE(about.Label7->text().section(QStringLiteral(": "), 1).contains(u':'));
}

TEST_F(AboutWindowTest, ThePictureStartsFromTheCentreAndTravelsBetweenTheMargins) {
    open();
    EXPECT_TRUE(about.Timer1->isActive());
    about.FormActivate(); // no tick in between
    about.Timer1->stop();
    const int centre = about.frameGeometry().width() / 2 - about.Image1->width() / 2;
    EXPECT_EQ(about.Image1->x(), centre);

    about.Timer1Timer();
    EXPECT_EQ(about.Image1->x(), centre + 2);
    const int rightMargin = about.frameGeometry().width() - about.Image1->width() - 10;
    while (!about.pictureMovesLeft())
        about.Timer1Timer();
    EXPECT_GT(about.Image1->x(), rightMargin);
    EXPECT_LE(about.Image1->x(), rightMargin + 2);
    while (about.pictureMovesLeft())
        about.Timer1Timer();
    EXPECT_LT(about.Image1->x(), 5);
    EXPECT_GE(about.Image1->x(), 3);

    // Coming back to the window starts it from the centre again, moving right.
    about.FormActivate();
    EXPECT_EQ(about.Image1->x(), centre);
    EXPECT_FALSE(about.pictureMovesLeft());
}

TEST_F(AboutWindowTest, OkKeepsTheTimerRunningClosingStopsIt) {
    open();
    QTest::mouseClick(about.Button1, Qt::LeftButton);
    EXPECT_TRUE(about.isHidden());
    EXPECT_TRUE(about.Timer1->isActive());
    open();
    about.close();
    EXPECT_TRUE(about.isHidden());
    EXPECT_FALSE(about.Timer1->isActive());
}

TEST(SplashWindowTest, HasNoTitleBarAndHidesOnAClickOnItsPicture) {
    TSplashForm splash;
    EXPECT_TRUE(splash.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_EQ(splash.size(), QSize(520, 393));
    EXPECT_EQ(splash.Image1->geometry(), QRect(3, 4, 514, 386));
    EXPECT_EQ(splash.Image1->pixmap().size(), QSize(514, 386));
    EXPECT_EQ(splash.Image1->toolTip(), QStringLiteral("Кликните, чтобы закрыть окно"));
    splash.showAndPaint();
    EXPECT_TRUE(splash.isVisible());
    QTest::mouseClick(splash.Image1, Qt::LeftButton);
    EXPECT_TRUE(splash.isHidden());
}

} // namespace
} // namespace songwick
