#pragma once

#include "settings/program_settings.h"
#include "translations/interface_language.h"

#include <QGroupBox>
#include <QPointer>
#include <QWidget>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;

namespace songwick {

class ClickableLabel;
class WindowRegistry;

// A radio group: a titled box of radio buttons of which at most one is checked.
class ChoiceGroupBox : public QGroupBox {
    Q_OBJECT

public:
    // The items are laid out row by row in the given number of columns.
    ChoiceGroupBox(const QString& title, const QStringList& items, int columns,
                   QWidget* parent = nullptr);

    // The checked item, -1 when none is.
    int itemIndex() const;
    // Checks item index; -1 (or an index past the items) checks none. Emits nothing.
    void setItemIndex(int index);
    QRadioButton* item(int index) const;
    int itemCount() const;

signals:
    // The user (or a click in a test) checked another item.
    void itemChosen(int index);

private:
    QButtonGroup* buttons_;
};

// The general settings dialog "Общие настройки": the column width mode of the table, pop-up
// hints, the options of the Excel export, the rename error messages, and the ways to the text
// output settings and the scan options. Its controls are the settings: a change takes effect at
// once, "OK" keeps it, "Отмена" or closing the window puts back what was there when the dialog
// last became active.
class TForm10 : public QWidget {
    Q_OBJECT

public:
    explicit TForm10(WindowRegistry& registry, QWidget* parent = nullptr);

    // The text output settings window opened by Button3; the button stays disabled without one.
    void setTextOutputWindow(QWidget* window);

    // The window became active: shows the settings, takes the snapshot "Отмена" goes back to.
    void FormActivate();
    // Shows the current settings in the controls (after a load or a reset elsewhere).
    void showSettings();

    QTabWidget* PageControl1;
    QPushButton* Button2; // "OK"
    QPushButton* Button4; // "&Восстановить значения по умолчанию"
    QPushButton* Button1; // "Отмена"

    // "Общие"
    ChoiceGroupBox* RadioGroup1; // "Ширина колонок таблицы"
    QCheckBox* CheckBox14;       // "Всплывающие &подсказки"
    // "Язык интерфейса": as the system's, Russian or English, kept in options.ini and taken at
    // the next start.
    QComboBox* LanguageBox;
    QLabel* LanguageNote;

    // "Текстовый формат"
    ClickableLabel* StaticText1;
    QPushButton* Button3; // "Настроить..." (text output settings)

    // "Экспорт в Excel"
    QCheckBox* CheckBox1;
    QCheckBox* CheckBox5;
    QCheckBox* CheckBox2;
    QCheckBox* CheckBox7;
    QCheckBox* CheckBox15;
    QCheckBox* CheckBox6;
    QCheckBox* CheckBox8;
    QCheckBox* CheckBox17;
    ChoiceGroupBox* RadioGroup2; // "Какие границы рисовать"
    QCheckBox* CheckBox3;
    QCheckBox* CheckBox4; // never visible, its value is still used
    QCheckBox* CheckBox9;
    ChoiceGroupBox* RadioGroup3; // "Что будет добавлено"
    QCheckBox* CheckBox10;
    QComboBox* ComboBox1;
    QCheckBox* CheckBox11;
    QComboBox* ComboBox2;
    QCheckBox* CheckBox12;
    QLineEdit* Edit1;

    // "Сообщения об ошибках"
    QCheckBox* CheckBox13;

    // "Сканирование"
    QLabel* Label1;
    QLabel* StaticText2;
    QPushButton* BitBtn1; // "Настроить..." (scan options)

    // Handlers.
    void Button2Click();
    void Button1Click();
    void Button4Click();
    void Button3Click();
    void BitBtn1Click();
    void CheckBox14Click(bool checked);
    void StaticText1Click();
    void LanguageBoxChosen(int index);

    // The message the twelfth click on the explanation text shows.
    static QString greetingMessage();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // What "Отмена" puts back.
    struct Snapshot {
        int ColumnWidthMode = 0;
        bool TextAddDateTime = false;
        bool TextAddCaption = false;
        bool ExcelRowNumbers = false;
        bool ExcelHeaderTextColor = false;
        bool ExcelAutoWidth = false;
        bool ExcelColumnTitles = false;
        bool ExcelRowNumbersItalic = false;
        bool ExcelTableTextColor = false;
        bool ExcelHeaderBorderColor = false;
        bool ExcelTableBorderColor = false;
        bool ExcelAddDateTime = false;
        bool ExcelUseList1 = false;
        bool ExcelUseList2 = false;
        bool ExcelAddLine = false;
        bool RenameErrorMessages = false;
        QString ExcelList1Text;
        int ExcelList1Choice = -1;
        QString ExcelList2Text;
        int ExcelList2Choice = -1;
        QString ExcelLineText;
        bool ManyFilesScan = false;
    };
    // The language choice, which lives in options.ini: put back by "Отмена" as the rest is.
    LanguageChoice languageAtActivation_ = LanguageChoice::System;
    Snapshot takeSnapshot() const;
    void restoreSnapshot();

    QWidget* createGeneralPage();
    QWidget* createTextPage();
    QWidget* createExcelPage();
    QWidget* createMessagesPage();
    QWidget* createScanPage();
    void connectControls();
    // A check box bound to one setting.
    QCheckBox* addSettingCheckBox(const QString& caption, bool ProgramSettings::*setting,
                                  QWidget* parent);
    void applyEnablingRules();
    // The other windows that show settings refresh their controls.
    void tellWindowsSettingsChanged();

    WindowRegistry& registry_;
    ProgramSettings& settings_;
    QPointer<QWidget> textOutputWindow_;
    Snapshot snapshot_;
    bool restoreOnClose_ = false;
    int explanationClicks_ = -1;
    // Controls being set from the settings do not write them back.
    bool showingSettings_ = false;
};

} // namespace songwick
