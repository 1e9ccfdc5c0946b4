#include "app/ui/window_pictures.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace songwick {

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
