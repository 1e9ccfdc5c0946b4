#pragma once

#include "common/date_time.h"
#include "common/random_source.h"

#include <QString>
#include <optional>

class QTextDocument;
class QWidget;

namespace songwick {

// Message boxes captioned with the program's title.
class MessageBoxes {
public:
    enum class Answer { Yes, No, Cancel };

    virtual ~MessageBoxes() = default;
    // A plain message with one OK button.
    virtual void showMessage(QWidget* parent, const QString& text) = 0;
    // A question with the buttons "Yes", "No" and "Cancel"; closing the box is Cancel.
    virtual Answer askYesNoCancel(QWidget* parent, const QString& text) = 0;
};

// What an open or save dialog is asked for. The filter is written as the program writes it:
// pairs of description and pattern separated by vertical bars ("Файлы списка|*.swk|Все
// файлы|*.*"), a trailing bar allowed.
struct FileDialogRequest {
    QString filter;
    // Added (with a dot) to a name typed without an extension; empty for none.
    QString defaultExtension;
    QString startFolder;
    // The dialog's caption; empty for the platform's own.
    QString caption;
};

// The standard file and folder dialogs. Each returns nothing when the user cancels.
class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    // Opens at startFolder; the answer may name a folder that does not exist yet.
    virtual std::optional<QString> chooseFolder(QWidget* parent, const QString& startFolder) = 0;
    // mustExist: the file and its folder have to exist for the dialog to accept a name.
    virtual std::optional<QString> openFileName(QWidget* parent, const FileDialogRequest& request,
                                                bool mustExist) = 0;
    // Asks before overwriting an existing file.
    virtual std::optional<QString> saveFileName(QWidget* parent,
                                                const FileDialogRequest& request) = 0;
};

// Hands a file to the program the desktop opens files of its kind with.
class DesktopLauncher {
public:
    virtual ~DesktopLauncher() = default;
    // False when the desktop could not start a program for it.
    virtual bool openInDesktopProgram(const QString& path) = 0;
};

// The default printer. Windows print through printPages (app/ui/printing.h), which offers a
// PDF file where there is no printer.
class PrinterAccess {
public:
    virtual ~PrinterAccess() = default;
    // False when the system has no default printer.
    virtual bool hasDefaultPrinter() const = 0;
    // Prints the document as one job; throws songwick::Error when there is no printer or the
    // job cannot be started.
    virtual void printDocument(const QTextDocument& document, const QString& jobName) = 0;
};

// Every outside effect a window has, handed to the windows at start-up so that tests can put
// fakes in their place.
struct PlatformServices {
    MessageBoxes& messages;
    FileDialogs& dialogs;
    DesktopLauncher& desktop;
    PrinterAccess& printer;
    const Clock& clock;
    RandomSource& random;
};

// "Описание|*.ext|Все файлы|*.*" as a Qt filter list: "Описание (*.ext);;Все файлы (*.*)".
// A description without its pattern is dropped.
QString toQtFileFilter(const QString& pairs);

// The name with ".extension" added when its last path element has no extension.
QString withDefaultExtension(const QString& fileName, const QString& extension);
// The extension of a Qt name filter with one pattern ("Текст RTF (*.rtf)" gives "rtf"); empty
// for a filter of several patterns or of "*.*".
QString singleFilterExtension(const QString& nameFilter);

} // namespace songwick
