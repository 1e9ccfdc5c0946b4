#include "settings/program_settings.h"

namespace songwick {

const QStringList& textCaptionItems() {
    static const QStringList items = {
        QStringLiteral("Made in Earth"),    QStringLiteral("Made in Russia"),
        QStringLiteral("Made in USSR"),     QStringLiteral("That's all!!!"),
        QStringLiteral("Всем привет!"),     QStringLiteral("Сделанно в СССР"),
        QStringLiteral("Сделано в России"), QStringLiteral("Список караоке файлов"),
    };
    return items;
}

const QStringList& excelList1Items() {
    static const QStringList items = {
        QStringLiteral(";o) !!!"),
        QStringLiteral("Advanced music"),
        QStringLiteral("For me!"),
        QStringLiteral("For You!"),
        QStringLiteral("Rules"),
        QStringLiteral("Russia"),
        QStringLiteral("Super"),
        QStringLiteral("The Best of The Best"),
        QStringLiteral("В подарок"),
        QStringLiteral("Джаз"),
        QStringLiteral("Для души"),
        QStringLiteral("Для тела"),
        QStringLiteral("Женщинам"),
        QStringLiteral("Избранное"),
        QStringLiteral("Иностанные песни"),
        QStringLiteral("Коллекция"),
        QStringLiteral("Лучшее"),
        QStringLiteral("Лучшее из лчших"),
        QStringLiteral("Мазовая музыка"),
        QStringLiteral("Мужчинам"),
        QStringLiteral("Поп"),
        QStringLiteral("Прикольная музыка"),
        QStringLiteral("Продвинутая музыка"),
        QStringLiteral("Рок"),
        QStringLiteral("Россия"),
        QStringLiteral("Русские песни"),
        QStringLiteral("Сборник"),
        QStringLiteral("Супер сборник"),
        QStringLiteral("Танцуют все!"),
    };
    return items;
}

const QStringList& excelList2Items() {
    static const QStringList items = {
        QStringLiteral("Made in Earth"),
        QStringLiteral("Made in Russia"),
        QStringLiteral("Made in USSR"),
        QStringLiteral("That's all!!!"),
        QStringLiteral("Всем привет!"),
        QStringLiteral("Всем, всем, всем наиoгромнейший привет!!!"),
        QStringLiteral("Сделанно в СССР"),
        QStringLiteral("Сделано в России"),
        QStringLiteral("Список караоке файлов"),
    };
    return items;
}

int radioGroupIndex(int index, int itemCount) {
    if (index < 0 || itemCount <= 0)
        return -1;
    return index < itemCount ? index : itemCount - 1;
}

int listItemIndex(int index, int itemCount) {
    return index >= 0 && index < itemCount ? index : -1;
}

void pickListItem(int& choice, QString& text, int index, const QStringList& items) {
    const int picked = listItemIndex(index, static_cast<int>(items.size()));
    if (picked >= 0)
        text = items[picked];
    else if (choice >= 0)
        text.clear();
    choice = picked;
}

void restoreDefaults(ProgramSettings& settings, const QString& homeFolder) {
    ProgramSettings& s = settings;
    s.ManyFilesScan = false;
    s.TextAddDateTime = true;
    s.TextAddCaption = true;
    s.ExcelRowNumbers = true;
    s.ExcelHeaderTextColor = true;
    s.ExcelAutoWidth = true;
    s.ExcelColumnTitles = true;
    s.ExcelRowNumbersItalic = true;
    s.ExcelTableTextColor = true;
    s.ExcelHeaderBorderColor = true;
    s.ExcelTableBorderColor = true;
    s.ExcelAddDateTime = true;
    s.ExcelUseList1 = false;
    s.ExcelUseList2 = true;
    s.ExcelAddLine = false;
    s.RenameErrorMessages = true;
    s.RenamePartsChecked = {false, true, false, false, false, false, false, false};
    s.RenameAddDate = false;
    s.RenameAddTime = false;
    s.RenameAddDateAndTime = true;
    s.ShowHints = true;
    s.ExcelHeaderFill = true;
    s.ExcelTableFill = true;
    // The item-less group turns any pick into no selection.
    s.RenameAddGroupIndex = radioGroupIndex(2, 0);
    s.RenameWhichFiles = 0;
    s.RenameListChoice = 16;
    s.RenameSeparator = 5;
    s.RewriteWhichFiles = 1;
    pickListItem(s.TextCaptionChoice, s.TextCaptionText, -1, textCaptionItems());
    pickListItem(s.ExcelList1Choice, s.ExcelList1Text, -1, excelList1Items());
    pickListItem(s.ExcelList2Choice, s.ExcelList2Text, -1, excelList2Items());
    s.ColumnWidthMode = 2;
    s.ExcelBorderKind = 2;
    s.ExcelDateTimeKind = 0;
    s.ColumnWidths = ProgramSettings::kDefaultColumnWidths;
    s.RenameOwnText = QStringLiteral("Напишите здесь чего-нибудь");
    s.ExcelLineText = QStringLiteral("Всем ПрИвЕтИк!");
    s.LastFolder = homeFolder;
}

} // namespace songwick
