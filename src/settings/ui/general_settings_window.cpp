#include "settings/ui/general_settings_window.h"

#include "app/ui/clickable_label.h"
#include "app/ui/hint_switch.h"
#include "app/ui/window_registry.h"
#include "scan/ui/scan_options_window.h"
#include "settings/options_file.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

namespace songwick {
namespace {

constexpr int kClientWidth = 566;
constexpr int kClientHeight = 403;
constexpr int kDialogFontPixels = 11;
// The explanation text greets on its twelfth click; the counter starts at -1.
constexpr int kGreetingClickCount = 11;

// A box of the dialog that can be picked from its list or typed into.
QComboBox* makeListBox(const QStringList& items, QWidget* parent) {
    auto* box = new QComboBox(parent);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    // The box need not be as wide as its longest item: the list opens wider.
    box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    box->setMinimumContentsLength(14);
    box->addItems(items);
    return box;
}

// Shows a list box's setting: its picked item, or the text it holds without a pick.
void showListChoice(QComboBox* box, int choice, const QString& text) {
    if (choice >= 0 && choice < box->count()) {
        box->setCurrentIndex(choice);
    } else {
        box->setCurrentIndex(-1);
        box->setEditText(text);
    }
}

} // namespace

ChoiceGroupBox::ChoiceGroupBox(const QString& title, const QStringList& items, int columns,
                               QWidget* parent)
    : QGroupBox(title, parent), buttons_(new QButtonGroup(this)) {
    auto* layout = new QGridLayout(this);
    layout->setVerticalSpacing(2);
    for (int index = 0; index < items.size(); ++index) {
        auto* button = new QRadioButton(items[index], this);
        buttons_->addButton(button, index);
        layout->addWidget(button, index / columns, index % columns);
    }
    layout->setColumnStretch(columns, 1);
    connect(buttons_, &QButtonGroup::idClicked, this, &ChoiceGroupBox::itemChosen);
}

int ChoiceGroupBox::itemIndex() const {
    return buttons_->checkedId();
}

void ChoiceGroupBox::setItemIndex(int index) {
    QAbstractButton* wanted = buttons_->button(index);
    if (wanted != nullptr) {
        wanted->setChecked(true);
        return;
    }
    // An exclusive group cannot uncheck its last checked button.
    buttons_->setExclusive(false);
    for (QAbstractButton* button : buttons_->buttons())
        button->setChecked(false);
    buttons_->setExclusive(true);
}

QRadioButton* ChoiceGroupBox::item(int index) const {
    return qobject_cast<QRadioButton*>(buttons_->button(index));
}

int ChoiceGroupBox::itemCount() const {
    return static_cast<int>(buttons_->buttons().size());
}

TForm10::TForm10(WindowRegistry& registry, QWidget* parent)
    : QWidget(parent, Qt::Window), registry_(registry), settings_(registry.settings()) {
    setObjectName(QStringLiteral("Form10"));
    setWindowTitle(tr("Общие настройки"));
    setWindowFlags(Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                   Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);

    // The dialog's size is fixed: its texts use the small dialog font the layout was made for.
    QFont dialogFont = font();
    dialogFont.setPixelSize(kDialogFontPixels);
    setFont(dialogFont);

    PageControl1 = new QTabWidget(this);
    // All five tabs in one row, as narrow as their captions allow.
    PageControl1->setUsesScrollButtons(false);
    PageControl1->tabBar()->setExpanding(false);
    PageControl1->setStyleSheet(QStringLiteral("QTabBar::tab { padding: 4px 6px; }"));
    PageControl1->addTab(createGeneralPage(), tr("Общие"));
    PageControl1->addTab(createTextPage(), tr("Текстовый формат"));
    PageControl1->addTab(createExcelPage(), tr("Экспорт в Excel"));
    PageControl1->addTab(createMessagesPage(), tr("Сообщения об ошибках"));
    PageControl1->addTab(createScanPage(), tr("Сканирование"));

    Button2 = new QPushButton(QStringLiteral("OK"), this);
    Button4 = new QPushButton(tr("&Восстановить значения по умолчанию"), this);
    Button1 = new QPushButton(tr("Отмена"), this);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Button2);
    buttons->addStretch();
    buttons->addWidget(Button4);
    buttons->addStretch();
    buttons->addWidget(Button1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(PageControl1, 1);
    layout->addLayout(buttons);
    setFixedSize(kClientWidth, kClientHeight);

    connectControls();
    showSettings();
    languageAtActivation_ = readLanguageChoice(optionsFilePathBeside(registry_.settingsPath()));
    registry_.watchActivation(this, [this] { FormActivate(); });
    connect(&registry_, &WindowRegistry::settingsLoaded, this, &TForm10::showSettings);
}

QWidget* TForm10::createGeneralPage() {
    auto* page = new QWidget;
    RadioGroup1 = new ChoiceGroupBox(tr("Ширина колонок таблицы"),
                                     {tr("Фиксированная ширина колонок (по умочанию)"),
                                      tr("Пользовательские настройки"),
                                      tr("По самой широкой строке в столбце")},
                                     1, page);
    CheckBox14 = new QCheckBox(tr("Всплывающие &подсказки"), page);
    auto* languageLabel = new QLabel(tr("&Язык интерфейса:"), page);
    LanguageBox = new QComboBox(page);
    LanguageBox->setObjectName(QStringLiteral("LanguageBox"));
    // In the order of LanguageChoice; each language is named in itself.
    LanguageBox->addItems(
        {tr("Как в системе"), QStringLiteral("Русский"), QStringLiteral("English")});
    languageLabel->setBuddy(LanguageBox);
    LanguageNote = new QLabel(tr("Новый язык появится при следующем запуске программы."), page);
    LanguageNote->setWordWrap(true);
    auto* languageRow = new QHBoxLayout;
    languageRow->addWidget(languageLabel);
    languageRow->addWidget(LanguageBox);
    languageRow->addStretch();
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(RadioGroup1);
    layout->addWidget(CheckBox14);
    layout->addSpacing(8);
    layout->addLayout(languageRow);
    layout->addWidget(LanguageNote);
    layout->addStretch();
    return page;
}

QWidget* TForm10::createTextPage() {
    auto* page = new QWidget;
    StaticText1 =
        new ClickableLabel(tr("Здесь можно настроить параметры вывода дополнительной информации в "
                              "текстовом формате (когда Вы хотите Сохранить или просто посмотреть "
                              "информацию из таблицы в текстовом формате)"),
                           page);
    StaticText1->setWordWrap(true);
    StaticText1->setFrameShape(QFrame::Panel);
    StaticText1->setFrameShadow(QFrame::Sunken);
    StaticText1->setMargin(6);
    Button3 = new QPushButton(tr("Настроить..."), page);
    Button3->setEnabled(false);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(StaticText1);
    layout->addWidget(Button3, 0, Qt::AlignLeft);
    layout->addStretch();
    return page;
}

QCheckBox* TForm10::addSettingCheckBox(const QString& caption, bool ProgramSettings::*setting,
                                       QWidget* parent) {
    auto* box = new QCheckBox(caption, parent);
    connect(box, &QCheckBox::toggled, this, [this, setting](bool checked) {
        if (showingSettings_)
            return;
        settings_.*setting = checked;
        applyEnablingRules();
    });
    return box;
}

QWidget* TForm10::createExcelPage() {
    auto* page = new QWidget;
    CheckBox1 = addSettingCheckBox(tr("&Номера строк"), &ProgramSettings::ExcelRowNumbers, page);
    CheckBox5 = addSettingCheckBox(tr("Курсив"), &ProgramSettings::ExcelRowNumbersItalic, page);
    QFont italic(QStringLiteral("Times New Roman"));
    italic.setPixelSize(kDialogFontPixels + 2);
    italic.setItalic(true);
    CheckBox5->setFont(italic);
    CheckBox2 = addSettingCheckBox(tr("Выделение цветом заголовков (текст)"),
                                   &ProgramSettings::ExcelHeaderTextColor, page);
    CheckBox7 = addSettingCheckBox(tr("Выделение цветом заголовков (границы)"),
                                   &ProgramSettings::ExcelHeaderBorderColor, page);
    CheckBox15 = addSettingCheckBox(tr("Выделение цветом заголовков (заливка)"),
                                    &ProgramSettings::ExcelHeaderFill, page);
    CheckBox6 = addSettingCheckBox(tr("Выделение цветом Всей таблицы (текст)"),
                                   &ProgramSettings::ExcelTableTextColor, page);
    CheckBox8 = addSettingCheckBox(tr("Выделение цветом Всей таблицы (границы)"),
                                   &ProgramSettings::ExcelTableBorderColor, page);
    CheckBox17 = addSettingCheckBox(tr("&Заливка всей таблицы цветом"),
                                    &ProgramSettings::ExcelTableFill, page);
    RadioGroup2 =
        new ChoiceGroupBox(tr("Какие границы рисовать"),
                           {tr("Вертикальные"), tr("Горизонтальные"), tr("Все")}, 2, page);
    CheckBox3 = addSettingCheckBox(tr("&Ширина колонок по самой широкой строке"),
                                   &ProgramSettings::ExcelAutoWidth, page);
    CheckBox4 =
        addSettingCheckBox(tr("Названия колонок"), &ProgramSettings::ExcelColumnTitles, page);
    CheckBox4->setVisible(false);
    CheckBox9 = addSettingCheckBox(tr("Добавить дату и/или &время"),
                                   &ProgramSettings::ExcelAddDateTime, page);
    RadioGroup3 = new ChoiceGroupBox(tr("Что будет добавлено"),
                                     {tr("Дата"), tr("Время"), tr("Дата и время")}, 2, page);
    CheckBox10 =
        addSettingCheckBox(tr("Выбор из списка №1"), &ProgramSettings::ExcelUseList1, page);
    ComboBox1 = makeListBox(excelList1Items(), page);
    CheckBox11 =
        addSettingCheckBox(tr("Выбор из списка №2"), &ProgramSettings::ExcelUseList2, page);
    ComboBox2 = makeListBox(excelList2Items(), page);
    CheckBox12 =
        addSettingCheckBox(tr("Добавить следующую строку"), &ProgramSettings::ExcelAddLine, page);
    Edit1 = new QLineEdit(page);

    auto* table = new QVBoxLayout;
    table->setSpacing(4);
    table->addWidget(CheckBox1);
    auto* italicRow = new QHBoxLayout;
    italicRow->addSpacing(18);
    italicRow->addWidget(CheckBox5);
    table->addLayout(italicRow);
    for (QCheckBox* box :
         {CheckBox2, CheckBox7, CheckBox15, CheckBox6, CheckBox8, CheckBox17, CheckBox3, CheckBox4})
        table->addWidget(box);
    table->addWidget(RadioGroup2);
    table->addStretch();

    auto* additions = new QVBoxLayout;
    additions->setSpacing(4);
    for (QWidget* control :
         std::initializer_list<QWidget*>{CheckBox9, RadioGroup3, CheckBox10, ComboBox1, CheckBox11,
                                         ComboBox2, CheckBox12, Edit1})
        additions->addWidget(control);
    additions->addStretch();

    auto* layout = new QHBoxLayout(page);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addLayout(table);
    layout->addSpacing(6);
    layout->addLayout(additions, 1);
    return page;
}

QWidget* TForm10::createMessagesPage() {
    auto* page = new QWidget;
    CheckBox13 = addSettingCheckBox(tr("Сообщения об ошибках при переименовании файлов"),
                                    &ProgramSettings::RenameErrorMessages, page);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(CheckBox13);
    layout->addStretch();
    return page;
}

QWidget* TForm10::createScanPage() {
    auto* page = new QWidget;
    Label1 = new QLabel(tr("Здесь Вы можите изменить параметры сканирования."), page);
    Label1->setStyleSheet(QStringLiteral("color: navy;"));
    StaticText2 =
        new QLabel(tr("Совет: если после изменения настроек работа программы стала Вас не "
                      "устраивать, измените все как было или просто нажмите кнопку "
                      "<Восстановить значения по умолчанию> -- все настройки (во всей "
                      "программе) примут первоначальный вид."),
                   page);
    StaticText2->setTextFormat(Qt::PlainText);
    StaticText2->setWordWrap(true);
    BitBtn1 = new QPushButton(tr("Настроить..."), page);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(Label1);
    layout->addWidget(BitBtn1, 0, Qt::AlignLeft);
    layout->addStretch();
    layout->addWidget(StaticText2);
    return page;
}

void TForm10::connectControls() {
    connect(Button2, &QPushButton::clicked, this, &TForm10::Button2Click);
    connect(Button1, &QPushButton::clicked, this, &TForm10::Button1Click);
    connect(Button4, &QPushButton::clicked, this, &TForm10::Button4Click);
    connect(Button3, &QPushButton::clicked, this, &TForm10::Button3Click);
    connect(BitBtn1, &QPushButton::clicked, this, &TForm10::BitBtn1Click);
    connect(StaticText1, &ClickableLabel::clicked, this, &TForm10::StaticText1Click);
    connect(CheckBox14, &QCheckBox::toggled, this, &TForm10::CheckBox14Click);
    connect(LanguageBox, &QComboBox::activated, this, &TForm10::LanguageBoxChosen);

    const auto bindGroup = [this](ChoiceGroupBox* group, int ProgramSettings::*setting) {
        connect(group, &ChoiceGroupBox::itemChosen, this, [this, setting](int index) {
            if (!showingSettings_)
                settings_.*setting = index;
        });
    };
    bindGroup(RadioGroup1, &ProgramSettings::ColumnWidthMode);
    bindGroup(RadioGroup2, &ProgramSettings::ExcelBorderKind);
    bindGroup(RadioGroup3, &ProgramSettings::ExcelDateTimeKind);

    // The export uses the text the box shows; the pick is stored when the text is an item.
    const auto bindListBox = [this](QComboBox* box, int ProgramSettings::*choice,
                                    QString ProgramSettings::*text, const QStringList& items) {
        connect(box, &QComboBox::editTextChanged, this,
                [this, choice, text, &items](const QString& shown) {
                    if (showingSettings_)
                        return;
                    settings_.*text = shown;
                    settings_.*choice = static_cast<int>(items.indexOf(shown));
                });
    };
    bindListBox(ComboBox1, &ProgramSettings::ExcelList1Choice, &ProgramSettings::ExcelList1Text,
                excelList1Items());
    bindListBox(ComboBox2, &ProgramSettings::ExcelList2Choice, &ProgramSettings::ExcelList2Text,
                excelList2Items());
    connect(Edit1, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (!showingSettings_)
            settings_.ExcelLineText = text;
    });
}

void TForm10::setTextOutputWindow(QWidget* window) {
    textOutputWindow_ = window;
    Button3->setEnabled(window != nullptr);
}

void TForm10::showSettings() {
    showingSettings_ = true;
    RadioGroup1->setItemIndex(settings_.ColumnWidthMode);
    CheckBox14->setChecked(settings_.ShowHints);
    CheckBox1->setChecked(settings_.ExcelRowNumbers);
    CheckBox5->setChecked(settings_.ExcelRowNumbersItalic);
    CheckBox2->setChecked(settings_.ExcelHeaderTextColor);
    CheckBox7->setChecked(settings_.ExcelHeaderBorderColor);
    CheckBox15->setChecked(settings_.ExcelHeaderFill);
    CheckBox6->setChecked(settings_.ExcelTableTextColor);
    CheckBox8->setChecked(settings_.ExcelTableBorderColor);
    CheckBox17->setChecked(settings_.ExcelTableFill);
    RadioGroup2->setItemIndex(settings_.ExcelBorderKind);
    CheckBox3->setChecked(settings_.ExcelAutoWidth);
    CheckBox4->setChecked(settings_.ExcelColumnTitles);
    CheckBox9->setChecked(settings_.ExcelAddDateTime);
    RadioGroup3->setItemIndex(settings_.ExcelDateTimeKind);
    CheckBox10->setChecked(settings_.ExcelUseList1);
    showListChoice(ComboBox1, settings_.ExcelList1Choice, settings_.ExcelList1Text);
    CheckBox11->setChecked(settings_.ExcelUseList2);
    showListChoice(ComboBox2, settings_.ExcelList2Choice, settings_.ExcelList2Text);
    CheckBox12->setChecked(settings_.ExcelAddLine);
    if (Edit1->text() != settings_.ExcelLineText)
        Edit1->setText(settings_.ExcelLineText);
    CheckBox13->setChecked(settings_.RenameErrorMessages);
    LanguageBox->setCurrentIndex(
        static_cast<int>(readLanguageChoice(optionsFilePathBeside(registry_.settingsPath()))));
    showingSettings_ = false;
    applyEnablingRules();
}

void TForm10::applyEnablingRules() {
    CheckBox5->setEnabled(CheckBox1->isChecked());
    RadioGroup2->setEnabled(CheckBox8->isChecked());
    RadioGroup3->setEnabled(CheckBox9->isChecked());
    ComboBox1->setEnabled(CheckBox10->isChecked());
    ComboBox2->setEnabled(CheckBox11->isChecked());
    Edit1->setEnabled(CheckBox12->isChecked());
}

TForm10::Snapshot TForm10::takeSnapshot() const {
    const ProgramSettings& s = settings_;
    return Snapshot{s.ColumnWidthMode,        s.TextAddDateTime,       s.TextAddCaption,
                    s.ExcelRowNumbers,        s.ExcelHeaderTextColor,  s.ExcelAutoWidth,
                    s.ExcelColumnTitles,      s.ExcelRowNumbersItalic, s.ExcelTableTextColor,
                    s.ExcelHeaderBorderColor, s.ExcelTableBorderColor, s.ExcelAddDateTime,
                    s.ExcelUseList1,          s.ExcelUseList2,         s.ExcelAddLine,
                    s.RenameErrorMessages,    s.ExcelList1Text,        s.ExcelList1Choice,
                    s.ExcelList2Text,         s.ExcelList2Choice,      s.ExcelLineText,
                    s.ManyFilesScan};
}

void TForm10::restoreSnapshot() {
    ProgramSettings& s = settings_;
    const Snapshot& old = snapshot_;
    s.ColumnWidthMode = old.ColumnWidthMode;
    s.TextAddDateTime = old.TextAddDateTime;
    s.TextAddCaption = old.TextAddCaption;
    s.ExcelRowNumbers = old.ExcelRowNumbers;
    s.ExcelHeaderTextColor = old.ExcelHeaderTextColor;
    s.ExcelAutoWidth = old.ExcelAutoWidth;
    s.ExcelColumnTitles = old.ExcelColumnTitles;
    s.ExcelRowNumbersItalic = old.ExcelRowNumbersItalic;
    s.ExcelTableTextColor = old.ExcelTableTextColor;
    s.ExcelHeaderBorderColor = old.ExcelHeaderBorderColor;
    s.ExcelTableBorderColor = old.ExcelTableBorderColor;
    s.ExcelAddDateTime = old.ExcelAddDateTime;
    s.ExcelUseList1 = old.ExcelUseList1;
    s.ExcelUseList2 = old.ExcelUseList2;
    s.ExcelAddLine = old.ExcelAddLine;
    s.RenameErrorMessages = old.RenameErrorMessages;
    s.ExcelList1Text = old.ExcelList1Text;
    s.ExcelList1Choice = old.ExcelList1Choice;
    s.ExcelList2Text = old.ExcelList2Text;
    s.ExcelList2Choice = old.ExcelList2Choice;
    s.ExcelLineText = old.ExcelLineText;
    s.ManyFilesScan = old.ManyFilesScan;
    const QString optionsPath = optionsFilePathBeside(registry_.settingsPath());
    if (readLanguageChoice(optionsPath) != languageAtActivation_) {
        registry_.runReportingErrors(
            this, [&] { writeLanguageChoice(optionsPath, languageAtActivation_); });
    }
    tellWindowsSettingsChanged();
}

void TForm10::tellWindowsSettingsChanged() {
    // Every window that shows settings refreshes its controls on this signal.
    emit registry_.settingsLoaded();
}

void TForm10::FormActivate() {
    showSettings();
    snapshot_ = takeSnapshot();
    languageAtActivation_ = readLanguageChoice(optionsFilePathBeside(registry_.settingsPath()));
    restoreOnClose_ = true;
    explanationClicks_ = -1;
}

void TForm10::Button2Click() {
    restoreOnClose_ = false;
    hide();
}

void TForm10::Button1Click() {
    restoreSnapshot();
    restoreOnClose_ = false;
    hide();
}

void TForm10::closeEvent(QCloseEvent* event) {
    if (restoreOnClose_)
        restoreSnapshot();
    restoreOnClose_ = false;
    event->accept();
}

void TForm10::Button4Click() {
    restoreDefaults(settings_);
    // The rename preview, set in the composite rename window, goes back to its default too.
    registry_.runReportingErrors(this, [this] {
        forgetShowRenamePlanFirst(optionsFilePathBeside(registry_.settingsPath()));
    });
    registry_.hints().setHintsShown(settings_.ShowHints);
    tellWindowsSettingsChanged();
    restoreOnClose_ = false;
    hide();
}

void TForm10::Button3Click() {
    WindowRegistry::showWindow(textOutputWindow_);
}

void TForm10::BitBtn1Click() {
    WindowRegistry::showWindow(registry_.form3());
}

void TForm10::CheckBox14Click(bool checked) {
    if (showingSettings_)
        return;
    settings_.ShowHints = checked;
    registry_.hints().setHintsShown(checked);
}

void TForm10::LanguageBoxChosen(int index) {
    const auto choice = static_cast<LanguageChoice>(index);
    registry_.runReportingErrors(this, [&] {
        writeLanguageChoice(optionsFilePathBeside(registry_.settingsPath()), choice);
    });
}

void TForm10::StaticText1Click() {
    ++explanationClicks_;
    if (explanationClicks_ == kGreetingClickCount)
        registry_.services().messages.showMessage(this, greetingMessage());
}

QString TForm10::greetingMessage() {
    return tr(
        "Всем приветики!! Москва (Россия), Moscow (Russia)!!!  СУПЕР!!! Всех девушек с восьмым "
        "марта (с наступающем или прошедшем -- не знаю, какое сейчас у Вас число)!!! А написано "
        "это 05.03.2003г.  :-) !!!!");
}

} // namespace songwick
