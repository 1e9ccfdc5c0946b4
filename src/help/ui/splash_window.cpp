#include "help/ui/splash_window.h"

#include "app/ui/clickable_label.h"
#include "common/error.h"
#include "help/jpeg_picture.h"

#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>

namespace songwick {
namespace {

constexpr int kClientWidth = 520;
constexpr int kClientHeight = 393;

QPixmap splashPixmap() {
    try {
        return QPixmap::fromImage(splashPicture());
    } catch (const Error&) {
        // A damaged picture leaves the blue background; the window still closes on a click.
        return {};
    }
}

} // namespace

TSplashForm::TSplashForm(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint),
      Image1(new ClickableLabel(this)) {
    setObjectName(QStringLiteral("SplashForm"));
    setWindowTitle(tr("Заставка"));
    setFixedSize(kClientWidth, kClientHeight);
    setAutoFillBackground(true);
    QPalette blue = palette();
    blue.setColor(QPalette::Window, QColor(21, 91, 234));
    setPalette(blue);

    Image1->setGeometry(3, 4, 514, 386);
    Image1->setPixmap(splashPixmap());
    Image1->setToolTip(tr("Кликните, чтобы закрыть окно"));
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    connect(Image1, &ClickableLabel::clicked, this, &TSplashForm::Image1Click);
}

void TSplashForm::showAndPaint() {
    show();
    raise();
    repaint();
}

void TSplashForm::Image1Click() {
    hide();
}

} // namespace songwick
