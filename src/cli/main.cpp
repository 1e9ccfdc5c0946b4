#include "cli/cli_support.h"
#include "cli/commands.h"
#include "cli/songbook_module.h"
#include "common/file_name_codec.h"
#include "common/heap_tuning.h"
#include "settings/options_file.h"
#include "translations/interface_language.h"

#include <QCoreApplication>
#include <cstring>
#include <exception>
#include <memory>

namespace {

using namespace songwick::cli;

// One command of the tool: everything its help and the overview show, and what runs it.
// A new command is one more entry in kCommands.
struct Command {
    const char* name;
    const char* synopsis; // what follows "songwick-cli NAME" on the usage line
    const char* summary;  // one line for the overview
    const char* options;  // one line per option, "  --name VALUE  what it does\n"; "" for none
    int (*run)(const QStringList& arguments);
};

const Command kCommands[] = {
    {"scan",
     "FOLDER [--window start|main] [--settings PROP.DAT] [--output FILE.swk] [--no-cache] "
     "[--stats] "
     "[--reading program|structured] [--codepage auto|cp1251|...] [--lyrics]",
     "scan FOLDER and the folders below it into a table, as the program's scan does",
     "  --window start|main   read the files as the start window (default) or the main\n"
     "                        window's scan does\n"
     "  --settings PROP.DAT   take the scan-many-files setting from this settings file\n"
     "  --output FILE.swk     write the table as a list file instead of printing it\n"
     "  --no-cache            read every file, leaving the scan cache out (both readings\n"
     "                        use it, each with entries of its own)\n"
     "  --stats               print files, folders, bytes read, cache hits and misses and\n"
     "                        the time on standard error\n"
     "  --reading program|structured\n"
     "                        the program's byte rules (default) or the file's MIDI structure\n"
     "  --codepage auto|KEY   the structured reading's code page: detected per file (default)\n"
     "                        or one of cp1251, utf-8, cp1252, koi8-r, cp866, iso-8859-1,\n"
     "                        iso-8859-2, iso-8859-5, iso-8859-7, iso-8859-9, iso-8859-15,\n"
     "                        shift_jis, big5, euc-kr\n"
     "  --lyrics              with the structured reading: fill the lyrics index with the\n"
     "                        words of the files scanned, beside the scan, and wait for it\n",
     runScan},
    {"probe", "FILE.kar [--window start|main] [--codepage auto|cp1251|...]",
     "print both readings of one karaoke file, its code page, the events used and the first "
     "lines it sings",
     "  --window start|main   the program's reading as the start (default) or main window's\n"
     "  --codepage auto|KEY   force the structured reading's code page\n",
     runProbe},
    {"settings", "PROP.DAT", "print every value stored in a settings file", "", runSettings},
    {"text", "LIST.swk [--layout A|B] [--settings PROP.DAT]",
     "print the table of a list file as the text view shows it",
     "  --layout A|B          the text layout (default A)\n"
     "  --settings PROP.DAT   add the lines under the table that this settings file asks for\n",
     runText},
    {"export-xlsx", "LIST.swk OUT.xlsx [--settings PROP.DAT]",
     "write the table of a list file as a formatted spreadsheet",
     "  --settings PROP.DAT   format the sheet as this settings file says\n", runExportXlsx},
    {"import-xlsx", "IN.xlsx OUT.swk [--window start|main]",
     "read the first sheet of an .xlsx or .xls workbook into a list file",
     "  --window start|main   import as the start window or the main window (default) does\n",
     runImportXlsx},
    {"export-docx", "LIST.swk OUT.docx", "write the table of a list file as a Word document", "",
     runExportDocx},
    {"find", "LIST.swk WORD... [--output OUT.swk]",
     "print the rows of a list file that every word occurs in, as the find line finds them",
     "  --output OUT.swk      write the rows found, renumbered, as a list file\n", runFind},
    {"lyrics", "LIST.swk WORD... [--output OUT.swk]",
     "print the rows of a list file whose songs sing the words (in any order; \"a phrase\" "
     "in quotes), best first, each with the line that sings them; the words of files not read "
     "before are read into the lyrics index first",
     "  --output OUT.swk      write the rows found, best first, renumbered, as a list file\n",
     runLyrics},
    {"sort", "LIST.swk --column N [--descending] --output OUT.swk",
     "sort the table of a list file by a column and write it as a list file",
     "  --column N            the column, 0 to 6\n"
     "  --descending          sort from the end of the alphabet\n"
     "  --output OUT.swk      the list file to write\n",
     runSort},
    {"duplicates", "LIST.swk [--hash] [--output OUT.swk]",
     "print the groups of rows that name the same song",
     "  --hash                also group rows whose files are byte-identical\n"
     "  --output OUT.swk      write the table grouped, repeats marked, as a list file\n",
     runDuplicates},
    {"songbook",
     "LIST.swk OUT.pdf [--paper a4|letter] [--columns 1|2|3] [--title TEXT] [--numbers] "
     "[--index] [--settings PROP.DAT]",
     "write the songs of a list file as a PDF songbook grouped by performer (column 4, else "
     "the side of column 3's \"X - Y\" that the table shows to be the performer)",
     "  --paper a4|letter     the paper size (default a4)\n"
     "  --columns 1|2|3       columns to a page (default 2)\n"
     "  --title TEXT          the title line (default: the folder all the songs lie in)\n"
     "  --numbers             each song's row number beside its title, for request slips\n"
     "  --index               an index of the songs by title at the end\n"
     "  --settings PROP.DAT   start from the songbook options the program keeps in options.ini\n"
     "                        beside this settings file (the options above still win)\n",
     runSongbook},
    {"rename", "SCAN.swk EDITED.swk [--dry-run]",
     "rename the files of a scanned list (column 1 name, column 2 folder) to column 1 of an "
     "edited copy, each edited row paired with the scan row that has the same folder and the "
     "same cells, never by position (the copy may be sorted or shorter); exit 1 when some "
     "renames were refused, 2 when a row with a new name cannot be paired (nothing renamed)",
     "  --dry-run             print the plan and rename nothing\n", runRename},
    {"undo", "[--dry-run]",
     "undo the last journalled rename run, last rename first, never replacing a file; an undo "
     "that was cut short is finished (what is still renamed is restored), never reversed; "
     "undoing a complete undo renames its files forward again; exit 1 when some could not be "
     "undone, 2 when there is nothing to undo",
     "  --dry-run             print what would be undone and rename nothing\n", runUndo},
    {"journal", "", "list the journalled rename runs (time, count, undone, undone in part or not)",
     "", runJournal},
};

// Commands that lay out text need the fonts, which only a GUI application offers (on the
// offscreen platform, without a display). It comes with the songbook's module, so that every
// other command starts without Qt Gui.
bool needsFonts(int argc, char** argv) {
    return argc > 1 && std::strcmp(argv[1], "songbook") == 0;
}

std::unique_ptr<QCoreApplication> makeApplication(int& argc, char** argv) {
    if (needsFonts(argc, argv))
        if (std::unique_ptr<QCoreApplication> application = songbookApplication(argc, argv))
            return application;
    return std::make_unique<QCoreApplication>(argc, argv);
}

const char kExitStatus[] = "Exit status:\n"
                           "  0  the command did its work\n"
                           "  1  it failed; the reason is on standard error\n"
                           "  2  the command line is wrong (unknown command or option, missing "
                           "or extra argument)\n";

QString text(const char* utf8) {
    return QString::fromUtf8(utf8);
}

const Command* findCommand(const QString& name) {
    for (const Command& command : kCommands) {
        if (name == text(command.name))
            return &command;
    }
    return nullptr;
}

QString overview() {
    QString out = QStringLiteral("Usage: songwick-cli COMMAND [ARGUMENT]... [OPTION]...\n"
                                 "       songwick-cli COMMAND --help\n"
                                 "       songwick-cli --help | --version\n"
                                 "Catalogue karaoke files without a display, on the same code "
                                 "as Songwick.\n\nCommands:\n");
    for (const Command& command : kCommands)
        out += QStringLiteral("  %1 %2\n").arg(text(command.name), -13).arg(text(command.summary));
    out += QStringLiteral("\nOptions:\n"
                          "  -h, --help     show this help and exit\n"
                          "  --version      show the version and exit\n\n");
    out += text(kExitStatus);
    out += QStringLiteral("\nThe program keeps its settings in ~/.config/songwick/prop.dat.\n"
                          "See songwick-cli(1) for more.\n");
    return out;
}

QString usageLine(const Command& command) {
    return QStringLiteral("Usage: songwick-cli %1 %2\n")
        .arg(text(command.name), text(command.synopsis));
}

QString commandHelp(const Command& command) {
    QString sentence = text(command.summary);
    sentence[0] = sentence[0].toUpper();
    return usageLine(command) + sentence + QStringLiteral(".\n\nOptions:\n") +
           text(command.options) +
           QStringLiteral("  -h, --help            show this help and exit\n\n") +
           text(kExitStatus);
}

QString tryHelp(const QString& what) {
    return QStringLiteral("Try '%1 --help' for more information.\n").arg(what);
}

bool asksForHelp(const QStringList& arguments) {
    return arguments.contains(QStringLiteral("--help")) || arguments.contains(QStringLiteral("-h"));
}

int runCommand(const Command& command, const QStringList& arguments) {
    const QString name = text(command.name);
    if (asksForHelp(arguments)) {
        printOut(commandHelp(command));
        return 0;
    }
    try {
        return command.run(arguments);
    } catch (const UsageError& error) {
        printError(QStringLiteral("songwick-cli %1: %2\n").arg(name, text(error.what())) +
                   usageLine(command) + tryHelp(QStringLiteral("songwick-cli ") + name));
        return 2;
    } catch (const std::exception& error) {
        printError(QStringLiteral("songwick-cli %1: %2\n").arg(name, text(error.what())));
        return 1;
    }
}

} // namespace

int main(int argc, char** argv) {
    songwick::tuneHeapForLargeTables();
    const std::unique_ptr<QCoreApplication> application = makeApplication(argc, argv);
    // The program's name, so that the scan cache and the rename journal are the windows' own.
    QCoreApplication::setApplicationName(QStringLiteral("songwick"));
    // The messages of the core speak the interface's language, as in the windows.
    const songwick::InstalledLanguage language(
        songwick::interfaceLanguage(songwick::readLanguageChoice(songwick::optionsFilePath())));
    // Arguments are decoded as file names are, so that a name that is not UTF-8 reaches the
    // disk byte for byte.
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << songwick::decodeFileName(QByteArrayView(argv[i]));
    if (arguments.isEmpty()) {
        printError(overview());
        return 2;
    }
    const QString first = arguments.takeFirst();
    if (first == u"--help" || first == u"-h") {
        printOut(overview());
        return 0;
    }
    if (first == u"--version") {
        printOut(QStringLiteral("songwick-cli " SONGWICK_VERSION "\n"));
        return 0;
    }
    if (const Command* command = findCommand(first))
        return runCommand(*command, arguments);
    const QString problem = first.startsWith(u'-') ? QStringLiteral("unknown option '%1'")
                                                   : QStringLiteral("unknown command '%1'");
    printError(QStringLiteral("songwick-cli: ") + problem.arg(first) + QLatin1Char('\n') +
               tryHelp(QStringLiteral("songwick-cli")));
    return 2;
}
