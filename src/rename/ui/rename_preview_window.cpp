#include "rename/ui/rename_preview_window.h"

#include "app/ui/window_placement.h"
#include "common/file_name_codec.h"
#include "settings/options_file.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace songwick {

RenamePreviewWindow::RenamePreviewWindow(const std::vector<RenamePreviewRow>& rows,
                                         std::function<void()> carryOut, QWidget* owner)
    : QWidget(owner, Qt::Window), carryOut_(std::move(carryOut)) {
    setObjectName(QStringLiteral("RenamePreviewWindow"));
    setWindowTitle(QStringLiteral("Songwick"));
    setWindowModality(Qt::ApplicationModal);
    setAttribute(Qt::WA_DeleteOnClose);
    resize(720, 420);

    Label1 = new QLabel(tr("Будет переименовано файлов: %1, не будет: %2")
                            .arg(previewRenameCount(rows))
                            .arg(previewRefusalCount(rows)),
                        this);
    StringGrid1 = new QTableWidget(this);
    StringGrid1->setColumnCount(4);
    StringGrid1->setHorizontalHeaderLabels(
        {tr("Папка"), tr("Было"), tr("Станет"), tr("Почему нет")});
    StringGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    StringGrid1->horizontalHeader()->setStretchLastSection(true);
    fillRows(rows);

    Button1 = new QPushButton(tr("Выполнить"), this);
    Button2 = new QPushButton(tr("Отмена"), this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(StringGrid1, 1);
    layout->addLayout(buttons);

    connect(Button1, &QPushButton::clicked, this, &RenamePreviewWindow::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &RenamePreviewWindow::Button2Click);
    clickOnEscape(Button2);
}

void RenamePreviewWindow::fillRows(const std::vector<RenamePreviewRow>& rows) {
    StringGrid1->setRowCount(int(rows.size()));
    for (int i = 0; i < int(rows.size()); ++i) {
        const RenamePreviewRow& row = rows[std::size_t(i)];
        const QStringList texts{displayFileName(row.folder), row.oldName, row.newName, row.refusal};
        for (int column = 0; column < int(texts.size()); ++column) {
            auto* item = new QTableWidgetItem(texts[column]);
            item->setToolTip(displayFileName(row.folder));
            if (row.refused())
                item->setForeground(Qt::red);
            StringGrid1->setItem(i, column, item);
        }
    }
    StringGrid1->resizeColumnsToContents();
}

void RenamePreviewWindow::Button1Click() {
    // The plan goes once, even when the button is clicked again before the window closes.
    const std::function<void()> carryOut = std::exchange(carryOut_, {});
    close();
    if (carryOut)
        carryOut();
}

void RenamePreviewWindow::Button2Click() {
    carryOut_ = {};
    close();
}

bool planIsShownFirst(const RenamePlan& plan, const QString& optionsPath) {
    // A composite rename of several files is the one that can surprise: it shows its plan
    // unless the user turned that off. A composite rename of one file and the rename from the
    // file-name column keep going at once, as they always did, unless the user turned the
    // option on (the options file itself says so).
    if (plan.kind == RenameKind::Composite && plan.plannedRenameCount() > 1)
        return readShowRenamePlanFirst(optionsPath);
    return showRenamePlanFirstStoredOn(optionsPath);
}

void carryOutAfterPreview(const RenamePlan& plan, const QString& settingsPath, QWidget* owner,
                          std::function<void()> carryOut) {
    if (!planIsShownFirst(plan, optionsFilePathBeside(settingsPath))) {
        carryOut();
        return;
    }
    auto* window = new RenamePreviewWindow(previewRenamePlan(plan), std::move(carryOut), owner);
    centreOnOwner(window, owner != nullptr ? owner->window() : nullptr);
    window->show();
    window->raise();
    window->activateWindow();
}

} // namespace songwick
