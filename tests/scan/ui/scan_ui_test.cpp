#include "scan/ui/scan_options_window.h"
#include "scan/ui/scan_progress.h"
#include "settings/program_settings.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace songwick {
namespace {

class ScanOptionsWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        window.show();
        window.FormActivate();
    }

    QTemporaryDir folder;
    QString optionsPath = folder.filePath(QStringLiteral("options.ini"));
    ProgramSettings settings;
    TForm3 window{settings, optionsPath};
};

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
