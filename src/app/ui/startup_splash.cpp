#include "app/ui/startup_splash.h"

#include "app/ui/window_pictures.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>

namespace songwick {

StartupSplash::StartupSplash() {
    setWindowFlags(Qt::SplashScreen | Qt::FramelessWindowHint);
    setWindowTitle(QStringLiteral("Заставка"));
    setFixedSize(520, 393);
    setAutoFillBackground(true);
    QPalette background = palette();
    background.setColor(QPalette::Window, QColor(21, 91, 234));
    setPalette(background);
    auto* picture = new QLabel(this);
    picture->setPixmap(startBannerPicture(QSize(514, 386)));
    picture->setGeometry(3, 4, 514, 386);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
}

void StartupSplash::showAndPaint() {
    show();
    repaint();
}

} // namespace songwick
