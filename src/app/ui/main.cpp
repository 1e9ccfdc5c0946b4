#include "app/ui/qt_platform.h"
#include "app/ui/start_window.h"
#include "app/ui/window_registry.h"
#include "help/ui/splash_window.h"
#include "settings/settings_file.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("songwick"));
    // The program ends where its windows say so, never because the last one was hidden.
    QApplication::setQuitOnLastWindowClosed(false);

    songwick::TSplashForm splash;
    splash.showAndPaint();
    QApplication::setApplicationDisplayName(QStringLiteral("Songwick"));

    songwick::QtPlatform platform;
    songwick::WindowRegistry registry(platform.services(), songwick::settingsFilePath());
    registry.createWindows();
    splash.hide();

    songwick::WindowRegistry::showWindow(registry.form1());
    return QApplication::exec();
}
