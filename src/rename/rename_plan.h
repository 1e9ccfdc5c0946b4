#pragma once

#include "catalogue/catalogue_grid.h"
#include "catalogue/catalogue_state.h"
#include "common/file_path.h"
#include "rename/composite_name.h"
#include "rename/no_replace_rename.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace songwick {

class Clock;

// Both renames work in two steps: a plan says for every data row what would happen to its
// file, then carrying the plan out renames the files, one row after the other, and reports
// each row. A window, the command line and the tests use the same two functions.

enum class RenameKind {
    FromFileNameColumn, // the names typed into column 1
    Composite,          // names composed from several parts, ".kar" added
};

enum class PlannedAction {
    Rename,         // oldName -> newName in the record's folder
    Unchanged,      // column 1 holds the name the file has: nothing to do
    Missing,        // no file under the old name: skipped without a word
    NotMarked,      // only marked rows are processed and this one is not: skipped
    EmptyName,      // the composed name is empty: refused
    InvalidName,    // the new name is empty, holds "/" or NUL, or is "." or "..": refused
    RelativeFolder, // the row's folder is not an absolute path: refused, never renamed
    LookupFailed,   // the system would not say whether the file is there: refused
    UnknownFile,    // the row names a file but stands for none (typed in, or its list or
                    // spreadsheet did not keep the name exactly): refused, never guessed
};

struct RenamePlanRow {
    int row = 0;     // data row of the table, from 1
    QString folder;  // the folder of the row's own file
    QString oldName; // the name the row's file has on disk (empty: the row stands for none)
    QString newName; // with the file's extension for a composite rename
    PlannedAction action = PlannedAction::Unchanged;
    int systemError = 0; // LookupFailed: why

    QString oldPath() const { return joinFolderAndName(folder, oldName); }
    QString newPath() const { return joinFolderAndName(folder, newName); }
};

struct RenamePlan {
    RenameKind kind = RenameKind::FromFileNameColumn;
    TableSource source = TableSource::StartWindowStore; // the store the locations came from
    std::vector<RenamePlanRow> rows;                    // one per data row, in table order

    int plannedRenameCount() const;
};

// For each data row, the row's own file (see RowFile) is to get the name in column 1 when the
// two differ (exactly, letter case included).
RenamePlan planFileNameColumnRename(const CatalogueGrid& grid, const CatalogueState& state);

inline constexpr char kNoPartCheckedMessage[] =
    QT_TRANSLATE_NOOP("songwick::Rename", "Должен быть отмечен хотя бы один пункт из списка.");

// For each data row (or each marked one), the file is to get the name composed from the
// checked parts + ".kar". The clock is read once per row, when the date or time is a part. Throws
// Error with kNoPartCheckedMessage when no part is checked.
RenamePlan planCompositeRename(const CatalogueGrid& grid, const CatalogueState& state,
                               const CompositeRenameOptions& options, const Clock& clock);

enum class RowOutcome {
    Renamed,
    Skipped, // silently: unchanged, missing, not marked
    Refused, // reported by `message`
};

struct RenameRowResult {
    int row = 0;
    RowOutcome outcome = RowOutcome::Skipped;
    RenameOutcome detail = RenameOutcome::Renamed; // what the system said, for a tried rename
    int systemError = 0;
    QString message; // the user's message for a refused row, else empty
};

struct RenameRunResult {
    RenameKind kind = RenameKind::FromFileNameColumn;
    std::vector<RenameRowResult> rows; // rows renamed or refused, in table order
    int renameCount = 0;
    // Composite rename only: the status label is to show the rename count from now on.
    bool setsRenameResult = false;
    // Composite rename only: the main window's next activation keeps the table as it is.
    bool compositeRenameDone = false;
    // Why the run stopped before its last row (its journal could not be written); empty when
    // it ran to the end. Shown whatever RenameErrorMessages says.
    QString stoppedBecause;

    // The messages of the refused rows, in order; shown one by one while the setting
    // RenameErrorMessages is on.
    QStringList errorMessages() const;
    // The status label text at the end of the run.
    QString statusText() const;
};

// Carries a plan out. Each renamed file's name goes into the record store the plan came
// from; a composite rename also writes it into column 1 of its row. A file that has
// disappeared since the plan was made is skipped silently; one the system will not look up
// (access, input/output error) is a refused row whose message says why. The main window state is
// left to the caller (applyRenameRun). With a journal folder, the run is journalled there (see
// rename_journal.h): a journal that cannot be written stops the run before the next rename, with
// the reason in stoppedBecause.
RenameRunResult carryOutRenamePlan(const RenamePlan& plan, CatalogueGrid& grid,
                                   CatalogueState& state, const QString& journalFolder = {});

// Puts the run's count and conditions into the main window's state: the rename count
// always; the rename-result flag and composite-rename-done when the run sets them.
void applyRenameRun(const RenameRunResult& run, CatalogueState& state);

// Messages.
QString fileNameColumnRefusal(const QString& oldPath);
// "Строка N ("name") не переименована: ..." for a row that stands for no file.
QString unknownFileRefusal(int row, const QString& shownName);
QString compositeRefusal(const QString& oldPath);
// "Не удалось переименовать <old>. Файл с таким именем уже существует: <new>", for either
// kind of rename.
QString targetExistsRefusal(const QString& oldPath, const QString& newPath);
QString compositeEmptyNameRefusal(const QString& oldPath, TableSource source);
// "Не удалось найти файл \"<path>\": <reason>. Файл не переименован."
QString lookupFailureRefusal(const QString& oldPath, int systemError);
QString fileNameColumnStatusText(int renameCount); // "Переименовано N файла(ов)"

} // namespace songwick
