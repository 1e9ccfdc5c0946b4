#pragma once

#include <QPixmap>

namespace songwick {

// The small picture (17 by 16) that travels along the bottom of the start window.
QPixmap travellingNotePicture();

} // namespace songwick
