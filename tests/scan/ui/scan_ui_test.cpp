#include "app/ui/fake_platform.h"
#include "scan/reading_options.h"
#include "scan/ui/scan_options_window.h"
#include "scan/ui/scan_progress.h"
#include "settings/options_file.h"
#include "settings/program_settings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace songwick {
namespace {

class ScanOptionsWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        window.setOptionsFilePath(optionsPath);
        window.show();
        window.FormActivate();
    }

    QTemporaryDir folder;
    QString optionsPath = folder.filePath(QStringLiteral("options.ini"));
    ProgramSettings settings;
    testing::FakeMessageBoxes messages;
    TForm3 window{settings, optionsPath, messages};
};

TEST_F(ScanOptionsWindowTest, ReadingOptionsAreKeptInTheOptionsFileByOk) {
    EXPECT_TRUE(window.RadioButton1->isChecked());
    EXPECT_EQ(window.ComboBox1->currentText(), QStringLiteral("Определять автоматически"));
    EXPECT_EQ(window.Memo1->toPlainText(), QStringLiteral("Исполнитель - Название\nНазвание"));

    window.RadioButton2->click();
    window.ComboBox1->setCurrentIndex(window.ComboBox1->findText(QStringLiteral("KOI8-R")));
    window.Memo1->setPlainText(QStringLiteral("Название (Исполнитель)\n\n"));
    window.Button2->click(); // "Отмена" keeps nothing
    EXPECT_EQ(loadReadingOptions(*openOptionsFile(optionsPath)).reading, KarReading::Program);

    window.show();
    window.FormActivate();
    EXPECT_TRUE(window.RadioButton1->isChecked());
    window.RadioButton2->click();
    window.ComboBox1->setCurrentIndex(window.ComboBox1->findText(QStringLiteral("KOI8-R")));
    window.Memo1->setPlainText(QStringLiteral("Название (Исполнитель)\n\n"));
    window.Button1->click();
    const ReadingOptions saved = loadReadingOptions(*openOptionsFile(optionsPath));
    EXPECT_EQ(saved.reading, KarReading::Structured);
    EXPECT_EQ(saved.structured.codePage, QStringLiteral("koi8-r"));
    EXPECT_EQ(saved.structured.fileNamePatterns,
              QStringList{QStringLiteral("Название (Исполнитель)")});

    window.show();
    window.FormActivate();
    EXPECT_TRUE(window.RadioButton2->isChecked());
    EXPECT_EQ(window.ComboBox1->currentText(), QStringLiteral("KOI8-R"));
}

TEST_F(ScanOptionsWindowTest, TheCheckBoxIsTheSetting) {
    window.CheckBox1->click();
    EXPECT_TRUE(settings.ManyFilesScan);
    window.Button1->click();
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(settings.ManyFilesScan);
}

TEST_F(ScanOptionsWindowTest, CancelPutsBackTheStateAtActivation) {
    window.CheckBox1->click();
    window.Button2->click();
    EXPECT_FALSE(window.isVisible());
    EXPECT_FALSE(settings.ManyFilesScan);
    EXPECT_FALSE(window.CheckBox1->isChecked());
}

TEST_F(ScanOptionsWindowTest, ClosingByTheBorderIsCancel) {
    window.CheckBox1->click();
    window.close();
    EXPECT_FALSE(settings.ManyFilesScan);
}

TEST_F(ScanOptionsWindowTest, ActivationShowsTheLoadedSetting) {
    settings.ManyFilesScan = true;
    window.FormActivate();
    EXPECT_TRUE(window.CheckBox1->isChecked());
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Настройки сканирования"));
}

TEST(ScanProgressTest, StepsByTenAndStartsAgainPastTheEnd) {
    QProgressBar bar;
    bar.setRange(0, 100);
    bar.setValue(0);
    stepScanProgress(&bar);
    EXPECT_EQ(bar.value(), 10);
    bar.setValue(100);
    stepScanProgress(&bar);
    EXPECT_EQ(bar.value(), 0);
    bar.setValue(95);
    stepScanProgress(&bar);
    EXPECT_EQ(bar.value(), 0);
}

TEST(ScanProgressTest, MissingChosenFolderIsCreated) {
    QTemporaryDir root;
    const QString folder = root.filePath(QStringLiteral("a/b"));
    EXPECT_TRUE(ensureFolderExists(folder));
    EXPECT_TRUE(QFileInfo(folder).isDir());
    EXPECT_FALSE(ensureFolderExists(QString()));
}

TEST(ScanProgressTest, WalkStepsTheBarAndNamesTheOverload) {
    QTemporaryDir root;
    QDir folder(root.path());
    for (int i = 0; i < 5; ++i)
        folder.mkdir(QStringLiteral("sub%1").arg(i));
    RecordStore store;
    WalkOptions options;
    options.limits.listings = 2;
    options.limits.progressEvery = 1;
    QProgressBar bar;
    bar.setRange(0, 200);
    const WalkResult result = walkWithProgress(root.path(), store, options, &bar);
    EXPECT_TRUE(result.overloaded());
    const QStringList messages = messagesAfterWalk(result);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages.constFirst().startsWith(QStringLiteral("Ошибка!\n\r")));
}

} // namespace
} // namespace songwick
