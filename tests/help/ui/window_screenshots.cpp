// Takes the screenshots of the settings, help and about windows for the documentation:
//   xvfb-run -a window_screenshots docs
#include "app/ui/fake_platform.h"
#include "app/ui/window_registry.h"
#include "help/ui/about_window.h"
#include "help/ui/help_window.h"
#include "settings/ui/general_settings_window.h"

#include <QApplication>
#include <QDir>
#include <QListWidget>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cstdio>

namespace {

bool saveScreenshot(QWidget& window, const QDir& folder, const QString& name) {
    songwick::WindowRegistry::showWindow(&window);
    if (!QTest::qWaitForWindowExposed(&window))
        std::fprintf(stderr, "%s was not shown\n", qPrintable(name));
    QTest::qWait(300);
    const QString path = folder.filePath(name);
    if (!window.grab().save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    window.hide();
    return true;
}

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationDisplayName(QStringLiteral("Songwick"));
    if (argc != 2) {
        std::fprintf(stderr, "usage: window_screenshots FOLDER\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    QTemporaryDir settingsFolder;
    songwick::testing::FakePlatform platform;
    songwick::WindowRegistry registry(platform.services(),
                                      settingsFolder.filePath(QStringLiteral("prop.dat")));
    registry.createWindows();
    // 8 December 2026, 18:42:07.
    registry.settings().LastShutdownTime = 46364.0 + (18 * 3600 + 42 * 60 + 7) / 86400.0;

    songwick::TForm10 settings(registry);
    settings.FormActivate();
    settings.PageControl1->setCurrentIndex(2);

    songwick::THelp help(registry);
    help.ListBox1->setCurrentRow(2);
    help.ListBox2->setCurrentRow(9);

    songwick::TForm5 about(registry);
    about.FormActivate();
    about.Timer1->stop();

    const bool saved = saveScreenshot(settings, folder, QStringLiteral("settings-window.png")) &&
                       saveScreenshot(help, folder, QStringLiteral("help-window.png")) &&
                       saveScreenshot(about, folder, QStringLiteral("about-window.png"));
    return saved ? 0 : 1;
}
