#include "rename/ui/file_name_rename.h"
#include "rename_window_fixture.h"

#include <QLabel>

namespace songwick::testing {
namespace {

using FileNameRenameTest = RenameWindowTest;

TEST_F(FileNameRenameTest, TypedNamesReachTheDiskAndRefusalsAreReported) {
    showTable({QStringLiteral("one.kar"), QStringLiteral("two.kar"), QStringLiteral("three.kar")},
              {});
    editCell(1, 1, QStringLiteral("One.kar"));   // letter case only
    editCell(1, 2, QStringLiteral("three.kar")); // taken by row 3
    catalogue().mainTable.modified = false;

    const RenameRunResult run = renameFromFileNameColumn(*program->registry, mainWindow());

    EXPECT_EQ(run.renameCount, 1);
    EXPECT_EQ(filesOnDisk(), (QStringList{QStringLiteral("One.kar"), QStringLiteral("three.kar"),
                                          QStringLiteral("two.kar")}));
    EXPECT_EQ(messagesShown(),
              QStringList{fileNameColumnRefusal(folder + QStringLiteral("/two.kar"))});
    EXPECT_EQ(mainWindow()->Label3->text(), QStringLiteral("Переименовано 1 файла(ов)"));
    EXPECT_EQ(catalogue().mainTable.renameCount, 1);
    EXPECT_FALSE(catalogue().mainTable.renameResult);
    EXPECT_FALSE(catalogue().mainTable.modified);
    EXPECT_EQ(catalogue().startWindowStore.record(1)[FileNameField], QStringLiteral("One.kar"));
    EXPECT_EQ(catalogue().startWindowStore.record(2)[FileNameField], QStringLiteral("two.kar"));
    EXPECT_EQ(cell(1, 2), QStringLiteral("three.kar")); // the table keeps what was typed

    // A second run finds nothing left to do but the refused row, now silently.
    messagesShown().clear();
    settings().RenameErrorMessages = false;
    const RenameRunResult again = renameFromFileNameColumn(*program->registry, mainWindow());
    EXPECT_EQ(again.renameCount, 0);
    EXPECT_EQ(again.errorMessages().size(), 1);
    EXPECT_TRUE(messagesShown().isEmpty());
    EXPECT_EQ(mainWindow()->Label3->text(), QStringLiteral("Переименовано 0 файла(ов)"));
}

TEST_F(FileNameRenameTest, NameWithASlashNeverMovesTheFile) {
    showTable({QStringLiteral("one.kar")}, {});
    ASSERT_TRUE(QDir(folder).mkdir(QStringLiteral("sub")));
    editCell(1, 1, QStringLiteral("sub/one.kar"));

    const RenameRunResult run = renameFromFileNameColumn(*program->registry, mainWindow());

    EXPECT_EQ(run.renameCount, 0);
    EXPECT_EQ(filesOnDisk(), QStringList{QStringLiteral("one.kar")});
    EXPECT_TRUE(QDir(folder + QStringLiteral("/sub")).isEmpty());
    EXPECT_EQ(messagesShown().size(), 1);
}

} // namespace
} // namespace songwick::testing
