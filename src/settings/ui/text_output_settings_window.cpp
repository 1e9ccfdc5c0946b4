#include "settings/ui/text_output_settings_window.h"

#include "app/ui/window_registry.h"
#include "settings/program_settings.h"
#include "textview/table_text.h"
#include "textview/text_view_mode.h"
#include "textview/ui/text_view_window.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace songwick {
namespace {

constexpr int kClientWidth = 260;
constexpr int kClientHeight = 178;

} // namespace

TForm9::TForm9(WindowRegistry& registry, QWidget* parent)
    : QWidget(parent, Qt::Window), registry_(registry), settings_(registry.settings()) {
    setObjectName(QStringLiteral("Form9"));
    setWindowTitle(tr("Настройки"));
    setWindowFlags(Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                   Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);

    // Its hint "Добавить текущую дату и время" is switched off for good.
    CheckBox1 = new QCheckBox(tr("Добавить дату и время"), this);
    CheckBox2 = new QCheckBox(tr("Добавить следующую надпись"), this);
    ComboBox1 = new QComboBox(this);
    ComboBox1->setEditable(true);
    ComboBox1->setInsertPolicy(QComboBox::NoInsert);
    ComboBox1->addItems(textCaptionItems());
    Button1 = new QPushButton(QStringLiteral("OK"), this);
    Button2 = new QPushButton(tr("Отмена"), this);

    auto* caption = new QHBoxLayout;
    caption->addSpacing(18);
    caption->addWidget(ComboBox1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Button1);
    buttons->addStretch();
    buttons->addWidget(Button2);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(CheckBox1);
    layout->addWidget(CheckBox2);
    layout->addLayout(caption);
    layout->addStretch();
    layout->addLayout(buttons);
    setFixedSize(kClientWidth, kClientHeight);

    connectControls();
    showSettings();
    registry_.watchActivation(this, [this] { FormActivate(); });
    connect(&registry_, &WindowRegistry::settingsLoaded, this, &TForm9::showSettings);
}

TForm9::~TForm9() = default;

void TForm9::connectControls() {
    connect(CheckBox1, &QCheckBox::toggled, this, [this](bool checked) {
        if (!showingSettings_)
            settings_.TextAddDateTime = checked;
    });
    connect(CheckBox2, &QCheckBox::toggled, this, [this](bool checked) {
        if (!showingSettings_)
            settings_.TextAddCaption = checked;
        CheckBox2Click();
    });
    // The rendering uses the text the box shows; the pick is stored when the text is an item.
    connect(ComboBox1, &QComboBox::editTextChanged, this, [this](const QString& shown) {
        if (!showingSettings_)
            setCaptionText(shown);
    });
    connect(Button1, &QPushButton::clicked, this, &TForm9::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TForm9::Button2Click);
}

void TForm9::setTextView(TForm8* view) {
    textView_ = view;
}

void TForm9::setCaptionText(const QString& text) {
    settings_.TextCaptionText = text;
    settings_.TextCaptionChoice = static_cast<int>(textCaptionItems().indexOf(text));
}

void TForm9::showSettings() {
    showingSettings_ = true;
    CheckBox1->setChecked(settings_.TextAddDateTime);
    CheckBox2->setChecked(settings_.TextAddCaption);
    const int item = ComboBox1->findText(settings_.TextCaptionText, Qt::MatchExactly);
    if (item >= 0) {
        ComboBox1->setCurrentIndex(item);
    } else {
        ComboBox1->setCurrentIndex(-1);
        ComboBox1->setEditText(settings_.TextCaptionText);
    }
    showingSettings_ = false;
    CheckBox2Click();
}

void TForm9::FormActivate() {
    confirmed_ = false;
    showSettings();
    snapshot_ = Snapshot{settings_.TextAddDateTime, settings_.TextAddCaption,
                         settings_.TextCaptionText, settings_.TextCaptionChoice};
}

void TForm9::CheckBox2Click() {
    ComboBox1->setEnabled(CheckBox2->isChecked());
}

void TForm9::Button1Click() {
    confirmed_ = true;
    if (textView_ && textOutputConfirmationAppends(textView_->pendingAction()))
        textView_->appendLines(
            textOutputConfirmationLines(settings_, registry_.services().clock.now()));
    hideAndReturn();
}

void TForm9::Button2Click() {
    settings_.TextAddDateTime = snapshot_.addDateTime;
    settings_.TextAddCaption = snapshot_.addCaption;
    settings_.TextCaptionText = snapshot_.captionText;
    settings_.TextCaptionChoice = snapshot_.captionChoice;
    showSettings();
    hideAndReturn();
}

void TForm9::restoreCheckBoxes() {
    settings_.TextAddDateTime = snapshot_.addDateTime;
    settings_.TextAddCaption = snapshot_.addCaption;
    showSettings();
}

void TForm9::closeEvent(QCloseEvent* event) {
    // Closing by the title bar brings back the check boxes; a typed caption stays.
    if (!confirmed_)
        restoreCheckBoxes();
    event->accept();
    if (isVisible())
        hideAndReturn();
}

void TForm9::hideAndReturn() {
    hide();
    if (returnWindow_ && returnWindow_->isVisible())
        WindowRegistry::showWindow(returnWindow_);
}

void TForm9::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    QWidget* opener = registry_.currentWindow();
    if (opener != this)
        returnWindow_ = opener;
}

} // namespace songwick
