#include "settings/options_file.h"

#include "settings/settings_file.h"

#include <QFileInfo>

namespace songwick {

QString optionsFilePath() {
    return optionsFilePathBeside(settingsFilePath());
}

QString optionsFilePathBeside(const QString& settingsPath) {
    return QFileInfo(settingsPath).absolutePath() + QStringLiteral("/options.ini");
}

std::unique_ptr<QSettings> openOptionsFile(const QString& path) {
    return std::make_unique<QSettings>(path, QSettings::IniFormat);
}

} // namespace songwick
