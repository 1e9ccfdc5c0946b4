#include "settings/program_settings.h"

#include <QCoreApplication>

namespace songwick {

const QStringList& textCaptionItems() {
    static const QStringList items = {
        QStringLiteral("Made in Earth"),
        QStringLiteral("Made in Russia"),
        QStringLiteral("Made in USSR"),
        QStringLiteral("That's all!!!"),
        QCoreApplication::translate("songwick::Phrases", "Всем привет!"),
        QCoreApplication::translate("songwick::Phrases", "Сделанно в СССР"),
        QCoreApplication::translate("songwick::Phrases", "Сделано в России"),
        QCoreApplication::translate("songwick::Phrases", "Список караоке файлов"),
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
        QCoreApplication::translate("songwick::Phrases", "В подарок"),
        QCoreApplication::translate("songwick::Phrases", "Джаз"),
        QCoreApplication::translate("songwick::Phrases", "Для души"),
        QCoreApplication::translate("songwick::Phrases", "Для тела"),
        QCoreApplication::translate("songwick::Phrases", "Женщинам"),
        QCoreApplication::translate("songwick::Phrases", "Избранное"),
        QCoreApplication::translate("songwick::Phrases", "Иностанные песни"),
        QCoreApplication::translate("songwick::Phrases", "Коллекция"),
        QCoreApplication::translate("songwick::Phrases", "Лучшее"),
        QCoreApplication::translate("songwick::Phrases", "Лучшее из лчших"),
        QCoreApplication::translate("songwick::Phrases", "Мазовая музыка"),
        QCoreApplication::translate("songwick::Phrases", "Мужчинам"),
        QCoreApplication::translate("songwick::Phrases", "Поп"),
        QCoreApplication::translate("songwick::Phrases", "Прикольная музыка"),
        QCoreApplication::translate("songwick::Phrases", "Продвинутая музыка"),
        QCoreApplication::translate("songwick::Phrases", "Рок"),
        QCoreApplication::translate("songwick::Phrases", "Россия"),
        QCoreApplication::translate("songwick::Phrases", "Русские песни"),
        QCoreApplication::translate("songwick::Phrases", "Сборник"),
        QCoreApplication::translate("songwick::Phrases", "Супер сборник"),
        QCoreApplication::translate("songwick::Phrases", "Танцуют все!"),
    };
    return items;
}

const QStringList& excelList2Items() {
    static const QStringList items = {
        QStringLiteral("Made in Earth"),
        QStringLiteral("Made in Russia"),
        QStringLiteral("Made in USSR"),
        QStringLiteral("That's all!!!"),
        QCoreApplication::translate("songwick::Phrases", "Всем привет!"),
        QCoreApplication::translate("songwick::Phrases",
                                    "Всем, всем, всем наиoгромнейший привет!!!"),
        QCoreApplication::translate("songwick::Phrases", "Сделанно в СССР"),
        QCoreApplication::translate("songwick::Phrases", "Сделано в России"),
        QCoreApplication::translate("songwick::Phrases", "Список караоке файлов"),
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
    s.RenameOwnText =
        QCoreApplication::translate("songwick::Phrases", "Напишите здесь чего-нибудь");
    s.ExcelLineText = QCoreApplication::translate("songwick::Phrases", "Всем ПрИвЕтИк!");
    s.LastFolder = homeFolder;
}

} // namespace songwick
