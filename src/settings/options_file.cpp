#include "settings/options_file.h"

#include "settings/settings_file.h"

#include <QFileInfo>

namespace songwick {

QString optionsFilePath() {
    return QFileInfo(settingsFilePath()).absolutePath() + QStringLiteral("/options.ini");
}

std::unique_ptr<QSettings> openOptionsFile(const QString& path) {
    return std::make_unique<QSettings>(path, QSettings::IniFormat);
}

} // namespace songwick
