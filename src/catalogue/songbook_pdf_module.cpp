// The entry of the songbook's drawing module (built with hidden symbols: only this one is
// seen from outside).
#include "catalogue/songbook_pdf_module.h"

#include <QGuiApplication>

namespace songwick {
namespace {

QCoreApplication* makeFontApplication(int& argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
    return new QGuiApplication(argc, argv);
}

constexpr SongbookPdfModule kModule{makeFontApplication, drawSongbookPdf};

} // namespace
} // namespace songwick

extern "C" __attribute__((visibility("default"))) const songwick::SongbookPdfModule*
songwick_songbook_pdf_module() {
    return &songwick::kModule;
}
