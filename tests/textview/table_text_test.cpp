#include "catalogue/catalogue_grid.h"
#include "settings/program_settings.h"
#include "textview/table_text.h"
#include "textview/text_view_mode.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace songwick {
namespace {

// Seven columns, the header row and three data rows: a full one with Cyrillic texts, a
// marked one whose performer is empty, and one with nothing but its number.
CatalogueGrid sampleGrid() {
    CatalogueGrid grid(7, 4);
    const QStringList header = {
        u"№"_s, u"Имя файла"_s, u"Расположение (путь)"_s, u"Исполнитель и/или название песни"_s,
        u"D"_s, u"E"_s,         u"Сделана..."_s};
    const QStringList row1 = {u"1"_s,           u"Ой, мороз.kar"_s,  u"/музыка/народные/"_s,
                              u"Н. Кадышева"_s, u"слова народные"_s, u"музыка народная"_s,
                              u"KarMaker"_s};
    const QStringList row2 = {u"V 2"_s,      u"song.kar"_s, u"/music/"_s,  QString(),
                              u"Lyricist"_s, QString(),     u"Van Basco"_s};
    const QStringList rows[] = {header, row1, row2, {u"3"_s}};
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < rows[row].size(); ++column)
            grid.setCell(column, row, rows[row][column]);
    return grid;
}

TEST(TableTextTest, LayoutAJoinsLocationAndFileNameThenAColumnAfterTheOther) {
    EXPECT_EQ(
        tableLines(sampleGrid(), TableTextLayout::A),
        QStringList({u"1\t/музыка/народные/Ой, мороз.kar Н. Кадышева\tслова народные\t"
                     u"музыка народная\tKarMaker\t"_s,
                     u"V 2\t/music/song.kar \tLyricist\t\tVan Basco\t"_s, u"3\t \t\t\t\t"_s}));
}

TEST(TableTextTest, LayoutBLeavesOutTheFileName) {
    EXPECT_EQ(tableLines(sampleGrid(), TableTextLayout::B),
              QStringList({u"1\t/музыка/народные/Н. Кадышева\tслова народные\tмузыка народная\t"
                           u"KarMaker\t"_s,
                           u"V 2\t/music/\tLyricist\t\tVan Basco\t"_s, u"3\t\t\t\t\t"_s}));
}

TEST(TableTextTest, ColumnsTheGridLacksCountAsEmptyAndExtraColumnsAreKept) {
    CatalogueGrid narrow(2, 2);
    narrow.setCell(0, 1, u"1"_s);
    narrow.setCell(1, 1, u"a.kar"_s);
    EXPECT_EQ(tableLines(narrow, TableTextLayout::A), QStringList{u"1\ta.kar "_s});
    EXPECT_EQ(tableLines(narrow, TableTextLayout::B), QStringList{u"1\t\t"_s});

    CatalogueGrid wide(8, 2);
    wide.setCell(7, 1, u"extra"_s);
    EXPECT_EQ(tableLines(wide, TableTextLayout::A), QStringList{u"\t \t\t\t\textra\t"_s});
}

class TrailerTest : public ::testing::Test {
protected:
    // 07.12.2026 22:21:46 local time
    const DateTimeValue now = toDateTimeValue(QDateTime(QDate(2026, 12, 7), QTime(22, 21, 46)));
    ProgramSettings settings;
};

TEST_F(TrailerTest, HeaderOnlyTableGivesTheEmptyLineAndTheEnabledLines) {
    const CatalogueGrid headerOnly(7, 1);
    EXPECT_EQ(tableText(headerOnly, TableTextLayout::A, settings, now), QStringList{QString()});

    settings.TextAddDateTime = true;
    settings.TextAddCaption = true;
    settings.TextCaptionText = u"Сделано в России"_s;
    EXPECT_EQ(tableText(headerOnly, TableTextLayout::B, settings, now, QLocale::c()),
              QStringList({QString(), u"07.дек.2026  22.21.46"_s, u" Сделано в России"_s}));
}

TEST_F(TrailerTest, DateLineUsesTheLocalesMonthName) {
    settings.TextAddDateTime = true;
    const QLocale russian(QLocale::Russian, QLocale::Russia);
    QString month = russian.monthName(12, QLocale::ShortFormat);
    if (month.endsWith(u'.'))
        month.chop(1); // one full stop between month and year, never two
    EXPECT_EQ(trailerLines(settings, now, russian),
              QStringList({QString(), u"07."_s + month + u".2026  22.21.46"_s}));
}

TEST_F(TrailerTest, CaptionAloneFollowsTheTableLines) {
    settings.TextAddCaption = true; // the initial caption text
    const QStringList lines = tableText(sampleGrid(), TableTextLayout::A, settings, now);
    ASSERT_EQ(lines.size(), 5);
    EXPECT_EQ(lines.mid(3), QStringList({QString(), u" Made in Earth"_s}));
}

TEST_F(TrailerTest, ConfirmationLinesUseTheNumericDateAndTheBareCaption) {
    EXPECT_TRUE(textOutputConfirmationLines(settings, now).isEmpty());
    settings.TextAddDateTime = true;
    EXPECT_EQ(textOutputConfirmationLines(settings, now), QStringList{u"07.12.2026  22.21.46"_s});
    settings.TextAddCaption = true;
    settings.TextCaptionText = u"Всем привет!"_s;
    EXPECT_EQ(textOutputConfirmationLines(settings, now),
              QStringList({u"07.12.2026  22.21.46"_s, u"Всем привет!"_s}));
    EXPECT_EQ(printJobTitle(now), u"Список kar файлов 07.12.2026  22.21.46"_s);
}

TEST(TextViewModeTest, ActivationFollowsThePendingAction) {
    using Action = TextViewActivation::Action;
    const auto none = textViewActivation(TextViewMode::None);
    EXPECT_TRUE(none.clearsContent);
    EXPECT_EQ(none.action, Action::None);
    EXPECT_EQ(none.nextMode, TextViewMode::None);

    EXPECT_EQ(textViewActivation(TextViewMode::Render).action, Action::RenderForViewing);
    EXPECT_EQ(textViewActivation(TextViewMode::OpenFile).action, Action::OpenFile);
    EXPECT_EQ(textViewActivation(TextViewMode::RenderAndSave).action, Action::RenderAndSave);
    for (const auto mode :
         {TextViewMode::Render, TextViewMode::OpenFile, TextViewMode::RenderAndSave}) {
        EXPECT_TRUE(textViewActivation(mode).clearsContent);
        EXPECT_EQ(textViewActivation(mode).nextMode, mode); // carried out at every activation
    }

    const auto keep = textViewActivation(TextViewMode::KeepContentOnce);
    EXPECT_FALSE(keep.clearsContent);
    EXPECT_EQ(keep.action, Action::None);
    EXPECT_EQ(keep.nextMode, TextViewMode::Render);
}

TEST(TextViewModeTest, SettingsMenuProtectsOpenedAndSavedTextOnly) {
    EXPECT_EQ(modeForTextOutputSettings(TextViewMode::Render), TextViewMode::Render);
    EXPECT_EQ(modeForTextOutputSettings(TextViewMode::OpenFile), TextViewMode::KeepContentOnce);
    EXPECT_EQ(modeForTextOutputSettings(TextViewMode::RenderAndSave),
              TextViewMode::KeepContentOnce);
    EXPECT_EQ(modeForTextOutputSettings(TextViewMode::None), TextViewMode::KeepContentOnce);
    EXPECT_TRUE(textOutputConfirmationAppends(TextViewMode::Render));
    EXPECT_FALSE(textOutputConfirmationAppends(TextViewMode::OpenFile));
    EXPECT_FALSE(textOutputConfirmationAppends(TextViewMode::KeepContentOnce));
    EXPECT_FALSE(textOutputConfirmationAppends(TextViewMode::None));
}

} // namespace
} // namespace songwick
