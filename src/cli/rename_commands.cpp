#include "catalogue/list_file.h"
#include "cli/cli_support.h"
#include "cli/commands.h"
#include "common/error.h"
#include "common/file_name_codec.h"
#include "common/system_error.h"
#include "rename/rename_journal.h"
#include "rename/rename_plan.h"
#include "rename/rename_preview.h"
#include "rename/rename_undo.h"

#include <QCoreApplication>
#include <QHash>
#include <algorithm>
#include <memory>

namespace songwick::cli {
namespace {

constexpr int kAllDone = 0;
constexpr int kSomeRefused = 1;
constexpr int kBadInput = 2;
constexpr int kUnpairedRowsShown = 5;

// Takes "--dry-run" out of the arguments; true when it was there.
bool takeDryRun(QStringList& arguments) {
    return arguments.removeAll(QStringLiteral("--dry-run")) > 0;
}

struct ListInput {
    QString path;
    CatalogueGrid grid;
};

ListInput readList(const QString& path) {
    ListInput list{path, {}};
    if (readListFile(readWholeFile(path), list.grid) == ListFileRead::NotAListFile)
        throw Error(path + QStringLiteral(": ") +
                    notAListFileMessage().replace(QStringLiteral("\n\r"), QStringLiteral(" ")));
    return list;
}

QString cellOf(const CatalogueGrid& grid, int column, int row) {
    return grid.contains(column, row) ? grid.cell(column, row) : QString();
}

QString nameOf(const CatalogueGrid& grid, int row) {
    return cellOf(grid, 1, row);
}

// What tells a row apart but its name: the folder (column 2) and every cell after it. The
// number column is left out: sorting renumbers it.
QStringList cellsBesideName(const CatalogueGrid& grid, int row, int columnCount) {
    QStringList cells;
    for (int column = 2; column < columnCount; ++column)
        cells << cellOf(grid, column, row);
    return cells;
}

// Each row of the edited list paired with the row of the scan that stands for the same file:
// the one with the same folder and the same cells; where several have them, the one with the
// same name. Never by position: a sorted list pairs as well as the scan's own order.
class RowPairing {
public:
    RowPairing(const ListInput& scan, const ListInput& edited)
        : scan_(scan), edited_(edited),
          columns_(std::max(scan.grid.columnCount(), edited.grid.columnCount())),
          scanRowOf_(std::size_t(std::max(edited.grid.dataRowCount(), 0)) + 1, 0) {
        for (int row = 1; row <= scan.grid.dataRowCount(); ++row) {
            scanRowsByCells_[cellsBesideName(scan.grid, row, columns_)].push_back(row);
            scanRowByFolderAndName_.insert(folderAndName(scan.grid, row), row);
        }
        std::vector<int> editedRowOf(std::size_t(std::max(scan.grid.dataRowCount(), 0)) + 1, 0);
        for (int row = 1; row <= edited.grid.dataRowCount(); ++row)
            pair(row, editedRowOf);
    }

    // The scan row of an edited row, 0 when it has none.
    int scanRowOf(int editedRow) const { return scanRowOf_[std::size_t(editedRow)]; }
    // The scan row whose folder and name an unpaired edited row has, 0 when there is none.
    int scanRowNamed(int editedRow) const {
        return scanRowByFolderAndName_.value(folderAndName(edited_.grid, editedRow), 0);
    }
    // Rows that ask for a rename and cannot be paired for certain, one line each.
    const QStringList& unpaired() const { return unpaired_; }

private:
    static std::pair<QString, QString> folderAndName(const CatalogueGrid& grid, int row) {
        return {cellOf(grid, 2, row), nameOf(grid, row)};
    }

    void pair(int row, std::vector<int>& editedRowOf) {
        const QString name = nameOf(edited_.grid, row);
        const std::vector<int>& candidates =
            scanRowsByCells_.value(cellsBesideName(edited_.grid, row, columns_));
        int chosen = candidates.size() == 1 ? candidates.front() : 0;
        if (candidates.size() > 1) {
            std::vector<int> sameName;
            std::copy_if(candidates.begin(), candidates.end(), std::back_inserter(sameName),
                         [&](int scanRow) { return nameOf(scan_.grid, scanRow) == name; });
            chosen = sameName.size() == 1 ? sameName.front() : 0;
        }
        const int takenBy = chosen == 0 ? 0 : editedRowOf[std::size_t(chosen)];
        if (chosen != 0 && takenBy == 0) {
            editedRowOf[std::size_t(chosen)] = row;
            scanRowOf_[std::size_t(row)] = chosen;
            return;
        }
        // A row that keeps the name of a file of the scan asks for nothing.
        if (scanRowByFolderAndName_.contains(folderAndName(edited_.grid, row)))
            return;
        unpaired_ << rowLabel(row) + (takenBy != 0         ? sameAsLine(takenBy)
                                      : candidates.empty() ? notFoundLine()
                                                           : ambiguousLine(candidates));
    }

    QString rowLabel(int row) const {
        return QStringLiteral("%1, row %2 (\"%3\"): ")
            .arg(edited_.path)
            .arg(row)
            .arg(displayFileName(nameOf(edited_.grid, row)));
    }
    QString notFoundLine() const {
        return QStringLiteral("not found in %1 (no row there has the same folder and the same "
                              "cells)")
            .arg(scan_.path);
    }
    QString ambiguousLine(const std::vector<int>& candidates) const {
        QStringList rows;
        for (const int row : candidates)
            rows << QString::number(row);
        return QStringLiteral("rows %1 of %2 have the same folder and the same cells and none "
                              "has this name")
            .arg(rows.join(QStringLiteral(", ")), scan_.path);
    }
    QString sameAsLine(int otherRow) const {
        return QStringLiteral("pairs with the same row of %1 as row %2")
            .arg(scan_.path)
            .arg(otherRow);
    }

    const ListInput& scan_;
    const ListInput& edited_;
    int columns_;
    QHash<QStringList, std::vector<int>> scanRowsByCells_;
    QHash<std::pair<QString, QString>, int> scanRowByFolderAndName_;
    std::vector<int> scanRowOf_;
    QStringList unpaired_;
};

// The edited list as the table, each row standing for the file of its scan row as the scan
// list carries it; the store the rename takes locations from holds the same files.
struct RenameInput {
    CatalogueGrid table;
    std::unique_ptr<CatalogueState> state = std::make_unique<CatalogueState>();
    // For each table row the name of its file in the scan, to tell an edited name from a kept
    // one where the file is not known.
    std::vector<QString> scanNames;
};

QString unpairedMessage(const QStringList& unpaired) {
    QStringList shown = unpaired.mid(0, kUnpairedRowsShown);
    if (unpaired.size() > kUnpairedRowsShown)
        shown << QStringLiteral("... and %1 more rows").arg(unpaired.size() - kUnpairedRowsShown);
    return shown.join(u'\n') + QStringLiteral("\nNothing was renamed.");
}

RenameInput readRenameInput(const QString& scanPath, const QString& editedPath) {
    const ListInput scan = readList(scanPath);
    const ListInput edited = readList(editedPath);
    const RowPairing pairing(scan, edited);
    if (!pairing.unpaired().isEmpty())
        throw Error(unpairedMessage(pairing.unpaired()));
    RenameInput input;
    input.table = edited.grid;
    input.state->tableSource = TableSource::StartWindowStore;
    input.scanNames.resize(std::size_t(std::max(input.table.dataRowCount(), 0)) + 1);
    for (int row = 1; row <= input.table.dataRowCount(); ++row) {
        const int paired = pairing.scanRowOf(row);
        const int scanRow = paired != 0 ? paired : pairing.scanRowNamed(row);
        // Only a paired row stands for a file: the others keep their names anyway.
        const std::optional<RowFile> file =
            paired != 0 ? scan.grid.rowFile(paired) : std::optional<RowFile>();
        input.table.setRowFile(row, file);
        input.scanNames[std::size_t(row)] = scanRow != 0 ? nameOf(scan.grid, scanRow) : QString();
        CatalogueRecord record;
        if (file) {
            record[FileNameField] = file->name;
            record[FolderField] = file->folder;
        }
        if (!input.state->startWindowStore.append(std::move(record)))
            throw Error(QStringLiteral("%1 has more rows than a list can hold.").arg(editedPath));
        input.state->startWindowStore.setFile(row, file);
    }
    if (input.table.columnCount() < 2)
        input.table.setColumnCount(2);
    return input;
}

QString renameLine(const QString& verb, const QString& oldPath, const QString& newName,
                   const QString& reason = {}) {
    QString line = verb + QStringLiteral(" ") + displayFileName(oldPath) + QStringLiteral(" -> ") +
                   displayFileName(newName);
    if (!reason.isEmpty())
        line += QStringLiteral(": ") + reason;
    return line + u'\n';
}

// Rows whose name was edited but whose file is not there, or not known: the batch was asked
// for them.
int printMissingFiles(const RenamePlan& plan, const RenameInput& input, const QString& verb) {
    int missing = 0;
    for (const RenamePlanRow& row : plan.rows) {
        if (row.action != PlannedAction::Missing ||
            row.newName == input.scanNames[std::size_t(row.row)])
            continue;
        if (row.oldName.isEmpty())
            printOut(QCoreApplication::translate(
                         "songwick::Cli", "%1 row %2 -> %3: файл строки неизвестен (в списке нет "
                                          "точного имени файла)\n")
                         .arg(verb)
                         .arg(row.row)
                         .arg(displayFileName(row.newName)));
        else
            printOut(renameLine(verb, row.oldPath(), row.newName,
                                QCoreApplication::translate("songwick::Cli", "Файл не найден")));
        ++missing;
    }
    return missing;
}

// A row that stands for no known file but keeps the name its scan row has asks for nothing.
void passOverKeptNames(RenamePlan& plan, const RenameInput& input) {
    for (RenamePlanRow& row : plan.rows) {
        if (row.action == PlannedAction::UnknownFile &&
            row.newName == input.scanNames[std::size_t(row.row)])
            row.action = PlannedAction::Unchanged;
    }
}

// The old file of a row as a line shows it; a row without a known file by its number.
QString oldFileText(const RenamePlanRow& row) {
    return row.oldName.isEmpty() ? QStringLiteral("row %1").arg(row.row) : row.oldPath();
}

int dryRunRename(const RenamePlan& plan, const RenameInput& input) {
    const std::vector<RenamePreviewRow> preview = previewRenamePlan(plan);
    for (const RenamePreviewRow& row : preview) {
        printOut(renameLine(row.refused() ? QStringLiteral("would refuse")
                                          : QStringLiteral("would rename"),
                            row.oldName.isEmpty() ? QStringLiteral("row %1").arg(row.row)
                                                  : joinFolderAndName(row.folder, row.oldName),
                            row.newName, row.refusal));
    }
    const int refused = previewRefusalCount(preview) +
                        printMissingFiles(plan, input, QStringLiteral("would refuse"));
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
            const QString planned = plannedRefusalReason(row);
            printOut(renameLine(QStringLiteral("refused"), oldFileText(row), row.newName,
                                planned.isEmpty() ? refusalReason(result) : planned));
            ++refused;
        }
    }
    refused += printMissingFiles(plan, input, QStringLiteral("refused"));
    printOut(QStringLiteral("%1 renamed, %2 refused\n").arg(run.renameCount).arg(refused));
    if (!run.stoppedBecause.isEmpty()) {
        printError(run.stoppedBecause + u'\n');
        return kSomeRefused;
    }
    return refused == 0 ? kAllDone : kSomeRefused;
}

QString journalNumberText(int number) {
    return QStringLiteral("%1").arg(number, 6, 10, QLatin1Char('0'));
}

// What stands under the old name now, so far as the disk tells before the undo: empty when
// the name is free.
QString oldNameProblem(const JournalEntry& entry) {
    const FileLookup found = lookUpFile(entry.oldPath());
    if (found.identity)
        return QCoreApplication::translate("songwick::Cli", "имя занято другим файлом");
    return found.missing() ? QString() : systemErrorText(found.systemError);
}

int dryRunUndo(const UndoPlan& plan) {
    if (plan.finishesUndoNumber != 0)
        printOut(QStringLiteral("the undo %1 was cut short: finishing the undo of %2\n")
                     .arg(journalNumberText(plan.finishesUndoNumber),
                          journalNumberText(plan.run.number)));
    int restorable = 0;
    int cannot = 0;
    for (const UndoStep& step : plan.steps) {
        const JournalEntry& entry = step.entry;
        if (step.action == UndoAction::NotRenamed)
            continue;
        if (step.action != UndoAction::Restore) {
            printOut(QStringLiteral("cannot undo ") + notUndoneLine(step) + u'\n');
            ++cannot;
        } else if (const QString problem = oldNameProblem(entry); !problem.isEmpty()) {
            printOut(
                renameLine(QStringLiteral("cannot undo"), entry.newPath(), entry.oldName, problem));
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
        printOut(renameLine(QStringLiteral("restored"),
                            joinFolderAndName(undone.folder, undone.renamedName),
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

QString runLine(const JournalFile& file, const RunUndoState& undo) {
    const JournalRun& run = file.run;
    QString line = journalNumberText(run.number) + QStringLiteral("  ");
    if (file.state != JournalState::Usable)
        return line + unusableJournalMessage(file) + u'\n';
    line += run.started.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    line += run.kind == JournalRunKind::Undo
                ? QStringLiteral("  undo of ") + journalNumberText(run.undoesNumber)
                : QStringLiteral("  rename");
    line += QStringLiteral("  %1 renamed").arg(run.attemptedCount());
    if (!run.closed)
        line += QStringLiteral("  unfinished");
    if (undo.state == UndoState::Undone)
        line += QStringLiteral("  undone");
    else if (undo.state == UndoState::UndonePartly)
        line += QStringLiteral("  undone in part (%1 of %2)")
                    .arg(undo.undoneCount)
                    .arg(run.attemptedCount());
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
    RenamePlan plan = planFileNameColumnRename(input.table, *input.state);
    passOverKeptNames(plan, input);
    return dryRun ? dryRunRename(plan, input) : carryOutRename(plan, input);
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
    const std::vector<RunUndoState> undo = runUndoStates(files);
    int listed = 0;
    for (std::size_t i = 0; i < files.size(); ++i) {
        // A journal without a rename line is no run.
        if (files[i].state == JournalState::NoRun)
            continue;
        printOut(runLine(files[i], undo[i]));
        ++listed;
    }
    if (listed == 0)
        printOut(QStringLiteral("no renames journalled in %1\n")
                     .arg(displayFileName(defaultRenameJournalFolder())));
    return 0;
}

} // namespace songwick::cli
