#include "qt_printing.h"
#include "rename/composite_name.h"
#include "settings/program_settings.h"

#include <QFile>
#include <algorithm>
#include <gtest/gtest.h>

namespace songwick {
namespace {

// A function, not a constant: the date conversion must not run during static initialisation.
DateTimeValue evening() {
    return toDateTimeValue(QDateTime(QDate(2026, 12, 7), QTime(22, 45, 10)));
}

CompositeRenameOptions optionsWith(std::initializer_list<RenamePart> checkedInOrder,
                                   const QString& separator) {
    CompositeRenameOptions options;
    std::size_t position = 0;
    for (RenamePart part : checkedInOrder)
        options.parts[position++] = {part, true};
    // the remaining positions get the other parts, unchecked
    for (const RenamePartInfo& info : renamePartInfos()) {
        if (std::find(checkedInOrder.begin(), checkedInOrder.end(), info.part) ==
            checkedInOrder.end())
            options.parts[position++] = {info.part, false};
    }
    options.separator = separator;
    return options;
}

RowPartTexts rowTexts(const QString& fileName, const QString& column3, const QString& column4 = {},
                      const QString& column5 = {}, const QString& column6 = {}) {
    return RowPartTexts{fileName, {column3, column4, column5, column6}};
}

TEST(CompositeNameTest, TextsLoseTheirExtensionAndTheFileKeepsItsOwn) {
    const auto options =
        optionsWith({RenamePart::OriginalFileName, RenamePart::Column3}, QStringLiteral(" -- "));
    EXPECT_EQ(composeName(options, rowTexts(QStringLiteral("a.KAR"), QStringLiteral("Кино.mid")),
                          evening()),
              QStringLiteral("a -- Кино"));
    EXPECT_EQ(compositeExtensionFor(QStringLiteral("skarabey.mid")), QStringLiteral(".mid"));
    EXPECT_EQ(compositeExtensionFor(QStringLiteral("karaoke")), QStringLiteral(".kar"));
    EXPECT_EQ(compositeExtensionFor(QStringLiteral("kar. Live 2")), QStringLiteral(".kar"));
}

TEST(CompositeNameTest, PartsFollowTheListOrderJoinedBySeparator) {
    auto options = optionsWith({RenamePart::Column3, RenamePart::DateTime}, separatorForIndex(5));
    options.dateTime = DateTimeChoice::Date;
    const RowPartTexts row =
        rowTexts(QStringLiteral("a.kar"), QStringLiteral("Кино - Группа крови"));
    EXPECT_EQ(composeName(options, row, evening()),
              QStringLiteral("Кино - Группа крови -- 07.12.2026"));

    options =
        optionsWith({RenamePart::ListChoice, RenamePart::Column6, RenamePart::OriginalFileName},
                    QStringLiteral("_"));
    options.listChoice = QStringLiteral("Рок");
    EXPECT_EQ(composeName(options,
                          rowTexts(QStringLiteral("a.kar"), {}, {}, {}, QStringLiteral("Maker")),
                          evening()),
              QStringLiteral("Рок_Maker_a"));
}

TEST(CompositeNameTest, EmptyCellKeepsItsSeparatorButEmptyOwnTextAddsNothing) {
    auto options = optionsWith(
        {RenamePart::Column3, RenamePart::Column4, RenamePart::OwnText, RenamePart::Column5},
        QStringLiteral("-"));
    const RowPartTexts row =
        rowTexts(QStringLiteral("a.kar"), QStringLiteral("A"), {}, QStringLiteral("C"));
    EXPECT_EQ(composeName(options, row, evening()), QStringLiteral("A--C"));

    options.ownText = QStringLiteral("своё");
    EXPECT_EQ(composeName(options, row, evening()), QStringLiteral("A--своё-C"));

    const auto onlyOwnText = optionsWith({RenamePart::OwnText}, QStringLiteral(" "));
    EXPECT_EQ(composeName(onlyOwnText, row, evening()), QString());
}

TEST(CompositeNameTest, DateAndTimeFormats) {
    EXPECT_EQ(dateTimePartText(DateTimeChoice::Date, evening()), QStringLiteral("07.12.2026"));
    EXPECT_EQ(dateTimePartText(DateTimeChoice::Time, evening()), QStringLiteral("22.45.10"));
    EXPECT_EQ(dateTimePartText(DateTimeChoice::DateAndTime, evening()),
              QStringLiteral("07.12.2026  22.45.10"));
    EXPECT_EQ(dateTimePartText(DateTimeChoice::None, evening()), QString());
}

TEST(CompositeNameTest, ForbiddenCharactersBecomeOneBlankAndCodeOneOnlyForTheStartStore) {
    const QString composed = QStringLiteral("AC/DC: Back\\in*Black?\"<>|") + QChar(1);
    EXPECT_EQ(finishComposedName(composed, false),
              QStringLiteral("AC DC Back in Black ") + QChar(1));
    EXPECT_EQ(finishComposedName(composed, true), QStringLiteral("AC DC Back in Black "));
    // Blanks no character left stay as they are: the separator "  ".
    EXPECT_EQ(finishComposedName(QStringLiteral("A  B"), false), QStringLiteral("A  B"));
}

TEST(CompositeNameTest, OwnTextFilterRemovesForbiddenCharactersAndKeepsTheCaret) {
    FilteredText typed = removeForbiddenCharacters(QStringLiteral("Моя:строка"), 4);
    EXPECT_EQ(typed.text, QStringLiteral("Моястрока"));
    EXPECT_EQ(typed.caret, 3);
    EXPECT_TRUE(typed.removedAny);

    FilteredText pasted = removeForbiddenCharacters(QStringLiteral("a/b\\c|d"), 5);
    EXPECT_EQ(pasted.text, QStringLiteral("abcd"));
    EXPECT_EQ(pasted.caret, 3);

    FilteredText clean = removeForbiddenCharacters(QStringLiteral("чисто"), 2);
    EXPECT_FALSE(clean.removedAny);
    EXPECT_EQ(clean.caret, 2);
    EXPECT_EQ(kForbiddenNameCharacters.size(), 9);
}

TEST(CompositeNameTest, LongCyrillicNameIsCutToFitWithItsExtensionIn255Bytes) {
    const QString cyrillic(200, QChar(u'Ж')); // two bytes each
    const QString finished = finishComposedName(cyrillic, false);
    EXPECT_EQ(finished.size(), 125);
    EXPECT_LE(QFile::encodeName(finished + QStringLiteral(".kar")).size(), 255);

    // One byte more at the front: exactly 251 + 4 bytes.
    const QString odd = finishComposedName(QStringLiteral("x") + cyrillic, false);
    EXPECT_EQ(QFile::encodeName(odd + QStringLiteral(".kar")).size(), 255);

    // A character of four bytes is kept whole or dropped whole, as is a letter with its accent.
    const QString emoji = QString::fromUtf8("\xF0\x9F\x8E\xA4");
    const QString cut = cutToFileNameBytes(QString(249, QLatin1Char('a')) + emoji, 251);
    EXPECT_EQ(cut, QString(249, QLatin1Char('a')));
    const QString accented = QStringLiteral("е") + QChar(0x0308);
    EXPECT_EQ(cutToFileNameBytes(QString(248, QLatin1Char('a')) + accented, 251),
              QString(248, QLatin1Char('a')));
    EXPECT_EQ(cutToFileNameBytes(QStringLiteral("short"), 251), QStringLiteral("short"));
}

TEST(CompositeNameTest, SeparatorsAndListEntries) {
    EXPECT_EQ(separatorForEntryText(QStringLiteral("Тире с пробелами \" -- \"")),
              QStringLiteral(" -- "));
    EXPECT_EQ(separatorForEntryText(QStringLiteral("Две точки + пробел \".. \"")),
              QStringLiteral(".. "));
    EXPECT_EQ(separatorForEntryText(QStringLiteral("что-то другое")), QString());
    EXPECT_EQ(separatorForIndex(5), QStringLiteral(" -- "));
    EXPECT_EQ(separatorForIndex(8), QString());

    EXPECT_EQ(listChoiceEntries().size(), 30);
    EXPECT_EQ(listChoiceEntries()[14], QStringLiteral("Избранное"));
    EXPECT_EQ(listChoiceEntries()[16], QStringLiteral("Коллекция"));

    EXPECT_EQ(renamePartFromCaption(QStringLiteral("Своя строка")), RenamePart::OwnText);
    EXPECT_EQ(renamePartFromCaption(QStringLiteral("Дата")), std::nullopt);
    EXPECT_TRUE(renamePartInfo(RenamePart::Column6)
                    .description.endsWith(QStringLiteral("файл.  Также здесь может содержаться "
                                                         "всякая рекламная информация (сайт, "
                                                         "e-mail и т. д.)")));
}

TEST(CompositeNameTest, PartsMoveWithTheirCheckMarksButNotPastTheEnds) {
    RenamePartOrder order = initialPartOrder();
    order[7].checked = true;
    EXPECT_FALSE(canMovePartDown(7));
    EXPECT_EQ(moveRenamePart(order, 7, +1), 7);
    EXPECT_EQ(moveRenamePart(order, 7, -1), 6);
    EXPECT_EQ(order[6].part, RenamePart::DateTime);
    EXPECT_TRUE(order[6].checked);
    EXPECT_EQ(order[7].part, RenamePart::ListChoice);
    EXPECT_FALSE(order[7].checked);
    EXPECT_FALSE(canMovePartUp(0));
    EXPECT_EQ(moveRenamePart(order, 0, -1), 0);
    EXPECT_TRUE(canMovePartUp(1));
    EXPECT_TRUE(canMovePartDown(6));
}

TEST(CompositeNameTest, OptionsFromSettingsPutCheckMarksOnListPositions) {
    ProgramSettings settings;
    settings.RenamePartsChecked = {true, false, false, false, false, false, false, true};
    settings.RenameWhichFiles = 1;
    settings.RenameAddDateAndTime = false;
    settings.RenameAddTime = true;
    const std::array<RenamePart, kRenamePartCount> moved{
        RenamePart::DateTime,   RenamePart::Column3,         RenamePart::Column4,
        RenamePart::Column5,    RenamePart::Column6,         RenamePart::OwnText,
        RenamePart::ListChoice, RenamePart::OriginalFileName};
    const CompositeRenameOptions options = compositeRenameOptions(settings, moved);
    EXPECT_EQ(options.parts[0].part, RenamePart::DateTime);
    EXPECT_TRUE(options.parts[0].checked);
    EXPECT_EQ(options.parts[7].part, RenamePart::OriginalFileName);
    EXPECT_TRUE(options.parts[7].checked);
    EXPECT_EQ(options.separator, QStringLiteral(" -- "));
    EXPECT_EQ(options.listChoice, QStringLiteral("Избранное"));
    EXPECT_EQ(options.ownText, QStringLiteral("Напишите, что хотите!!!"));
    EXPECT_EQ(options.dateTime, DateTimeChoice::Time);
    EXPECT_TRUE(options.markedOnly);
    EXPECT_EQ(composeName(options, rowTexts(QStringLiteral("a.kar"), {}), evening()),
              QStringLiteral("22.45.10 -- a"));
}

} // namespace
} // namespace songwick
