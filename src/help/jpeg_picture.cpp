#include "help/jpeg_picture.h"

#include "common/error.h"

#include <QCoreApplication>
#include <QFile>
#include <csetjmp>
#include <cstdio>
#include <jpeglib.h>

namespace songwick {
namespace {

// libjpeg reports a fatal error through error_exit, which must not return: it jumps back to
// the decoder with the library's own message.
struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf escape;
    char message[JMSG_LENGTH_MAX];
};

void leaveDecoder(j_common_ptr info) {
    auto* errors = reinterpret_cast<ErrorManager*>(info->err);
    (*info->err->format_message)(info, errors->message);
    std::longjmp(errors->escape, 1);
}

void ignoreWarning(j_common_ptr, int) {}

// The part of decoding between setjmp and the cleanup: no C++ object with a destructor may live
// here, since a longjmp would skip it.
bool decodeInto(jpeg_decompress_struct& info, ErrorManager& errors, const unsigned char* data,
                unsigned long size, QImage& image) {
    if (setjmp(errors.escape) != 0)
        return false;
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, data, size);
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    image = QImage(static_cast<int>(info.output_width), static_cast<int>(info.output_height),
                   QImage::Format_RGB888);
    if (image.isNull())
        return false;
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = image.scanLine(static_cast<int>(info.output_scanline));
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    return true;
}

} // namespace

QImage decodeJpeg(QByteArrayView bytes) {
    if (bytes.isEmpty())
        throw Error(QCoreApplication::translate("songwick::Help",
                                                "Картинка пуста: в ней нет ни одного байта."));
    jpeg_decompress_struct info{};
    ErrorManager errors{};
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = leaveDecoder;
    errors.base.emit_message = ignoreWarning;
    QImage image;
    const bool decoded =
        decodeInto(info, errors, reinterpret_cast<const unsigned char*>(bytes.data()),
                   static_cast<unsigned long>(bytes.size()), image);
    jpeg_destroy_decompress(&info);
    if (!decoded)
        throw Error(
            QCoreApplication::translate("songwick::Help", "Картинку не удалось прочитать: ") +
            QString::fromLocal8Bit(errors.message));
    return image;
}

QImage loadJpegPicture(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Error(
            QCoreApplication::translate("songwick::Help", "Картинку \"%1\" не удалось открыть: %2")
                .arg(path, file.errorString()));
    return decodeJpeg(file.readAll());
}

QImage splashPicture() {
    return loadJpegPicture(QStringLiteral(":/help/pictures/splash.jpg"));
}

QImage aboutPicture() {
    return loadJpegPicture(QStringLiteral(":/help/pictures/about_strip.jpg"));
}

QImage startWindowPicture() {
    return loadJpegPicture(QStringLiteral(":/help/pictures/start_banner.jpg"));
}

} // namespace songwick
