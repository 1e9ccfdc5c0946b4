#pragma once

#include "office/desktop_opener.h"

namespace songwick {

class DesktopLauncher;

// Opens the files the office exchange writes through the program's desktop launcher.
class LauncherOpener final : public DesktopOpener {
public:
    explicit LauncherOpener(DesktopLauncher& launcher) : launcher_(launcher) {}

    // Throws songwick::Error when the desktop could not start a program for the file.
    void open(const QString& path) override;

private:
    DesktopLauncher& launcher_;
};

} // namespace songwick
