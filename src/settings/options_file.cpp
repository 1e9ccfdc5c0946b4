#include "settings/options_file.h"

#include "common/error.h"
#include "common/file_name_codec.h"
#include "settings/settings_file.h"

#include <QCoreApplication>
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

void syncOptionsFile(QSettings& options) {
    options.sync();
    // QSettings knows no system error number, only what kind of failure it met.
    QString reason;
    switch (options.status()) {
    case QSettings::NoError:
        return;
    case QSettings::AccessError:
        reason = QCoreApplication::translate("songwick::Settings",
                                             "нет доступа или нет места на устройстве");
        break;
    case QSettings::FormatError:
        reason = QCoreApplication::translate("songwick::Settings",
                                             "содержимое файла не удалось разобрать");
        break;
    }
    throw Error(
        QCoreApplication::translate("songwick::Settings", "Не удалось записать файл \"%1\": %2")
            .arg(displayFileName(options.fileName()), reason));
}

namespace {
const QString kShowRenamePlanFirst = QStringLiteral("rename/showPlanFirst");
const QString kMainWindowGeometry = QStringLiteral("window/mainGeometry");
const QString kMainWindowMaximized = QStringLiteral("window/mainMaximized");
const QString kInterfaceLanguage = QStringLiteral("interface/language");
} // namespace

bool readShowRenamePlanFirst(const QString& optionsPath) {
    return openOptionsFile(optionsPath)->value(kShowRenamePlanFirst, true).toBool();
}

bool showRenamePlanFirstStoredOn(const QString& optionsPath) {
    const std::unique_ptr<QSettings> options = openOptionsFile(optionsPath);
    return options->contains(kShowRenamePlanFirst) && options->value(kShowRenamePlanFirst).toBool();
}

void forgetShowRenamePlanFirst(const QString& optionsPath) {
    const std::unique_ptr<QSettings> options = openOptionsFile(optionsPath);
    options->remove(kShowRenamePlanFirst);
    syncOptionsFile(*options);
}

void writeShowRenamePlanFirst(const QString& optionsPath, bool on) {
    const std::unique_ptr<QSettings> options = openOptionsFile(optionsPath);
    options->setValue(kShowRenamePlanFirst, on);
    syncOptionsFile(*options);
}

std::optional<MainWindowGeometry> readMainWindowGeometry(const QString& optionsPath) {
    const std::unique_ptr<QSettings> options = openOptionsFile(optionsPath);
    const QRect normal = options->value(kMainWindowGeometry).toRect();
    if (!normal.isValid())
        return std::nullopt;
    return MainWindowGeometry{normal, options->value(kMainWindowMaximized, false).toBool()};
}

void writeMainWindowGeometry(const QString& optionsPath, const MainWindowGeometry& geometry) {
    const std::unique_ptr<QSettings> options = openOptionsFile(optionsPath);
    options->setValue(kMainWindowGeometry, geometry.normal);
    options->setValue(kMainWindowMaximized, geometry.maximized);
    syncOptionsFile(*options);
}

LanguageChoice readLanguageChoice(const QString& optionsPath) {
    return languageChoiceFromKey(
        openOptionsFile(optionsPath)->value(kInterfaceLanguage).toString());
}

void writeLanguageChoice(const QString& optionsPath, LanguageChoice choice) {
    const std::unique_ptr<QSettings> options = openOptionsFile(optionsPath);
    options->setValue(kInterfaceLanguage, languageChoiceKey(choice));
    syncOptionsFile(*options);
}

} // namespace songwick
