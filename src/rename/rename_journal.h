#pragma once

#include "common/file_identity.h"
#include "common/file_path.h"

#include <QByteArrayView>
#include <QDateTime>
#include <QString>
#include <QtGlobal>
#include <functional>
#include <optional>
#include <vector>

namespace songwick {

// The rename journal. Every run that renames files, an undo included, gets a journal file of
// its own before its first file is renamed: a header naming the machine and the kind of run,
// then one line per planned rename (time, folder, old name, new name, the file's device,
// inode, size and modification time), each written to the system before that rename is
// tried, and a closing line after the run. A run killed in the middle leaves every rename it
// may have done in its journal; which of them happened is told by the disk (the same file at
// the old or at the new name).
//
// The files are "NNNNNN.journal" in the journal folder, numbered upwards: the highest number
// is the last run. Journals older than 90 days and all but the last 50 are removed when a new
// run begins. A journal without a rename line (one whose header could not be written in
// full, or a run killed right after its header) is no run at all: it is passed over.

// "renames" in the user's data folder.
QString defaultRenameJournalFolder();

// This machine as journals name it: the system's machine id, else its host name.
QString journalMachineId();

// What a look-up of a path (a link itself, not what it points to) found.
struct FileLookup {
    std::optional<FileIdentity> identity;
    int systemError = 0; // errno of the failed look-up, when there is no identity

    // Nothing is there: the file is gone, as opposed to a look-up the system refused (access,
    // input/output error, ...), which tells nothing about the file.
    bool missing() const;
};

FileLookup lookUpFile(const QString& path);

// The identity of the entry at path; nothing when there is none or it cannot be looked up.
std::optional<FileIdentity> fileIdentityOf(const QString& path);

enum class JournalRunKind {
    Rename, // one of the two renames of the table, or the command line's
    Undo,   // the undo of an earlier run
};

struct JournalEntry {
    QDateTime time; // UTC
    QString folder; // absolute, ending with "/"
    QString oldName;
    QString newName;
    // The device and inode; the size and modification time too when versionKnown (journals
    // of earlier versions of the program do not have them).
    FileIdentity file;
    bool versionKnown = false;
    bool refused = false; // the rename was tried and the system refused it

    QString oldPath() const { return joinFolderAndName(folder, oldName); }
    QString newPath() const { return joinFolderAndName(folder, newName); }

    // Whether the entry found on disk is the file this rename moved: the same device and
    // inode and, where the journal knows them, the same size and modification time (a rename
    // changes neither, a new file that got the inode of a removed one has its own).
    bool isFile(const std::optional<FileIdentity>& found) const;
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
    Damaged,    // not a journal of ours, or a line that does not read
    Foreign,    // written on another machine: its devices and inodes mean nothing here
    Unreadable, // the system would not let it be read (problem says why)
    NoRun,      // a journal without a rename line: nothing to undo, not a run
};

struct JournalFile {
    JournalState state = JournalState::Usable;
    QString problem; // for a damaged or unreadable journal, what is wrong with it
    JournalRun run;  // number and path always; the rest only when usable
};

// Reads one journal. A last line without its line end is a line whose writing was cut short,
// so its rename was never tried: it is left out.
JournalFile readJournalFile(const QString& path, const QString& machine = journalMachineId());

// The same for a journal's bytes; `number` is the one its file name gives.
JournalFile readJournalBytes(QByteArrayView bytes, int number, const QString& machine);

// Every journal of the folder, oldest first (a missing folder has none).
std::vector<JournalFile> readJournalFolder(const QString& folder,
                                           const QString& machine = journalMachineId());

enum class UndoState {
    NotUndone,
    Undone,       // a later undo of it ran to its end and is not undone itself
    UndonePartly, // only undos that were cut short (killed) name it
};

struct RunUndoState {
    UndoState state = UndoState::NotUndone;
    int undoneCount = 0; // partly undone: the renames the cut-short undos attempted
};

// The undo state of each run of the list (as readJournalFolder returns it), same order. Only
// usable journals count.
std::vector<RunUndoState> runUndoStates(const std::vector<JournalFile>& files);

// The message for a journal that is not followed.
QString unusableJournalMessage(const JournalFile& file);

// Removes a journal that holds no run (JournalState::NoRun), unless a run is writing it right
// now or it has gained a rename line since it was read. True when it is gone.
bool removeJournalWithoutRun(const QString& path);

inline constexpr int kJournalsKept = 50;
inline constexpr int kJournalDaysKept = 90;

// Removes the journals last written more than 90 days before now, and all but the 50 with
// the highest numbers.
void pruneJournals(const QString& folder, const QDateTime& now);

// Writes the journal of one run. Every line goes to the system at once (a killed process
// loses nothing); the file is synced after its header and at its close, and held locked while
// the run writes it. Throws Error with the user's message when the journal cannot be created
// or written; a journal whose header could not be written is removed at once.
class JournalWriter {
public:
    // Creates the folder and the run's journal (the next number) and writes its header, then
    // prunes the folder.
    JournalWriter(const QString& folder, JournalRunKind kind, int undoesNumber = 0);
    ~JournalWriter();
    JournalWriter(const JournalWriter&) = delete;
    JournalWriter& operator=(const JournalWriter&) = delete;

    // Before renaming folder/oldName to folder/newName.
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
    void writeHeader(JournalRunKind kind, int undoesNumber);
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
