#include "cli/songbook_module.h"

#include "common/error.h"

#include <QLibrary>
#include <QStringList>
#include <filesystem>
#include <system_error>

namespace songwick::cli {
namespace {

// Where the module may be, in the order tried.
QStringList modulePlaces() {
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    const std::filesystem::path folder = error ? std::filesystem::path() : program.parent_path();
    QStringList places;
    for (const std::filesystem::path& place :
         {folder / kSongbookPdfModuleFile,
          folder / SONGWICK_MODULE_FOLDER_FROM_PROGRAM / kSongbookPdfModuleFile})
        places << QString::fromStdString(place.lexically_normal().string());
    return places;
}

} // namespace

const SongbookPdfModule& songbookPdfModule() {
    QStringList failures;
    for (const QString& place : modulePlaces()) {
        // Loaded for the rest of the run: the library is not unloaded when the object goes.
        QLibrary library(place);
        if (!library.load()) {
            failures << library.errorString();
            continue;
        }
        const auto entry =
            reinterpret_cast<SongbookPdfModuleEntry>(library.resolve(kSongbookPdfModuleEntry));
        if (entry != nullptr && entry() != nullptr)
            return *entry();
        failures << library.errorString();
    }
    throw Error(QCoreApplication::translate("songwick::Cli", "Модуль песенника не загружается: %1")
                    .arg(failures.join(QStringLiteral("; "))));
}

std::unique_ptr<QCoreApplication> songbookApplication(int& argc, char** argv) {
    try {
        return std::unique_ptr<QCoreApplication>(songbookPdfModule().makeApplication(argc, argv));
    } catch (const Error&) {
        return nullptr;
    }
}

} // namespace songwick::cli
