#pragma once

#include "common/date_time.h"

#include <QCoreApplication>
#include <QDir>
#include <QString>
#include <QStringList>
#include <array>

namespace songwick {

// Every value the program keeps in prop.dat, with the state the controls have when the program
// starts (the values that stay in force when no settings file can be read). The windows bind
// their controls to one shared instance; the core reads it when it needs a setting.
//
// Radio groups are ints holding the 0-based item, -1 for no selection. List boxes are ints
// holding the 0-based index of the picked item in the box's sorted list, -1 when none is picked
// (the box then shows its own text, kept in the ...Text members below, which are not stored).
struct ProgramSettings {
    // Scan options window TForm3, CheckBox1 "Обработка большого количества файлов".
    bool ManyFilesScan = false;

    // Text output settings TForm9, CheckBox1 "Добавить дату и время" under the text table.
    bool TextAddDateTime = false;
    // TForm9 CheckBox2 "Добавить следующую надпись" (the caption line under the text table).
    bool TextAddCaption = false;

    // General settings TForm10 CheckBox1 "&Номера строк" of the Excel export.
    bool ExcelRowNumbers = true;
    // TForm10 CheckBox2 "Выделение цветом заголовков (текст)".
    bool ExcelHeaderTextColor = true;
    // TForm10 CheckBox3 "&Ширина колонок по самой широкой строке".
    bool ExcelAutoWidth = true;
    // TForm10 CheckBox4 "Названия колонок" (never visible, still used by the export).
    bool ExcelColumnTitles = true;
    // TForm10 CheckBox5 "Курсив" of the row numbers.
    bool ExcelRowNumbersItalic = true;
    // TForm10 CheckBox6 "Выделение цветом Всей таблицы (текст)".
    bool ExcelTableTextColor = true;
    // TForm10 CheckBox7 "Выделение цветом заголовков (границы)".
    bool ExcelHeaderBorderColor = true;
    // TForm10 CheckBox8 "Выделение цветом Всей таблицы (границы)".
    bool ExcelTableBorderColor = true;
    // TForm10 CheckBox9 "Добавить дату и/или &время".
    bool ExcelAddDateTime = true;
    // TForm10 CheckBox10 "Выбор из списка №1".
    bool ExcelUseList1 = false;
    // TForm10 CheckBox11 "Выбор из списка №2".
    bool ExcelUseList2 = true;
    // TForm10 CheckBox12 "Добавить следующую строку".
    bool ExcelAddLine = false;
    // TForm10 CheckBox13 "Сообщения об ошибках при переименовании файлов" (both renames).
    bool RenameErrorMessages = true;

    // Composite rename TForm6, parts list `viberi`: check marks of items 0 to 7 by position.
    std::array<bool, 8> RenamePartsChecked{};
    // TForm6 r1 "Дата" of the part "Дата и время".
    bool RenameAddDate = false;
    // TForm6 r2 "Время".
    bool RenameAddTime = false;
    // TForm6 r3 "Дата и время".
    bool RenameAddDateAndTime = true;

    // TForm10 CheckBox14 "Всплывающие &подсказки": pop-up hints in every window.
    bool ShowHints = true;
    // TForm10 CheckBox15 "Выделение цветом заголовков (заливка)".
    bool ExcelHeaderFill = true;
    // TForm10 CheckBox17 "&Заливка всей таблицы цветом".
    bool ExcelTableFill = true;

    // TForm6 rg1 "Что будет добавлено", a group without items: always -1 (no selection).
    int RenameAddGroupIndex = -1;
    // TForm6 RadioGroup1 "Какие файлы": 0 "Все", 1 "Только отмеченные (галочкой)".
    int RenameWhichFiles = 0;
    // TForm6 ComboBox1, the list choice of the composite rename: 14 is "Избранное".
    int RenameListChoice = 14;
    // TForm6 ComboBox2, the separator list: 5 is the spaced double hyphen.
    int RenameSeparator = 5;
    // Header rewriting TForm7 RadioGroup1 "Какие файлы" (window never shown): 0 "Все",
    // 1 "Только омеченные (галочкой)".
    int RewriteWhichFiles = 0;
    // TForm9 ComboBox1, the caption list of the text output (textCaptionItems()).
    int TextCaptionChoice = -1;
    // TForm10 ComboBox1, Excel list No. 1 (excelList1Items()).
    int ExcelList1Choice = -1;
    // TForm10 ComboBox2, Excel list No. 2 (excelList2Items()).
    int ExcelList2Choice = -1;
    // TForm10 RadioGroup1 "Ширина колонок таблицы" of the catalogue table: 0 fixed widths,
    // 1 "Пользовательские настройки" (ColumnWidths), 2 by the widest text in each column.
    int ColumnWidthMode = 2;
    // TForm10 RadioGroup2 "Какие границы рисовать": 0 vertical, 1 horizontal, 2 all.
    int ExcelBorderKind = 2;
    // TForm10 RadioGroup3 "Что будет добавлено": 0 "Дата", 1 "Время", 2 "Дата и время".
    int ExcelDateTimeKind = 0;

    // Start window field: widths in pixels of the catalogue table's columns 0 to 6, applied
    // when ColumnWidthMode is 1.
    std::array<int, 7> ColumnWidths{};
    // ColumnWidths at the first start, and for a width stored as 0.
    static constexpr std::array<int, 7> kDefaultColumnWidths{60, 60, 75, 60, 60, 60, 60};
    // TForm6 Edit1, the composite rename's own text.
    QString RenameOwnText =
        QCoreApplication::translate("songwick::Phrases", "Напишите, что хотите!!!");
    // TForm10 Edit1, the line the Excel export adds (ExcelAddLine).
    QString ExcelLineText =
        QCoreApplication::translate("songwick::Phrases", "Вся ЖИЗНЬ -- Праздник!");
    // Start window field: the folder last chosen for a scan, where the folder chooser opens.
    QString LastFolder;
    // Start window field: when the program last ended; shown by the about window.
    DateTimeValue LastShutdownTime = 0;
    // Start window field: running time of all earlier runs (days); shown by the about window.
    DateTimeValue TotalRunTime = 0;

    // Not stored: the texts the three editable boxes show. A stored pick sets them to the
    // picked item on load; text typed into a box lives only for the run.
    // TForm9 ComboBox1 text, the caption line of the text output.
    QString TextCaptionText = QStringLiteral("Made in Earth");
    // TForm10 ComboBox1 text, used by the Excel export when ExcelUseList1 is on.
    QString ExcelList1Text = QCoreApplication::translate("songwick::Phrases", "Коллекция");
    // TForm10 ComboBox2 text, used by the Excel export when ExcelUseList2 is on.
    QString ExcelList2Text = QStringLiteral("Made in Earth");

    bool operator==(const ProgramSettings&) const = default;
};

// The sorted item lists of the three boxes whose picks are stored with their texts.
const QStringList& textCaptionItems(); // TForm9 ComboBox1
const QStringList& excelList1Items();  // TForm10 ComboBox1
const QStringList& excelList2Items();  // TForm10 ComboBox2

// Item counts of the composite rename's two lists (their texts belong to the rename window).
inline constexpr int kRenameListItemCount = 30;
inline constexpr int kRenameSeparatorCount = 8;

// Picks item `index` of a radio group with itemCount items: past the last item selects the
// last one, a group without items keeps no selection, a negative index selects nothing.
int radioGroupIndex(int index, int itemCount);

// Picks item `index` of a list box as the box does: an item in range becomes the box's text;
// -1 (or an index outside the list) deselects, which empties the text only when an item was
// picked before and otherwise leaves the shown text as it is.
void pickListItem(int& choice, QString& text, int index, const QStringList& items);
// The same for a list box whose text is not kept here: only the index is checked.
int listItemIndex(int index, int itemCount);

// Sets every value that "&Восстановить значения по умолчанию" sets, program-wide. The two time
// stamps are not touched; the last scanned folder becomes homeFolder.
void restoreDefaults(ProgramSettings& settings, const QString& homeFolder = QDir::homePath());

} // namespace songwick
