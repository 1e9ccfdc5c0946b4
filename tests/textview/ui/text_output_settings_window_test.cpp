#include "text_view_fixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

namespace songwick::testing {
namespace {

class TextOutputSettingsWindowTest : public TextViewFixture {
protected:
    ProgramSettings& settings() { return registry->settings(); }

    void typeCaption(const QString& text) {
        QLineEdit* edit = settingsWindow->ComboBox1->lineEdit();
        edit->selectAll();
        edit->insert(text); // typing: key clicks carry Latin letters only
    }
};

TEST_F(TextOutputSettingsWindowTest, ControlsAreTheSettings) {
    activate(settingsWindow);
    EXPECT_EQ(settingsWindow->ComboBox1->currentText(), u"Made in Earth"_s);
    EXPECT_EQ(settingsWindow->ComboBox1->count(), 8);
    EXPECT_FALSE(settingsWindow->ComboBox1->isEnabled());

    settingsWindow->CheckBox1->click();
    settingsWindow->CheckBox2->click();
    EXPECT_TRUE(settings().TextAddDateTime);
    EXPECT_TRUE(settings().TextAddCaption);
    EXPECT_TRUE(settingsWindow->ComboBox1->isEnabled());

    settingsWindow->ComboBox1->setCurrentIndex(6);
    EXPECT_EQ(settings().TextCaptionText, u"Сделано в России"_s);
    EXPECT_EQ(settings().TextCaptionChoice, 6);
    typeCaption(u"Своя надпись"_s);
    EXPECT_EQ(settings().TextCaptionText, u"Своя надпись"_s);
    EXPECT_EQ(settings().TextCaptionChoice, -1);

    // Unchecking the caption disables the box and keeps its text.
    settingsWindow->CheckBox2->click();
    EXPECT_FALSE(settingsWindow->ComboBox1->isEnabled());
    EXPECT_EQ(settingsWindow->ComboBox1->currentText(), u"Своя надпись"_s);
}

TEST_F(TextOutputSettingsWindowTest, CancelBringsBackTheChecksAndTheCaption) {
    settings().TextAddCaption = true;
    settingsWindow->showSettings();
    activate(settingsWindow);
    settingsWindow->CheckBox1->click();
    settingsWindow->CheckBox2->click();
    typeCaption(u"Другая"_s);

    settingsWindow->Button2->click();
    EXPECT_FALSE(settingsWindow->isVisible());
    EXPECT_FALSE(settings().TextAddDateTime);
    EXPECT_TRUE(settings().TextAddCaption);
    EXPECT_EQ(settings().TextCaptionText, u"Made in Earth"_s);
    EXPECT_EQ(settings().TextCaptionChoice, -1);
    EXPECT_TRUE(settingsWindow->CheckBox2->isChecked());
    EXPECT_EQ(settingsWindow->ComboBox1->currentText(), u"Made in Earth"_s);
}

TEST_F(TextOutputSettingsWindowTest, TitleBarCloseBringsBackTheChecksButKeepsTheCaption) {
    activate(settingsWindow);
    settingsWindow->CheckBox1->click();
    settingsWindow->CheckBox2->click();
    typeCaption(u"Всем пока"_s);
    settingsWindow->close();
    EXPECT_FALSE(settingsWindow->isVisible());
    EXPECT_FALSE(settings().TextAddDateTime);
    EXPECT_FALSE(settings().TextAddCaption);
    EXPECT_FALSE(settingsWindow->CheckBox1->isChecked());
    EXPECT_EQ(settings().TextCaptionText, u"Всем пока"_s);

    // After OK, closing by the title bar keeps everything; the next activation takes a new
    // snapshot.
    activate(settingsWindow);
    settingsWindow->CheckBox1->click();
    settingsWindow->Button1->click();
    activate(settingsWindow);
    settingsWindow->CheckBox2->click();
    settingsWindow->close();
    EXPECT_TRUE(settings().TextAddDateTime);
    EXPECT_FALSE(settings().TextAddCaption);
}

TEST_F(TextOutputSettingsWindowTest, OkInRenderAppendsTheDateLineOnlyWhenOnlyTheDateIsChecked) {
    openView(TextViewMode::Render);
    const QStringList rendered = view->contentLines();
    activate(mainWindow);
    activate(settingsWindow);
    settingsWindow->CheckBox1->click();
    settingsWindow->Button1->click();
    EXPECT_EQ(view->contentLines(), rendered + QStringList{u"08.12.2026  12.00.00"_s});

    activate(settingsWindow);
    settingsWindow->CheckBox2->click();
    settingsWindow->Button1->click();
    const QStringList appendedTwice =
        rendered +
        QStringList{u"08.12.2026  12.00.00"_s, u"08.12.2026  12.00.00"_s, u"Made in Earth"_s};
    EXPECT_EQ(view->contentLines(), appendedTwice);
}

TEST_F(TextOutputSettingsWindowTest, OkAppendsNothingWhenNoRenderingIsOnView) {
    openView(TextViewMode::None);
    activate(mainWindow);
    activate(settingsWindow);
    settingsWindow->CheckBox1->click();
    settingsWindow->Button1->click();
    EXPECT_TRUE(view->contentIsEmpty());
}

TEST_F(TextOutputSettingsWindowTest, FollowsSettingsChangedElsewhere) {
    settings().TextAddDateTime = true;
    settings().TextAddCaption = true;
    pickListItem(settings().TextCaptionChoice, settings().TextCaptionText, 7, textCaptionItems());
    emit registry->settingsLoaded();
    EXPECT_TRUE(settingsWindow->CheckBox1->isChecked());
    EXPECT_TRUE(settingsWindow->CheckBox2->isChecked());
    EXPECT_TRUE(settingsWindow->ComboBox1->isEnabled());
    EXPECT_EQ(settingsWindow->ComboBox1->currentText(), u"Список караоке файлов"_s);
    EXPECT_EQ(settings().TextCaptionChoice, 7);
}

} // namespace
} // namespace songwick::testing
