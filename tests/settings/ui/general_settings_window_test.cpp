#include "app/ui/clickable_label.h"
#include "app/ui/hint_switch.h"
#include "app/ui/program_fixture.h"
#include "rename/ui/composite_rename_window.h"
#include "scan/ui/scan_options_window.h"
#include "settings/options_file.h"
#include "settings/ui/general_settings_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace songwick {
namespace {

using testing::ProgramUnderTest;

constexpr int kExcelPage = 2;
constexpr int kMessagesPage = 3;
constexpr int kTextPage = 1;

class GeneralSettingsWindowTest : public ::testing::Test {
protected:
    GeneralSettingsWindowTest()
        : program(folder.filePath(QStringLiteral("prop.dat"))), dialog(*program.registry) {}

    ~GeneralSettingsWindowTest() override { dialog.hide(); }

    ProgramSettings& settings() { return program.registry->settings(); }

    // Shows the dialog from the start window's menu, as the user does, and waits until it is
    // the active window.
    void open() {
        ASSERT_TRUE(program.start());
        ProgramUnderTest::settle();
        WindowRegistry::showWindow(&dialog);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
        ProgramUnderTest::settle();
    }

    // Clicks a check box as the user does, on the page that holds it.
    void click(QAbstractButton* box, int page) {
        dialog.PageControl1->setCurrentIndex(page);
        ProgramUnderTest::settle();
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
    }

    QTemporaryDir folder;
    ProgramUnderTest program;
    TForm10 dialog;
};

TEST_F(GeneralSettingsWindowTest, CancelBringsBackTheSnapshotAndKeepsWhatItDoesNotCover) {
    open();
    ASSERT_TRUE(dialog.CheckBox13->isChecked());
    ASSERT_TRUE(dialog.CheckBox15->isChecked());

    click(dialog.CheckBox13, kMessagesPage);
    click(dialog.CheckBox15, kExcelPage);
    dialog.Edit1->insert(QStringLiteral("!!"));
    EXPECT_FALSE(settings().RenameErrorMessages);
    EXPECT_FALSE(settings().ExcelHeaderFill);

    QTest::mouseClick(dialog.Button1, Qt::LeftButton);

    EXPECT_TRUE(dialog.isHidden());
    EXPECT_TRUE(settings().RenameErrorMessages);
    EXPECT_TRUE(dialog.CheckBox13->isChecked());
    EXPECT_FALSE(settings().ExcelHeaderFill);
    EXPECT_FALSE(dialog.CheckBox15->isChecked());
    EXPECT_EQ(settings().ExcelLineText, QStringLiteral("Вся ЖИЗНЬ -- Праздник!"));
}

TEST_F(GeneralSettingsWindowTest, CancelAlsoPutsBackTheScanOptionAndClosingActsLikeCancel) {
    open();
    settings().ManyFilesScan = true; // as the scan options window opened from here would
    settings().TextAddCaption = true;
    QTest::mouseClick(dialog.Button1, Qt::LeftButton);
    EXPECT_FALSE(settings().ManyFilesScan);
    EXPECT_FALSE(program.registry->form3()->CheckBox1->isChecked());
    EXPECT_FALSE(settings().TextAddCaption);

    open();
    click(dialog.CheckBox13, kMessagesPage);
    dialog.close();
    EXPECT_TRUE(dialog.isHidden());
    EXPECT_TRUE(settings().RenameErrorMessages);

    open();
    click(dialog.CheckBox13, kMessagesPage);
    QTest::mouseClick(dialog.Button2, Qt::LeftButton);
    EXPECT_TRUE(dialog.isHidden());
    dialog.close(); // after OK there is nothing left to restore
    EXPECT_FALSE(settings().RenameErrorMessages);
}

TEST_F(GeneralSettingsWindowTest, ComingBackFromAnotherWindowTakesANewSnapshot) {
    open();
    click(dialog.CheckBox13, kMessagesPage);
    WindowRegistry::showWindow(program.registry->form3());
    ASSERT_TRUE(QTest::qWaitForWindowActive(program.registry->form3()));
    program.registry->form3()->hide();
    WindowRegistry::showWindow(&dialog);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    ProgramUnderTest::settle();
    QTest::mouseClick(dialog.Button1, Qt::LeftButton);
    EXPECT_FALSE(settings().RenameErrorMessages);
}

TEST_F(GeneralSettingsWindowTest, HintsGoOffForTheWholeProgramAndCancelLeavesThemOff) {
    open();
    click(dialog.CheckBox14, 0);
    EXPECT_FALSE(settings().ShowHints);
    EXPECT_FALSE(program.registry->hints().hintsShown());
    QTest::mouseClick(dialog.Button1, Qt::LeftButton);
    EXPECT_FALSE(program.registry->hints().hintsShown());
    EXPECT_FALSE(settings().ShowHints);
}

TEST_F(GeneralSettingsWindowTest, DefaultsGoEverywhereAndHideTheDialog) {
    settings().ManyFilesScan = true;
    settings().ShowHints = false;
    settings().LastFolder = QStringLiteral("/somewhere/else");
    settings().RenamePartsChecked.fill(true);
    program.registry->hints().setHintsShown(false);
    emit program.registry->settingsLoaded();
    EXPECT_TRUE(program.registry->form3()->CheckBox1->isChecked());
    open();
    click(dialog.CheckBox12, kExcelPage);
    ASSERT_TRUE(settings().ExcelAddLine);

    QTest::mouseClick(dialog.Button4, Qt::LeftButton);

    EXPECT_TRUE(dialog.isHidden());
    EXPECT_EQ(settings().LastFolder, QDir::homePath());
    const std::array<bool, 8> onlySecond{false, true, false, false, false, false, false, false};
    EXPECT_EQ(settings().RenamePartsChecked, onlySecond);
    const QListWidget* parts = program.registry->form6()->viberi;
    ASSERT_EQ(parts->count(), 8);
    for (int i = 0; i < parts->count(); ++i)
        EXPECT_EQ(parts->item(i)->checkState() == Qt::Checked, i == 1) << i;
    EXPECT_TRUE(program.registry->hints().hintsShown());
    EXPECT_TRUE(dialog.CheckBox14->isChecked());
    EXPECT_FALSE(dialog.CheckBox12->isChecked());
    EXPECT_FALSE(dialog.Edit1->isEnabled());
    EXPECT_EQ(dialog.Edit1->text(), QStringLiteral("Всем ПрИвЕтИк!"));
    EXPECT_EQ(dialog.RadioGroup1->itemIndex(), 2);
    EXPECT_FALSE(program.registry->form3()->CheckBox1->isChecked());
    const std::array<int, 7> widths{60, 60, 75, 60, 60, 60, 60};
    EXPECT_EQ(settings().ColumnWidths, widths);

    // A close after the defaults keeps them.
    dialog.close();
    EXPECT_FALSE(settings().ExcelAddLine);
}

TEST_F(GeneralSettingsWindowTest, CheckBoxesEnableTheirControlsAndKeepTheirTexts) {
    open();
    EXPECT_FALSE(dialog.Edit1->isEnabled());
    EXPECT_FALSE(dialog.ComboBox1->isEnabled());
    EXPECT_TRUE(dialog.ComboBox2->isEnabled());
    click(dialog.CheckBox12, kExcelPage);
    EXPECT_TRUE(dialog.Edit1->isEnabled());
    dialog.Edit1->selectAll();
    dialog.Edit1->insert(QStringLiteral("Моя строка"));
    click(dialog.CheckBox12, kExcelPage);
    EXPECT_FALSE(dialog.Edit1->isEnabled());
    EXPECT_EQ(settings().ExcelLineText, QStringLiteral("Моя строка"));

    click(dialog.CheckBox1, kExcelPage);
    EXPECT_FALSE(dialog.CheckBox5->isEnabled());
    click(dialog.CheckBox8, kExcelPage);
    EXPECT_FALSE(dialog.RadioGroup2->isEnabled());
    click(dialog.CheckBox9, kExcelPage);
    EXPECT_FALSE(dialog.RadioGroup3->isEnabled());
    EXPECT_FALSE(dialog.CheckBox4->isVisible());
}

TEST_F(GeneralSettingsWindowTest, ListBoxesStoreThePickedItemOrTheTypedText) {
    open();
    click(dialog.CheckBox10, kExcelPage);
    dialog.ComboBox1->setCurrentIndex(7);
    EXPECT_EQ(settings().ExcelList1Choice, 7);
    EXPECT_EQ(settings().ExcelList1Text, QStringLiteral("The Best of The Best"));

    dialog.ComboBox2->lineEdit()->selectAll();
    dialog.ComboBox2->lineEdit()->insert(QStringLiteral("Свой текст"));
    EXPECT_EQ(settings().ExcelList2Choice, -1);
    EXPECT_EQ(settings().ExcelList2Text, QStringLiteral("Свой текст"));

    QTest::mouseClick(dialog.Button1, Qt::LeftButton);
    EXPECT_EQ(settings().ExcelList1Choice, -1);
    EXPECT_EQ(dialog.ComboBox1->currentText(), QStringLiteral("Коллекция"));
    EXPECT_EQ(settings().ExcelList2Text, QStringLiteral("Made in Earth"));
}

TEST_F(GeneralSettingsWindowTest, TheTwelfthClickOnTheExplanationGreetsOnce) {
    open();
    dialog.PageControl1->setCurrentIndex(kTextPage);
    ProgramUnderTest::settle();
    for (int click = 1; click <= 11; ++click)
        QTest::mouseClick(dialog.StaticText1, Qt::LeftButton);
    EXPECT_TRUE(program.platform.messages.shown.isEmpty());
    QTest::mouseClick(dialog.StaticText1, Qt::LeftButton);
    ASSERT_EQ(program.platform.messages.shown.size(), 1);
    EXPECT_EQ(program.platform.messages.shown.front(), TForm10::greetingMessage());
    QTest::mouseClick(dialog.StaticText1, Qt::LeftButton);
    EXPECT_EQ(program.platform.messages.shown.size(), 1);
}

// The interface language goes to options.ini; "OK" keeps it, "Отмена" puts
// back what the file said when the dialog opened.
TEST_F(GeneralSettingsWindowTest, TheLanguageChoiceGoesToTheOptionsFileAndCancelPutsItBack) {
    const QString options = optionsFilePathBeside(program.registry->settingsPath());
    open();
    ASSERT_EQ(dialog.LanguageBox->currentIndex(), static_cast<int>(LanguageChoice::System));
    const auto choose = [this](LanguageChoice choice) {
        dialog.LanguageBox->setCurrentIndex(static_cast<int>(choice));
        emit dialog.LanguageBox->activated(static_cast<int>(choice));
    };
    choose(LanguageChoice::English);
    EXPECT_EQ(readLanguageChoice(options), LanguageChoice::English);
    QTest::mouseClick(dialog.Button2, Qt::LeftButton);
    EXPECT_EQ(readLanguageChoice(options), LanguageChoice::English);

    open();
    EXPECT_EQ(dialog.LanguageBox->currentIndex(), static_cast<int>(LanguageChoice::English));
    choose(LanguageChoice::Russian);
    EXPECT_EQ(readLanguageChoice(options), LanguageChoice::Russian);
    QTest::mouseClick(dialog.Button1, Qt::LeftButton);
    EXPECT_EQ(readLanguageChoice(options), LanguageChoice::English);
}

} // namespace
} // namespace songwick
