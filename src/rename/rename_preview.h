#pragma once

#include "rename/rename_plan.h"

#include <QString>
#include <vector>

namespace songwick {

// What a plan would do, row by row, for the user to look at before any file moves: every row
// that would change its file's name and every row that would be refused, with the reason.
struct RenamePreviewRow {
    int row = 0;
    QString folder;
    QString oldName; // "Было"
    QString newName; // "Станет"
    QString refusal; // "Почему нет": empty for a row that would be renamed

    bool refused() const { return !refusal.isEmpty(); }
};

// The rows in table order. The disk is read as it is now, and the plan's own renames are
// followed along: a name that an earlier row frees is free for a later one, and a name that
// an earlier row takes is taken.
std::vector<RenamePreviewRow> previewRenamePlan(const RenamePlan& plan);

// Rows that would be renamed and rows that would be refused.
int previewRenameCount(const std::vector<RenamePreviewRow>& rows);
int previewRefusalCount(const std::vector<RenamePreviewRow>& rows);

// Why the plan already refuses the row (empty, invalid name, relative folder, a look-up the
// system refused), in a few words; empty for a row the plan does not refuse.
QString plannedRefusalReason(const RenamePlanRow& row);

// Why a carried-out rename was refused, in a few words (the row messages of the windows say
// it the program's own way).
QString refusalReason(const RenameRowResult& result);

} // namespace songwick
