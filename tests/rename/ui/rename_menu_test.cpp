#include "rename/ui/composite_rename_window.h"
#include "rename_window_fixture.h"
#include "scan/ui/scan_options_window.h"

#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

namespace songwick::testing {
namespace {

// The two renames as the main window's menu "&Переименовать файлы" starts them.
class RenameMenuTest : public RenameWindowTest {
protected:
    void SetUp() override {
        RenameWindowTest::SetUp();
        ASSERT_NE(program->registry->form6(), nullptr);
    }
};

TEST_F(RenameMenuTest, CompositeRenameEntryOpensTheWindowAndItsResultShowsInTheMainWindow) {
    showTable({QStringLiteral("one.kar"), QStringLiteral("two.kar")},
              {QStringLiteral("Alpha"), QStringLiteral("Beta")});
    TForm6* form6 = program->registry->form6();
    settings().RenamePartsChecked = {false, true, false, false, false, false, false, false};
    form6->showSettings();
    editCell(3, 2, QStringLiteral("Gamma"));
    ASSERT_TRUE(mainWindow()->N10->isEnabled());

    mainWindow()->N10->trigger();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form6));
    ProgramUnderTest::settle();
    QTest::mouseClick(form6->Button3, Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitForWindowActive(mainWindow()));
    ProgramUnderTest::settle();

    EXPECT_EQ(filesOnDisk(),
              (QStringList{QStringLiteral("Alpha.kar"), QStringLiteral("Gamma.kar")}));
    EXPECT_EQ(mainWindow()->Label3->text(), QStringLiteral("Переименовано 2 файла(ов)."));
    EXPECT_EQ(cell(1, 2), QStringLiteral("Gamma.kar"));
    EXPECT_EQ(cell(3, 2), QStringLiteral("Gamma"));

    // While the rename result stands, every activation shows the count.
    program->registry->form3()->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(program->registry->form3()));
    WindowRegistry::showWindow(mainWindow());
    ASSERT_TRUE(QTest::qWaitForWindowActive(mainWindow()));
    ProgramUnderTest::settle();
    EXPECT_EQ(mainWindow()->Label3->text(), QStringLiteral("Переименовано 2 файла(ов)."));
    EXPECT_EQ(cell(1, 1), QStringLiteral("Alpha.kar"));
}

TEST_F(RenameMenuTest, FileNameColumnEntryRenamesAndShowsTheCount) {
    showTable({QStringLiteral("one.kar"), QStringLiteral("two.kar")}, {});
    editCell(1, 2, QStringLiteral("second.kar"));
    ASSERT_TRUE(mainWindow()->N9->isEnabled());

    mainWindow()->N9->trigger();

    EXPECT_EQ(filesOnDisk(),
              (QStringList{QStringLiteral("one.kar"), QStringLiteral("second.kar")}));
    EXPECT_EQ(mainWindow()->Label3->text(), QStringLiteral("Переименовано 1 файла(ов)"));
    EXPECT_TRUE(messagesShown().isEmpty());
}

} // namespace
} // namespace songwick::testing
