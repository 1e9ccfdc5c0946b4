#include "rename/ui/rename_preview_window.h"
#include "rename_window_fixture.h"
#include "settings/options_file.h"
#include "settings/ui/general_settings_window.h"

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
    // The option is set where the user sets it.
    TForm10* form10 = program->registry->form10();
    const QString options = optionsFilePathBeside(program->registry->settingsPath());
    form10->FormActivate();
    form10->RenamePlanCheckBox->click();
    form10->Button1Click(); // "Отмена" puts it back as it was
    EXPECT_FALSE(readShowRenamePlanFirst(options));
    EXPECT_FALSE(form10->RenamePlanCheckBox->isChecked());
    form10->FormActivate();
    form10->RenamePlanCheckBox->click();
    form10->Button2Click(); // "OK" keeps it
    EXPECT_TRUE(readShowRenamePlanFirst(options));
    editCell(1, 1, QStringLiteral("first.kar"));
    editCell(1, 2, QStringLiteral("three.kar")); // taken by row 3

    mainWindow()->N9->trigger();
    auto* preview = mainWindow()->findChild<RenamePreviewWindow*>();
    ASSERT_NE(preview, nullptr);
    EXPECT_EQ(filesOnDisk(), (QStringList{QStringLiteral("one.kar"), QStringLiteral("three.kar"),
                                          QStringLiteral("two.kar")}));
    QTableWidget* rows = preview->StringGrid1;
    ASSERT_EQ(rows->rowCount(), 2);
    EXPECT_EQ(rows->item(0, 0)->text(), QStringLiteral("one.kar"));
    EXPECT_EQ(rows->item(0, 1)->text(), QStringLiteral("first.kar"));
    EXPECT_TRUE(rows->item(0, 2)->text().isEmpty());
    EXPECT_EQ(rows->item(1, 2)->text(), QStringLiteral("Файл с таким именем уже существует"));
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
