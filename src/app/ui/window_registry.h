#pragma once

#include "app/ui/platform_interfaces.h"
#include "catalogue/catalogue_grid.h"
#include "catalogue/catalogue_state.h"
#include "common/date_time.h"
#include "settings/program_settings.h"

#include <QObject>
#include <QPointer>
#include <QRect>
#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QAbstractButton;
class QWidget;

namespace songwick {

class HintSwitch;
class TForm1;
class TForm3;
class TForm4;
class TForm5;
class TForm6;
class TForm7;
class TForm8;
class TForm9;
class TForm10;
class TForm12;
class THelp;
class TSplashForm;

// The program's windows and the state they share, created once at start-up. Every window
// reaches every other through it. A window class that is not part of this build has no
// instance: its pointer is null and the menu entries that open it are disabled.
class WindowRegistry : public QObject {
    Q_OBJECT

public:
    WindowRegistry(PlatformServices services, QString settingsPath);
    ~WindowRegistry() override;

    // Creates the windows in their fixed order, the start window first. Call once.
    void createWindows();

    PlatformServices& services() { return services_; }
    ProgramSettings& settings() { return settings_; }
    CatalogueState& catalogue() { return catalogue_; }
    // The cells of the main window's table.
    CatalogueGrid& grid() { return grid_; }
    HintSwitch& hints() { return *hints_; }
    const QString& settingsPath() const { return settingsPath_; }
    // Where the journals of the renames go (the user's data folder unless a test says).
    const QString& renameJournalFolder() const { return renameJournalFolder_; }
    void setRenameJournalFolder(QString folder) { renameJournalFolder_ = std::move(folder); }

    TForm1* form1() const { return form1_; }
    TForm4* form4() const { return form4_; }
    TForm5* form5() const { return form5_; }
    TForm3* form3() const { return form3_; }
    TForm6* form6() const { return form6_; }
    TForm7* form7() const { return form7_; }
    TForm8* form8() const { return form8_; }
    TForm9* form9() const { return form9_; }
    TForm10* form10() const { return form10_; }
    THelp* help() const { return help_; }
    TForm12* form12() const { return form12_; }
    TSplashForm* splash() const { return splash_; }

    // A window of the program: activated runs when it becomes the active window coming from
    // another window of the program (or from none, when it is first shown); deactivated runs
    // when another window of the program takes over. Message boxes and file dialogs are not
    // windows of the program in this sense, so returning from one changes nothing. Both run
    // through the general error report.
    void watchActivation(QWidget* window, std::function<void()> activated,
                         std::function<void()> deactivated = {});
    // The window of the program that was active last.
    QWidget* currentWindow() const { return current_; }

    // A secondary window: each time it is shown it is centred on the window of the program
    // that was active (its owner), or on the screen when there is none. With a cancel button,
    // Esc in the window clicks that button.
    void placeOnOwner(QWidget* window, QAbstractButton* cancelButton = nullptr);
    // As placeOnOwner, but centred only the first time it is shown; later it reappears where
    // the user left it.
    void placeOnOwnerOnce(QWidget* window);

    // Shows a window of the program, not modal, and makes it the active one.
    static void showWindow(QWidget* window);

    // Hides the start window for good and brings up the main window.
    void handOverToMainWindow();

    // Writes the settings file as the program ends, with the widths on screen when the user's
    // own widths are in use and the main window is visible, and the main window's place and
    // size into the options file. Throws Error when it cannot write the settings file.
    void saveSettingsAtShutdown();

    // Ends the program at once. Tests replace what it does.
    void endProgram();
    void setEndProgramHandler(std::function<void()> handler) { endProgram_ = std::move(handler); }

    // Runs a handler through the general error report; parent is the message box's owner.
    bool runReportingErrors(QWidget* parent, const std::function<void()>& handler);

signals:
    // The settings file was read at the first activation of the start window: windows that
    // show settings refresh their controls.
    void settingsLoaded();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct WatchedWindow {
        QPointer<QWidget> window;
        std::function<void()> activated;
        std::function<void()> deactivated;
    };
    void windowBecameActive(QWidget* window);
    void windowAboutToShow(QWidget* window);
    void windowMoved(QWidget* window);

    struct PlacedWindow {
        QPointer<QWidget> window;
        bool everyShow = true;
        bool placed = false;
        // Where the window was put as it was shown, while the window manager may still move it
        // elsewhere as it maps the window.
        std::optional<QRect> awaited;
        bool painted = false; // since it was shown
        int holds = 0;        // holds begun, so that a hold's end ends only its own
    };
    // Keeps the window where it was put for kMappingTime from now.
    void holdPlace(PlacedWindow& placed);
    void windowPainted(QWidget* window);

    PlatformServices services_;
    QString settingsPath_;
    QString renameJournalFolder_;
    ProgramSettings settings_;
    CatalogueState catalogue_;
    CatalogueGrid grid_;
    std::unique_ptr<HintSwitch> hints_;
    std::function<void()> endProgram_;
    std::vector<WatchedWindow> watched_;
    std::vector<PlacedWindow> placed_;
    PlacedWindow* placedWindow(QWidget* window);
    static constexpr int kMappingTime = 2000; // ms
    QWidget* current_ = nullptr;
    QWidget* beforeCurrent_ = nullptr; // the window that was current before current_

    // Takes ownership of a newly created window and returns it.
    template <typename Window> Window* adopt(std::unique_ptr<Window> window) {
        Window* raw = window.get();
        windows_.push_back(std::move(window));
        return raw;
    }

    // Every window, in creation order; destroyed in the reverse order.
    std::vector<std::unique_ptr<QWidget>> windows_;
    TForm1* form1_ = nullptr;
    TForm4* form4_ = nullptr;
    TForm5* form5_ = nullptr;
    TForm3* form3_ = nullptr;
    TForm6* form6_ = nullptr;
    TForm7* form7_ = nullptr;
    TForm8* form8_ = nullptr;
    TForm9* form9_ = nullptr;
    TForm10* form10_ = nullptr;
    THelp* help_ = nullptr;
    TForm12* form12_ = nullptr;
    TSplashForm* splash_ = nullptr;
};

} // namespace songwick
