#include "app/ui/qt_platform.h"
#include "app/ui/start_window.h"
#include "app/ui/window_registry.h"
#include "catalogue/catalogue_grid.h"
#include "common/file_name_codec.h"
#include "common/heap_tuning.h"
#include "help/ui/splash_window.h"
#include "settings/options_file.h"
#include "settings/settings_file.h"
#include "translations/interface_language.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <cstring>
#include <optional>

namespace {

const char kHelp[] =
    "Usage: songwick [LIST.swk]\n"
    "       songwick --help | --version\n"
    "Catalogue karaoke MIDI files: scan a folder of karaoke files into an editable table, save\n"
    "and open list files, rename the files from the table, export and import spreadsheets.\n"
    "\n"
    "Without a file the program opens its start window. With LIST.swk, a list file of the\n"
    "program, it starts with that list in its main window, as \"Открыть файл списка...\" of the\n"
    "start window opens it.\n"
    "\n"
    "Options:\n"
    "  -h, --help     show this help and exit\n"
    "  --version      show the version and exit\n"
    "  --             end of the options: the next argument is the file, even if it starts\n"
    "                 with \"-\"\n"
    "\n"
    "Exit status:\n"
    "  0  the program ended through its windows, or printed its help or version\n"
    "  2  the command line is wrong (unknown option, more than one file)\n"
    "\n"
    "The program keeps its settings in ~/.config/songwick/prop.dat.\n"
    "See songwick(1); songwick-cli(1) does the same work in batch without a display.\n";

const char kTryHelp[] = "Try 'songwick --help' for more information.\n";

void print(std::FILE* stream, const QString& text) {
    std::fputs(text.toUtf8().constData(), stream);
    std::fflush(stream);
}

// --help and --version, answered before anything needs a display. Everything up to "--" is
// looked at, the toolkit's own options included.
std::optional<int> answerInformationRequest(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--") == 0)
            break;
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(kHelp, stdout);
            return 0;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::fputs("songwick " SONGWICK_VERSION "\n", stdout);
            return 0;
        }
    }
    return std::nullopt;
}

// What is left on the command line once the toolkit has taken its own options: at most one
// list file. The name is decoded losslessly, as every name that meets the file system.
struct CommandLine {
    std::optional<QString> listFile;
    QString problem; // empty when the command line is right
};

CommandLine readCommandLine(int argc, char** argv) {
    CommandLine line;
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const char* argument = argv[i];
        if (!optionsEnded && std::strcmp(argument, "--") == 0) {
            optionsEnded = true;
            continue;
        }
        if (!optionsEnded && argument[0] == '-' && argument[1] != '\0') {
            line.problem =
                QStringLiteral("unknown option '%1'").arg(QString::fromLocal8Bit(argument));
            return line;
        }
        if (line.listFile) {
            line.problem = QStringLiteral("only one list file can be opened");
            return line;
        }
        line.listFile = songwick::decodeFileName(QByteArrayView(argument));
    }
    return line;
}

// For the tests of the command line only, which set SONGWICK_TEST_REPORT: instead of being
// shown, every message goes to standard output, and once the program has started it writes
// which windows are open and what the table holds, and ends without writing anything.
bool reportingForTests() {
    return !qEnvironmentVariableIsEmpty("SONGWICK_TEST_REPORT");
}

QString oneLine(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    text.replace(QStringLiteral("\n\r"), QStringLiteral(" "));
    text.replace(u'\n', u' ');
    text.replace(u'\r', u' ');
    return text;
}

class ReportedMessageBoxes final : public songwick::MessageBoxes {
public:
    void showMessage(QWidget*, const QString& text) override {
        print(stdout, QStringLiteral("message: ") + oneLine(text) + u'\n');
    }
    Answer askYesNoCancel(QWidget*, const QString& text) override {
        print(stdout, QStringLiteral("question: ") + oneLine(text) + u'\n');
        return Answer::Cancel;
    }
};

void reportStartAndEnd(songwick::WindowRegistry& registry) {
    QStringList windows;
    for (const QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isVisible() && !window->objectName().isEmpty())
            windows << window->objectName();
    }
    windows.sort();
    QString report = QStringLiteral("windows: ") + windows.join(u' ') + u'\n';
    const songwick::CatalogueGrid& grid = registry.grid();
    for (int row = 1; row < grid.rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < grid.columnCount(); ++column)
            cells << grid.cell(column, row);
        report += QStringLiteral("row: ") + cells.join(QStringLiteral(" | ")) + u'\n';
    }
    print(stdout, report);
    registry.endProgram();
}

} // namespace

int main(int argc, char** argv) {
    if (const std::optional<int> answered = answerInformationRequest(argc, argv))
        return *answered;

    songwick::tuneHeapForLargeTables();
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("songwick"));
    QApplication::setApplicationVersion(QStringLiteral(SONGWICK_VERSION));
    // The program ends where its windows say so, never because the last one was hidden.
    QApplication::setQuitOnLastWindowClosed(false);
    const songwick::InstalledLanguage language(
        songwick::interfaceLanguage(songwick::readLanguageChoice(songwick::optionsFilePath())));
    const CommandLine commandLine = readCommandLine(argc, argv);
    if (!commandLine.problem.isEmpty()) {
        print(stderr, QStringLiteral("songwick: ") + commandLine.problem + u'\n' +
                          QString::fromUtf8(kTryHelp));
        return 2;
    }

    songwick::TSplashForm splash;
    splash.showAndPaint();
    QApplication::setApplicationDisplayName(QStringLiteral("Songwick"));

    songwick::QtPlatform platform;
    ReportedMessageBoxes reportedMessages;
    const bool reporting = reportingForTests();
    const songwick::PlatformServices qtServices = platform.services();
    const songwick::PlatformServices services{
        reporting ? static_cast<songwick::MessageBoxes&>(reportedMessages) : qtServices.messages,
        qtServices.dialogs,
        qtServices.desktop,
        qtServices.printer,
        qtServices.clock,
        qtServices.random};
    songwick::WindowRegistry registry(services, songwick::settingsFilePath());
    registry.createWindows();
    splash.hide();

    if (commandLine.listFile)
        registry.form1()->startWithListFile(*commandLine.listFile);
    else
        songwick::WindowRegistry::showWindow(registry.form1());
    if (reporting)
        QTimer::singleShot(0, &registry, [&registry] { reportStartAndEnd(registry); });
    return QApplication::exec();
}
