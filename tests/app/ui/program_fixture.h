#pragma once

#include "app/ui/fake_platform.h"
#include "app/ui/start_window.h"
#include "app/ui/window_registry.h"
#include "catalogue/ui/main_window.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace songwick::testing {

// The whole program with fake dialogs and message boxes and its settings file in a temporary
// folder. endCount counts the times the program would have ended.
class ProgramUnderTest {
public:
    explicit ProgramUnderTest(const QString& settingsPath)
        : registry(std::make_unique<WindowRegistry>(platform.services(), settingsPath)) {
        registry->setEndProgramHandler([this] { ++endCount; });
        // Rename journals stay in the test's folder, never in the user's data folder.
        registry->setRenameJournalFolder(QFileInfo(settingsPath).absolutePath() +
                                         QStringLiteral("/renames"));
        registry->createWindows();
    }

    ~ProgramUnderTest() {
        for (QWidget* window : QApplication::topLevelWidgets())
            window->hide();
        registry.reset();
    }

    // Shows the start window as the message loop does at start-up.
    bool start() {
        registry->form1()->show();
        registry->form1()->activateWindow();
        return QTest::qWaitForWindowActive(registry->form1());
    }

    TForm1* startWindow() const { return registry->form1(); }
    TForm4* mainWindow() const { return registry->form4(); }

    // Lets queued window activations arrive.
    static void settle() {
        QCoreApplication::processEvents();
        QTest::qWait(20);
    }

    FakePlatform platform;
    std::unique_ptr<WindowRegistry> registry;
    int endCount = 0;
};

} // namespace songwick::testing
