#pragma once

#include "rename/rename_plan.h"

class QWidget;

namespace songwick {

class WindowRegistry;

// The main window's "Из колонки &названия файла": every file whose name in column 1 differs
// from its name on disk gets the name from the table, in its own folder. Refused rows are
// reported one message each while RenameErrorMessages is on; the status line shows the count.
// Throws Error; the menu entry runs it through the general error report.
RenameRunResult renameFromFileNameColumn(WindowRegistry& registry, QWidget* parent);

} // namespace songwick
