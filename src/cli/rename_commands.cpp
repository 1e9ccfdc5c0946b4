#include "catalogue/list_file.h"
#include "cli/cli_support.h"
#include "cli/commands.h"
#include "common/error.h"
#include "rename/rename_journal.h"
#include "rename/rename_plan.h"
#include "rename/rename_preview.h"
#include "rename/rename_undo.h"

#include <QDir>
#include <memory>

namespace songwick::cli {
namespace {

constexpr int kAllDone = 0;
constexpr int kSomeRefused = 1;
constexpr int kBadInput = 2;

// Takes "--dry-run" out of the arguments; true when it was there.
bool takeDryRun(QStringList& arguments) {
    return arguments.removeAll(QStringLiteral("--dry-run")) > 0;
}

CatalogueGrid readList(const QString& path) {
    CatalogueGrid grid;
    if (readListFile(readListFileBytes(path), grid) == ListFileRead::NotAListFile)
        throw Error(path + QStringLiteral(": ") + notAListFileMessage());
    return grid;
}

QString cellOf(const CatalogueGrid& grid, int column, int row) {
    return grid.contains(column, row) ? grid.cell(column, row) : QString();
}

// The files of a list as a scan wrote it (name in column 1, folder in column 2) as the store
// the rename takes them from, and the new names of the edited list as the table's column 1.
struct RenameInput {
    CatalogueGrid table;
    std::unique_ptr<CatalogueState> state = std::make_unique<CatalogueState>();
};

RenameInput readRenameInput(const QString& scanPath, const QString& editedPath) {
    const CatalogueGrid scan = readList(scanPath);
    RenameInput input{readList(editedPath)};
    if (scan.dataRowCount() != input.table.dataRowCount())
        throw Error(QStringLiteral("%1 has %2 rows, %3 has %4: the lists must have the same "
                                   "rows. Nothing was renamed.")
                        .arg(scanPath)
                        .arg(scan.dataRowCount())
                        .arg(editedPath)
                        .arg(input.table.dataRowCount()));
    input.state->tableSource = TableSource::StartWindowStore;
    for (int row = 1; row <= scan.dataRowCount(); ++row) {
        CatalogueRecord record;
        record[FileNameField] = cellOf(scan, 1, row);
        record[FolderField] = cellOf(scan, 2, row);
        // Relative to what? A scan writes every folder from the root.
        if (!record[FolderField].startsWith(u'/') || !record[FolderField].endsWith(u'/'))
            throw Error(QStringLiteral("%1, row %2: the folder \"%3\" is not a full path. "
                                       "Nothing was renamed.")
                            .arg(scanPath)
                            .arg(row)
                            .arg(record[FolderField]));
        // Row i of the scan is the file; the edited list only gives its new name.
        input.table.setRowFile(row, rowFileOf(record));
        if (!input.state->startWindowStore.append(std::move(record)))
            throw Error(QStringLiteral("%1 has more rows than a list can hold.").arg(scanPath));
    }
    if (input.table.columnCount() < 2)
        input.table.setColumnCount(2);
    return input;
}

QString renameLine(const QString& verb, const QString& oldPath, const QString& newName,
                   const QString& reason = {}) {
    QString line = verb + QStringLiteral(" ") + oldPath + QStringLiteral(" -> ") + newName;
    if (!reason.isEmpty())
        line += QStringLiteral(": ") + reason;
    return line + u'\n';
}

// Rows whose name was edited but whose file is not there: the batch was asked for them.
int printMissingFiles(const RenamePlan& plan, const QString& verb) {
    int missing = 0;
    for (const RenamePlanRow& row : plan.rows) {
        if (row.action == PlannedAction::Missing) {
            printOut(
                renameLine(verb, row.oldPath(), row.newName, QStringLiteral("Файл не найден")));
            ++missing;
        }
    }
    return missing;
}

int dryRunRename(const RenamePlan& plan) {
    const std::vector<RenamePreviewRow> preview = previewRenamePlan(plan);
    for (const RenamePreviewRow& row : preview) {
        printOut(renameLine(row.refused() ? QStringLiteral("would refuse")
                                          : QStringLiteral("would rename"),
                            row.folder + row.oldName, row.newName, row.refusal));
    }
    const int refused =
        previewRefusalCount(preview) + printMissingFiles(plan, QStringLiteral("would refuse"));
    printOut(QStringLiteral("%1 to rename, %2 refused (dry run, nothing renamed)\n")
                 .arg(previewRenameCount(preview))
                 .arg(refused));
    return refused == 0 ? kAllDone : kSomeRefused;
}

int carryOutRename(const RenamePlan& plan, RenameInput& input) {
    const RenameRunResult run =
        carryOutRenamePlan(plan, input.table, *input.state, defaultRenameJournalFolder());
    int refused = 0;
    for (const RenameRowResult& result : run.rows) {
        const RenamePlanRow& row = plan.rows[std::size_t(result.row - 1)];
        if (result.outcome == RowOutcome::Renamed) {
            printOut(renameLine(QStringLiteral("renamed"), row.oldPath(), row.newName));
        } else {
            printOut(renameLine(QStringLiteral("refused"), row.oldPath(), row.newName,
                                refusalReason(result)));
            ++refused;
        }
    }
    refused += printMissingFiles(plan, QStringLiteral("refused"));
    printOut(QStringLiteral("%1 renamed, %2 refused\n").arg(run.renameCount).arg(refused));
    if (!run.stoppedBecause.isEmpty()) {
        printError(run.stoppedBecause + u'\n');
        return kSomeRefused;
    }
    return refused == 0 ? kAllDone : kSomeRefused;
}

// The old name is free now, so far as the disk tells before the undo.
bool oldNameFree(const JournalEntry& entry) {
    return !fileIdentityOf(entry.oldPath()).has_value();
}

int dryRunUndo(const UndoPlan& plan) {
    int restorable = 0;
    int cannot = 0;
    for (const UndoStep& step : plan.steps) {
        const JournalEntry& entry = step.entry;
        if (step.action == UndoAction::NotRenamed)
            continue;
        if (step.action == UndoAction::Replaced) {
            printOut(QStringLiteral("cannot undo ") + replacedFileLine(entry) + u'\n');
            ++cannot;
        } else if (!oldNameFree(entry)) {
            printOut(renameLine(QStringLiteral("cannot undo"), entry.newPath(), entry.oldName,
                                QStringLiteral("имя занято другим файлом")));
            ++cannot;
        } else {
            printOut(renameLine(QStringLiteral("would restore"), entry.newPath(), entry.oldName));
            ++restorable;
        }
    }
    printOut(QStringLiteral("%1 to restore, %2 cannot be undone (dry run, nothing renamed)\n")
                 .arg(restorable)
                 .arg(cannot));
    return cannot == 0 ? kAllDone : kSomeRefused;
}

int carryOutUndoRun(const UndoPlan& plan) {
    const UndoRunResult result = carryOutUndo(plan, defaultRenameJournalFolder());
    for (const UndoneRename& undone : result.undone)
        printOut(renameLine(QStringLiteral("restored"), undone.folder + undone.renamedName,
                            undone.restoredName));
    for (const QString& line : result.notUndone)
        printOut(QStringLiteral("not undone ") + line + u'\n');
    printOut(QStringLiteral("%1 restored, %2 not undone\n")
                 .arg(result.undone.size())
                 .arg(result.notUndone.size()));
    if (!result.stoppedBecause.isEmpty()) {
        printError(result.stoppedBecause + u'\n');
        return kSomeRefused;
    }
    return result.notUndone.isEmpty() ? kAllDone : kSomeRefused;
}

QString runLine(const JournalFile& file, bool undone) {
    const JournalRun& run = file.run;
    QString line = QStringLiteral("%1  ").arg(run.number, 6, 10, QLatin1Char('0'));
    if (file.state != JournalState::Usable)
        return line + unusableJournalMessage(file) + u'\n';
    line += run.started.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    line += run.kind == JournalRunKind::Undo
                ? QStringLiteral("  undo of %1").arg(run.undoesNumber, 6, 10, QLatin1Char('0'))
                : QStringLiteral("  rename");
    line += QStringLiteral("  %1 renamed").arg(run.attemptedCount());
    if (!run.closed)
        line += QStringLiteral("  unfinished");
    if (undone)
        line += QStringLiteral("  undone");
    return line + u'\n';
}

} // namespace

int runRename(const QStringList& arguments) {
    QStringList rest = arguments;
    const bool dryRun = takeDryRun(rest);
    const Arguments args(rest, {});
    if (args.positional().size() != 2)
        throw UsageError("rename takes SCAN.swk and EDITED.swk");
    RenameInput input;
    try {
        input = readRenameInput(args.positional()[0], args.positional()[1]);
    } catch (const Error& error) {
        printError(QStringLiteral("songwick-cli rename: ") + error.message() + u'\n');
        return kBadInput;
    }
    const RenamePlan plan = planFileNameColumnRename(input.table, *input.state);
    return dryRun ? dryRunRename(plan) : carryOutRename(plan, input);
}

int runUndo(const QStringList& arguments) {
    QStringList rest = arguments;
    const bool dryRun = takeDryRun(rest);
    if (!Arguments(rest, {}).positional().isEmpty())
        throw UsageError("undo takes no file");
    UndoPlan plan;
    try {
        plan = planUndoOfLastRun(defaultRenameJournalFolder());
    } catch (const Error& error) {
        printError(QStringLiteral("songwick-cli undo: ") + error.message() + u'\n');
        return kBadInput;
    }
    return dryRun ? dryRunUndo(plan) : carryOutUndoRun(plan);
}

int runJournal(const QStringList& arguments) {
    if (!Arguments(arguments, {}).positional().isEmpty())
        throw UsageError("journal takes no argument");
    const std::vector<JournalFile> files = readJournalFolder(defaultRenameJournalFolder());
    const std::vector<bool> undone = undoneRuns(files);
    for (std::size_t i = 0; i < files.size(); ++i)
        printOut(runLine(files[i], undone[i]));
    if (files.empty())
        printOut(QStringLiteral("no renames journalled in %1\n")
                     .arg(QDir::toNativeSeparators(defaultRenameJournalFolder())));
    return 0;
}

} // namespace songwick::cli
