#include "app/ui/close_question_window.h"
#include "app/ui/program_fixture.h"
#include "help/ui/about_window.h"
#include "help/ui/help_window.h"
#include "help/ui/splash_window.h"
#include "rename/ui/composite_rename_window.h"
#include "scan/ui/scan_options_window.h"
#include "settings/ui/general_settings_window.h"
#include "settings/ui/text_output_settings_window.h"
#include "textview/ui/text_view_window.h"

#include <QCheckBox>
#include <QPushButton>
#include <QScreen>
#include <gtest/gtest.h>

namespace songwick::testing {
namespace {

// The program as it starts, with every window in place and every menu entry bound.
class ProgramMenusTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(root.isValid());
        program = std::make_unique<ProgramUnderTest>(root.filePath(QStringLiteral("prop.dat")));
        ASSERT_TRUE(program->start());
    }

    // Triggers a menu entry and tells whether the window came up.
    static bool opens(QAction* entry, QWidget* window) {
        window->hide();
        entry->trigger();
        ProgramUnderTest::settle();
        return window->isVisible();
    }

    QTemporaryDir root;
    std::unique_ptr<ProgramUnderTest> program;
};

TEST_F(ProgramMenusTest, EveryWindowOfTheWindowTableIsCreated) {
    WindowRegistry& registry = *program->registry;
    for (QWidget* window : std::initializer_list<QWidget*>{
             registry.form1(), registry.form4(), registry.form5(), registry.form3(),
             registry.form6(), registry.form8(), registry.form9(), registry.form10(),
             registry.help(), registry.form12(), registry.splash()})
        EXPECT_NE(window, nullptr);
    // The header rewriting window has no visible entry and is not part of this program.
    EXPECT_EQ(registry.form7(), nullptr);
}

TEST_F(ProgramMenusTest, StartWindowEntriesOpenTheirWindows) {
    TForm1* start = program->startWindow();
    WindowRegistry& registry = *program->registry;
    EXPECT_TRUE(opens(start->N18, registry.form10()));
    EXPECT_TRUE(opens(start->N21, registry.form5()));
    EXPECT_TRUE(opens(start->N22, registry.splash()));
    EXPECT_TRUE(opens(start->N23, registry.help()));
    EXPECT_TRUE(start->N10->isEnabled());
    for (QAction* disabled : {start->N4, start->N5, start->N6, start->N7, start->N8, start->N9})
        EXPECT_FALSE(disabled->isEnabled()) << disabled->text().toStdString();
}

TEST_F(ProgramMenusTest, MainWindowEntriesAreAllBound) {
    program->registry->handOverToMainWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(program->mainWindow()));
    TForm4* main = program->mainWindow();
    WindowRegistry& registry = *program->registry;
    for (QAction* entry : {main->N2,    main->N3,  main->N21,    main->N4,  main->N5,    main->N22,
                           main->Word2, main->N28, main->Excel1, main->N26, main->Word1, main->N7,
                           main->N9,    main->N10, main->N12,    main->N14, main->N15,   main->N17,
                           main->N20,   main->N23, main->N24,    main->N25, main->N27,   main->N29})
        EXPECT_TRUE(entry->isEnabled()) << entry->text().toStdString();
    EXPECT_TRUE(opens(main->N15, registry.form10()));
    EXPECT_TRUE(opens(main->N23, registry.form5()));
    EXPECT_TRUE(opens(main->N24, registry.splash()));
    EXPECT_TRUE(opens(main->N25, registry.help()));
    EXPECT_TRUE(opens(main->N29, registry.help()));
    EXPECT_TRUE(opens(main->N10, registry.form6()));
}

TEST_F(ProgramMenusTest, TableAsTextShowsTheRowsInTheTextView) {
    program->registry->handOverToMainWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(program->mainWindow()));
    TForm4* main = program->mainWindow();
    main->changeTable([](CatalogueGrid& grid) {
        grid.resize(7, 2);
        grid.setCell(0, 1, QStringLiteral("1"));
        grid.setCell(1, 1, QStringLiteral("Катюша.kar"));
        grid.setCell(2, 1, QStringLiteral("/песни/"));
    });
    main->N20->trigger();
    TForm8* view = program->registry->form8();
    ASSERT_TRUE(QTest::qWaitForWindowActive(view));
    ProgramUnderTest::settle();
    ASSERT_FALSE(view->contentLines().isEmpty());
    EXPECT_TRUE(view->contentLines().first().contains(QStringLiteral("Катюша.kar")));
}

// How far a window's middle is from another's, in pixels.
int offCentre(const QWidget* window, const QWidget* owner) {
    return (window->frameGeometry().center() - owner->frameGeometry().center()).manhattanLength();
}

TEST_F(ProgramMenusTest, WindowsOpenCentredOnTheWindowTheyAreOpenedFrom) {
    TForm1* start = program->startWindow();
    WindowRegistry& registry = *program->registry;
    const QRect screen = start->screen()->availableGeometry();
    // Placed before its frame was known.
    EXPECT_LE((start->frameGeometry().center() - screen.center()).manhattanLength(), 10);

    start->move(start->pos() + QPoint(60, 40));
    EXPECT_TRUE(opens(start->N17, registry.form3()));
    EXPECT_LE(offCentre(registry.form3(), start), 2);
    registry.form3()->Button2->click();

    registry.handOverToMainWindow();
    TForm4* main = program->mainWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(main));
    main->setGeometry(QRect(screen.topLeft() + QPoint(90, 70), QSize(520, 420)));
    ProgramUnderTest::settle();
    for (auto [entry, window] :
         std::initializer_list<std::pair<QAction*, QWidget*>>{{main->N10, registry.form6()},
                                                              {main->N15, registry.form10()},
                                                              {main->N25, registry.help()},
                                                              {main->N12, registry.form12()}}) {
        EXPECT_TRUE(opens(entry, window)) << entry->text().toStdString();
        EXPECT_LE(offCentre(window, main), 2) << entry->text().toStdString();
        window->hide();
        WindowRegistry::showWindow(main);
        ASSERT_TRUE(QTest::qWaitForWindowActive(main));
        ProgramUnderTest::settle();
    }
    // Opened again as soon as it is closed, while it is still the current window: still on the
    // main window, not on itself.
    ASSERT_TRUE(opens(main->N15, registry.form10()));
    ASSERT_TRUE(QTest::qWaitForWindowActive(registry.form10()));
    ProgramUnderTest::settle();
    EXPECT_TRUE(opens(main->N15, registry.form10()));
    EXPECT_LE(offCentre(registry.form10(), main), 2);
}

TEST_F(ProgramMenusTest, EscIsCancelInEveryDialogAndControlKeysRunTheMainWindowsEntries) {
    TForm1* start = program->startWindow();
    WindowRegistry& registry = *program->registry;
    const auto open = [](QAction* entry, QWidget* window) {
        entry->trigger();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window));
        ProgramUnderTest::settle();
    };
    const auto pressEsc = [](QWidget* window) {
        QTest::keyClick(window, Qt::Key_Escape);
        ProgramUnderTest::settle();
        EXPECT_FALSE(window->isVisible()) << window->objectName().toStdString();
    };
    const bool manyFiles = registry.settings().ManyFilesScan;
    open(start->N17, registry.form3());
    QTest::mouseClick(registry.form3()->CheckBox1, Qt::LeftButton);
    EXPECT_NE(registry.settings().ManyFilesScan, manyFiles);
    pressEsc(registry.form3());
    EXPECT_EQ(registry.settings().ManyFilesScan, manyFiles);

    TForm10* general = registry.form10();
    open(start->N18, general);
    const bool before = general->CheckBox13->isChecked();
    QTest::mouseClick(general->CheckBox13, Qt::LeftButton);
    pressEsc(general);
    EXPECT_EQ(general->CheckBox13->isChecked(), before);

    registry.handOverToMainWindow();
    TForm4* main = program->mainWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(main));
    open(main->N10, registry.form6());
    pressEsc(registry.form6());
    EXPECT_TRUE(QTest::qWaitForWindowActive(main));
    open(main->N12, registry.form12());
    pressEsc(registry.form12());
    EXPECT_EQ(registry.form12()->QuestionReason, TForm12::NoReason);
    EXPECT_EQ(program->endCount, 0);
    WindowRegistry::showWindow(main);
    ASSERT_TRUE(QTest::qWaitForWindowActive(main));

    // The entries keep their texts; the keys are shown beside them.
    EXPECT_EQ(main->N3->text(), QStringLiteral("&Открыть файл списка..."));
    EXPECT_EQ(main->N4->text(), QStringLiteral("&Сохранить список"));
    EXPECT_EQ(main->N28->text(), QStringLiteral("&Печать из Ms Word (текст)"));
    EXPECT_EQ(main->N4->shortcut(), QKeySequence(QStringLiteral("Ctrl+S")));
    FakePlatform& platform = program->platform;
    QTest::keyClick(main, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(platform.dialogs.saveFilters.size(), 1);
    platform.messages.answers.push_back(MessageBoxes::Answer::No); // the unsaved table
    QTest::keyClick(main, Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(platform.dialogs.openFilters.size(), 1);
    QTest::keyClick(main, Qt::Key_P, Qt::ControlModifier);
    EXPECT_EQ(platform.printer.printed.size(), 1);
}

} // namespace
} // namespace songwick::testing
