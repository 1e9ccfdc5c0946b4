#pragma once

#include "catalogue/catalogue_grid.h"
#include "catalogue/catalogue_state.h"
#include "rename/rename_journal.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace songwick {

// Undoing the last journalled run: its renames are taken back, last first, with the rename
// that never replaces a file, and only where the file under the new name is still the one
// the run renamed (same device and inode, same size and modification time). The undo is a
// run of its own, journalled, so that it can be undone in turn: undoing a complete undo
// renames its files forward again.

enum class UndoAction {
    Restore,      // the file is under its new name: it gets its old name back
    NotRenamed,   // the run ended before this rename: the file still has its old name
    Replaced,     // another file, or none, is under the new name now: left alone
    LookupFailed, // the system would not say what is under the names: left alone
};

struct UndoStep {
    JournalEntry entry;
    UndoAction action = UndoAction::Restore;
    QString lookedUp;    // LookupFailed: the path the system refused to look up
    int systemError = 0; // LookupFailed: why
};

struct UndoPlan {
    JournalRun run;              // the run undone
    std::vector<UndoStep> steps; // last rename first; refused renames are left out
    // The journal number of an undo that was cut short (killed) and that this one finishes:
    // run is then the run that undo was undoing. 0 otherwise.
    int finishesUndoNumber = 0;
    // Journals newer than the run that hold no run; removed when the undo is carried out.
    QStringList journalsWithoutRun;
};

inline constexpr char kNothingToUndoMessage[] =
    QT_TRANSLATE_NOOP("songwick::Rename", "Нет переименований, которые можно отменить.");

// The plan for the last run of the journal folder. Journals without a run are passed over.
// When the last run is an undo that was cut short, the plan finishes undoing the run that undo
// was undoing (what is still renamed), never reverses the cut-short undo. Throws Error with the
// user's message when there is nothing to undo (no run, or nothing of the run left to take
// back), or when the last journal is damaged, unreadable or from another machine (it is never
// followed then, and no older one is taken in its place).
UndoPlan planUndoOfLastRun(const QString& journalFolder);

// One rename taken back: folder/renamedName is folder/restoredName again.
struct UndoneRename {
    QString folder;
    QString renamedName;
    QString restoredName;
};

struct UndoRunResult {
    std::vector<UndoneRename> undone; // in the order they were done
    QStringList notUndone;            // one line per rename that could not be taken back
    // Why the undo stopped early (its own journal could not be written); else empty.
    QString stoppedBecause;
};

// Carries the plan out, journalled in journalFolder (not journalled when it is empty).
UndoRunResult carryOutUndo(const UndoPlan& plan, const QString& journalFolder);

// What could not be undone, as one message; empty when everything was.
QString undoReport(const UndoRunResult& result);
// "Отменено переименований: N"
QString undoStatusText(int undoneCount);
// The line of a step the plan already knows cannot be done (Replaced, LookupFailed).
QString notUndoneLine(const UndoStep& step);
QString replacedFileLine(const JournalEntry& entry);

// The rows whose file the undo renamed get the file's old name back, in their file and in
// column 1 of the table.
void followUndoneRenames(const std::vector<UndoneRename>& undone, CatalogueGrid& grid,
                         CatalogueState& state);

} // namespace songwick
