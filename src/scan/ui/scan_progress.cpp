#include "scan/ui/scan_progress.h"

#include "scan/scan_cache.h"
#include "settings/options_file.h"

#include <QDir>
#include <QFileInfo>
#include <QProgressBar>

namespace songwick {

void stepScanProgress(QProgressBar* bar) {
    constexpr int kStep = 10;
    const int next = bar->value() + kStep;
    bar->setValue(next > bar->maximum() ? bar->minimum() : next);
    bar->repaint();
}

WalkResult walkWithProgress(const QString& chosenFolder, RecordStore& store,
                            const WalkOptions& options, QProgressBar* bar) {
    return walkFolder(chosenFolder, store, options, [bar] { stepScanProgress(bar); });
}

QStringList messagesAfterWalk(const WalkResult& result) {
    QStringList messages;
    if (result.overloaded())
        messages << overloadMessage();
    if (const QString limit = limitMessage(result); !limit.isEmpty())
        messages << limit;
    if (const QString unreadable = unreadableMessage(result); !unreadable.isEmpty())
        messages << unreadable;
    return messages;
}

namespace {
const QString kRememberReadFilesKey = QStringLiteral("scan/rememberReadFiles");
}

bool rememberReadFiles(const QString& optionsPath) {
    return openOptionsFile(optionsPath)->value(kRememberReadFilesKey, true).toBool();
}

void setRememberReadFiles(const QString& optionsPath, bool on) {
    openOptionsFile(optionsPath)->setValue(kRememberReadFilesKey, on);
}

QString scanCachePathFromOptions(const QString& optionsPath) {
    return rememberReadFiles(optionsPath) ? defaultScanCachePath() : QString();
}

bool ensureFolderExists(const QString& folder) {
    if (folder.isEmpty())
        return false;
    if (!QFileInfo(folder).isDir())
        QDir().mkpath(folder);
    return QFileInfo(folder).isDir();
}

} // namespace songwick
