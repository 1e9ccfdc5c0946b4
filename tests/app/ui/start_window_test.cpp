#include "app/ui/clickable_label.h"
#include "app/ui/folder_read_override.h"
#include "app/ui/karaoke_folder.h"
#include "app/ui/program_fixture.h"
#include "catalogue/ui/catalogue_table_model.h"
#include "scan/ui/scan_progress.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

namespace songwick::testing {
namespace {

class StartWindowTest : public ::testing::Test {
protected:
    QTemporaryDir root;
    ProgramUnderTest program{root.filePath(QStringLiteral("prop.dat"))};
};

TEST_F(StartWindowTest, ElapsedTimeLabelShowsTheTimeSinceTheStart) {
    ASSERT_TRUE(program.start());
    TForm1* window = program.startWindow();
    program.platform.clock.value += 5.0 / 86400.0;
    QTest::mouseClick(window->Label1, Qt::LeftButton);
    const QString first = window->StaticText1->text();
    EXPECT_TRUE(first.contains(QStringLiteral("1899"))) << first.toStdString();
    EXPECT_TRUE(first.contains(QStringLiteral("05"))) << first.toStdString();

    program.platform.clock.value += 2.0 / 86400.0;
    QTest::mouseClick(window->Label1, Qt::LeftButton);
    EXPECT_NE(window->StaticText1->text(), first);
}

TEST_F(StartWindowTest, InterruptingTheScanKeepsTheFilesFoundSoFar) {
    const QString karaoke =
        makeKaraokeFolder(root, QStringLiteral("one")) + QStringLiteral("/twinkle.kar");
    const QString folder = root.filePath(QStringLiteral("many"));
    QDir().mkpath(folder);
    for (int file = 0; file < 300; ++file)
        QFile::copy(karaoke, folder + QStringLiteral("/f%1.kar").arg(file, 3, 10, QChar(u'0')));
    ASSERT_TRUE(program.start());
    program.platform.dialogs.folders.push_back(folder);
    // The button appears with the walk; the click arrives at the walk's first progress step.
    bool buttonSeen = false;
    QTimer::singleShot(0, program.startWindow(), [&] {
        auto* button =
            program.startWindow()->findChild<QPushButton*>(QLatin1String(kInterruptScanButtonName));
        ASSERT_NE(button, nullptr);
        buttonSeen = button->isVisible() && button->text() == QStringLiteral("Прервать");
        QTest::mouseClick(program.startWindow()->Button1, Qt::LeftButton); // blocked
        QTest::mouseClick(button, Qt::LeftButton);
    });
    QTest::mouseClick(program.startWindow()->Button1, Qt::LeftButton);
    EXPECT_TRUE(buttonSeen);
    // Where the walk stops depends on when it first lets events through: at its first progress
    // step, or earlier on a slow machine, when it repaints.
    const int found = program.registry->catalogue().startWindowStore.count();
    EXPECT_GT(found, 0);
    EXPECT_LE(found, 250);
    EXPECT_TRUE(program.platform.messages.shown.isEmpty());
    ASSERT_TRUE(QTest::qWaitForWindowActive(program.mainWindow()));
    EXPECT_EQ(program.mainWindow()->tableModel->rowCount(), found);
    EXPECT_EQ(
        program.startWindow()->findChild<QPushButton*>(QLatin1String(kInterruptScanButtonName)),
        nullptr);
    EXPECT_EQ(program.platform.dialogs.folderStarts.size(), 1);
}

TEST_F(StartWindowTest, AFolderThatCannotBeReadIsNamedAfterTheScan) {
    const QString folder = makeKaraokeFolder(root, QStringLiteral("songs"));
    const QString locked = folder + QStringLiteral("/locked");
    ASSERT_TRUE(QDir().mkpath(locked));
    ASSERT_TRUE(QFile::setPermissions(locked, {}));
    ASSERT_TRUE(program.start());
    program.platform.dialogs.folders.push_back(folder);
    {
        const WithoutFolderReadOverride unprivileged;
        if (!unprivileged.works()) {
            QFile::setPermissions(locked, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            GTEST_SKIP() << "root's power to read every folder could not be put aside";
        }
        QTest::mouseClick(program.startWindow()->Button1, Qt::LeftButton);
    }
    QFile::setPermissions(locked, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    EXPECT_EQ(program.registry->catalogue().startWindowStore.count(), 3);
    ASSERT_EQ(program.platform.messages.shown.size(), 1);
    EXPECT_EQ(program.platform.messages.shown.front(),
              QStringLiteral("Не удалось прочитать папок: 1. Первая: %1 (Отказано в доступе)")
                  .arg(locked));
    EXPECT_EQ(program.startWindow()->Label3->text(), QStringLiteral("Ошибка!!!!"));
}

TEST_F(StartWindowTest, ActivationCentresThePictureAndTheButton) {
    ASSERT_TRUE(program.start());
    TForm1* window = program.startWindow();
    EXPECT_EQ(window->Button1->x(), window->width() / 2 - window->Button1->width() / 2);
    EXPECT_EQ(window->image2->x(), window->width() / 2 - window->image2->width() / 2);
}

TEST_F(StartWindowTest, PictureTravelsRightAndStartsAgainAtTheLeft) {
    TForm1* window = program.startWindow();
    EXPECT_FALSE(window->Timer1->isActive()) << "not before the window shows";
    window->show();
    EXPECT_TRUE(window->Timer1->isActive());
    const int y = window->Image1->y();
    const auto tickAfter = [&](double milliseconds) {
        program.platform.clock.value += milliseconds / 86400000.0;
        window->Timer1Timer();
        return window->Image1->x();
    };
    window->Image1->move(window->width() - 46, y);
    EXPECT_EQ(tickAfter(2), window->width() - 44); // one pixel per millisecond
    EXPECT_EQ(tickAfter(1), 5);                    // past the right edge: from the left again
    EXPECT_EQ(tickAfter(0), 6);                    // a tick moves it at least one pixel
    EXPECT_EQ(tickAfter(-60000), 7);               // the clock set back
    window->Image1->move(10, y);
    // An hour counts as a second: 1000 pixels round the lap from 5 to width - 44.
    EXPECT_EQ(tickAfter(3600000), 5 + (10 - 5 + 1000) % (window->width() - 48));
    EXPECT_EQ(window->Image1->y(), y);

    // Hidden, as behind the main window, the picture rests and asks no clock.
    window->hide();
    EXPECT_FALSE(window->Timer1->isActive());
    window->show();
    EXPECT_TRUE(window->Timer1->isActive());
}

TEST_F(StartWindowTest, MenuOffersOnlyWhatTheStartWindowDoes) {
    TForm1* window = program.startWindow();
    EXPECT_TRUE(window->N2->isEnabled());
    EXPECT_TRUE(window->N3->isEnabled());
    EXPECT_FALSE(window->N5->isEnabled());
    EXPECT_FALSE(window->N11->isEnabled());
    EXPECT_FALSE(window->N14->isVisible());
    EXPECT_EQ(window->N1->title(), QStringLiteral("&Файл"));
    EXPECT_EQ(window->N15->text(), QStringLiteral("&Выход"));
    EXPECT_EQ(window->Button1->toolTip(), QStringLiteral("Начнем?"));
}

TEST_F(StartWindowTest, ForeignListFileIsReportedAndTheStartWindowStays) {
    const QString path = root.filePath(QStringLiteral("foreign.swk"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArrayLiteral("Something else\r\n2\r\n7\r\n"));
    file.close();
    ASSERT_TRUE(program.start());
    program.platform.dialogs.opens.push_back(path);
    ASSERT_TRUE(QTest::qWaitForWindowActive(program.startWindow()));
    QTest::keyClick(program.startWindow(), Qt::Key_O, Qt::ControlModifier); // as in the main window
    ProgramUnderTest::settle();
    ASSERT_EQ(program.platform.messages.shown.size(), 1);
    EXPECT_TRUE(program.platform.messages.shown.constFirst().startsWith(
        QStringLiteral("Данный файл не является файлом Songwick.")));
    EXPECT_FALSE(program.mainWindow()->isVisible()); // nothing was loaded to show there
    EXPECT_TRUE(program.startWindow()->isVisible());
}

TEST_F(StartWindowTest, MissingListFileIsReportedAndTheStartWindowStays) {
    ASSERT_TRUE(program.start());
    program.platform.dialogs.opens.push_back(root.filePath(QStringLiteral("missing.swk")));
    program.startWindow()->N3->trigger();
    ProgramUnderTest::settle();
    EXPECT_EQ(program.platform.messages.shown.size(), 1);
    EXPECT_TRUE(program.startWindow()->isVisible());
    EXPECT_FALSE(program.mainWindow()->isVisible());
}

} // namespace
} // namespace songwick::testing
