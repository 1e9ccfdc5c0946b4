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

#include <QPushButton>
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

} // namespace
} // namespace songwick::testing
