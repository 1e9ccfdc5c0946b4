#include "common/error.h"
#include "common/small_file_system.h"
#include "folder_fixture.h"
#include "qt_printing.h"
#include "rename/no_replace_rename.h"
#include "rename/rename_journal.h"
#include "rename/rename_plan.h"
#include "rename/rename_undo.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace songwick {
namespace {

// Songs in a folder of their own and the journal folder elsewhere.
class JournalTest : public FolderFixture {
protected:
    void SetUp() override {
        FolderFixture::SetUp();
        ASSERT_TRUE(journalDir_.isValid());
    }

    QString journals() const { return journalDir_.path(); }

    // One journalled run of the file-name column rename: from[i] gets the name to[i].
    void renameRun(const QStringList& from, const QStringList& to) {
        CatalogueGrid grid(7, int(from.size()) + 1);
        CatalogueState state;
        for (int row = 1; row <= from.size(); ++row) {
            grid.setCell(1, row, to[row - 1]);
            grid.setRowFile(row, RowFile{folder(), from[row - 1]});
        }
        const RenamePlan plan = planFileNameColumnRename(grid, state);
        ASSERT_EQ(carryOutRenamePlan(plan, grid, state, journals()).renameCount, from.size());
    }

    UndoRunResult undo() { return carryOutUndo(planUndoOfLastRun(journals()), journals()); }

    std::vector<int> journalNumbers() const {
        std::vector<int> numbers;
        for (const JournalFile& file : readJournalFolder(journals()))
            numbers.push_back(file.run.number);
        return numbers;
    }

    void writeJournal(int number, const QByteArray& bytes) {
        QFile file(journals() + QStringLiteral("/%1.journal").arg(number, 6, 10, QLatin1Char('0')));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    QTemporaryDir journalDir_;
};

const QStringList kOldNames{QStringLiteral("s1.kar"), QStringLiteral("s2.kar"),
                            QStringLiteral("s3.kar"), QStringLiteral("s4.kar")};
const QStringList kNewNames{QStringLiteral("n1.kar"), QStringLiteral("n2.kar"),
                            QStringLiteral("n3.kar"), QStringLiteral("n4.kar")};

// An undo killed after two of four restores: its journal has no closing line.
TEST_F(JournalTest, UndoCutShortIsFinishedNeverReversed) {
    for (const QString& name : kOldNames)
        writeFile(name, name.toUtf8());
    renameRun(kOldNames, kNewNames);
    {
        JournalWriter cutShort(journals(), JournalRunKind::Undo, 1);
        for (const int i : {3, 2}) {
            cutShort.planned(folder(), kNewNames[i], kOldNames[i],
                             *fileIdentityOf(folder() + kNewNames[i]));
            ASSERT_EQ(renamePathWithoutReplacing(folder() + kNewNames[i], folder() + kOldNames[i])
                          .outcome,
                      RenameOutcome::Renamed);
        }
    }
    std::vector<RunUndoState> states = runUndoStates(readJournalFolder(journals()));
    ASSERT_EQ(states.size(), 2u);
    EXPECT_EQ(states[0].state, UndoState::UndonePartly);
    EXPECT_EQ(states[0].undoneCount, 2);

    const UndoPlan plan = planUndoOfLastRun(journals());
    EXPECT_EQ(plan.finishesUndoNumber, 2);
    EXPECT_EQ(carryOutUndo(plan, journals()).undone.size(), 2u);
    EXPECT_EQ(entries(), kOldNames);
    EXPECT_EQ(contentOf(QStringLiteral("s1.kar")), "s1.kar");
    states = runUndoStates(readJournalFolder(journals()));
    EXPECT_EQ(states[0].state, UndoState::Undone);

    // Undoing the finished undo renames everything forward again, what the cut-short undo
    // restored included.
    EXPECT_EQ(undo().undone.size(), 4u);
    EXPECT_EQ(entries(), kNewNames);
}

TEST_F(JournalTest, JournalWithoutARenameIsNoRun) {
    writeFile(QStringLiteral("a.kar"), "a");
    renameRun({QStringLiteral("a.kar")}, {QStringLiteral("b.kar")});
    // A run killed right after its header, and one cut short within it.
    { JournalWriter killed(journals(), JournalRunKind::Rename); }
    writeJournal(3, "Songwick rename jour");
    EXPECT_EQ(planUndoOfLastRun(journals()).run.number, 1);
    EXPECT_EQ(undo().undone.size(), 1u);
    EXPECT_EQ(entries(), QStringList{QStringLiteral("a.kar")});
    EXPECT_EQ(journalNumbers(), (std::vector<int>{1, 2}));

    // Nothing but a run without renames: nothing to undo, said so.
    const QTemporaryDir onlyHeader;
    { JournalWriter killed(onlyHeader.path(), JournalRunKind::Rename); }
    try {
        planUndoOfLastRun(onlyHeader.path());
        ADD_FAILURE() << "a journal without renames was taken for a run";
    } catch (const Error& error) {
        EXPECT_EQ(error.message(), QString::fromUtf8(kNothingToUndoMessage));
    }

    // On a full disk the journal whose header cannot be written goes at once.
    testing::SmallFileSystem disk;
    if (!disk.mounted())
        GTEST_SKIP() << "a small file system needs root";
    ASSERT_TRUE(QDir().mkpath(disk.path("renames")));
    disk.fill();
    EXPECT_THROW(JournalWriter(disk.path("renames"), JournalRunKind::Rename), Error);
    EXPECT_TRUE(QDir(disk.path("renames")).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot));
}

// A file that got the renamed file's inode (here: the same inode with other content) is not
// the renamed file; a journal of an earlier version knows device and inode only.
TEST_F(JournalTest, UndoKnowsTheRenamedFileBySizeAndModificationTime) {
    writeFile(QStringLiteral("a.kar"), "a");
    renameRun({QStringLiteral("a.kar")}, {QStringLiteral("b.kar")});
    {
        QFile changed(folder() + QStringLiteral("b.kar"));
        ASSERT_TRUE(changed.open(QIODevice::Append));
        changed.write("other song");
    }
    const UndoRunResult result = undo();
    EXPECT_TRUE(result.undone.empty());
    ASSERT_EQ(result.notUndone.size(), 1);
    EXPECT_TRUE(result.notUndone[0].startsWith(folder() + QStringLiteral("b.kar: ")));
    EXPECT_EQ(entries(), QStringList{QStringLiteral("b.kar")});

    const FileIdentity file = *fileIdentityOf(folder() + QStringLiteral("b.kar"));
    writeJournal(5, "Songwick rename journal 1\nmachine\t" + journalMachineId().toUtf8() +
                        "\nrun\trename\nstarted\t2026-12-01T10:00:00.000Z\n"
                        "rename\t2026-12-01T10:00:00.000Z\t" +
                        folder().toUtf8() + "\tc.kar\tb.kar\t" + QByteArray::number(file.device) +
                        '\t' + QByteArray::number(file.inode) +
                        "\nend\t2026-12-01T10:00:01.000Z\t1\n");
    EXPECT_EQ(undo().undone.size(), 1u);
    EXPECT_EQ(entries(), QStringList{QStringLiteral("c.kar")});
}

} // namespace
} // namespace songwick
