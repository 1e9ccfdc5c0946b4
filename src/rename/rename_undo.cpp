#include "rename/rename_undo.h"

#include "common/error.h"
#include "rename/no_replace_rename.h"

#include <QDir>
#include <QHash>
#include <cstring>

namespace songwick {
namespace {

UndoAction actionFor(const JournalEntry& entry) {
    if (fileIdentityOf(entry.newPath()) == entry.file)
        return UndoAction::Restore;
    if (fileIdentityOf(entry.oldPath()) == entry.file)
        return UndoAction::NotRenamed;
    return UndoAction::Replaced;
}

QString nativePath(const QString& path) {
    return QDir::toNativeSeparators(path);
}

QString refusedLine(const JournalEntry& entry, const RenameAttempt& attempt) {
    if (attempt.outcome == RenameOutcome::TargetExists)
        return QStringLiteral("%1: имя %2 занято другим файлом")
            .arg(nativePath(entry.newPath()), entry.oldName);
    if (attempt.outcome == RenameOutcome::SourceMissing)
        return replacedFileLine(entry);
    return QStringLiteral("%1: %2").arg(nativePath(entry.newPath()),
                                        QString::fromLocal8Bit(std::strerror(attempt.systemError)));
}

} // namespace

UndoPlan planUndoOfLastRun(const QString& journalFolder) {
    const std::vector<JournalFile> files = readJournalFolder(journalFolder);
    if (files.empty())
        throw Error(QStringLiteral("Нет переименований, которые можно отменить."));
    const JournalFile& last = files.back();
    if (last.state != JournalState::Usable)
        throw Error(unusableJournalMessage(last));
    UndoPlan plan;
    plan.run = last.run;
    for (auto entry = last.run.entries.rbegin(); entry != last.run.entries.rend(); ++entry) {
        if (!entry->refused)
            plan.steps.push_back({*entry, actionFor(*entry)});
    }
    return plan;
}

UndoRunResult carryOutUndo(const UndoPlan& plan, const QString& journalFolder) {
    UndoRunResult result;
    RunJournal journal(journalFolder, JournalRunKind::Undo, plan.run.number);
    for (const UndoStep& step : plan.steps) {
        const JournalEntry& entry = step.entry;
        if (step.action == UndoAction::NotRenamed)
            continue;
        // The disk is asked again: the plan may be older than the files.
        if (step.action == UndoAction::Replaced || fileIdentityOf(entry.newPath()) != entry.file) {
            result.notUndone << replacedFileLine(entry);
            continue;
        }
        if (!journal.planned(entry.folder, entry.newName, entry.oldName, entry.file))
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
    return QStringLiteral("Не удалось отменить переименование %1 файла(ов):\n")
               .arg(result.notUndone.size()) +
           result.notUndone.join(u'\n');
}

QString undoStatusText(int undoneCount) {
    return QStringLiteral("Отменено переименований: %1").arg(undoneCount);
}

QString replacedFileLine(const JournalEntry& entry) {
    return QStringLiteral("%1: файл заменен, перемещен или удален после переименования")
        .arg(nativePath(entry.newPath()));
}

void followUndoneRenames(const std::vector<UndoneRename>& undone, CatalogueGrid& grid,
                         CatalogueState& state) {
    if (undone.empty())
        return;
    QHash<QString, const UndoneRename*> byRenamedPath;
    for (const UndoneRename& rename : undone)
        byRenamedPath.insert(rename.folder + rename.renamedName, &rename);
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
