#include "office/ui/launcher_opener.h"

#include "app/ui/platform_interfaces.h"
#include "common/error.h"

#include <QCoreApplication>
#include <QDir>

namespace songwick {

void LauncherOpener::open(const QString& path) {
    if (!launcher_.openInDesktopProgram(path))
        throw Error(
            QCoreApplication::translate("songwick::Office",
                                        "Не удалось открыть файл \"%1\": на этом компьютере не "
                                        "найдена программа для файлов такого вида. Файл сохранён и "
                                        "его можно открыть вручную.")
                .arg(QDir::toNativeSeparators(path)));
}

} // namespace songwick
