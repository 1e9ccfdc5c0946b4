#include "rename/rename_undo.h"

#include "common/error.h"
#include "common/file_name_codec.h"
#include "common/file_path.h"
#include "common/system_error.h"
#include "rename/no_replace_rename.h"

#include <QCoreApplication>
#include <QHash>
#include <algorithm>

namespace songwick {
namespace {

UndoStep stepFor(const JournalEntry& entry) {
    const FileLookup atNew = lookUpFile(entry.newPath());
    if (entry.isFile(atNew.identity))
        return {entry, UndoAction::Restore, {}, 0};
    const FileLookup atOld = lookUpFile(entry.oldPath());
    if (entry.isFile(atOld.identity))
        return {entry, UndoAction::NotRenamed, {}, 0};
    // A look-up the system refused tells nothing about the file.
    if (!atNew.identity && !atNew.missing())
        return {entry, UndoAction::LookupFailed, entry.newPath(), atNew.systemError};
    if (!atOld.identity && !atOld.missing())
        return {entry, UndoAction::LookupFailed, entry.oldPath(), atOld.systemError};
    return {entry, UndoAction::Replaced, {}, 0};
}

bool sameEntry(const JournalEntry& first, const JournalEntry& second) {
    return first.folder == second.folder && first.oldName == second.oldName &&
           first.newName == second.newName && first.file.device == second.file.device &&
           first.file.inode == second.file.inode;
}

// The steps undoing the entries of the runs, each run last rename first, an entry that an
// earlier run of the list already holds left out (an undo cut short between journalling a
// rename and doing it leaves it to the undo that finished the work).
std::vector<UndoStep> stepsFor(const std::vector<const JournalRun*>& runs) {
    std::vector<UndoStep> steps;
    std::vector<const JournalEntry*> taken;
    for (const JournalRun* run : runs) {
        for (auto entry = run->entries.rbegin(); entry != run->entries.rend(); ++entry) {
            if (entry->refused || std::any_of(taken.begin(), taken.end(), [&](auto* other) {
                    return sameEntry(*other, *entry);
                }))
                continue;
            taken.push_back(&*entry);
            steps.push_back(stepFor(*entry));
        }
    }
    return steps;
}

const JournalFile* journalNumbered(const std::vector<JournalFile>& files, int number) {
    const auto found = std::find_if(files.begin(), files.end(), [&](const JournalFile& file) {
        return file.run.number == number;
    });
    return found == files.end() ? nullptr : &*found;
}

bool isUsableUndoOf(const JournalFile& file, int number) {
    return file.state == JournalState::Usable && file.run.kind == JournalRunKind::Undo &&
           file.run.undoesNumber == number;
}

// The undos of run `undone` between it and `before` that were cut short, newest first.
std::vector<const JournalRun*> cutShortUndos(const std::vector<JournalFile>& files, int undone,
                                             int before) {
    std::vector<const JournalRun*> runs;
    for (auto file = files.rbegin(); file != files.rend(); ++file) {
        if (file->run.number > undone && file->run.number < before &&
            isUsableUndoOf(*file, undone) && !file->run.closed)
            runs.push_back(&file->run);
    }
    return runs;
}

// An undo cut short is finished: the plan undoes the run it was undoing, whatever of it is
// still renamed.
UndoPlan planFinishingUndo(const std::vector<JournalFile>& files, const JournalFile& cutShort) {
    const JournalFile* undone = journalNumbered(files, cutShort.run.undoesNumber);
    if (undone == nullptr)
        throw Error(
            QCoreApplication::translate("songwick::Rename",
                                        "Отмена переименований (журнал %1) была прервана, а журнал "
                                        "отменяемых переименований %2 не найден. Файлы не тронуты.")
                .arg(displayFileName(cutShort.run.path))
                .arg(cutShort.run.undoesNumber, 6, 10, QLatin1Char('0')));
    if (undone->state != JournalState::Usable)
        throw Error(unusableJournalMessage(*undone));
    UndoPlan plan;
    plan.run = undone->run;
    plan.finishesUndoNumber = cutShort.run.number;
    plan.steps = stepsFor({&undone->run});
    return plan;
}

QString refusedLine(const JournalEntry& entry, const RenameAttempt& attempt) {
    if (attempt.outcome == RenameOutcome::TargetExists)
        return QCoreApplication::translate("songwick::Rename", "%1: имя %2 занято другим файлом")
            .arg(displayFileName(entry.newPath()), displayFileName(entry.oldName));
    if (attempt.outcome == RenameOutcome::SourceMissing)
        return replacedFileLine(entry);
    return QStringLiteral("%1: %2").arg(displayFileName(entry.newPath()),
                                        systemErrorText(attempt.systemError));
}

bool hasWorkToDo(const std::vector<UndoStep>& steps) {
    return std::any_of(steps.begin(), steps.end(),
                       [](const UndoStep& step) { return step.action != UndoAction::NotRenamed; });
}

} // namespace

UndoPlan planUndoOfLastRun(const QString& journalFolder) {
    const std::vector<JournalFile> files = readJournalFolder(journalFolder);
    QStringList withoutRun;
    auto last = files.rbegin();
    for (; last != files.rend() && last->state == JournalState::NoRun; ++last)
        withoutRun.push_back(last->run.path);
    if (last == files.rend())
        throw Error(QCoreApplication::translate("songwick::Rename", kNothingToUndoMessage));
    if (last->state != JournalState::Usable)
        throw Error(unusableJournalMessage(*last));
    UndoPlan plan;
    if (last->run.kind == JournalRunKind::Undo && !last->run.closed) {
        plan = planFinishingUndo(files, *last);
    } else {
        plan.run = last->run;
        std::vector<const JournalRun*> runs{&last->run};
        // Undoing a complete undo renames forward again what it restored and what the undos
        // cut short before it restored.
        if (last->run.kind == JournalRunKind::Undo) {
            const std::vector<const JournalRun*> cutShort =
                cutShortUndos(files, last->run.undoesNumber, last->run.number);
            runs.insert(runs.end(), cutShort.begin(), cutShort.end());
        }
        plan.steps = stepsFor(runs);
    }
    if (!hasWorkToDo(plan.steps))
        throw Error(QCoreApplication::translate("songwick::Rename", kNothingToUndoMessage));
    plan.journalsWithoutRun = withoutRun;
    return plan;
}

UndoRunResult carryOutUndo(const UndoPlan& plan, const QString& journalFolder) {
    for (const QString& path : plan.journalsWithoutRun)
        removeJournalWithoutRun(path);
    UndoRunResult result;
    RunJournal journal(journalFolder, JournalRunKind::Undo, plan.run.number);
    for (const UndoStep& step : plan.steps) {
        const JournalEntry& entry = step.entry;
        if (step.action == UndoAction::NotRenamed)
            continue;
        if (step.action != UndoAction::Restore) {
            result.notUndone << notUndoneLine(step);
            continue;
        }
        // The disk is asked again: the plan may be older than the files.
        const FileLookup now = lookUpFile(entry.newPath());
        if (!entry.isFile(now.identity)) {
            result.notUndone << notUndoneLine(
                now.identity || now.missing()
                    ? UndoStep{entry, UndoAction::Replaced, {}, 0}
                    : UndoStep{entry, UndoAction::LookupFailed, entry.newPath(), now.systemError});
            continue;
        }
        if (!journal.planned(entry.folder, entry.newName, entry.oldName, *now.identity))
            break;
        const RenameAttempt attempt = renamePathWithoutReplacing(entry.newPath(), entry.oldPath());
        if (attempt.outcome == RenameOutcome::Renamed) {
            result.undone.push_back({entry.folder, entry.newName, entry.oldName});
            continue;
        }
        result.notUndone << refusedLine(entry, attempt);
        if (!journal.refused())
            break;
    }
    journal.close(int(result.undone.size()));
    result.stoppedBecause = journal.failure();
    return result;
}

QString undoReport(const UndoRunResult& result) {
    if (result.notUndone.isEmpty())
        return {};
    return QCoreApplication::translate("songwick::Rename",
                                       "Не удалось отменить переименование %1 файла(ов):\n")
               .arg(result.notUndone.size()) +
           result.notUndone.join(u'\n');
}

QString undoStatusText(int undoneCount) {
    return QCoreApplication::translate("songwick::Rename", "Отменено переименований: %1")
        .arg(undoneCount);
}

QString notUndoneLine(const UndoStep& step) {
    if (step.action == UndoAction::LookupFailed)
        return QStringLiteral("%1: %2").arg(displayFileName(step.lookedUp),
                                            systemErrorText(step.systemError));
    return replacedFileLine(step.entry);
}

QString replacedFileLine(const JournalEntry& entry) {
    return QCoreApplication::translate(
               "songwick::Rename",
               "%1: файл заменен, изменен, перемещен или удален после переименования")
        .arg(displayFileName(entry.newPath()));
}

void followUndoneRenames(const std::vector<UndoneRename>& undone, CatalogueGrid& grid,
                         CatalogueState& state) {
    if (undone.empty())
        return;
    QHash<QString, const UndoneRename*> byRenamedPath;
    for (const UndoneRename& rename : undone)
        byRenamedPath.insert(joinFolderAndName(rename.folder, rename.renamedName), &rename);
    RecordStore& store = state.tableSourceStore();
    for (int row = 1; row <= grid.dataRowCount(); ++row) {
        const std::optional<RowFile>& file = grid.rowFile(row);
        if (!file)
            continue;
        const auto found = byRenamedPath.constFind(file->path());
        if (found == byRenamedPath.constEnd())
            continue;
        const RowFile restored{file->folder, (*found)->restoredName};
        grid.setRowFile(row, restored);
        if (grid.contains(1, row))
            grid.setCell(1, row, restored.name);
        if (row <= RecordStore::kCapacity) {
            CatalogueRecord record = store.record(row);
            record[FileNameField] = restored.name;
            store.setRecord(row, std::move(record));
            store.setFile(row, restored);
        }
    }
}

} // namespace songwick
