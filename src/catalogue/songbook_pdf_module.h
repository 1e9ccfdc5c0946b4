#pragma once

#include "catalogue/songbook_pdf.h"

class QCoreApplication;

namespace songwick {

// The songbook's drawing as a module of its own, loaded on demand, so that a program that
// draws nothing else (the command line) does not load Qt Gui at start.
struct SongbookPdfModule {
    // The application the drawing needs for its fonts: a QGuiApplication, on the offscreen
    // platform unless QT_QPA_PLATFORM names another. The caller owns it.
    QCoreApplication* (*makeApplication)(int& argc, char** argv);
    SongbookPdfDrawer draw;
};

// The one function the module exports, under this name.
using SongbookPdfModuleEntry = const SongbookPdfModule* (*)();
inline constexpr const char* kSongbookPdfModuleEntry = "songwick_songbook_pdf_module";
// The module's file name, beside the command line in the build and in the program's
// library folder once installed.
inline constexpr const char* kSongbookPdfModuleFile = "songwick-songbook-pdf.so";

} // namespace songwick
