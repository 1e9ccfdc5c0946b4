#pragma once

#include "scan/folder_walk.h"

#include <QString>
#include <QStringList>
#include <functional>

class QProgressBar;

namespace songwick {

// One step of a scan's progress bar: 10 further, back to the beginning once past the end,
// painted at once since the walk does not return to the event loop.
void stepScanProgress(QProgressBar* bar);

// Runs the walk with the bar stepping as it goes. While it runs, the program's windows are
// repainted and a button "Прервать" beside the bar (or Esc) ends the walk after the current
// file, keeping the records found; every other input waits until the walk is over.
WalkResult walkWithProgress(const QString& chosenFolder, RecordStore& store,
                            const WalkOptions& options, QProgressBar* bar);

// Runs other long work the same way: while it runs, the windows are repainted whenever work
// asks whether to stop (between two files, say), and "Прервать" (or Esc) makes the answer yes.
void runInterruptibly(QProgressBar* bar,
                      const std::function<void(const std::function<bool()>& stopRequested)>& work);

// The object name of the button "Прервать".
inline constexpr const char* kInterruptScanButtonName = "InterruptScanButton";

// The messages due after a walk, in the order they are shown: the overload message, the
// limit message, the message on unreadable files and folders (only those that apply).
QStringList messagesAfterWalk(const WalkResult& result);

// Whether a scan takes unchanged files from the scan cache (the option "scan/rememberReadFiles"
// of the options file, on by default). Setting it throws Error when the file cannot be written.
bool rememberReadFiles(const QString& optionsPath);
void setRememberReadFiles(const QString& optionsPath, bool on);
// The scan cache a scan uses: the user's one, or none when the option is off.
QString scanCachePathFromOptions(const QString& optionsPath);

// The walk options of a scan started in a window: the scan-many-files setting, and the scan
// cache and reading that the options file beside the settings file at settingsPath ask for.
WalkOptions scanWalkOptions(ScanWindow window, bool manyFilesScan, const QString& settingsPath);

// Creates the chosen folder when it does not exist yet; true when it exists afterwards.
bool ensureFolderExists(const QString& folder);

} // namespace songwick
