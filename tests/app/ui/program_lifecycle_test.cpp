#include "app/ui/close_question_window.h"
#include "app/ui/karaoke_folder.h"
#include "app/ui/program_fixture.h"
#include "catalogue/list_file.h"
#include "catalogue/ui/catalogue_table_model.h"
#include "catalogue/ui/catalogue_table_view.h"
#include "common/small_file_system.h"
#include "rename/ui/composite_rename_window.h"
#include "scan/ui/scan_options_window.h"
#include "settings/options_file.h"
#include "settings/settings_file.h"
#include "settings/ui/general_settings_window.h"

#include <QAbstractItemModelTester>
#include <QCheckBox>
#include <QFileInfo>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <gtest/gtest.h>

namespace songwick::testing {
namespace {

class ProgramLifecycleTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(root.isValid());
        settingsPath = root.filePath(QStringLiteral("config/prop.dat"));
        karaokeFolder = makeKaraokeFolder(root, QStringLiteral("songs"));
    }

    std::unique_ptr<ProgramUnderTest> startProgram() {
        auto program = std::make_unique<ProgramUnderTest>(settingsPath);
        EXPECT_TRUE(program->start());
        return program;
    }

    // Scans the karaoke folder from the start window and waits for the main window.
    static void scanFromStartWindow(ProgramUnderTest& program, const QString& folder) {
        program.platform.dialogs.folders.push_back(folder);
        QTest::mouseClick(program.startWindow()->Button1, Qt::LeftButton);
        ASSERT_TRUE(QTest::qWaitForWindowActive(program.mainWindow()));
        ProgramUnderTest::settle();
    }

    static QString cell(ProgramUnderTest& program, int column, int row) {
        return program.mainWindow()->table().cell(column, row);
    }

    QTemporaryDir root;
    QString settingsPath;
    QString karaokeFolder;
};

TEST_F(ProgramLifecycleTest, ScanFromStartWindowFillsTheTable) {
    auto program = startProgram();
    QAbstractItemModelTester tester(program->mainWindow()->tableModel,
                                    QAbstractItemModelTester::FailureReportingMode::Fatal);
    scanFromStartWindow(*program, karaokeFolder);

    TForm4* mainWindow = program->mainWindow();
    EXPECT_FALSE(program->startWindow()->isVisible());
    EXPECT_TRUE(mainWindow->isVisible());
    EXPECT_EQ(mainWindow->tableModel->rowCount(), 3);
    EXPECT_EQ(mainWindow->Label3->text(),
              QStringLiteral("Обработано и помещено в таблицу 3 файла(ов)"));
    EXPECT_EQ(mainWindow->tableModel->headerData(1, Qt::Horizontal), QStringLiteral("Имя файла"));
    EXPECT_EQ(cell(*program, 0, 3), QStringLiteral("3"));
    EXPECT_EQ(cell(*program, 2, 1), karaokeFolder + u'/');
    EXPECT_EQ(program->registry->settings().LastFolder, karaokeFolder);
    EXPECT_TRUE(program->platform.messages.shown.isEmpty());
    // Status line ends 10 pixels from the right edge, also after a resize.
    const auto rightGap = [mainWindow] {
        return mainWindow->centralWidget()->width() -
               (mainWindow->Label3->x() + mainWindow->Label3->width());
    };
    EXPECT_EQ(rightGap(), 10);
    mainWindow->resize(mainWindow->width() + 57, mainWindow->height());
    EXPECT_EQ(rightGap(), 10);
}

TEST_F(ProgramLifecycleTest, ChosenFolderThatDoesNotExistIsCreatedAndGivesAnEmptyTable) {
    auto program = startProgram();
    const QString missing = root.filePath(QStringLiteral("new/empty"));
    scanFromStartWindow(*program, missing);
    EXPECT_TRUE(QFileInfo(missing).isDir());
    EXPECT_EQ(program->mainWindow()->tableModel->rowCount(), 0);
    EXPECT_EQ(program->mainWindow()->Label3->text(),
              QStringLiteral("Обработано и помещено в таблицу 0 файла(ов)"));
}

TEST_F(ProgramLifecycleTest, CancelledChooserLeavesTheStartWindowAsItWas) {
    auto program = startProgram();
    QTest::mouseClick(program->startWindow()->Button1, Qt::LeftButton);
    ProgramUnderTest::settle();
    EXPECT_TRUE(program->startWindow()->isVisible());
    EXPECT_FALSE(program->mainWindow()->isVisible());
    EXPECT_FALSE(program->startWindow()->ProgressBar1->isVisible());
    EXPECT_TRUE(program->startWindow()->Image1->isVisible());
}

TEST_F(ProgramLifecycleTest, NewScanWithUnsavedChangesAsksFirstAndCancelChangesNothing) {
    auto program = startProgram();
    scanFromStartWindow(*program, karaokeFolder);
    TForm12* question = program->registry->form12();

    program->mainWindow()->N2->trigger();
    ProgramUnderTest::settle();
    EXPECT_TRUE(question->isVisible());
    EXPECT_EQ(question->QuestionReason, TForm12::StartingNewScan);
    EXPECT_EQ(program->platform.dialogs.folderStarts.size(), 1); // only the first scan's

    QTest::mouseClick(question->Button3, Qt::LeftButton);
    ProgramUnderTest::settle();
    EXPECT_FALSE(question->isVisible());
    EXPECT_EQ(question->QuestionReason, TForm12::NoReason);
    EXPECT_EQ(program->platform.dialogs.folderStarts.size(), 1);
    EXPECT_TRUE(program->registry->catalogue().mainTable.modified);
    EXPECT_EQ(program->mainWindow()->tableModel->rowCount(), 3);
    EXPECT_EQ(program->endCount, 0);
}

TEST_F(ProgramLifecycleTest, NoOnTheNewScanQuestionScansWithoutSaving) {
    auto program = startProgram();
    scanFromStartWindow(*program, karaokeFolder);
    const QString other = root.filePath(QStringLiteral("other"));
    QDir().mkpath(other);
    QFile::copy(karaokeFolder + QStringLiteral("/twinkle.kar"), other + QStringLiteral("/a.kar"));

    program->mainWindow()->N2->trigger();
    ProgramUnderTest::settle();
    program->platform.dialogs.folders.push_back(other);
    QTest::mouseClick(program->registry->form12()->Button2, Qt::LeftButton);
    ProgramUnderTest::settle();

    EXPECT_TRUE(program->platform.dialogs.saveFilters.isEmpty());
    EXPECT_EQ(program->endCount, 0);
    EXPECT_EQ(program->mainWindow()->tableModel->rowCount(), 1);
    EXPECT_EQ(cell(*program, 1, 1), QStringLiteral("a.kar"));
    EXPECT_EQ(program->registry->catalogue().tableSource, TableSource::MainWindowStore);
    EXPECT_TRUE(program->registry->catalogue().mainTable.modified);
}

TEST_F(ProgramLifecycleTest, YesOnTheNewScanQuestionSavesThenScans) {
    auto program = startProgram();
    scanFromStartWindow(*program, karaokeFolder);
    const QString listPath = root.filePath(QStringLiteral("first.swk"));

    program->mainWindow()->N2->trigger();
    ProgramUnderTest::settle();
    program->platform.dialogs.saves.push_back(listPath);
    program->platform.dialogs.folders.push_back(karaokeFolder);
    QTest::mouseClick(program->registry->form12()->Button1, Qt::LeftButton);
    ProgramUnderTest::settle();

    EXPECT_TRUE(QFileInfo::exists(listPath));
    EXPECT_EQ(program->platform.dialogs.folderStarts.size(), 2);
    EXPECT_FALSE(program->registry->form12()->isVisible());
    EXPECT_EQ(program->mainWindow()->tableModel->rowCount(), 3);
    EXPECT_EQ(program->endCount, 0);
}

TEST_F(ProgramLifecycleTest, YesOnTheNewScanQuestionWithCancelledSaveAsksAgain) {
    auto program = startProgram();
    scanFromStartWindow(*program, karaokeFolder);
    program->mainWindow()->N2->trigger();
    ProgramUnderTest::settle();
    QTest::mouseClick(program->registry->form12()->Button1, Qt::LeftButton);
    ProgramUnderTest::settle();

    EXPECT_EQ(program->platform.dialogs.saveFilters.size(), 1);
    EXPECT_TRUE(program->registry->form12()->isVisible());
    EXPECT_EQ(program->registry->form12()->QuestionReason, TForm12::StartingNewScan);
    EXPECT_EQ(program->platform.dialogs.folderStarts.size(), 1);
    EXPECT_EQ(program->endCount, 0);
}

TEST_F(ProgramLifecycleTest, SavedListClosesWithoutQuestionAndReopensWithItsMarks) {
    const QString listPath = root.filePath(QStringLiteral("list.swk"));
    {
        auto program = startProgram();
        scanFromStartWindow(*program, karaokeFolder);
        TForm4* mainWindow = program->mainWindow();
        mainWindow->StringGrid1->setCurrentIndex(mainWindow->tableModel->index(1, 2));
        mainWindow->StringGrid1DblClick();
        EXPECT_EQ(cell(*program, 0, 2), QStringLiteral("V 2"));

        program->platform.dialogs.saves.push_back(listPath);
        mainWindow->N4->trigger(); // no name yet: asks for one
        EXPECT_EQ(program->platform.dialogs.saveFilters,
                  QStringList{QStringLiteral("Файлы списка (Songwick)|*.swk|")});
        EXPECT_FALSE(program->registry->catalogue().mainTable.modified);

        mainWindow->N12->trigger();
        ProgramUnderTest::settle();
        EXPECT_FALSE(program->registry->form12()->isVisible());
        EXPECT_EQ(program->endCount, 1);
        EXPECT_TRUE(QFileInfo::exists(settingsPath));
    }
    auto program = startProgram();
    EXPECT_EQ(program->registry->settings().LastFolder, karaokeFolder);
    program->platform.dialogs.opens.push_back(listPath);
    program->startWindow()->N3->trigger();
    ASSERT_TRUE(QTest::qWaitForWindowActive(program->mainWindow()));
    ProgramUnderTest::settle();
    EXPECT_EQ(program->mainWindow()->tableModel->rowCount(), 3);
    EXPECT_EQ(cell(*program, 0, 1), QStringLiteral("1"));
    EXPECT_EQ(cell(*program, 0, 2), QStringLiteral("V 2"));
    EXPECT_EQ(cell(*program, 1, 1), QStringLiteral("MIDIOkFormat1-lyrics-kar.mid"));
    EXPECT_FALSE(program->startWindow()->isVisible());
}

TEST_F(ProgramLifecycleTest, InsertedRowSurvivesASwitchToAnotherWindowAndBack) {
    auto program = startProgram();
    scanFromStartWindow(*program, karaokeFolder);
    TForm4* mainWindow = program->mainWindow();
    const QString formerSecond = cell(*program, 1, 2);
    mainWindow->StringGrid1->setCurrentIndex(mainWindow->tableModel->index(1, 1));
    mainWindow->N17->trigger();
    EXPECT_EQ(mainWindow->tableModel->rowCount(), 4);

    mainWindow->N14->trigger(); // the scan options window becomes active
    ASSERT_TRUE(QTest::qWaitForWindowActive(program->registry->form3()));
    program->registry->form3()->Button1->click();
    WindowRegistry::showWindow(mainWindow);
    ASSERT_TRUE(QTest::qWaitForWindowActive(mainWindow));
    ProgramUnderTest::settle();

    EXPECT_EQ(mainWindow->tableModel->rowCount(), 4);
    EXPECT_EQ(cell(*program, 1, 2), QString());
    EXPECT_EQ(cell(*program, 1, 3), formerSecond);
    EXPECT_EQ(cell(*program, 0, 4), QStringLiteral("4"));
    // the inserted row is no file
    EXPECT_EQ(mainWindow->Label3->text(),
              QStringLiteral("Обработано и помещено в таблицу 3 файла(ов)"));
}

TEST_F(ProgramLifecycleTest, EditSurvivesASwitchToAnotherWindowAndBack) {
    auto program = startProgram();
    scanFromStartWindow(*program, karaokeFolder);
    TForm4* mainWindow = program->mainWindow();
    mainWindow->tableModel->setData(mainWindow->tableModel->index(0, 3),
                                    QStringLiteral("Новое название"));
    mainWindow->N14->trigger(); // any other window of the program
    ASSERT_TRUE(QTest::qWaitForWindowActive(program->registry->form3()));
    WindowRegistry::showWindow(mainWindow);
    ASSERT_TRUE(QTest::qWaitForWindowActive(mainWindow));
    ProgramUnderTest::settle();
    EXPECT_EQ(cell(*program, 3, 1), QStringLiteral("Новое название"));
    EXPECT_EQ(program->registry->catalogue().startWindowStore.record(1)[PerformerTitleField],
              QStringLiteral("Новое название"));
}

TEST_F(ProgramLifecycleTest, ReturningFromAWindowThatIsNotTheProgramsKeepsTheTable) {
    auto program = startProgram();
    scanFromStartWindow(*program, karaokeFolder);
    TForm4* mainWindow = program->mainWindow();
    mainWindow->tableModel->setData(mainWindow->tableModel->index(2, 4), QStringLiteral("Слова"));
    // A dialog or message box: no copy-back on leaving, no refill on returning.
    QWidget dialog;
    WindowRegistry::showWindow(&dialog);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    EXPECT_EQ(program->registry->catalogue().startWindowStore.record(3)[FurtherText1Field],
              QString());
    dialog.hide();
    WindowRegistry::showWindow(mainWindow);
    ASSERT_TRUE(QTest::qWaitForWindowActive(mainWindow));
    ProgramUnderTest::settle();
    EXPECT_EQ(cell(*program, 4, 3), QStringLiteral("Слова"));
    EXPECT_EQ(program->registry->currentWindow(), mainWindow);
}

TEST_F(ProgramLifecycleTest, ExitInTheStartWindowWritesNoSettings) {
    auto program = startProgram();
    program->startWindow()->N15->trigger();
    EXPECT_EQ(program->endCount, 1);
    EXPECT_FALSE(QFileInfo::exists(settingsPath));
}

TEST_F(ProgramLifecycleTest, ClosingTheStartWindowWritesTheSettings) {
    auto program = startProgram();
    program->registry->settings().ManyFilesScan = true;
    program->startWindow()->close();
    EXPECT_EQ(program->endCount, 1);
    ASSERT_TRUE(QFileInfo::exists(settingsPath));
    EXPECT_TRUE(readSettingsFile(settingsPath).ManyFilesScan);
}

TEST_F(ProgramLifecycleTest, ClosingTheMainWindowWithChangesAsksAndNoEndsTheProgram) {
    auto program = startProgram();
    scanFromStartWindow(*program, karaokeFolder);
    program->mainWindow()->close();
    ProgramUnderTest::settle();
    TForm12* question = program->registry->form12();
    ASSERT_TRUE(question->isVisible());
    EXPECT_EQ(program->endCount, 0);
    EXPECT_FALSE(QFileInfo::exists(settingsPath));

    QTest::mouseClick(question->Button2, Qt::LeftButton);
    EXPECT_EQ(program->endCount, 1);
    EXPECT_TRUE(QFileInfo::exists(settingsPath));
}

TEST_F(ProgramLifecycleTest, YesOnClosingWithCancelledSaveKeepsTheProgramRunning) {
    auto program = startProgram();
    scanFromStartWindow(*program, karaokeFolder);
    program->mainWindow()->N12->trigger();
    ProgramUnderTest::settle();
    QTest::mouseClick(program->registry->form12()->Button1, Qt::LeftButton);
    ProgramUnderTest::settle();
    EXPECT_EQ(program->endCount, 0);
    EXPECT_FALSE(QFileInfo::exists(settingsPath));
    EXPECT_TRUE(program->registry->catalogue().mainTable.modified);
    EXPECT_TRUE(program->mainWindow()->isVisible());
}

TEST_F(ProgramLifecycleTest, YesOnClosingSavesAndEnds) {
    auto program = startProgram();
    scanFromStartWindow(*program, karaokeFolder);
    const QString listPath = root.filePath(QStringLiteral("closing.swk"));
    program->mainWindow()->N12->trigger();
    ProgramUnderTest::settle();
    program->platform.dialogs.saves.push_back(listPath);
    QTest::mouseClick(program->registry->form12()->Button1, Qt::LeftButton);
    EXPECT_EQ(program->endCount, 1);
    EXPECT_TRUE(QFileInfo::exists(listPath));
    EXPECT_TRUE(QFileInfo::exists(settingsPath));
}

TEST_F(ProgramLifecycleTest, MainWindowComesBackWhereItWasLeftOutsideTheSettingsFile) {
    const auto runMovingTheMainWindowTo = [this](QRect placed) {
        auto program = startProgram();
        scanFromStartWindow(*program, karaokeFolder);
        const QRect restored = program->mainWindow()->geometry();
        program->mainWindow()->setGeometry(placed);
        ProgramUnderTest::settle();
        program->mainWindow()->close();
        ProgramUnderTest::settle();
        QTest::mouseClick(program->registry->form12()->Button2, Qt::LeftButton); // "Нет"
        EXPECT_EQ(program->endCount, 1);
        return restored;
    };
    const QRect first(37, 41, 700, 510);
    const QRect firstStart = runMovingTheMainWindowTo(first);
    EXPECT_NE(firstStart, first);
    QFile settings(settingsPath);
    ASSERT_TRUE(settings.open(QIODevice::ReadOnly));
    const QByteArray settingsBytes = settings.readAll();
    settings.close();

    EXPECT_EQ(runMovingTheMainWindowTo(QRect(60, 30, 650, 480)), first);
    ASSERT_TRUE(settings.open(QIODevice::ReadOnly));
    EXPECT_EQ(settings.readAll(), settingsBytes);
    settings.close();

    // A place on a screen that is gone: the window starts in the middle again.
    const QString optionsPath = optionsFilePathBeside(settingsPath);
    writeMainWindowGeometry(optionsPath, {QRect(5000, 4000, 700, 510), false});
    EXPECT_EQ(runMovingTheMainWindowTo(first), firstStart);
}

TEST_F(ProgramLifecycleTest, FailedSettingsWriteKeepsTheProgramRunning) {
    // A folder where the settings file should be: the write fails.
    QDir().mkpath(settingsPath);
    auto program = startProgram();
    program->startWindow()->close();
    EXPECT_EQ(program->endCount, 0);
    ASSERT_FALSE(program->platform.messages.shown.isEmpty());
    EXPECT_FALSE(program->platform.messages.shown.constLast().isEmpty());
}

TEST_F(ProgramLifecycleTest, SettingsAreReadAtTheFirstActivationOnly) {
    ProgramSettings stored;
    stored.LastFolder = karaokeFolder;
    stored.ManyFilesScan = true;
    FakeClock clock;
    FakeRandomSource random;
    SaveSettings(stored, settingsPath, clock.value, clock, random);

    auto program = startProgram();
    EXPECT_EQ(program->registry->settings().LastFolder, karaokeFolder);
    EXPECT_TRUE(program->registry->form3()->CheckBox1->isChecked());
    EXPECT_TRUE(program->platform.messages.shown.isEmpty());
    // The chooser opens at the stored folder.
    QTest::mouseClick(program->startWindow()->Button1, Qt::LeftButton);
    EXPECT_EQ(program->platform.dialogs.folderStarts, QStringList{karaokeFolder});
}

TEST_F(ProgramLifecycleTest, ForeignSettingsFileIsReportedAndChangesNothing) {
    QDir().mkpath(QFileInfo(settingsPath).path());
    QFile file(settingsPath);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArrayLiteral("\x01\x01\x01"));
    file.close();
    auto program = startProgram();
    EXPECT_EQ(program->platform.messages.shown,
              QStringList{QStringLiteral("Ошибка загрузки настроек")});
    EXPECT_EQ(program->registry->settings(), ProgramSettings{});
}

TEST(OptionsFileWrite, AFailedWriteIsReportedAndTheBoxShowsWhatTheFileHolds) {
    SmallFileSystem disk;
    if (!disk.mounted())
        GTEST_SKIP() << "a full file system needs root to mount";
    ProgramUnderTest program(disk.path("prop.dat"));
    ASSERT_TRUE(program.start());
    TForm6* renameWindow = program.registry->form6();
    WindowRegistry::showWindow(renameWindow);
    disk.fill();

    renameWindow->PreviewCheckBox->click(); // on by default: turned off

    const QString optionsPath = disk.path("options.ini");
    EXPECT_EQ(program.platform.messages.shown,
              QStringList{QStringLiteral("Не удалось записать файл \"%1\": нет доступа или нет "
                                         "места на устройстве")
                              .arg(optionsPath)});
    EXPECT_TRUE(renameWindow->PreviewCheckBox->isChecked());
    EXPECT_TRUE(readShowRenamePlanFirst(optionsPath));
}

} // namespace
} // namespace songwick::testing
