#include "rename/ui/composite_rename_window.h"
#include "rename/ui/rename_preview_window.h"
#include "rename_window_fixture.h"
#include "settings/options_file.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>

namespace songwick::testing {
namespace {

using RenamePreviewTest = RenameWindowTest;

TEST_F(RenamePreviewTest, PlanIsShownFirstAndUndoTakesTheRunBack) {
    showTable({QStringLiteral("one.kar"), QStringLiteral("two.kar"), QStringLiteral("three.kar")},
              {});
    // The option is set where renaming is set up; turned on there, it holds for this rename
    // too.
    TForm6* form6 = program->registry->form6();
    WindowRegistry::showWindow(form6);
    ASSERT_TRUE(QTest::qWaitForWindowActive(form6));
    ASSERT_FALSE(form6->PreviewCheckBox->isChecked());
    form6->PreviewCheckBox->click();
    EXPECT_TRUE(readShowRenamePlanFirst(optionsPath()));
    form6->hide();
    editCell(1, 1, QStringLiteral("first.kar"));
    editCell(1, 2, QStringLiteral("three.kar")); // taken by row 3

    mainWindow()->N9->trigger();
    auto* preview = mainWindow()->findChild<RenamePreviewWindow*>();
    ASSERT_NE(preview, nullptr);
    EXPECT_EQ(filesOnDisk(), (QStringList{QStringLiteral("one.kar"), QStringLiteral("three.kar"),
                                          QStringLiteral("two.kar")}));
    QTableWidget* rows = preview->StringGrid1;
    ASSERT_EQ(rows->rowCount(), 2);
    EXPECT_EQ(rows->item(0, 1)->text(), QStringLiteral("one.kar"));
    EXPECT_EQ(rows->item(0, 2)->text(), QStringLiteral("first.kar"));
    EXPECT_TRUE(rows->item(0, 3)->text().isEmpty());
    EXPECT_EQ(rows->item(1, 3)->text(), QStringLiteral("Файл с таким именем уже существует"));
    EXPECT_EQ(rows->item(1, 0)->foreground().color(), QColor(Qt::red));
    EXPECT_NE(rows->item(0, 0)->foreground().color(), QColor(Qt::red));

    QTest::mouseClick(preview->Button1, Qt::LeftButton);
    ProgramUnderTest::settle();
    EXPECT_EQ(filesOnDisk(), (QStringList{QStringLiteral("first.kar"), QStringLiteral("three.kar"),
                                          QStringLiteral("two.kar")}));
    EXPECT_EQ(mainWindow()->Label3->text(), QStringLiteral("Переименовано 1 файла(ов)"));

    // Undo: the file gets its old name back, and so do the row's file and column 1.
    messagesShown().clear();
    mainWindow()->N30->trigger();
    EXPECT_EQ(filesOnDisk(), (QStringList{QStringLiteral("one.kar"), QStringLiteral("three.kar"),
                                          QStringLiteral("two.kar")}));
    EXPECT_EQ(cell(1, 1), QStringLiteral("one.kar"));
    EXPECT_EQ(catalogue().startWindowStore.record(1)[FileNameField], QStringLiteral("one.kar"));
    EXPECT_TRUE(messagesShown().isEmpty());
    EXPECT_EQ(mainWindow()->Label3->text(), QStringLiteral("Отменено переименований: 1"));

    // "Отмена" in the preview renames nothing.
    editCell(1, 1, QStringLiteral("again.kar"));
    mainWindow()->N9->trigger();
    preview = mainWindow()->findChild<RenamePreviewWindow*>();
    ASSERT_NE(preview, nullptr);
    QTest::mouseClick(preview->Button2, Qt::LeftButton);
    EXPECT_TRUE(filesOnDisk().contains(QStringLiteral("one.kar")));
}

} // namespace
} // namespace songwick::testing
