#include "catalogue/catalogue_table.h"
#include "common/date_time.h"
#include "common/error.h"
#include "common/file_name_codec.h"
#include "folder_fixture.h"
#include "qt_printing.h"
#include "rename/rename_plan.h"
#include "rename/rename_undo.h"
#include "scan/folder_walk.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <dirent.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

namespace songwick {
namespace {

class FixedClock final : public Clock {
public:
    DateTimeValue now() const override {
        return toDateTimeValue(QDateTime(QDate(2026, 12, 7), QTime(22, 45, 10)));
    }
};

// A folder of real files, a store whose records point at them and the table rebuilt from it.
class RenameFixture : public FolderFixture {
protected:
    // Adds a record (and, unless onDisk is false, its file holding the name as content).
    void addRow(const QString& fileName, const QString& column3 = {}, bool onDisk = true) {
        if (onDisk)
            writeFile(fileName, fileName.toUtf8());
        state_.tableSourceStore().append(
            {fileName, folder(), column3, QStringLiteral("D"), QString(), QString()});
    }

    void rebuild() { rebuildFromStore(grid_, state_.tableSourceStore()); }

    QString storedName(int row) const {
        return state_.tableSourceStore().record(row)[FileNameField];
    }

    RenameRunResult renameFromColumn() {
        const RenamePlan plan = planFileNameColumnRename(grid_, state_);
        RenameRunResult run = carryOutRenamePlan(plan, grid_, state_);
        applyRenameRun(run, state_);
        return run;
    }

    RenameRunResult renameComposite(const CompositeRenameOptions& options) {
        const RenamePlan plan = planCompositeRename(grid_, state_, options, clock_);
        RenameRunResult run = carryOutRenamePlan(plan, grid_, state_);
        applyRenameRun(run, state_);
        return run;
    }

    static CompositeRenameOptions onlyColumn3() {
        CompositeRenameOptions options;
        options.parts[1].checked = true; // "3-я колонка Вашей таблицы"
        options.separator = QStringLiteral(" -- ");
        return options;
    }

    CatalogueState state_;
    CatalogueGrid grid_;
    FixedClock clock_;
};

using FileNameColumnRenameTest = RenameFixture;

TEST_F(FileNameColumnRenameTest, UneditedTableChangesNothing) {
    addRow(QStringLiteral("a.kar"));
    addRow(QStringLiteral("b.kar"));
    rebuild();
    const RenameRunResult run = renameFromColumn();
    EXPECT_EQ(run.renameCount, 0);
    EXPECT_TRUE(run.rows.empty());
    EXPECT_EQ(run.statusText(), QStringLiteral("Переименовано 0 файла(ов)"));
    EXPECT_EQ(entries(), (QStringList{QStringLiteral("a.kar"), QStringLiteral("b.kar")}));
}

TEST_F(FileNameColumnRenameTest, EditedNamesReachTheDiskAndFailuresStayInTheirRows) {
    addRow(QStringLiteral("a.kar"));
    addRow(QStringLiteral("b.kar"));
    addRow(QStringLiteral("c.kar"));
    addRow(QStringLiteral("d.kar"));
    addRow(QStringLiteral("e.kar"));
    addRow(QStringLiteral("f.kar"));
    addRow(QStringLiteral("gone.kar"), {}, false);
    rebuild();
    grid_.setCell(1, 1, QStringLiteral("A.kar"));          // letter case only
    grid_.setCell(1, 2, QStringLiteral("Без расширения")); // no extension
    grid_.setCell(1, 3, QStringLiteral("d.kar"));          // another file's name
    grid_.setCell(1, 5, QString());                        // emptied
    grid_.setCell(1, 6, QStringLiteral("../x.kar"));       // out of the folder
    grid_.setCell(1, 7, QStringLiteral("new.kar"));        // file not on disk
    state_.mainTable.renameResult = false;

    const RenameRunResult run = renameFromColumn();

    EXPECT_EQ(run.renameCount, 2);
    EXPECT_EQ(entries(), (QStringList{QStringLiteral("A.kar"), QStringLiteral("c.kar"),
                                      QStringLiteral("d.kar"), QStringLiteral("e.kar"),
                                      QStringLiteral("f.kar"), QStringLiteral("Без расширения")}));
    EXPECT_EQ(contentOf(QStringLiteral("c.kar")), "c.kar");
    EXPECT_EQ(contentOf(QStringLiteral("d.kar")), "d.kar");
    EXPECT_FALSE(QFile::exists(dir_.path() + QStringLiteral("/../x.kar")));

    const QStringList messages = run.errorMessages();
    ASSERT_EQ(messages.size(), 3);
    EXPECT_EQ(messages[0], targetExistsRefusal(folder() + QStringLiteral("c.kar"),
                                               folder() + QStringLiteral("d.kar")));
    EXPECT_TRUE(messages[1].contains(folder() + QStringLiteral("e.kar.")));
    EXPECT_TRUE(messages[2].contains(folder() + QStringLiteral("f.kar.")));
    EXPECT_EQ(run.rows[2].detail, RenameOutcome::TargetExists);

    // The store follows the disk; the table keeps what the user typed.
    EXPECT_EQ(storedName(1), QStringLiteral("A.kar"));
    EXPECT_EQ(storedName(2), QStringLiteral("Без расширения"));
    EXPECT_EQ(storedName(3), QStringLiteral("c.kar"));
    EXPECT_EQ(grid_.cell(1, 3), QStringLiteral("d.kar"));
    EXPECT_EQ(state_.mainTable.renameCount, 2);
    EXPECT_FALSE(state_.mainTable.renameResult);
    EXPECT_FALSE(state_.compositeRenameDone);
    EXPECT_EQ(run.statusText(), QStringLiteral("Переименовано 2 файла(ов)"));

    // A second run finds only the rows that failed; nothing more moves.
    const RenameRunResult again = renameFromColumn();
    EXPECT_EQ(again.renameCount, 0);
    EXPECT_EQ(again.errorMessages().size(), 3);
    EXPECT_EQ(entries().size(), 6);
}

TEST_F(FileNameColumnRenameTest, PlanTellsEveryRowWithoutTouchingTheDisk) {
    addRow(QStringLiteral("a.kar"));
    addRow(QStringLiteral("b.kar"));
    addRow(QStringLiteral("gone.kar"), {}, false);
    rebuild();
    grid_.setCell(1, 1, QStringLiteral("z.kar"));
    grid_.setCell(1, 3, QStringLiteral("y.kar"));
    const RenamePlan plan = planFileNameColumnRename(grid_, state_);
    ASSERT_EQ(plan.rows.size(), 3u);
    EXPECT_EQ(plan.rows[0].action, PlannedAction::Rename);
    EXPECT_EQ(plan.rows[0].newPath(), folder() + QStringLiteral("z.kar"));
    EXPECT_EQ(plan.rows[1].action, PlannedAction::Unchanged);
    EXPECT_EQ(plan.rows[2].action, PlannedAction::Missing);
    EXPECT_EQ(plan.plannedRenameCount(), 1);
    EXPECT_EQ(entries(), (QStringList{QStringLiteral("a.kar"), QStringLiteral("b.kar")}));

    // A file that goes away between plan and renaming is skipped as silently.
    QFile::remove(folder() + QStringLiteral("a.kar"));
    const RenameRunResult run = carryOutRenamePlan(plan, grid_, state_);
    EXPECT_EQ(run.renameCount, 0);
    EXPECT_TRUE(run.rows.empty());
}

// A look-up the system refuses (here: a name longer than the file system takes) is not a file
// gone: the row is refused with a message that names the file and says why.
TEST_F(FileNameColumnRenameTest, LookupTheSystemRefusesIsARefusedRowNamingTheFile) {
    addRow(QStringLiteral("a.kar"));
    rebuild();
    const QString tooLong = QString(300, u'x') + QStringLiteral(".kar");
    grid_.setRowFile(1, RowFile{folder(), tooLong});
    grid_.setCell(1, 1, QStringLiteral("b.kar"));
    const RenameRunResult run = renameFromColumn();
    EXPECT_EQ(run.renameCount, 0);
    EXPECT_EQ(run.errorMessages(),
              QStringList{QStringLiteral("Не удалось найти файл \"") + folder() + tooLong +
                          QStringLiteral("\": Слишком длинное имя файла. Файл не переименован.")});
}

// A row that stands for no file (its list did not keep the name exactly, or it was typed in) is
// never renamed by its cells: an edited name is refused with a message, an untouched one is
// passed over.
TEST_F(FileNameColumnRenameTest, RowsWithoutAKnownFileAreRefusedWhenEditedAndNeverGuessed) {
    writeFile(QStringLiteral("?.kar"), "another song");
    writeFile(QStringLiteral("typed.kar"), "another song too");
    grid_ = CatalogueGrid(7, 3);
    grid_.setCell(1, 1, QStringLiteral("?.kar")); // as an old list wrote "\xff.kar"
    grid_.setCell(2, 1, folder());
    grid_.setCell(1, 2, QStringLiteral("typed.kar"));
    grid_.setCell(2, 2, folder());
    const RenameRunResult run = renameFromColumn();
    EXPECT_EQ(run.renameCount, 0);
    EXPECT_EQ(run.errorMessages(), QStringList{unknownFileRefusal(2, QStringLiteral("typed.kar"))});
    EXPECT_EQ(contentOf(QStringLiteral("?.kar")), "another song");
    EXPECT_EQ(contentOf(QStringLiteral("typed.kar")), "another song too");
}

// A folder kept without its closing "/" is joined as a path: the row's own file is renamed and
// taken back, never the file whose name is the folder's and the name run together.
TEST_F(FileNameColumnRenameTest, FolderWithoutItsSeparatorIsJoinedAsAPath) {
    ASSERT_TRUE(QDir(folder()).mkdir(QStringLiteral("rock")));
    writeFile(QStringLiteral("rock/a.kar"), "mine");
    writeFile(QStringLiteral("rocka.kar"), "other");
    const QTemporaryDir journals;
    grid_ = CatalogueGrid(7, 2);
    grid_.setRowFile(1, RowFile{folder() + QStringLiteral("rock"), QStringLiteral("a.kar")});
    grid_.setCell(1, 1, QStringLiteral("b.kar"));
    const RenamePlan plan = planFileNameColumnRename(grid_, state_);
    EXPECT_EQ(carryOutRenamePlan(plan, grid_, state_, journals.path()).renameCount, 1);
    EXPECT_EQ(contentOf(QStringLiteral("rock/b.kar")), "mine");
    EXPECT_EQ(contentOf(QStringLiteral("rocka.kar")), "other");

    const UndoRunResult undone = carryOutUndo(planUndoOfLastRun(journals.path()), journals.path());
    followUndoneRenames(undone.undone, grid_, state_);
    EXPECT_EQ(contentOf(QStringLiteral("rock/a.kar")), "mine");
    EXPECT_EQ(grid_.rowFile(1)->name, QStringLiteral("a.kar"));
    EXPECT_EQ(grid_.cell(1, 1), QStringLiteral("a.kar"));
}

using CompositeRenameTest = RenameFixture;

TEST_F(CompositeRenameTest, MarkedOnlyRenamesMarkedRowsAndTheTableShowsTheNewNames) {
    addRow(QStringLiteral("1.kar"), QStringLiteral("Первая"));
    addRow(QStringLiteral("2.kar"), QStringLiteral("Вторая"));
    addRow(QStringLiteral("3.kar"), QStringLiteral("Третья"));
    rebuild();
    toggleMark(grid_, 2);
    CompositeRenameOptions options = onlyColumn3();
    options.markedOnly = true;

    const RenameRunResult run = renameComposite(options);

    EXPECT_EQ(run.renameCount, 1);
    EXPECT_EQ(entries(), (QStringList{QStringLiteral("1.kar"), QStringLiteral("3.kar"),
                                      QStringLiteral("Вторая.kar")}));
    EXPECT_EQ(grid_.cell(1, 2), QStringLiteral("Вторая.kar"));
    EXPECT_EQ(storedName(2), QStringLiteral("Вторая.kar"));
    EXPECT_EQ(grid_.cell(1, 1), QStringLiteral("1.kar"));
    EXPECT_TRUE(state_.mainTable.renameResult);
    EXPECT_EQ(state_.mainTable.renameCount, 1);
    EXPECT_TRUE(state_.compositeRenameDone);
    EXPECT_EQ(run.statusText(), QStringLiteral("Переименовано 1 файла(ов)."));

    // The main window's next activation keeps the table with its new names.
    grid_.setCell(1, 1, QStringLiteral("edited"));
    EXPECT_FALSE(refillOnActivation(grid_, state_));
    EXPECT_EQ(grid_.cell(1, 1), QStringLiteral("edited"));
    EXPECT_EQ(grid_.cell(1, 2), QStringLiteral("Вторая.kar"));
    EXPECT_FALSE(state_.compositeRenameDone);
}

TEST_F(CompositeRenameTest, OriginalNameAndDateAndEmptyCellsCompose) {
    addRow(QStringLiteral("a.kar"), QStringLiteral("Песня"));
    rebuild();
    CompositeRenameOptions options;
    options.parts[0].checked = true; // original name
    options.parts[2].checked = true; // column 4 holds "D"
    options.parts[3].checked = true; // column 5 is empty
    options.parts[7].checked = true; // date and time
    options.separator = QStringLiteral("_");
    options.dateTime = DateTimeChoice::Date;
    renameComposite(options);
    EXPECT_EQ(entries(), QStringList{QStringLiteral("a_D__07.12.2026.kar")});
}

TEST_F(CompositeRenameTest, EmptyNamesAndClashesAreRefusedRowByRow) {
    addRow(QStringLiteral("a.kar"), QString());
    addRow(QStringLiteral("b.kar"), QStringLiteral("Same"));
    addRow(QStringLiteral("c.kar"), QStringLiteral("Same"));
    addRow(QStringLiteral("d.kar"), QStringLiteral("Поп/Рок: хиты"));
    rebuild();

    const RenameRunResult run = renameComposite(onlyColumn3());

    EXPECT_EQ(run.renameCount, 2);
    EXPECT_EQ(entries(),
              (QStringList{QStringLiteral("Same.kar"), QStringLiteral("a.kar"),
                           QStringLiteral("c.kar"), QStringLiteral("Поп Рок хиты.kar")}));
    EXPECT_EQ(contentOf(QStringLiteral("Same.kar")), "b.kar");
    const QStringList messages = run.errorMessages();
    ASSERT_EQ(messages.size(), 2);
    EXPECT_EQ(messages[0], QStringLiteral("Не удалось переименовать ") + folder() +
                               QStringLiteral("a.kar. Новое имя должно являться не пустой "
                                              "строкой. :)"));
    EXPECT_EQ(messages[1], QStringLiteral("Не удалось переименовать ") + folder() +
                               QStringLiteral("c.kar. Файл с таким именем уже существует: ") +
                               folder() + QStringLiteral("Same.kar"));
    EXPECT_EQ(grid_.cell(1, 3), QStringLiteral("c.kar"));

    EXPECT_EQ(compositeEmptyNameRefusal(QStringLiteral("/x/a.kar"), TableSource::MainWindowStore),
              QStringLiteral("Не удалось переименовать /x/a.kar. Новое имя должно являться не "
                             "пустой строкой."));
}

TEST_F(CompositeRenameTest, OnlyRefusedRowsLeaveTheTableToBeRebuilt) {
    addRow(QStringLiteral("a.kar"), QStringLiteral("b"));
    addRow(QStringLiteral("b.kar"), QStringLiteral("x"));
    rebuild();
    const RenameRunResult run = renameComposite(onlyColumn3());
    EXPECT_EQ(run.renameCount, 1); // row 1 clashes with b.kar, row 2 becomes x.kar
    EXPECT_TRUE(state_.compositeRenameDone);

    CatalogueState fresh;
    CatalogueGrid grid;
    fresh.tableSourceStore().append(
        {QStringLiteral("a.kar"), folder(), QStringLiteral("x"), QString(), QString(), QString()});
    rebuildFromStore(grid, fresh.tableSourceStore());
    const RenamePlan plan = planCompositeRename(grid, fresh, onlyColumn3(), clock_);
    const RenameRunResult refused = carryOutRenamePlan(plan, grid, fresh);
    EXPECT_EQ(refused.renameCount, 0);
    EXPECT_FALSE(refused.compositeRenameDone);
    EXPECT_TRUE(refused.setsRenameResult);
}

// A file that already has its composed name keeps it and counts as renamed, as the rename of
// a name onto itself succeeds.
TEST_F(CompositeRenameTest, SecondRunFindsTheNamesInPlace) {
    addRow(QStringLiteral("a.kar"), QStringLiteral("Песня"));
    rebuild();
    EXPECT_EQ(renameComposite(onlyColumn3()).renameCount, 1);
    const RenameRunResult again = renameComposite(onlyColumn3());
    EXPECT_EQ(again.renameCount, 1);
    EXPECT_TRUE(again.errorMessages().isEmpty());
    EXPECT_EQ(entries(), QStringList{QStringLiteral("Песня.kar")});
}

TEST_F(CompositeRenameTest, LongCyrillicNamesAreCutToFitTheFileSystem) {
    addRow(QStringLiteral("a.kar"), QString(300, QChar(u'Я')));
    addRow(QStringLiteral("b.kar"), QStringLiteral("ы") + QString(300, QChar(u'Я')));
    rebuild();
    CompositeRenameOptions options = onlyColumn3();
    options.parts[5].checked = true; // own text, after column 3
    options.ownText = QStringLiteral("хвост");
    const RenameRunResult run = renameComposite(options);
    ASSERT_EQ(run.renameCount, 2);
    const QString first = QString(125, QChar(u'Я')) + QStringLiteral(".kar");
    EXPECT_EQ(grid_.cell(1, 1), first);
    EXPECT_EQ(QFile::encodeName(grid_.cell(1, 2)).size(), 254);
    EXPECT_TRUE(QFile::exists(folder() + first));
    EXPECT_TRUE(QFile::exists(folder() + grid_.cell(1, 2)));
}

TEST_F(CompositeRenameTest, MissingFilesAreSkippedSilentlyAndNoPartIsAnError) {
    addRow(QStringLiteral("gone.kar"), QStringLiteral("Новое"), false);
    addRow(QStringLiteral("here.kar"), QStringLiteral("Новое"));
    rebuild();
    const RenameRunResult run = renameComposite(onlyColumn3());
    EXPECT_EQ(run.renameCount, 1);
    EXPECT_TRUE(run.errorMessages().isEmpty());
    EXPECT_EQ(grid_.cell(1, 1), QStringLiteral("gone.kar"));

    try {
        planCompositeRename(grid_, state_, CompositeRenameOptions{}, clock_);
        FAIL() << "no part checked must be refused";
    } catch (const Error& error) {
        EXPECT_EQ(error.message(),
                  QStringLiteral("Должен быть отмечен хотя бы один пункт из списка."));
    }
}

TEST_F(CompositeRenameTest, LocationsComeFromTheStoreTheTableSourceNames) {
    state_.tableSource = TableSource::MainWindowStore;
    addRow(QStringLiteral("m.kar"), QStringLiteral("Главное"));
    rebuild();
    state_.startWindowStore.append(
        {QStringLiteral("other.kar"), folder(), QString(), QString(), QString(), QString()});
    const RenameRunResult run = renameComposite(onlyColumn3());
    EXPECT_EQ(run.renameCount, 1);
    EXPECT_EQ(state_.mainWindowStore.record(1)[FileNameField], QStringLiteral("Главное.kar"));
    EXPECT_EQ(state_.startWindowStore.record(1)[FileNameField], QStringLiteral("other.kar"));
}

} // namespace
} // namespace songwick

namespace songwick {
namespace {

QByteArrayList namesOnDisk(const QByteArray& folder) {
    QByteArrayList names;
    DIR* dir = ::opendir(folder.constData());
    while (dirent* entry = dir != nullptr ? ::readdir(dir) : nullptr)
        if (entry->d_name[0] != '.')
            names.push_back(entry->d_name);
    if (dir != nullptr)
        ::closedir(dir);
    std::sort(names.begin(), names.end());
    return names;
}

// A name that is not UTF-8 and a name holding a real U+FFFD are two files, found and renamed
// as such.
TEST(RenameUndecodableNames, TheScannedFileIsTheOneRenamed) {
    QTemporaryDir root;
    const QByteArray folder = QFile::encodeName(root.path()) + '/';
    for (const QByteArray& name : {QByteArray("\xff.kar"), QByteArray("\xEF\xBF\xBD.kar")}) {
        const int fd = ::open((folder + name).constData(), O_CREAT | O_WRONLY, 0644);
        ASSERT_GE(fd, 0);
        ::close(fd);
    }
    CatalogueState state;
    ASSERT_EQ(walkFolder(root.path(), state.startWindowStore, {}).recordsAdded, 2);
    CatalogueGrid grid;
    rebuildFromStore(grid, state.startWindowStore);
    const int undecodable = encodeFileName(grid.cell(1, 1)) == "\xff.kar" ? 1 : 2;
    grid.setCell(1, undecodable, QStringLiteral("renamed.kar"));

    const RenamePlan plan = planFileNameColumnRename(grid, state);
    const QTemporaryDir journals;
    EXPECT_EQ(carryOutRenamePlan(plan, grid, state, journals.path()).renameCount, 1);

    EXPECT_EQ(namesOnDisk(folder),
              (QByteArrayList{QByteArray("renamed.kar"), QByteArray("\xEF\xBF\xBD.kar")}));
    // The journal keeps the name byte for byte, so the undo gives it back.
    EXPECT_EQ(carryOutUndo(planUndoOfLastRun(journals.path()), journals.path()).undone.size(), 1u);
    EXPECT_EQ(namesOnDisk(folder),
              (QByteArrayList{QByteArray("\xEF\xBF\xBD.kar"), QByteArray("\xff.kar")}));
    for (const QByteArray& name : namesOnDisk(folder)) // a name Qt cannot remove
        ::unlink((folder + name).constData());
}

} // namespace
} // namespace songwick
