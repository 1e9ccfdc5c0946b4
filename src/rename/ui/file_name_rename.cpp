#include "rename/ui/file_name_rename.h"

#include "app/ui/window_registry.h"
#include "catalogue/ui/catalogue_table_model.h"
#include "catalogue/ui/catalogue_table_view.h"
#include "catalogue/ui/main_window.h"
#include "rename/rename_undo.h"
#include "rename/ui/rename_preview_window.h"

#include <memory>

namespace songwick {

RenameRunResult renameFromFileNameColumn(WindowRegistry& registry, QWidget* parent) {
    TForm4* mainWindow = registry.form4();
    // A name still being typed into the table counts as typed.
    if (mainWindow != nullptr)
        mainWindow->StringGrid1->commitPendingEdit();
    const RenamePlan plan = planFileNameColumnRename(registry.grid(), registry.catalogue());
    // The run may come later, from the preview window, when this call has long returned.
    auto run = std::make_shared<RenameRunResult>();
    carryOutAfterPreview(plan, registry.settingsPath(), parent, [&registry, parent, plan, run] {
        registry.runReportingErrors(
            parent, [&] { *run = carryOutFileNameColumnRename(registry, plan, parent); });
    });
    return *run;
}

RenameRunResult carryOutFileNameColumnRename(WindowRegistry& registry, const RenamePlan& plan,
                                             QWidget* parent) {
    CatalogueState& catalogue = registry.catalogue();
    const RenameRunResult run =
        carryOutRenamePlan(plan, registry.grid(), catalogue, registry.renameJournalFolder());
    applyRenameRun(run, catalogue);
    if (registry.settings().RenameErrorMessages) {
        for (const QString& message : run.errorMessages())
            registry.services().messages.showMessage(parent, message);
    }
    if (!run.stoppedBecause.isEmpty())
        registry.services().messages.showMessage(parent, run.stoppedBecause);
    if (TForm4* mainWindow = registry.form4())
        mainWindow->showStatusText(run.statusText());
    return run;
}

int undoLastRename(WindowRegistry& registry, QWidget* parent) {
    TForm4* mainWindow = registry.form4();
    if (mainWindow != nullptr)
        mainWindow->StringGrid1->commitPendingEdit();
    const UndoPlan plan = planUndoOfLastRun(registry.renameJournalFolder());
    const UndoRunResult result = carryOutUndo(plan, registry.renameJournalFolder());
    CatalogueGrid& grid = registry.grid();
    followUndoneRenames(result.undone, grid, registry.catalogue());
    // The files on disk have their old names again: a list saved after the rename names the
    // new ones, so the table has changes to save.
    if (!result.undone.empty())
        registry.catalogue().mainTable.modified = true;
    // The rename count is no longer what the disk shows: the undo leaves its own line.
    registry.catalogue().mainTable.renameResult = false;
    if (mainWindow != nullptr) {
        if (grid.dataRowCount() > 0)
            mainWindow->tableModel->rowsChanged(1, grid.dataRowCount());
        mainWindow->showStatusText(undoStatusText(int(result.undone.size())));
    }
    if (const QString report = undoReport(result); !report.isEmpty())
        registry.services().messages.showMessage(parent, report);
    if (!result.stoppedBecause.isEmpty())
        registry.services().messages.showMessage(parent, result.stoppedBecause);
    return int(result.undone.size());
}

} // namespace songwick
