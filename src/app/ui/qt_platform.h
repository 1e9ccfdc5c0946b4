#pragma once

#include "app/ui/platform_interfaces.h"

namespace songwick {

class QtMessageBoxes final : public MessageBoxes {
public:
    void showMessage(QWidget* parent, const QString& text) override;
    Answer askYesNoCancel(QWidget* parent, const QString& text) override;
};

class QtFileDialogs final : public FileDialogs {
public:
    std::optional<QString> chooseFolder(QWidget* parent, const QString& startFolder) override;
    std::optional<QString> openFileName(QWidget* parent, const FileDialogRequest& request,
                                        bool mustExist) override;
    std::optional<QString> saveFileName(QWidget* parent, const FileDialogRequest& request) override;
};

class QtDesktopLauncher final : public DesktopLauncher {
public:
    bool openInDesktopProgram(const QString& path) override;
};

class QtPrinterAccess final : public PrinterAccess {
public:
    bool hasDefaultPrinter() const override;
    void printDocument(const QTextDocument& document, const QString& jobName) override;
};

// The services the program runs with.
class QtPlatform {
public:
    PlatformServices services() {
        return PlatformServices{messages_, dialogs_, desktop_, printer_, clock_, random_};
    }

private:
    QtMessageBoxes messages_;
    QtFileDialogs dialogs_;
    QtDesktopLauncher desktop_;
    QtPrinterAccess printer_;
    SystemClock clock_;
    SystemRandomSource random_;
};

} // namespace songwick
