#include "catalogue/list_file.h"
#include "rename/rename_journal.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>
#include <gtest/gtest.h>

using namespace songwick;

namespace {

// songwick-cli with its data folder, and so its rename journal, inside the test's folder.
class RenameCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(root_.isValid());
        songs_ = root_.filePath(QStringLiteral("songs")) + u'/';
        ASSERT_TRUE(QDir().mkpath(songs_));
    }

    QProcessEnvironment environment() const {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_DATA_HOME"), root_.filePath(QStringLiteral("data")));
        return environment;
    }
    QString journalFolder() const {
        return root_.filePath(QStringLiteral("data/songwick/renames"));
    }

    int run(const QStringList& arguments, QString* out = nullptr, QString* err = nullptr) const {
        QProcess process;
        process.setProcessEnvironment(environment());
        process.start(QStringLiteral(SONGWICK_CLI_PATH), arguments);
        EXPECT_TRUE(process.waitForFinished(60000));
        if (out != nullptr)
            *out = QString::fromUtf8(process.readAllStandardOutput());
        if (err != nullptr)
            *err = QString::fromUtf8(process.readAllStandardError());
        return process.exitCode();
    }

    void makeFile(const QString& name, const QByteArray& content = "MThd") const {
        QFile file(songs_ + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }

    // A list as a scan writes it: the files with the names in column 1, the songs folder in
    // column 2 and the titles in column 3 (by default "song N" for row N, so that lists of the
    // same length pair row by row).
    QString writeList(const QString& listName, const QStringList& names,
                      const QStringList& titles = {}) const {
        CatalogueGrid grid(7, int(names.size()) + 1);
        for (int row = 1; row <= names.size(); ++row) {
            grid.setCell(1, row, names[row - 1]);
            grid.setCell(2, row, songs_);
            grid.setCell(3, row,
                         titles.isEmpty() ? QStringLiteral("song %1").arg(row) : titles[row - 1]);
            grid.setRowFile(row, RowFile{songs_, names[row - 1]});
        }
        const QString path = root_.filePath(listName);
        writeListFile(path, grid);
        return path;
    }

    QStringList files() const { return QDir(songs_).entryList(QDir::Files, QDir::Name); }

    QTemporaryDir root_;
    QString songs_;
};

TEST_F(RenameCommandTest, DryRunRenamesNothingAndExitCodesTellTheOutcome) {
    makeFile(QStringLiteral("a.kar"));
    makeFile(QStringLiteral("b.kar"));
    const QString scan =
        writeList(QStringLiteral("scan.swk"), {QStringLiteral("a.kar"), QStringLiteral("b.kar")});
    const QString taken =
        writeList(QStringLiteral("taken.swk"), {QStringLiteral("x.kar"), QStringLiteral("x.kar")});
    const QString good =
        writeList(QStringLiteral("good.swk"), {QStringLiteral("b.kar"), QStringLiteral("c.kar")});
    const QString unpaired = writeList(QStringLiteral("unpaired.swk"), {QStringLiteral("z.kar")},
                                       {QStringLiteral("no such song")});

    QString out;
    EXPECT_EQ(run({QStringLiteral("rename"), scan, taken, QStringLiteral("--dry-run")}, &out), 1);
    EXPECT_TRUE(
        out.contains(QStringLiteral("would rename ") + songs_ + QStringLiteral("a.kar -> x.kar")));
    EXPECT_TRUE(out.contains(QStringLiteral("Это имя получает файл из строки 1")));
    // a.kar -> b.kar comes before b.kar is freed: refused, as the run itself would.
    EXPECT_EQ(run({QStringLiteral("rename"), scan, good, QStringLiteral("--dry-run")}, &out), 1);
    EXPECT_EQ(files(), (QStringList{QStringLiteral("a.kar"), QStringLiteral("b.kar")}));
    EXPECT_FALSE(QDir(journalFolder()).exists());

    EXPECT_EQ(run({QStringLiteral("rename"), scan, unpaired}, &out), 2);
    QString err;
    const QString none = root_.filePath(QStringLiteral("none.swk"));
    EXPECT_EQ(run({QStringLiteral("rename"), scan, none}, &out, &err), 2);
    EXPECT_EQ(err, QStringLiteral("songwick-cli rename: Не удалось открыть файл \"") + none +
                       QStringLiteral("\": Нет такого файла или каталога\n"));
    EXPECT_EQ(files(), (QStringList{QStringLiteral("a.kar"), QStringLiteral("b.kar")}));

    EXPECT_EQ(run({QStringLiteral("rename"), scan, taken}, &out), 1);
    EXPECT_TRUE(out.endsWith(QStringLiteral("1 renamed, 1 refused\n")));
    EXPECT_EQ(files(), (QStringList{QStringLiteral("b.kar"), QStringLiteral("x.kar")}));
    EXPECT_EQ(run({QStringLiteral("undo"), QStringLiteral("--dry-run")}, &out), 0);
    EXPECT_EQ(files(), (QStringList{QStringLiteral("b.kar"), QStringLiteral("x.kar")}));
}

TEST_F(RenameCommandTest, UndoRestoresNamesSkipsReplacedFilesAndNeverReplaces) {
    for (const char* name : {"a.kar", "b.kar", "c.kar"})
        makeFile(QString::fromLatin1(name), name);
    const QString scan =
        writeList(QStringLiteral("scan.swk"),
                  {QStringLiteral("a.kar"), QStringLiteral("b.kar"), QStringLiteral("c.kar")});
    const QString edited =
        writeList(QStringLiteral("edited.swk"),
                  {QStringLiteral("A.kar"), QStringLiteral("B.kar"), QStringLiteral("C.kar")});
    ASSERT_EQ(run({QStringLiteral("rename"), scan, edited}), 0);
    ASSERT_EQ(files(), (QStringList{QStringLiteral("A.kar"), QStringLiteral("B.kar"),
                                    QStringLiteral("C.kar")}));

    // B.kar is replaced by another file; someone takes the name c.kar.
    // (made before the old one goes, so that it cannot get the old file's inode)
    makeFile(QStringLiteral("other.tmp"), "other");
    ASSERT_EQ(std::rename(QFile::encodeName(songs_ + QStringLiteral("other.tmp")).constData(),
                          QFile::encodeName(songs_ + QStringLiteral("B.kar")).constData()),
              0);
    makeFile(QStringLiteral("c.kar"), "newcomer");

    QString out;
    EXPECT_EQ(run({QStringLiteral("undo")}, &out), 1);
    EXPECT_TRUE(
        out.contains(QStringLiteral("restored ") + songs_ + QStringLiteral("A.kar -> a.kar")));
    EXPECT_TRUE(out.endsWith(QStringLiteral("1 restored, 2 not undone\n")));
    QFile newcomer(songs_ + QStringLiteral("c.kar"));
    ASSERT_TRUE(newcomer.open(QIODevice::ReadOnly));
    EXPECT_EQ(newcomer.readAll(), "newcomer");
    EXPECT_EQ(files(), (QStringList{QStringLiteral("B.kar"), QStringLiteral("C.kar"),
                                    QStringLiteral("a.kar"), QStringLiteral("c.kar")}));

    // The undo is a run of its own: undoing it renames a.kar forward again.
    EXPECT_EQ(run({QStringLiteral("undo")}), 0);
    EXPECT_TRUE(files().contains(QStringLiteral("A.kar")));
    EXPECT_EQ(run({QStringLiteral("journal")}, &out), 0);
    EXPECT_EQ(out.count(u'\n'), 3);
    EXPECT_TRUE(out.contains(QStringLiteral("undo of 000002")));
}

// A sorted or shorter copy pairs each row with the scan row of the same folder and cells; rows
// that differ only by their name cannot be told apart, and then nothing is renamed.
TEST_F(RenameCommandTest, EditedRowsPairWithTheirScanRowsNeverByPosition) {
    for (const char* name : {"a.kar", "b.kar", "c.kar", "x.kar", "y.kar"})
        makeFile(QString::fromLatin1(name), name);
    const QString scan =
        writeList(QStringLiteral("scan.swk"),
                  {QStringLiteral("a.kar"), QStringLiteral("b.kar"), QStringLiteral("c.kar")},
                  {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")});
    const QString sorted = writeList(QStringLiteral("sorted.swk"),
                                     {QStringLiteral("C-new.kar"), QStringLiteral("A-new.kar")},
                                     {QStringLiteral("C"), QStringLiteral("A")});
    EXPECT_EQ(run({QStringLiteral("rename"), scan, sorted}), 0);
    QFile renamed(songs_ + QStringLiteral("A-new.kar"));
    ASSERT_TRUE(renamed.open(QIODevice::ReadOnly));
    EXPECT_EQ(renamed.readAll(), "a.kar");
    EXPECT_TRUE(files().contains(QStringLiteral("C-new.kar")));
    EXPECT_TRUE(files().contains(QStringLiteral("b.kar")));

    const QString twins =
        writeList(QStringLiteral("twins.swk"), {QStringLiteral("x.kar"), QStringLiteral("y.kar")},
                  {QStringLiteral("Same"), QStringLiteral("Same")});
    const QString edited =
        writeList(QStringLiteral("edited.swk"), {QStringLiteral("y.kar"), QStringLiteral("z.kar")},
                  {QStringLiteral("Same"), QStringLiteral("Same")});
    QString err;
    EXPECT_EQ(run({QStringLiteral("rename"), twins, edited}, nullptr, &err), 2);
    EXPECT_TRUE(err.contains(edited + QStringLiteral(", row 2 (\"z.kar\"): rows 1, 2 of ")))
        << err.toStdString();
    EXPECT_TRUE(err.contains(QStringLiteral("Nothing was renamed.")));
    EXPECT_TRUE(files().contains(QStringLiteral("x.kar")));
    EXPECT_TRUE(files().contains(QStringLiteral("y.kar")));
}

TEST_F(RenameCommandTest, JournalOfAKilledRunSaysWhichRenamesHappened) {
    constexpr int kFiles = 3000;
    QStringList names;
    QStringList newNames;
    for (int i = 0; i < kFiles; ++i) {
        names << QStringLiteral("song%1.kar").arg(i);
        newNames << QStringLiteral("renamed%1.kar").arg(i);
        makeFile(names.back());
    }
    const QString scan = writeList(QStringLiteral("scan.swk"), names);
    const QString edited = writeList(QStringLiteral("edited.swk"), newNames);

    QProcess process;
    process.setProcessEnvironment(environment());
    // Nobody reads its lines: a full pipe must not hold the run up.
    process.setStandardOutputFile(QProcess::nullDevice());
    process.start(QStringLiteral(SONGWICK_CLI_PATH), {QStringLiteral("rename"), scan, edited});
    ASSERT_TRUE(process.waitForStarted());
    // Killed as soon as the first renames show up on disk; the wait notices a run that ended.
    while (!QFile::exists(songs_ + QStringLiteral("renamed0.kar")) && !process.waitForFinished(1))
        ;
    process.kill();
    process.waitForFinished();

    const std::vector<JournalFile> journals = readJournalFolder(journalFolder());
    ASSERT_EQ(journals.size(), 1u);
    ASSERT_EQ(journals[0].state, JournalState::Usable);
    const JournalRun& journalled = journals[0].run;
    int renamed = 0;
    for (const JournalEntry& entry : journalled.entries) {
        // Every journalled file is under its old or its new name, the same file.
        const bool isNew = entry.isFile(fileIdentityOf(entry.newPath()));
        EXPECT_TRUE(isNew || entry.isFile(fileIdentityOf(entry.oldPath())))
            << entry.oldName.toStdString();
        renamed += isNew ? 1 : 0;
    }
    // And every file renamed on disk is in the journal.
    EXPECT_EQ(renamed, QDir(songs_).entryList({QStringLiteral("renamed*")}, QDir::Files).size());
    if (journalled.closed)
        GTEST_SKIP() << "the run ended before it was killed";

    QString out;
    EXPECT_EQ(run({QStringLiteral("undo")}, &out), 0) << out.toStdString();
    EXPECT_EQ(QDir(songs_).entryList({QStringLiteral("renamed*")}, QDir::Files).size(), 0);
    EXPECT_EQ(files().size(), kFiles);
}

TEST_F(RenameCommandTest, ForeignOrDamagedJournalIsNotFollowed) {
    makeFile(QStringLiteral("b.kar"));
    ASSERT_TRUE(QDir().mkpath(journalFolder()));
    const auto fileIdentity = fileIdentityOf(songs_ + QStringLiteral("b.kar"));
    ASSERT_TRUE(fileIdentity.has_value());
    QFile journal(journalFolder() + QStringLiteral("/000001.journal"));
    ASSERT_TRUE(journal.open(QIODevice::WriteOnly));
    journal.write("Songwick rename journal 1\nmachine\telsewhere\nrun\trename\nstarted\t"
                  "2026-12-01T10:00:00.000Z\nrename\t2026-12-01T10:00:00.000Z\t" +
                  QFile::encodeName(songs_) + "\ta.kar\tb.kar\t" +
                  QByteArray::number(fileIdentity->device) + '\t' +
                  QByteArray::number(fileIdentity->inode) + "\nend\t2026-12-01T10:00:01.000Z\t1\n");
    journal.close();
    EXPECT_EQ(run({QStringLiteral("undo")}), 2);
    EXPECT_EQ(files(), QStringList{QStringLiteral("b.kar")});

    ASSERT_TRUE(journal.open(QIODevice::WriteOnly));
    journal.write("Songwick rename journal 1\nmachine\t" + journalMachineId().toUtf8() +
                  "\nrun\trename\nstarted\tyesterday\n");
    journal.close();
    EXPECT_EQ(run({QStringLiteral("undo")}), 2);
    EXPECT_EQ(files(), QStringList{QStringLiteral("b.kar")});
}

} // namespace
