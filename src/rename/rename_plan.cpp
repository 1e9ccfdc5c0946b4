#include "rename/rename_plan.h"

#include "catalogue/catalogue_table.h"
#include "common/date_time.h"
#include "common/error.h"
#include "common/file_name_codec.h"
#include "common/system_error.h"
#include "rename/rename_journal.h"

#include <QCoreApplication>
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <sys/stat.h>

namespace songwick {
namespace {

const QString& cellOrEmpty(const CatalogueGrid& grid, int column, int row) {
    static const QString empty;
    return grid.contains(column, row) ? grid.cell(column, row) : empty;
}

const CatalogueRecord& recordOrEmpty(const RecordStore& store, int row) {
    static const CatalogueRecord empty;
    return row <= RecordStore::kCapacity ? store.record(row) : empty;
}

// What is under a row's old path: a file (a link counts when it leads to a file), nothing
// (or a folder), or a look-up the system refused, which tells nothing about the file.
struct OldFileLookup {
    bool isFile = false;
    int systemError = 0; // the refused look-up's errno, 0 when the system answered
};

OldFileLookup lookUpOldFile(const QString& path) {
    struct stat fileStat {};
    if (::stat(encodeFileName(path).constData(), &fileStat) == 0)
        return {!S_ISDIR(fileStat.st_mode), 0};
    return {false, errno == ENOENT || errno == ENOTDIR ? 0 : errno};
}

// Missing, LookupFailed or, when the file is there, `otherwise`.
void planByOldFile(RenamePlanRow& row, PlannedAction otherwise) {
    const OldFileLookup found = lookUpOldFile(row.oldPath());
    row.systemError = found.systemError;
    row.action = found.systemError != 0 ? PlannedAction::LookupFailed
                 : found.isFile         ? otherwise
                                        : PlannedAction::Missing;
}

// The row's own file: never the cells, which the user may have typed into.
RenamePlanRow planRowFor(const CatalogueGrid& grid, int row) {
    RenamePlanRow planRow;
    planRow.row = row;
    if (const std::optional<RowFile>& file = grid.rowFile(row)) {
        planRow.folder = file->folder;
        planRow.oldName = file->name;
    }
    return planRow;
}

// The text of the part "Дата и время" for each row, formatted again only when the clock has
// moved on to another second.
class DateTimeText {
public:
    explicit DateTimeText(const CompositeRenameOptions& options)
        : choice_(options.dateTime), used_(options.usesDateTime()) {}

    const QString& textAt(const Clock& clock) {
        if (!used_)
            return text_;
        const DateTimeValue now = clock.now();
        // whole seconds of the time as the formatting rounds it, to the millisecond
        const qint64 second = std::llround(now * 86400000.0) / 1000;
        if (!formatted_ || second != second_) {
            text_ = dateTimePartText(choice_, now);
            second_ = second;
            formatted_ = true;
        }
        return text_;
    }

private:
    DateTimeChoice choice_;
    bool used_;
    bool formatted_ = false;
    qint64 second_ = 0;
    QString text_;
};

RowPartTexts rowPartTexts(const CatalogueGrid& grid, const CatalogueRecord& record, int row) {
    RowPartTexts texts;
    texts.originalFileName = record[FileNameField];
    if (const std::optional<RowFile>& file = grid.rowFile(row))
        texts.originalFileName = file->name;
    for (int column = 3; column <= 6; ++column)
        texts.columns[static_cast<std::size_t>(column - 3)] = cellOrEmpty(grid, column, row);
    return texts;
}

QString refusalFor(const RenamePlan& plan, const RenamePlanRow& row,
                   RenameOutcome outcome = RenameOutcome::Failed) {
    const QString oldPath = displayFileName(row.oldPath());
    if (outcome == RenameOutcome::TargetExists)
        return targetExistsRefusal(oldPath, displayFileName(row.newPath()));
    if (plan.kind == RenameKind::FromFileNameColumn)
        return fileNameColumnRefusal(oldPath);
    if (row.action == PlannedAction::EmptyName)
        return compositeEmptyNameRefusal(oldPath, plan.source);
    return compositeRefusal(oldPath);
}

// The new name of a row whose file is there: the composed text finished, the file's own
// extension added.
void planComposedName(RenamePlanRow& row, const QString& composed, bool startWindowStore) {
    const QString extension = compositeExtensionFor(row.oldName);
    const QString name = finishComposedName(composed, startWindowStore, extension);
    if (name.isEmpty()) {
        row.action = PlannedAction::EmptyName;
        return;
    }
    row.newName = name + extension;
    row.action = isValidFileName(row.newName) ? PlannedAction::Rename : PlannedAction::InvalidName;
}

// A row that stands for no file. Its name cell still in the form a lost byte leaves ("?",
// U+FFFD) is the row as its list or spreadsheet gave it: nothing was asked of it, so it is passed
// over, as an empty row is. A name the user typed or edited into it asks for a rename that
// cannot be done for certain: refused with a message.
PlannedAction unknownFileAction(const CatalogueGrid& grid, int row) {
    const QString& name = cellOrEmpty(grid, 1, row);
    const QString& folder = cellOrEmpty(grid, 2, row);
    if (name.isEmpty() || !namesFileForCertain(name, folder))
        return PlannedAction::Missing;
    return PlannedAction::UnknownFile;
}

RenameRowResult lookupFailureResult(const RenamePlanRow& row, int systemError) {
    RenameRowResult result;
    result.row = row.row;
    result.outcome = RowOutcome::Refused;
    result.detail = RenameOutcome::Failed;
    result.systemError = systemError;
    result.message = lookupFailureRefusal(row.oldPath(), systemError);
    return result;
}

void recordNewName(const RenamePlan& plan, const RenamePlanRow& row, CatalogueGrid& grid,
                   RecordStore& store) {
    const RowFile renamed{row.folder, row.newName};
    if (row.row <= RecordStore::kCapacity) {
        CatalogueRecord record = store.record(row.row);
        record[FileNameField] = row.newName;
        store.setRecord(row.row, std::move(record));
        store.setFile(row.row, renamed);
    }
    if (grid.contains(0, row.row))
        grid.setRowFile(row.row, renamed);
    if (plan.kind == RenameKind::Composite && grid.contains(1, row.row))
        grid.setCell(1, row.row, row.newName);
}

void recordAttempt(const RenamePlan& plan, const RenamePlanRow& row, const RenameAttempt& attempt,
                   CatalogueGrid& grid, RecordStore& store, RenameRunResult& run) {
    RenameRowResult result;
    result.row = row.row;
    result.detail = attempt.outcome;
    result.systemError = attempt.systemError;
    if (attempt.outcome == RenameOutcome::Renamed) {
        result.outcome = RowOutcome::Renamed;
        recordNewName(plan, row, grid, store);
        ++run.renameCount;
        if (plan.kind == RenameKind::Composite)
            run.compositeRenameDone = true;
    } else {
        result.outcome = RowOutcome::Refused;
        result.message = refusalFor(plan, row, attempt.outcome);
    }
    run.rows.push_back(std::move(result));
}

} // namespace

int RenamePlan::plannedRenameCount() const {
    return static_cast<int>(std::count_if(rows.begin(), rows.end(), [](const RenamePlanRow& row) {
        return row.action == PlannedAction::Rename;
    }));
}

RenamePlan planFileNameColumnRename(const CatalogueGrid& grid, const CatalogueState& state) {
    RenamePlan plan;
    plan.kind = RenameKind::FromFileNameColumn;
    plan.source = state.tableSource;
    plan.rows.reserve(static_cast<std::size_t>(std::max(grid.dataRowCount(), 0)));
    for (int row = 1; row <= grid.dataRowCount(); ++row) {
        RenamePlanRow planRow = planRowFor(grid, row);
        planRow.newName = cellOrEmpty(grid, 1, row);
        if (planRow.newName == planRow.oldName)
            planRow.action = PlannedAction::Unchanged;
        else if (planRow.oldName.isEmpty())
            planRow.action = unknownFileAction(grid, row);
        else if (!isAbsoluteFolderPath(planRow.folder))
            planRow.action = PlannedAction::RelativeFolder;
        else
            planByOldFile(planRow, isValidFileName(planRow.newName) ? PlannedAction::Rename
                                                                    : PlannedAction::InvalidName);
        plan.rows.push_back(std::move(planRow));
    }
    return plan;
}

RenamePlan planCompositeRename(const CatalogueGrid& grid, const CatalogueState& state,
                               const CompositeRenameOptions& options, const Clock& clock) {
    if (!options.anyPartChecked())
        throw Error(QCoreApplication::translate("songwick::Rename", kNoPartCheckedMessage));
    RenamePlan plan;
    plan.kind = RenameKind::Composite;
    plan.source = state.tableSource;
    const bool startWindowStore = state.tableSource == TableSource::StartWindowStore;
    DateTimeText dateTime(options);
    const RecordStore& store = state.tableSourceStore();
    plan.rows.reserve(static_cast<std::size_t>(std::max(grid.dataRowCount(), 0)));
    for (int row = 1; row <= grid.dataRowCount(); ++row) {
        const CatalogueRecord& record = recordOrEmpty(store, row);
        RenamePlanRow planRow = planRowFor(grid, row);
        if (options.markedOnly && !isMarked(grid, row)) {
            planRow.action = PlannedAction::NotMarked;
        } else if (planRow.oldName.isEmpty()) {
            // An empty row is nothing to rename; a row that names a file it does not stand for
            // is refused.
            planRow.action = unknownFileAction(grid, row);
        } else if (!isAbsoluteFolderPath(planRow.folder)) {
            planRow.action = PlannedAction::RelativeFolder;
        } else {
            planByOldFile(planRow, PlannedAction::Rename);
            if (planRow.action == PlannedAction::Rename)
                planComposedName(planRow,
                                 composeNameWithDateTimeText(options,
                                                             rowPartTexts(grid, record, row),
                                                             dateTime.textAt(clock)),
                                 startWindowStore);
        }
        plan.rows.push_back(std::move(planRow));
    }
    return plan;
}

RenameRunResult carryOutRenamePlan(const RenamePlan& plan, CatalogueGrid& grid,
                                   CatalogueState& state, const QString& journalFolder) {
    RenameRunResult run;
    RunJournal journal(journalFolder, JournalRunKind::Rename);
    run.kind = plan.kind;
    run.setsRenameResult = plan.kind == RenameKind::Composite;
    RecordStore& store = state.store(plan.source);
    for (const RenamePlanRow& row : plan.rows) {
        RenameRowResult result;
        result.row = row.row;
        switch (row.action) {
        case PlannedAction::Unchanged:
        case PlannedAction::Missing:
        case PlannedAction::NotMarked:
            continue;
        case PlannedAction::EmptyName:
            // An empty composed name still counts as a processed row for the table.
            result.outcome = RowOutcome::Refused;
            result.detail = RenameOutcome::InvalidName;
            result.message = refusalFor(plan, row);
            run.compositeRenameDone = true;
            run.rows.push_back(std::move(result));
            continue;
        case PlannedAction::InvalidName:
        case PlannedAction::RelativeFolder:
            result.outcome = RowOutcome::Refused;
            result.detail = RenameOutcome::InvalidName;
            result.message = refusalFor(plan, row);
            run.rows.push_back(std::move(result));
            continue;
        case PlannedAction::LookupFailed:
            run.rows.push_back(lookupFailureResult(row, row.systemError));
            continue;
        case PlannedAction::UnknownFile:
            result.outcome = RowOutcome::Refused;
            result.detail = RenameOutcome::SourceMissing;
            result.message = unknownFileRefusal(
                row.row, displayFileName(plan.kind == RenameKind::FromFileNameColumn
                                             ? row.newName
                                             : cellOrEmpty(grid, 1, row.row)));
            run.rows.push_back(std::move(result));
            continue;
        case PlannedAction::Rename:
            break;
        }
        const FileLookup file = lookUpFile(row.oldPath());
        if (file.missing())
            continue; // gone since the plan was made: as if it had been missing then
        if (!file.identity) {
            run.rows.push_back(lookupFailureResult(row, file.systemError));
            continue;
        }
        if (!journal.planned(row.folder, row.oldName, row.newName, *file.identity))
            break;
        const RenameAttempt attempt = renameWithoutReplacing(row.folder, row.oldName, row.newName);
        const bool journalKept = attempt.outcome == RenameOutcome::Renamed || journal.refused();
        // A file gone since the plan was made is as if it had been missing then.
        if (attempt.outcome != RenameOutcome::SourceMissing)
            recordAttempt(plan, row, attempt, grid, store, run);
        if (!journalKept)
            break;
    }
    journal.close(run.renameCount);
    run.stoppedBecause = journal.failure();
    return run;
}

void applyRenameRun(const RenameRunResult& run, CatalogueState& state) {
    state.mainTable.renameCount = run.renameCount;
    if (run.setsRenameResult)
        state.mainTable.renameResult = true;
    if (run.compositeRenameDone)
        state.compositeRenameDone = true;
}

QStringList RenameRunResult::errorMessages() const {
    QStringList messages;
    for (const RenameRowResult& row : rows) {
        if (row.outcome == RowOutcome::Refused)
            messages.push_back(row.message);
    }
    return messages;
}

QString RenameRunResult::statusText() const {
    return kind == RenameKind::FromFileNameColumn ? fileNameColumnStatusText(renameCount)
                                                  : renamedStatusText(renameCount);
}

QString fileNameColumnRefusal(const QString& oldPath) {
    return QCoreApplication::translate("songwick::Rename", "Не удалось переименовать ") + oldPath +
           QCoreApplication::translate(
               "songwick::Rename", ". Недопустимое имя файла или файл занят другим приложением.");
}

QString targetExistsRefusal(const QString& oldPath, const QString& newPath) {
    return QCoreApplication::translate("songwick::Rename", "Не удалось переименовать ") + oldPath +
           QCoreApplication::translate("songwick::Rename",
                                       ". Файл с таким именем уже существует: ") +
           newPath;
}

QString unknownFileRefusal(int row, const QString& shownName) {
    return QCoreApplication::translate(
               "songwick::Rename",
               "Строка %1 (\"%2\") не переименована: неизвестно, какой файл на диске "
               "она представляет. Строка добавлена вручную или прочитана из списка "
               "или таблицы, где имя файла записано неточно.")
        .arg(row)
        .arg(shownName);
}

QString compositeRefusal(const QString& oldPath) {
    return QCoreApplication::translate("songwick::Rename", "Не удалось переименовать ") + oldPath +
           QCoreApplication::translate(
               "songwick::Rename",
               ". Недопустимое новое имя файла или файл с таким именем, как новое "
               "имя файла, уже существует. Или Файл занят другим приложением");
}

QString compositeEmptyNameRefusal(const QString& oldPath, TableSource source) {
    QString message = QCoreApplication::translate("songwick::Rename", "Не удалось переименовать ") +
                      oldPath +
                      QCoreApplication::translate("songwick::Rename",
                                                  ". Новое имя должно являться не пустой строкой.");
    if (source == TableSource::StartWindowStore)
        message += QStringLiteral(" :)");
    return message;
}

QString lookupFailureRefusal(const QString& oldPath, int systemError) {
    return systemErrorMessage(QStringLiteral("найти файл"), oldPath, systemError) +
           QCoreApplication::translate("songwick::Rename", ". Файл не переименован.");
}

QString fileNameColumnStatusText(int renameCount) {
    return QCoreApplication::translate("songwick::Rename", "Переименовано %1 файла(ов)")
        .arg(renameCount);
}

} // namespace songwick
