#pragma once

#include <QPixmap>
#include <QSize>

namespace songwick {

// The wide picture of the start window: the program's name over a band of colour.
QPixmap startBannerPicture(QSize size);
// The small picture (17 by 16) that travels along the bottom of the start window.
QPixmap travellingNotePicture();

} // namespace songwick
