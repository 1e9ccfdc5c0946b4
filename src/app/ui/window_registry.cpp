#include "app/ui/window_registry.h"

#include "app/ui/close_question_window.h"
#include "app/ui/general_error_report.h"
#include "app/ui/hint_switch.h"
#include "app/ui/start_window.h"
#include "app/ui/window_placement.h"
#include "catalogue/catalogue_table.h"
#include "catalogue/ui/catalogue_table_model.h"
#include "catalogue/ui/main_window.h"
#include "help/ui/about_window.h"
#include "help/ui/help_window.h"
#include "help/ui/splash_window.h"
#include "rename/rename_journal.h"
#include "rename/ui/composite_rename_window.h"
#include "scan/ui/scan_options_window.h"
#include "settings/options_file.h"
#include "settings/settings_file.h"
#include "settings/ui/general_settings_window.h"
#include "settings/ui/text_output_settings_window.h"
#include "textview/ui/text_view_window.h"

#include <QCoreApplication>
#include <QEvent>
#include <QPushButton>
#include <QTimer>
#include <QWidget>
#include <algorithm>

namespace songwick {

WindowRegistry::WindowRegistry(PlatformServices services, QString settingsPath)
    : services_(services), settingsPath_(std::move(settingsPath)),
      renameJournalFolder_(defaultRenameJournalFolder()), hints_(std::make_unique<HintSwitch>()),
      endProgram_([this] {
          for (const auto& window : windows_)
              window->hide();
          QCoreApplication::quit();
      }) {}

WindowRegistry::~WindowRegistry() {
    for (WatchedWindow& watched : watched_) {
        if (watched.window)
            watched.window->removeEventFilter(this);
    }
    for (PlacedWindow& placed : placed_) {
        if (placed.window)
            placed.window->removeEventFilter(this);
    }
    while (!windows_.empty())
        windows_.pop_back();
}

void WindowRegistry::createWindows() {
    form1_ = adopt(std::make_unique<TForm1>(*this));
    form4_ = adopt(std::make_unique<TForm4>(*this));
    form5_ = adopt(std::make_unique<TForm5>(*this));
    form3_ = adopt(std::make_unique<TForm3>(settings_, optionsFilePathBeside(settingsPath_),
                                            services_.messages));
    watchActivation(form3_, [form = form3_] { form->FormActivate(); });
    connect(this, &WindowRegistry::settingsLoaded, form3_, &TForm3::FormActivate);
    form6_ = adopt(std::make_unique<TForm6>(*this));
    form8_ = adopt(std::make_unique<TForm8>(*this));
    form9_ = adopt(std::make_unique<TForm9>(*this));
    form8_->setTextOutputWindow(form9_);
    form9_->setTextView(form8_);
    form10_ = adopt(std::make_unique<TForm10>(*this));
    form10_->setTextOutputWindow(form9_);
    help_ = adopt(std::make_unique<THelp>(*this));
    form12_ = adopt(std::make_unique<TForm12>(*this));
    // Created again after the others, hidden, for the menu entry that shows it.
    splash_ = adopt(std::make_unique<TSplashForm>());

    placeOnOwner(form3_, form3_->Button2);
    placeOnOwner(form6_, form6_->Button4);
    placeOnOwnerOnce(form8_);
    placeOnOwner(form9_, form9_->Button2);
    placeOnOwner(form10_, form10_->Button1);
    placeOnOwner(help_, help_->Button1);
    placeOnOwner(form12_, form12_->Button3);
    // The about window stays in the middle of the screen; Esc closes it as its OK does.
    clickOnEscape(form5_->Button1);
}

void WindowRegistry::placeOnOwner(QWidget* window, QAbstractButton* cancelButton) {
    PlacedWindow& placed = placed_.emplace_back();
    placed.window = window;
    placed.everyShow = true;
    window->installEventFilter(this);
    if (cancelButton != nullptr)
        clickOnEscape(cancelButton);
}

void WindowRegistry::placeOnOwnerOnce(QWidget* window) {
    PlacedWindow& placed = placed_.emplace_back();
    placed.window = window;
    placed.everyShow = false;
    window->installEventFilter(this);
}

void WindowRegistry::windowAboutToShow(QWidget* window) {
    PlacedWindow* placed = placedWindow(window);
    if (placed == nullptr || (placed->placed && !placed->everyShow))
        return;
    placed->placed = true;
    // A window shown again soon after it was closed may still be the current one, before the
    // window it was opened from is told it is active again: it goes on that window then.
    centreOnOwner(window, current_ == window ? beforeCurrent_ : current_);
    // A window manager that frames a window again as it maps it may put it somewhere else than
    // asked; for the first two seconds after it shows, and after it is first painted, which on
    // a busy machine can be later, the window is moved back where it was put.
    placed->awaited = window->geometry();
    placed->painted = false;
    holdPlace(*placed);
}

void WindowRegistry::holdPlace(PlacedWindow& placed) {
    const int hold = ++placed.holds;
    QWidget* window = placed.window;
    QTimer::singleShot(kMappingTime, window, [this, window, hold] {
        PlacedWindow* held = placedWindow(window);
        if (held != nullptr && held->holds == hold)
            held->awaited.reset();
    });
}

void WindowRegistry::windowPainted(QWidget* window) {
    PlacedWindow* placed = placedWindow(window);
    if (placed == nullptr || placed->painted || !placed->awaited)
        return;
    placed->painted = true;
    holdPlace(*placed);
}

WindowRegistry::PlacedWindow* WindowRegistry::placedWindow(QWidget* window) {
    const auto placed =
        std::find_if(placed_.begin(), placed_.end(),
                     [window](const PlacedWindow& p) { return p.window == window; });
    return placed == placed_.end() ? nullptr : &*placed;
}

void WindowRegistry::windowMoved(QWidget* window) {
    PlacedWindow* placed = placedWindow(window);
    if (placed != nullptr && placed->awaited && window->geometry() != *placed->awaited)
        window->setGeometry(*placed->awaited);
}

void WindowRegistry::watchActivation(QWidget* window, std::function<void()> activated,
                                     std::function<void()> deactivated) {
    watched_.push_back({window, std::move(activated), std::move(deactivated)});
    window->installEventFilter(this);
}

bool WindowRegistry::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::WindowActivate) {
        if (auto* window = qobject_cast<QWidget*>(watched))
            windowBecameActive(window);
    } else if (event->type() == QEvent::Move && event->spontaneous()) {
        if (auto* window = qobject_cast<QWidget*>(watched))
            windowMoved(window);
    } else if (event->type() == QEvent::Paint) {
        if (auto* window = qobject_cast<QWidget*>(watched))
            windowPainted(window);
    } else if (event->type() == QEvent::Show && !event->spontaneous()) {
        // Sent before the window is mapped: it appears where it is put here.
        if (auto* window = qobject_cast<QWidget*>(watched))
            windowAboutToShow(window);
    }
    return QObject::eventFilter(watched, event);
}

void WindowRegistry::windowBecameActive(QWidget* window) {
    if (window == current_)
        return;
    const auto find = [this](QWidget* wanted) {
        return std::find_if(watched_.begin(), watched_.end(),
                            [wanted](const WatchedWindow& w) { return w.window == wanted; });
    };
    const auto incoming = find(window);
    if (incoming == watched_.end())
        return;
    QWidget* previous = current_;
    beforeCurrent_ = previous;
    current_ = window;
    if (previous != nullptr) {
        const auto outgoing = find(previous);
        if (outgoing != watched_.end() && outgoing->deactivated)
            runReportingErrors(previous, outgoing->deactivated);
    }
    // The handlers may have added windows: look the incoming one up again.
    const auto target = find(window);
    if (target != watched_.end() && target->activated)
        runReportingErrors(window, target->activated);
}

void WindowRegistry::showWindow(QWidget* window) {
    if (window == nullptr)
        return;
    window->show();
    window->raise();
    window->activateWindow();
}

void WindowRegistry::handOverToMainWindow() {
    showWindow(form4_);
    form1_->hide();
}

void WindowRegistry::saveSettingsAtShutdown() {
    ProgramSettings toSave = settings_;
    if (settings_.ColumnWidthMode == UserColumnWidths && form4_ != nullptr && form4_->isVisible())
        toSave.ColumnWidths =
            userWidthsToKeep(form4_->currentColumnWidths(), form4_->tableModel->columnCount(),
                             settings_.ColumnWidths);
    SaveSettings(toSave, settingsPath_, form1_->RunStartTime, services_.clock, services_.random);
    // Kept beside the settings file, whose layout stays as it is. A place that cannot be kept
    // is reported, but does not keep the program from ending.
    if (form4_ != nullptr && form4_->isVisible())
        runReportingErrors(form4_, [this] {
            writeMainWindowGeometry(optionsFilePathBeside(settingsPath_), form4_->geometryToKeep());
        });
}

void WindowRegistry::endProgram() {
    if (endProgram_)
        endProgram_();
}

bool WindowRegistry::runReportingErrors(QWidget* parent, const std::function<void()>& handler) {
    return songwick::runReportingErrors(services_.messages, parent, handler);
}

} // namespace songwick
