#include "scan/ui/scan_progress.h"

#include "scan/reading_options.h"
#include "scan/scan_cache.h"
#include "settings/options_file.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QProgressBar>
#include <QPushButton>
#include <chrono>
#include <memory>

namespace songwick {

namespace {

// The time between two rounds of repainting while the walk reads files.
constexpr std::chrono::milliseconds kRepaintInterval(100);
constexpr int kButtonGap = 8;

bool isUserInput(QEvent::Type type) {
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::Close:
        return true;
    default:
        return false;
    }
}

// While a walk runs: the button "Прервать" beside the progress bar, the only control that
// takes input, and the rounds of event processing that keep the windows painted. Esc counts
// as the button. Everything is put back as it was when the walk ends.
class ScanInterruption : public QObject {
public:
    explicit ScanInterruption(QProgressBar* bar) : bar_(bar), barGeometry_(bar->geometry()) {
        button_ = std::make_unique<QPushButton>(
            QCoreApplication::translate("songwick::Scan", "Прервать"), bar->parentWidget());
        button_->setObjectName(QLatin1String(kInterruptScanButtonName));
        button_->setFocusPolicy(Qt::NoFocus);
        button_->adjustSize();
        placeButton();
        button_->show();
        connect(button_.get(), &QPushButton::clicked, this, [this] { requested_ = true; });
        qApp->installEventFilter(this);
        lastRound_ = std::chrono::steady_clock::now();
    }

    ~ScanInterruption() override {
        qApp->removeEventFilter(this);
        bar_->setGeometry(barGeometry_);
    }

    ScanInterruption(const ScanInterruption&) = delete;
    ScanInterruption& operator=(const ScanInterruption&) = delete;

    // A progress step: the bar moves and every window is repainted.
    void step() {
        stepScanProgress(bar_);
        processEvents();
    }

    // Asked after each file: true once the user asked to stop.
    bool requested() {
        if (std::chrono::steady_clock::now() - lastRound_ >= kRepaintInterval)
            processEvents();
        return requested_;
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        // Input reaches a window first and its widgets after that: it is sorted out there.
        if (!watched->isWidgetType() || !isUserInput(event->type()))
            return false;
        if (event->type() == QEvent::KeyPress &&
            static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
            requested_ = true;
            return true;
        }
        // The button itself (and its own window's painting) goes on working.
        return watched != button_.get() || event->type() == QEvent::Close;
    }

private:
    // Right of the bar where there is room, else the bar gives up room at its right end.
    void placeButton() {
        const QSize size = button_->size();
        if (bar_->parentWidget() == nullptr)
            return; // a bar of its own: the button is a window beside it
        const int parentWidth = bar_->parentWidget()->width();
        const int room = parentWidth - barGeometry_.right() - 1 - kButtonGap;
        QRect bar = barGeometry_;
        if (room < size.width() + kButtonGap)
            bar.setWidth(std::max(bar.width() - size.width() - kButtonGap, 0));
        bar_->setGeometry(bar);
        button_->move(bar.right() + 1 + kButtonGap, bar.center().y() - size.height() / 2);
        button_->raise();
    }

    void processEvents() {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        lastRound_ = std::chrono::steady_clock::now();
    }

    QProgressBar* bar_;
    const QRect barGeometry_;
    std::unique_ptr<QPushButton> button_;
    bool requested_ = false;
    std::chrono::steady_clock::time_point lastRound_;
};

} // namespace

void stepScanProgress(QProgressBar* bar) {
    constexpr int kStep = 10;
    const int next = bar->value() + kStep;
    bar->setValue(next > bar->maximum() ? bar->minimum() : next);
    bar->repaint();
}

WalkResult walkWithProgress(const QString& chosenFolder, RecordStore& store,
                            const WalkOptions& options, QProgressBar* bar) {
    ScanInterruption interruption(bar);
    WalkOptions interruptible = options;
    interruptible.interruptRequested = [&interruption] { return interruption.requested(); };
    return walkFolder(chosenFolder, store, interruptible, [&interruption] { interruption.step(); });
}

void runInterruptibly(QProgressBar* bar,
                      const std::function<void(const std::function<bool()>& stopRequested)>& work) {
    ScanInterruption interruption(bar);
    // The button is painted, and a click already on its way taken, before the work starts.
    QCoreApplication::processEvents();
    work([&interruption] { return interruption.requested(); });
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
    const std::unique_ptr<QSettings> options = openOptionsFile(optionsPath);
    options->setValue(kRememberReadFilesKey, on);
    syncOptionsFile(*options);
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

WalkOptions scanWalkOptions(ScanWindow window, bool manyFilesScan, const QString& settingsPath) {
    const QString optionsPath = optionsFilePathBeside(settingsPath);
    WalkOptions options;
    options.window = window;
    options.manyFilesScan = manyFilesScan;
    options.scanCachePath = scanCachePathFromOptions(optionsPath);
    options.reading = loadReadingOptions(*openOptionsFile(optionsPath));
    return options;
}

} // namespace songwick
