#pragma once

#include "common/date_time.h"
#include "common/random_source.h"
#include "settings/program_settings.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace songwick {

// The first byte of every settings file.
inline constexpr unsigned char kSettingsFileMarker = 250;
// Size of a settings file without its three texts.
inline constexpr int kSettingsFixedSize = 135;

// The message for a file that does not start with the marker.
QString settingsMarkerErrorMessage();
// The message for a file that ends before all values are read.
QString settingsShortFileMessage();

// prop.dat in the user's configuration folder.
QString settingsFilePath();

// A moment truncated to whole seconds, as the run's start and the shutdown are recorded.
DateTimeValue truncateToWholeSeconds(DateTimeValue moment);

// The two time stamps a save writes: the shutdown moment (now, to the second) and the running
// time of all runs so far, this one included (the loaded total plus this run, to the second).
struct ShutdownTimes {
    DateTimeValue lastShutdownTime = 0;
    DateTimeValue totalRunTime = 0;
};
ShutdownTimes shutdownTimes(const ProgramSettings& settings, DateTimeValue runStartTime,
                            DateTimeValue now);

// Applies the values of a settings file's bytes to settings in file order. Throws Error with
// settingsMarkerErrorMessage() when the first byte is not the marker (nothing changes), and
// with settingsShortFileMessage() when the bytes end before the last value, or a text is
// longer than what is left: the values read before that point keep their new values.
void applySettingsBytes(ProgramSettings& settings, QByteArrayView bytes);

// The bytes of a settings file holding settings, with times for the two time stamps and the
// fillers drawn from random.
QByteArray settingsFileBytes(const ProgramSettings& settings, const ShutdownTimes& times,
                             RandomSource& random);

// Reads the settings file at path into settings. Returns false, changing nothing, when there is
// no such file (the first start). Throws Error as applySettingsBytes does, or with a message
// naming the file and the reason when it exists but cannot be read.
bool LoadSettings(ProgramSettings& settings, const QString& path);

// Writes settings to path atomically, creating its folder when needed: the previous file stays
// whole when the write fails. runStartTime is the run's start (to the second); the clock gives
// the shutdown moment. The settings object itself is not changed, so a failed save can be
// repeated. Throws Error with the I/O error text.
void SaveSettings(const ProgramSettings& settings, const QString& path, DateTimeValue runStartTime,
                  const Clock& clock, RandomSource& random);

// Settings as stored in the file at path, over the initial values. Unlike LoadSettings a missing
// file is an error too, and every message names the file ("<path>: Ошибка загрузки настроек").
// For the command line, where a settings file is named explicitly.
ProgramSettings readSettingsFile(const QString& path);
// The "Обработка большого количества файлов" option stored in the file at path.
bool readManyFilesScan(const QString& path);

} // namespace songwick
