#include "app/ui/window_pictures.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace songwick {

QPixmap startBannerPicture(QSize size) {
    QPixmap picture(size);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient band(0, 0, size.width(), 0);
    band.setColorAt(0.0, QColor(21, 91, 234));
    band.setColorAt(0.5, QColor(120, 40, 180));
    band.setColorAt(1.0, QColor(210, 30, 60));
    painter.fillRect(picture.rect(), band);
    QFont font(QStringLiteral("Sans Serif"));
    font.setPixelSize(size.height() * 3 / 5);
    font.setBold(true);
    font.setItalic(true);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(picture.rect(), Qt::AlignCenter, QStringLiteral("Songwick"));
    return picture;
}

QPixmap travellingNotePicture() {
    QPixmap picture(17, 16);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(210, 30, 60));
    painter.drawEllipse(QRectF(1, 10, 6, 5));
    painter.drawEllipse(QRectF(10, 8, 6, 5));
    painter.setPen(QPen(QColor(210, 30, 60), 1.5));
    painter.drawLine(QPointF(6.5, 12), QPointF(6.5, 2));
    painter.drawLine(QPointF(15.5, 10), QPointF(15.5, 1));
    painter.drawLine(QPointF(6.5, 2), QPointF(15.5, 1));
    return picture;
}

} // namespace songwick
