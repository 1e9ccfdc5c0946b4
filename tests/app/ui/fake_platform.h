#pragma once

#include "app/ui/platform_interfaces.h"
#include "common/error.h"

#include <QStringList>
#include <QTextDocument>
#include <deque>
#include <functional>
#include <optional>

namespace songwick::testing {

// Records every message; answers questions from a queue (Cancel when it is empty).
class FakeMessageBoxes final : public MessageBoxes {
public:
    void showMessage(QWidget*, const QString& text) override { shown << text; }
    Answer askYesNoCancel(QWidget*, const QString& text) override {
        asked << text;
        if (answers.empty())
            return Answer::Cancel;
        const Answer answer = answers.front();
        answers.pop_front();
        return answer;
    }

    QStringList shown;
    QStringList asked;
    std::deque<Answer> answers;
};

// Answers each dialog from its queue; an empty queue is a cancelled dialog.
class FakeFileDialogs final : public FileDialogs {
public:
    std::optional<QString> chooseFolder(QWidget*, const QString& startFolder) override {
        folderStarts << startFolder;
        return next(folders);
    }
    std::optional<QString> openFileName(QWidget*, const FileDialogRequest& request, bool) override {
        openFilters << request.filter;
        return next(opens);
    }
    std::optional<QString> saveFileName(QWidget*, const FileDialogRequest& request) override {
        saveFilters << request.filter;
        saveCaptions << request.caption;
        saveStartFolders << request.startFolder;
        return next(saves);
    }

    // An empty answer is a cancelled dialog, as is an empty queue.
    std::deque<QString> folders;
    std::deque<QString> opens;
    std::deque<QString> saves;
    QStringList folderStarts;
    QStringList openFilters;
    QStringList saveFilters;
    QStringList saveCaptions;
    QStringList saveStartFolders;

private:
    static std::optional<QString> next(std::deque<QString>& queue) {
        if (queue.empty())
            return std::nullopt;
        const QString answer = queue.front();
        queue.pop_front();
        if (answer.isEmpty())
            return std::nullopt;
        return answer;
    }
};

class FakeDesktopLauncher final : public DesktopLauncher {
public:
    bool openInDesktopProgram(const QString& path) override {
        opened << path;
        return true;
    }
    QStringList opened;
};

// The default printer, or none at all.
class FakePrinterAccess final : public PrinterAccess {
public:
    bool hasDefaultPrinter() const override { return installed; }
    void printDocument(const QTextDocument& document, const QString& jobName) override {
        if (!installed)
            throw Error(QStringLiteral("Принтер по умолчанию не найден."));
        printed << document.toPlainText();
        jobNames << jobName;
    }
    bool installed = true;
    QStringList printed;
    QStringList jobNames;
};

class FakeClock final : public Clock {
public:
    DateTimeValue now() const override { return value; }
    // 8 December 2026, 12:00:00.
    DateTimeValue value = 46364.5;
};

class FakeRandomSource final : public RandomSource {
public:
    int below(int limit) override { return limit / 2; }
};

// All fakes together, handed out as the program's services.
struct FakePlatform {
    FakeMessageBoxes messages;
    FakeFileDialogs dialogs;
    FakeDesktopLauncher desktop;
    FakePrinterAccess printer;
    FakeClock clock;
    FakeRandomSource random;

    PlatformServices services() {
        return PlatformServices{messages, dialogs, desktop, printer, clock, random};
    }
};

} // namespace songwick::testing
