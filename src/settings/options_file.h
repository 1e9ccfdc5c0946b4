#pragma once

#include "translations/interface_language.h"

#include <QRect>
#include <QSettings>
#include <QString>
#include <memory>
#include <optional>

namespace songwick {

// Options the program has beyond prop.dat live in their own INI file beside it, never in
// prop.dat, whose layout stays as it is. Each feature keeps its keys in a group of its own
// ("scan/...", "reading/...", "rename/...", "window/...").

// options.ini in the folder of settingsFilePath().
QString optionsFilePath();
// options.ini beside the given settings file.
QString optionsFilePathBeside(const QString& settingsPath);

// The options file at path (the user's one by default), read and written through QSettings in
// INI format. A missing file reads as every option at its default.
std::unique_ptr<QSettings> openOptionsFile(const QString& path = optionsFilePath());

// Writes what was set in the options file to disk. Throws Error naming the file and the reason
// when it could not be written (the file on disk then keeps what it held).
void syncOptionsFile(QSettings& options);

// "rename/showPlanFirst": renames show their plan in a window before any file moves.
// On when the file does not say. The write throws as syncOptionsFile does.
bool readShowRenamePlanFirst(const QString& optionsPath);
// Whether the file itself says "on" (the user turned the option on, not just the default).
bool showRenamePlanFirstStoredOn(const QString& optionsPath);
// Drops the option from the file, so that it reads as its default again.
void forgetShowRenamePlanFirst(const QString& optionsPath);
void writeShowRenamePlanFirst(const QString& optionsPath, bool on);

// Where the main window was when the program last ended: its client area in its normal state
// and whether it was maximised ("window/mainGeometry", "window/mainMaximized").
struct MainWindowGeometry {
    QRect normal;
    bool maximized = false;
};
// Nothing when the file holds no usable geometry. The write throws as syncOptionsFile does.
std::optional<MainWindowGeometry> readMainWindowGeometry(const QString& optionsPath);
void writeMainWindowGeometry(const QString& optionsPath, const MainWindowGeometry& geometry);

// "interface/language": the language of the interface, taken at the next start. System when
// the file does not say. The write throws as syncOptionsFile does.
LanguageChoice readLanguageChoice(const QString& optionsPath);
void writeLanguageChoice(const QString& optionsPath, LanguageChoice choice);

} // namespace songwick
