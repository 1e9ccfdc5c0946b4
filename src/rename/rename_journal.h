#pragma once

#include <QDateTime>
#include <QString>
#include <QtGlobal>
#include <functional>
#include <optional>
#include <vector>

namespace songwick {

// The rename journal. Every run that renames files, an undo included, gets a journal file of
// its own before its first file is renamed: a header naming the machine and the kind of run,
// then one line per planned rename (time, folder, old name, new name, the file's device and
// inode), each written to the system before that rename is tried, and a closing line after
// the run. A run killed in the middle leaves every rename it may have done in its journal;
// which of them happened is told by the disk (the device and inode at the old or new name).
//
// The files are "NNNNNN.journal" in the journal folder, numbered upwards: the highest number
// is the last run. Journals older than 90 days and all but the last 50 are removed when a new
// run begins.

// "renames" in the user's data folder.
QString defaultRenameJournalFolder();

// This machine as journals name it: the system's machine id, else its host name.
QString journalMachineId();

struct FileIdentity {
    quint64 device = 0;
    quint64 inode = 0;

    friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
};

// The identity of the entry at path (a link itself, not what it points to); nothing when
// there is none.
std::optional<FileIdentity> fileIdentityOf(const QString& path);

enum class JournalRunKind {
    Rename, // one of the two renames of the table, or the command line's
    Undo,   // the undo of an earlier run
};

struct JournalEntry {
    QDateTime time; // UTC
    QString folder; // ending with "/"
    QString oldName;
    QString newName;
    FileIdentity file;
    bool refused = false; // the rename was tried and the system refused it

    QString oldPath() const { return folder + oldName; }
    QString newPath() const { return folder + newName; }
};

struct JournalRun {
    int number = 0; // from the file name
    QString path;
    QString machine;
    JournalRunKind kind = JournalRunKind::Rename;
    int undoesNumber = 0; // an undo: the number of the run it undid
    QDateTime started;    // UTC
    std::vector<JournalEntry> entries;
    bool closed = false; // the closing line is there: the run ended normally
    QDateTime ended;

    // Entries whose rename was not refused: done, or possibly done when the run was killed.
    int attemptedCount() const;
};

enum class JournalState {
    Usable,
    Damaged, // not a journal of ours, or a line that does not read
    Foreign, // written on another machine: its devices and inodes mean nothing here
};

struct JournalFile {
    JournalState state = JournalState::Usable;
    QString problem; // for a damaged journal, what is wrong with it
    JournalRun run;  // number and path always; the rest only when usable
};

// Reads one journal. A last line without its line end is a line whose writing was cut short,
// so its rename was never tried: it is left out.
JournalFile readJournalFile(const QString& path, const QString& machine = journalMachineId());

// Every journal of the folder, oldest first (a missing folder has none).
std::vector<JournalFile> readJournalFolder(const QString& folder,
                                           const QString& machine = journalMachineId());

// Whether each run of the list (as readJournalFolder returns it) stands undone: a later,
// usable undo names it and is not itself undone. Same order as files.
std::vector<bool> undoneRuns(const std::vector<JournalFile>& files);

// The message for a journal that is not followed.
QString unusableJournalMessage(const JournalFile& file);

inline constexpr int kJournalsKept = 50;
inline constexpr int kJournalDaysKept = 90;

// Removes the journals last written more than 90 days before now, and all but the 50 with
// the highest numbers.
void pruneJournals(const QString& folder, const QDateTime& now);

// Writes the journal of one run. Every line goes to the system at once (a killed process
// loses nothing); the file is synced after its header and at its close. Throws Error with
// the user's message when the journal cannot be created or written.
class JournalWriter {
public:
    // Creates the folder and the run's journal (the next number) and writes its header, then
    // prunes the folder.
    JournalWriter(const QString& folder, JournalRunKind kind, int undoesNumber = 0);
    ~JournalWriter();
    JournalWriter(const JournalWriter&) = delete;
    JournalWriter& operator=(const JournalWriter&) = delete;

    // Before renaming folder + oldName to folder + newName.
    void planned(const QString& folder, const QString& oldName, const QString& newName,
                 const FileIdentity& file);
    // The last planned rename was refused.
    void refused();
    // The closing line. A run in which nothing was renamed leaves no journal: there is
    // nothing to undo, and the run before it stays the last one.
    void close(int renamedCount);

    const QString& path() const { return path_; }
    int number() const { return number_; }

private:
    void writeLine(const QByteArray& line);
    void sync();

    QString path_;
    int number_ = 0;
    int descriptor_ = -1;
    int plannedCount_ = 0;
};

// The journal of a run as the renames keep it: opened at the run's first rename, and a
// failure to write it is kept rather than thrown, so that the run can stop where it stands
// and keep what it did. With an empty folder nothing is journalled.
class RunJournal {
public:
    RunJournal(QString folder, JournalRunKind kind, int undoesNumber = 0);

    // False when the journal could not be written: the rename must not be tried.
    bool planned(const QString& folder, const QString& oldName, const QString& newName,
                 const FileIdentity& file);
    bool refused();
    void close(int renamedCount);

    // The user's message when writing failed, else empty.
    const QString& failure() const { return failure_; }

private:
    bool write(const std::function<void()>& step);

    QString folder_;
    JournalRunKind kind_;
    int undoesNumber_;
    std::optional<JournalWriter> writer_;
    QString failure_;
};

} // namespace songwick
