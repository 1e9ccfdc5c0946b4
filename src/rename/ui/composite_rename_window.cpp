#include "rename/ui/composite_rename_window.h"

#include "app/ui/window_registry.h"
#include "catalogue/ui/catalogue_table_model.h"
#include "catalogue/ui/main_window.h"
#include "rename/ui/rename_preview_window.h"
#include "settings/options_file.h"
#include "settings/program_settings.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTimer>
#include <QVBoxLayout>

namespace songwick {
namespace {

constexpr int kClientWidth = 560;
constexpr int kClientHeight = 470;
constexpr int kListChoiceLinesShown = 10;
constexpr int kWhichFilesAll = 0;
constexpr int kWhichFilesMarked = 1;

void showComboIndex(QComboBox* box, int index) {
    box->setCurrentIndex(index >= 0 && index < box->count() ? index : -1);
}

// Checks or unchecks a radio button of an exclusive group, so that "none checked" can show.
void setRadioChecked(QRadioButton* button, bool checked) {
    button->setAutoExclusive(false);
    button->setChecked(checked);
    button->setAutoExclusive(true);
}

// Checks the button of a group with that id and no other; an unknown id checks none.
void showCheckedId(QButtonGroup* group, int id) {
    group->setExclusive(false);
    for (QAbstractButton* button : group->buttons())
        button->setChecked(group->id(button) == id);
    group->setExclusive(true);
}

} // namespace

TForm6::TForm6(WindowRegistry& registry, QWidget* parent)
    : QWidget(parent), registry_(registry), settings_(registry.settings()) {
    setObjectName(QStringLiteral("Form6"));
    setWindowTitle(tr("Сложное переименование всех файлов из таблицы"));
    createControls();
    layOutControls();
    resize(kClientWidth, kClientHeight);
    showSettings();
    connectControls();
    registry_.watchActivation(this, [this] { FormActivate(); });
    connect(&registry_, &WindowRegistry::settingsLoaded, this, &TForm6::showSettings);
}

TForm6::~TForm6() = default;

void TForm6::createControls() {
    Label1 = new QLabel(tr("Выберите из каких частей будут состоять новые названия "
                           "Ваших файлов и в каком порядке они будут следовать"),
                        this);
    Label1->setWordWrap(true);
    QPalette instruction = Label1->palette();
    instruction.setColor(QPalette::WindowText, Qt::blue);
    Label1->setPalette(instruction);

    viberi = new QListWidget(this);
    viberi->setSelectionMode(QAbstractItemView::SingleSelection);
    for (const RenamePartInfo& info : renamePartInfos()) {
        auto* item = new QListWidgetItem(info.caption, viberi);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }

    Label2 = new QLabel(this);
    Label2->setWordWrap(true);
    Label2->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label2->setMinimumHeight(64);

    Button1 = new QPushButton(tr("Наверх"), this);
    Button1->setToolTip(tr("Переместить строку на один пункт вверх"));
    Button1->setEnabled(false);
    Button2 = new QPushButton(tr("Вниз"), this);
    Button2->setToolTip(tr("Переместить строку на один пункт вниз"));

    Edit1 = new QLineEdit(this);

    ComboBox1 = new QComboBox(this);
    ComboBox1->addItems(listChoiceEntries());
    ComboBox1->setMaxVisibleItems(kListChoiceLinesShown);

    rg1 = new QGroupBox(tr("Что будет добавлено"), this);
    r1 = new QRadioButton(tr("Дата"), rg1);
    r2 = new QRadioButton(tr("Время"), rg1);
    r3 = new QRadioButton(tr("Дата и время"), rg1);
    auto* dateTimeLayout = new QHBoxLayout(rg1);
    dateTimeLayout->addWidget(r1);
    dateTimeLayout->addWidget(r2);
    dateTimeLayout->addWidget(r3);

    Label3 = new QLabel(tr("Разделители"), this);
    ComboBox2 = new QComboBox(this);
    for (const SeparatorEntry& entry : separatorEntries())
        ComboBox2->addItem(entry.entryText);

    RadioGroup1 = new QGroupBox(tr("Какие файлы"), this);
    RadioGroup1All = new QRadioButton(tr("Все"), RadioGroup1);
    RadioGroup1Marked = new QRadioButton(tr("Только отмеченные (галочкой)"), RadioGroup1);
    whichFiles_ = new QButtonGroup(this);
    whichFiles_->addButton(RadioGroup1All, kWhichFilesAll);
    whichFiles_->addButton(RadioGroup1Marked, kWhichFilesMarked);
    auto* whichFilesLayout = new QVBoxLayout(RadioGroup1);
    whichFilesLayout->addWidget(RadioGroup1All);
    whichFilesLayout->addWidget(RadioGroup1Marked);

    Label4 = new QLabel(tr("Замечание: если имя файла в итоге получится больше 255 "
                           "символов, все лишние символы будут отброшены. Так что не "
                           "увлекайтесь уж очень сильно!!! :-)"),
                        this);
    Label4->setWordWrap(true);

    Label5 = new QLabel(this);

    PreviewCheckBox = new QCheckBox(tr("Показывать список переименований перед выполнением"), this);
    Button3 = new QPushButton(tr("&Начать переименование"), this);
    Button4 = new QPushButton(tr("Отмена"), this);

    Timer1 = new QTimer(this);
    Timer1->setSingleShot(true);
    Timer1->setInterval(kForbiddenCharactersWarningMs);
}

void TForm6::layOutControls() {
    auto* moveButtons = new QVBoxLayout;
    moveButtons->addWidget(Button1);
    moveButtons->addWidget(Button2);
    moveButtons->addStretch();

    auto* partsRow = new QHBoxLayout;
    partsRow->addWidget(viberi, 1);
    partsRow->addLayout(moveButtons);

    auto* separatorRow = new QHBoxLayout;
    separatorRow->addWidget(Label3);
    separatorRow->addWidget(ComboBox2, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button3);
    buttons->addWidget(Button4);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addLayout(partsRow, 1);
    layout->addWidget(Label2);
    layout->addWidget(Edit1);
    layout->addWidget(ComboBox1);
    layout->addWidget(rg1);
    layout->addLayout(separatorRow);
    layout->addWidget(RadioGroup1);
    layout->addWidget(PreviewCheckBox);
    layout->addWidget(Label4);
    layout->addWidget(Label5);
    layout->addLayout(buttons);
}

void TForm6::connectControls() {
    const auto handle = [this](void (TForm6::*handler)()) {
        return [this, handler] {
            registry_.runReportingErrors(this, [this, handler] { (this->*handler)(); });
        };
    };
    connect(viberi, &QListWidget::currentRowChanged, this, handle(&TForm6::viberiClick));
    connect(viberi, &QListWidget::itemClicked, this, handle(&TForm6::viberiClick));
    connect(viberi, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
        if (showingSettings_)
            return;
        storeCheckMarks();
        // Checking the selected part enables its extra control at once.
        if (item == viberi->currentItem())
            registry_.runReportingErrors(this, [this] { viberiClick(); });
    });
    connect(Button1, &QPushButton::clicked, this, handle(&TForm6::Button1Click));
    connect(Button2, &QPushButton::clicked, this, handle(&TForm6::Button2Click));
    connect(Edit1, &QLineEdit::textChanged, this, handle(&TForm6::Edit1Change));
    connect(Timer1, &QTimer::timeout, this, handle(&TForm6::Timer1Timer));
    connect(Button3, &QPushButton::clicked, this, handle(&TForm6::Button3Click));
    connect(Button4, &QPushButton::clicked, this, handle(&TForm6::Button4Click));
    connect(PreviewCheckBox, &QCheckBox::toggled, this, &TForm6::storePreviewOption);

    connect(ComboBox1, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (!showingSettings_)
            settings_.RenameListChoice = index;
    });
    connect(ComboBox2, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (!showingSettings_)
            settings_.RenameSeparator = index;
    });
    const auto bindRadio = [this](QRadioButton* button, bool ProgramSettings::*setting) {
        connect(button, &QRadioButton::toggled, this,
                [this, setting](bool checked) { settings_.*setting = checked; });
    };
    bindRadio(r1, &ProgramSettings::RenameAddDate);
    bindRadio(r2, &ProgramSettings::RenameAddTime);
    bindRadio(r3, &ProgramSettings::RenameAddDateAndTime);
    connect(whichFiles_, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked && !showingSettings_)
            settings_.RenameWhichFiles = id;
    });
}

void TForm6::showSettings() {
    showingSettings_ = true;
    for (int row = 0; row < viberi->count(); ++row) {
        viberi->item(row)->setCheckState(settings_.RenamePartsChecked[static_cast<std::size_t>(row)]
                                             ? Qt::Checked
                                             : Qt::Unchecked);
    }
    Edit1->setText(settings_.RenameOwnText);
    showComboIndex(ComboBox1, settings_.RenameListChoice);
    showComboIndex(ComboBox2, settings_.RenameSeparator);
    // Each button holds its own setting; of several set, the last one shows checked.
    const bool addDate = settings_.RenameAddDate;
    const bool addTime = settings_.RenameAddTime;
    const bool addDateAndTime = settings_.RenameAddDateAndTime;
    setRadioChecked(r1, addDate);
    setRadioChecked(r2, addTime);
    setRadioChecked(r3, addDateAndTime);
    settings_.RenameAddDate = r1->isChecked();
    settings_.RenameAddTime = r2->isChecked();
    settings_.RenameAddDateAndTime = r3->isChecked();
    showCheckedId(whichFiles_, settings_.RenameWhichFiles);
    showPreviewOption();
    showingSettings_ = false;
}

void TForm6::showPreviewOption() {
    const QSignalBlocker blocker(PreviewCheckBox);
    PreviewCheckBox->setChecked(
        readShowRenamePlanFirst(optionsFilePathBeside(registry_.settingsPath())));
}

void TForm6::storePreviewOption(bool on) {
    registry_.runReportingErrors(this, [&] {
        writeShowRenamePlanFirst(optionsFilePathBeside(registry_.settingsPath()), on);
    });
    // After a failed write the box shows what the file still says.
    showPreviewOption();
}

void TForm6::FormActivate() {
    // The option may have been changed elsewhere since the window was last up.
    showPreviewOption();
    if (viberi->count() > 0)
        viberi->setCurrentRow(0);
    viberiClick();
    Edit1->hide();
    ComboBox1->hide();
    rg1->hide();
}

void TForm6::viberiClick() {
    const int row = viberi->currentRow();
    const QListWidgetItem* item = viberi->currentItem();
    if (item == nullptr)
        return;
    Button1->setEnabled(canMovePartUp(row));
    Button2->setEnabled(canMovePartDown(row));

    const std::optional<RenamePart> part = renamePartFromCaption(item->text());
    Label2->setText(part ? renamePartInfo(*part).description : QString());
    const bool checked = item->checkState() == Qt::Checked;

    Edit1->setVisible(part == RenamePart::OwnText);
    ComboBox1->setVisible(part == RenamePart::ListChoice);
    rg1->setVisible(part == RenamePart::DateTime);
    if (part == RenamePart::OwnText) {
        Edit1->setEnabled(checked);
        if (checked)
            Edit1->setFocus();
    } else if (part == RenamePart::ListChoice) {
        ComboBox1->setEnabled(checked);
    } else if (part == RenamePart::DateTime) {
        for (QRadioButton* button : {r1, r2, r3})
            button->setEnabled(checked);
    }
}

void TForm6::Button1Click() {
    movePart(-1);
}

void TForm6::Button2Click() {
    movePart(+1);
}

void TForm6::movePart(int step) {
    const int row = viberi->currentRow();
    if (row < 0)
        return;
    RenamePartOrder order = shownPartOrder();
    const int newRow = moveRenamePart(order, row, step);
    showPartOrder(order, newRow);
    storeCheckMarks();
    viberiClick();
}

RenamePartOrder TForm6::shownPartOrder() const {
    RenamePartOrder order = initialPartOrder();
    for (int row = 0; row < viberi->count() && row < kRenamePartCount; ++row) {
        const QListWidgetItem* item = viberi->item(row);
        RenamePartItem& shown = order[static_cast<std::size_t>(row)];
        shown.part = renamePartFromCaption(item->text()).value_or(shown.part);
        shown.checked = item->checkState() == Qt::Checked;
    }
    return order;
}

void TForm6::showPartOrder(const RenamePartOrder& order, int selectedRow) {
    showingSettings_ = true;
    for (int row = 0; row < viberi->count() && row < kRenamePartCount; ++row) {
        const RenamePartItem& shown = order[static_cast<std::size_t>(row)];
        QListWidgetItem* item = viberi->item(row);
        item->setText(renamePartInfo(shown.part).caption);
        item->setCheckState(shown.checked ? Qt::Checked : Qt::Unchecked);
    }
    {
        const QSignalBlocker blocker(viberi);
        viberi->setCurrentRow(selectedRow);
    }
    showingSettings_ = false;
}

void TForm6::storeCheckMarks() {
    for (int row = 0; row < viberi->count() && row < kRenamePartCount; ++row)
        settings_.RenamePartsChecked[static_cast<std::size_t>(row)] =
            viberi->item(row)->checkState() == Qt::Checked;
}

std::array<RenamePart, kRenamePartCount> TForm6::partOrder() const {
    const RenamePartOrder order = shownPartOrder();
    std::array<RenamePart, kRenamePartCount> parts{};
    for (std::size_t i = 0; i < parts.size(); ++i)
        parts[i] = order[i].part;
    return parts;
}

CompositeRenameOptions TForm6::currentOptions() const {
    return compositeRenameOptions(settings_, partOrder());
}

void TForm6::Edit1Change() {
    if (!showingSettings_) {
        const FilteredText filtered =
            removeForbiddenCharacters(Edit1->text(), Edit1->cursorPosition());
        if (filtered.removedAny) {
            const QSignalBlocker blocker(Edit1);
            Edit1->setText(filtered.text);
            Edit1->setCursorPosition(filtered.caret);
            showWarning();
        }
    }
    settings_.RenameOwnText = Edit1->text();
}

void TForm6::showWarning() {
    Label5->setText(QCoreApplication::translate("songwick::Rename", kForbiddenCharactersWarning));
    QPalette warning = Label5->palette();
    warning.setColor(QPalette::Window, Qt::red);
    warning.setColor(QPalette::WindowText, Qt::yellow);
    Label5->setPalette(warning);
    Label5->setAutoFillBackground(true);
    Timer1->start();
}

void TForm6::Timer1Timer() {
    Timer1->stop();
    Label5->clear();
    Label5->setAutoFillBackground(false);
    Label5->setPalette(QPalette());
}

void TForm6::Button3Click() {
    if (!currentOptions().anyPartChecked()) {
        registry_.services().messages.showMessage(
            this, QCoreApplication::translate("songwick::Rename", kNoPartCheckedMessage));
        return;
    }
    const RenamePlan plan = planCompositeRename(registry_.grid(), registry_.catalogue(),
                                                currentOptions(), registry_.services().clock);
    // With the plan shown first, "Отмена" there leaves this window open.
    carryOutAfterPreview(plan, registry_.settingsPath(), this, [this, plan] {
        registry_.runReportingErrors(this, [this, &plan] {
            carryOutPlan(plan);
            backToMainWindow();
        });
    });
}

RenameRunResult TForm6::renameTableFiles() {
    return carryOutPlan(planCompositeRename(registry_.grid(), registry_.catalogue(),
                                            currentOptions(), registry_.services().clock));
}

RenameRunResult TForm6::carryOutPlan(const RenamePlan& plan) {
    CatalogueState& catalogue = registry_.catalogue();
    CatalogueGrid& grid = registry_.grid();
    const RenameRunResult run =
        carryOutRenamePlan(plan, grid, catalogue, registry_.renameJournalFolder());
    applyRenameRun(run, catalogue);
    if (TForm4* mainWindow = registry_.form4()) {
        if (grid.dataRowCount() > 0)
            mainWindow->tableModel->rowsChanged(1, grid.dataRowCount());
        mainWindow->showStatusText(run.statusText());
    }
    if (settings_.RenameErrorMessages) {
        for (const QString& message : run.errorMessages())
            registry_.services().messages.showMessage(this, message);
    }
    if (!run.stoppedBecause.isEmpty())
        registry_.services().messages.showMessage(this, run.stoppedBecause);
    return run;
}

void TForm6::Button4Click() {
    backToMainWindow();
}

void TForm6::backToMainWindow() {
    WindowRegistry::showWindow(registry_.form4());
    hide();
}

void TForm6::closeEvent(QCloseEvent* event) {
    // Closed by its border, the window goes back to the main window like "Отмена".
    event->accept();
    registry_.runReportingErrors(this, [this] { WindowRegistry::showWindow(registry_.form4()); });
}

} // namespace songwick
