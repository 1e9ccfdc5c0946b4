#include "settings/program_settings.h"

#include <gtest/gtest.h>

using namespace songwick;

TEST(ProgramSettings, RestoreDefaultsSetsTheProgramWideDefaults) {
    ProgramSettings s;
    s.ManyFilesScan = true;
    s.ExcelRowNumbers = false;
    s.ShowHints = false;
    s.ExcelTableFill = false;
    s.RenameAddDate = true;
    s.RenameAddDateAndTime = false;
    s.ColumnWidthMode = 0;
    s.ExcelBorderKind = 1;
    s.ExcelDateTimeKind = 2;
    s.LastShutdownTime = 46000.5;
    s.TotalRunTime = 12.25;
    restoreDefaults(s, QStringLiteral("/home/user"));

    EXPECT_FALSE(s.ManyFilesScan);
    EXPECT_TRUE(s.TextAddDateTime);
    EXPECT_TRUE(s.TextAddCaption);
    for (const bool value :
         {s.ExcelRowNumbers, s.ExcelHeaderTextColor, s.ExcelAutoWidth, s.ExcelColumnTitles,
          s.ExcelRowNumbersItalic, s.ExcelTableTextColor, s.ExcelHeaderBorderColor,
          s.ExcelTableBorderColor, s.ExcelAddDateTime, s.ExcelUseList2, s.RenameErrorMessages,
          s.ShowHints, s.ExcelHeaderFill, s.ExcelTableFill, s.RenameAddDateAndTime})
        EXPECT_TRUE(value);
    EXPECT_FALSE(s.ExcelUseList1);
    EXPECT_FALSE(s.ExcelAddLine);
    EXPECT_FALSE(s.RenameAddDate);
    EXPECT_FALSE(s.RenameAddTime);
    EXPECT_EQ(s.RenamePartsChecked,
              (std::array<bool, 8>{false, true, false, false, false, false, false, false}));
    EXPECT_EQ(s.RenameAddGroupIndex, -1);
    EXPECT_EQ(s.RenameWhichFiles, 0);
    EXPECT_EQ(s.RenameListChoice, 16);
    EXPECT_EQ(s.RenameSeparator, 5);
    EXPECT_EQ(s.RewriteWhichFiles, 1);
    EXPECT_EQ(s.ColumnWidthMode, 2);
    EXPECT_EQ(s.ExcelBorderKind, 2);
    EXPECT_EQ(s.ExcelDateTimeKind, 0);
    EXPECT_EQ(s.ColumnWidths, (std::array<int, 7>{60, 60, 75, 60, 60, 60, 60}));
    EXPECT_EQ(s.RenameOwnText, QStringLiteral("Напишите здесь чего-нибудь"));
    EXPECT_EQ(s.ExcelLineText, QStringLiteral("Всем ПрИвЕтИк!"));
    EXPECT_EQ(s.LastFolder, QStringLiteral("/home/user"));
    EXPECT_EQ(s.LastShutdownTime, 46000.5);
    EXPECT_EQ(s.TotalRunTime, 12.25);
}

TEST(ProgramSettings, RestoreDefaultsDeselectsTheListBoxes) {
    ProgramSettings s;
    s.TextCaptionChoice = 3;
    s.TextCaptionText = textCaptionItems()[3];
    s.ExcelList1Text = QStringLiteral("набрано вручную");
    restoreDefaults(s);
    // A picked item is deselected and its text goes; a typed text stays.
    EXPECT_EQ(s.TextCaptionChoice, -1);
    EXPECT_TRUE(s.TextCaptionText.isEmpty());
    EXPECT_EQ(s.ExcelList1Choice, -1);
    EXPECT_EQ(s.ExcelList1Text, QStringLiteral("набрано вручную"));
    EXPECT_EQ(s.ExcelList2Text, QStringLiteral("Made in Earth"));
    EXPECT_EQ(s.LastFolder, QDir::homePath());
}

TEST(ProgramSettings, ListsAndGroupPicks) {
    EXPECT_EQ(textCaptionItems().size(), 8);
    EXPECT_EQ(excelList1Items().size(), 29);
    EXPECT_EQ(excelList2Items().size(), 9);
    EXPECT_EQ(excelList1Items()[15], QStringLiteral("Коллекция"));
    EXPECT_EQ(excelList2Items()[0], QStringLiteral("Made in Earth"));

    EXPECT_EQ(radioGroupIndex(255, 3), 2);
    EXPECT_EQ(radioGroupIndex(1, 3), 1);
    EXPECT_EQ(radioGroupIndex(0, 0), -1);
    EXPECT_EQ(listItemIndex(8, kRenameSeparatorCount), -1);
    EXPECT_EQ(listItemIndex(-7, kRenameListItemCount), -1);

    int choice = -1;
    QString text = QStringLiteral("Коллекция");
    pickListItem(choice, text, 28, excelList1Items());
    EXPECT_EQ(text, QStringLiteral("Танцуют все!"));
    pickListItem(choice, text, -1, excelList1Items());
    EXPECT_EQ(choice, -1);
    EXPECT_TRUE(text.isEmpty());
}
