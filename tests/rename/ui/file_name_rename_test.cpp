#include "rename/ui/file_name_rename.h"
#include "rename_window_fixture.h"
#include "textview/ui/text_view_window.h"

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
              QStringList{targetExistsRefusal(folder + QStringLiteral("/two.kar"),
                                              folder + QStringLiteral("/three.kar"))});
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

namespace songwick::testing {
namespace {

// The table's file-name column is only what the user typed; each row keeps its own file, so a
// window switch in between never makes the rename touch another file.
TEST_F(FileNameRenameTest, AnEditedNameRenamesTheRowsOwnFileAfterASwitchOfWindows) {
    const QString cruel = QStringLiteral("Dont be Cruel.kar");
    const QString thatWay = QStringLiteral("I Want It That Way.kar");
    showTable({cruel, thatWay}, {});
    editCell(1, 1, thatWay);
    EXPECT_EQ(renameFromFileNameColumn(*program->registry, mainWindow()).renameCount, 0);

    WindowRegistry::showWindow(program->registry->form8());
    ASSERT_TRUE(QTest::qWaitForWindowActive(program->registry->form8()));
    program->registry->form8()->hide();
    WindowRegistry::showWindow(mainWindow());
    ASSERT_TRUE(QTest::qWaitForWindowActive(mainWindow()));
    ProgramUnderTest::settle();

    editCell(1, 1, QStringLiteral("Cruel test.kar"));
    const RenameRunResult run = renameFromFileNameColumn(*program->registry, mainWindow());

    EXPECT_EQ(run.renameCount, 1);
    EXPECT_EQ(filesOnDisk(), (QStringList{QStringLiteral("Cruel test.kar"), thatWay}));
    EXPECT_EQ(mainWindow()->table().rowFile(1),
              (RowFile{folder + u'/', QStringLiteral("Cruel test.kar")}));
}

// Rows read from a list file or a spreadsheet may name a folder that is not absolute: such a
// row is refused, and no file in the working folder is touched.
TEST_F(FileNameRenameTest, ARowWithARelativeFolderIsRefused) {
    showTable({QStringLiteral("one.kar")}, {});
    const QString workingFolder = QDir::currentPath();
    QDir::setCurrent(folder);
    CatalogueGrid& grid = program->registry->grid();
    grid.setRowFile(1, RowFile{QString(), QStringLiteral("one.kar")});
    editCell(1, 1, QStringLiteral("two.kar"));

    const RenameRunResult run = renameFromFileNameColumn(*program->registry, mainWindow());
    QDir::setCurrent(workingFolder);

    EXPECT_EQ(run.renameCount, 0);
    EXPECT_EQ(filesOnDisk(), QStringList{QStringLiteral("one.kar")});
    EXPECT_EQ(messagesShown(), QStringList{fileNameColumnRefusal(QStringLiteral("one.kar"))});
}

} // namespace
} // namespace songwick::testing
