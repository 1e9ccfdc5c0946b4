#pragma once

#include <QByteArrayView>
#include <QImage>
#include <QString>

namespace songwick {

// Decodes a baseline or progressive JPEG picture (greyscale or colour) into an RGB image.
// Throws Error when the bytes are not a JPEG picture libjpeg can read.
QImage decodeJpeg(QByteArrayView bytes);

// Reads and decodes the JPEG picture at path (a file or a resource path such as ":/...").
// Throws Error when the file cannot be read or decoded.
QImage loadJpegPicture(const QString& path);

// The program's own pictures, built into it.
QImage splashPicture();      // 514 by 386, the splash window
QImage aboutPicture();       // 79 by 4, the strip that travels across the about window
QImage startWindowPicture(); // 340 by 56, the wide picture of the start window

} // namespace songwick
