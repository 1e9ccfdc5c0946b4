#include "rename/ui/file_name_rename.h"

#include "app/ui/window_registry.h"
#include "catalogue/ui/catalogue_table_view.h"
#include "catalogue/ui/main_window.h"

namespace songwick {

RenameRunResult renameFromFileNameColumn(WindowRegistry& registry, QWidget* parent) {
    TForm4* mainWindow = registry.form4();
    // A name still being typed into the table counts as typed.
    if (mainWindow != nullptr)
        mainWindow->StringGrid1->commitPendingEdit();
    CatalogueState& catalogue = registry.catalogue();
    CatalogueGrid& grid = registry.grid();
    const RenamePlan plan = planFileNameColumnRename(grid, catalogue);
    const RenameRunResult run = carryOutRenamePlan(plan, grid, catalogue);
    applyRenameRun(run, catalogue);
    if (registry.settings().RenameErrorMessages) {
        for (const QString& message : run.errorMessages())
            registry.services().messages.showMessage(parent, message);
    }
    if (mainWindow != nullptr)
        mainWindow->showStatusText(run.statusText());
    return run;
}

} // namespace songwick
