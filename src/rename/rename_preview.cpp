#include "rename/rename_preview.h"

#include "common/system_error.h"
#include "rename/rename_journal.h"

#include <QCoreApplication>
#include <QHash>
#include <QSet>
#include <algorithm>

namespace songwick {
namespace {

QString invalidNameText() {
    return QCoreApplication::translate("songwick::Rename", "Недопустимое имя файла");
}
QString emptyNameText() {
    return QCoreApplication::translate("songwick::Rename",
                                       "Новое имя должно являться не пустой строкой.");
}
QString nameTakenText() {
    return QCoreApplication::translate("songwick::Rename", "Файл с таким именем уже существует");
}
QString nameTakenByRowText() {
    return QCoreApplication::translate("songwick::Rename", "Это имя получает файл из строки %1");
}

// Follows the plan's renames as they would happen one after the other.
class PlannedNames {
public:
    // Empty when the row's rename would go through, else why not.
    QString refusalFor(const RenamePlanRow& row) {
        const QString target = row.newPath();
        if (const auto taker = takenBy_.constFind(target); taker != takenBy_.constEnd())
            return nameTakenByRowText().arg(*taker);
        const std::optional<FileIdentity> atTarget = fileIdentityOf(target);
        // A change of letter case only finds the file itself under the new name.
        if (atTarget && !freed_.contains(target) && atTarget != fileIdentityOf(row.oldPath()))
            return nameTakenText();
        takenBy_.insert(target, row.row);
        takenBy_.remove(row.oldPath());
        freed_.insert(row.oldPath());
        freed_.remove(target);
        return {};
    }

private:
    QHash<QString, int> takenBy_; // new names the rows before took, with their row
    QSet<QString> freed_;         // old names the rows before left
};

} // namespace

std::vector<RenamePreviewRow> previewRenamePlan(const RenamePlan& plan) {
    std::vector<RenamePreviewRow> rows;
    PlannedNames names;
    for (const RenamePlanRow& planRow : plan.rows) {
        RenamePreviewRow row{planRow.row, planRow.folder, planRow.oldName, planRow.newName, {}};
        switch (planRow.action) {
        case PlannedAction::Unchanged:
        case PlannedAction::Missing:
        case PlannedAction::NotMarked:
            continue;
        case PlannedAction::Rename:
            row.refusal = names.refusalFor(planRow);
            break;
        case PlannedAction::EmptyName:
        case PlannedAction::InvalidName:
        case PlannedAction::RelativeFolder:
        case PlannedAction::LookupFailed:
        case PlannedAction::UnknownFile:
            row.refusal = plannedRefusalReason(planRow);
            break;
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

QString plannedRefusalReason(const RenamePlanRow& row) {
    switch (row.action) {
    case PlannedAction::EmptyName:
        return emptyNameText();
    case PlannedAction::InvalidName:
        return invalidNameText();
    case PlannedAction::RelativeFolder:
        return QCoreApplication::translate("songwick::Rename",
                                           "Папка файла указана не полным путём");
    case PlannedAction::LookupFailed:
        return systemErrorText(row.systemError);
    case PlannedAction::UnknownFile:
        return QCoreApplication::translate("songwick::Rename",
                                           "Неизвестно, какой файл на диске представляет строка");
    case PlannedAction::Rename:
    case PlannedAction::Unchanged:
    case PlannedAction::Missing:
    case PlannedAction::NotMarked:
        break;
    }
    return {};
}

QString refusalReason(const RenameRowResult& result) {
    switch (result.detail) {
    case RenameOutcome::InvalidName:
        return invalidNameText();
    case RenameOutcome::TargetExists:
        return nameTakenText();
    case RenameOutcome::SourceMissing:
        return QCoreApplication::translate("songwick::Rename", "Файл не найден");
    case RenameOutcome::Renamed:
    case RenameOutcome::Failed:
        break;
    }
    return systemErrorText(result.systemError);
}

int previewRenameCount(const std::vector<RenamePreviewRow>& rows) {
    return int(std::count_if(rows.begin(), rows.end(),
                             [](const RenamePreviewRow& row) { return !row.refused(); }));
}

int previewRefusalCount(const std::vector<RenamePreviewRow>& rows) {
    return int(rows.size()) - previewRenameCount(rows);
}

} // namespace songwick
