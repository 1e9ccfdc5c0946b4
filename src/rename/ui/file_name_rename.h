#pragma once

#include "rename/rename_plan.h"

class QWidget;

namespace songwick {

class WindowRegistry;

// The main window's "Из колонки &названия файла": every file whose name in column 1 differs
// from its name on disk gets the name from the table, in its own folder. Refused rows are
// reported one message each while RenameErrorMessages is on; the status line shows the count.
// When the user wants to see the plan first, it is shown and the run waits for "Выполнить"
// (the result returned is then empty). Throws Error; the menu entry runs it through the
// general error report.
RenameRunResult renameFromFileNameColumn(WindowRegistry& registry, QWidget* parent);

// Carries out the plan of the rename from the file-name column, journalled, and shows its
// result.
RenameRunResult carryOutFileNameColumnRename(WindowRegistry& registry, const RenamePlan& plan,
                                             QWidget* parent);

// "Отменить последнее переименование": takes the last journalled run back; the table's
// column 1 and the rows' files follow, and the table counts as modified once a file got its old
// name back. What could not be undone is listed in one message.
// Returns the number of files renamed back. Throws Error when there is nothing to undo or the
// journal is not usable.
int undoLastRename(WindowRegistry& registry, QWidget* parent);

} // namespace songwick
