// find, sort, duplicates and songbook: work on a list file's table without a display.
#include "catalogue/catalogue_duplicates.h"
#include "catalogue/catalogue_find.h"
#include "catalogue/catalogue_order.h"
#include "catalogue/list_file.h"
#include "catalogue/songbook_pdf.h"
#include "cli/cli_support.h"
#include "cli/commands.h"
#include "cli/songbook_module.h"
#include "common/date_time.h"
#include "settings/options_file.h"

#include <algorithm>
#include <unistd.h>

namespace songwick::cli {
namespace {

CatalogueGrid readList(const QString& path) {
    CatalogueGrid grid;
    readListFileAt(path, grid);
    return grid;
}

// The rows as the scan command prints a table: cells separated by " | ", header row first.
QString readableRows(const CatalogueGrid& grid, const std::vector<int>& rows) {
    QString out;
    const auto appendRow = [&](int row) {
        QStringList cells;
        for (int column = 0; column < grid.columnCount(); ++column)
            cells << grid.cell(column, row);
        out += cells.join(QStringLiteral(" | ")) + QLatin1Char('\n');
    };
    appendRow(0);
    for (const int row : rows)
        appendRow(row);
    return out;
}

// The comparison of contents on a terminal: one line rewritten in place, about a hundred
// times in all.
class ComparisonProgress {
public:
    ComparisonProgress() : enabled_(::isatty(STDERR_FILENO) == 1) {}
    ~ComparisonProgress() {
        if (shown_)
            printError(QStringLiteral("\r\033[K"));
    }
    ComparisonProgress(const ComparisonProgress&) = delete;
    ComparisonProgress& operator=(const ComparisonProgress&) = delete;

    void fileRead(int read, int toRead) {
        if (!enabled_ || (read % std::max(toRead / 100, 1) != 0 && read != toRead))
            return;
        shown_ = true;
        printError(QStringLiteral("\rComparing files... %1 of %2").arg(read).arg(toRead));
    }

private:
    bool enabled_;
    bool shown_ = false;
};

// Takes the flags out of the arguments (an option without a value), leaving the rest.
bool takeFlag(QStringList& arguments, const QString& name) {
    return arguments.removeAll(QStringLiteral("--") + name) > 0;
}

} // namespace

int runFind(const QStringList& arguments) {
    const Arguments args(arguments, {QStringLiteral("output")});
    if (args.positional().size() < 2)
        throw UsageError("find takes a list file and at least one word");
    CatalogueGrid grid = readList(args.positional().first());
    FindFilters filters;
    filters.text = args.positional().mid(1).join(u' ');
    RowFinder finder;
    const std::vector<int> rows = finder.shownRows(grid, filters);
    if (const auto output = args.option(QStringLiteral("output"))) {
        arrangeRows(grid, rows);
        writeListFile(*output, grid);
    } else {
        printOut(readableRows(grid, rows));
    }
    printError(QStringLiteral("%1 of %2 rows\n").arg(rows.size()).arg(grid.dataRowCount()));
    return 0;
}

int runSort(const QStringList& arguments) {
    QStringList rest = arguments;
    const bool descending = takeFlag(rest, QStringLiteral("descending"));
    const Arguments args(rest, {QStringLiteral("column"), QStringLiteral("output")});
    const auto column = args.option(QStringLiteral("column"));
    const auto output = args.option(QStringLiteral("output"));
    if (args.positional().size() != 1 || !column || !output)
        throw UsageError("sort takes a list file, --column N and --output OUT.swk");
    bool ok = false;
    const int columnNumber = column->toInt(&ok);
    if (!ok || columnNumber < 0 || columnNumber > 6)
        throw UsageError("--column takes a number from 0 to 6");
    CatalogueGrid grid = readList(args.positional().first());
    sortRows(grid, columnNumber, descending ? SortOrder::Descending : SortOrder::Ascending);
    writeListFile(*output, grid);
    return 0;
}

int runDuplicates(const QStringList& arguments) {
    QStringList rest = arguments;
    DuplicateSearch search;
    search.compareContents = takeFlag(rest, QStringLiteral("hash"));
    const Arguments args(rest, {QStringLiteral("output")});
    if (args.positional().size() != 1)
        throw UsageError("duplicates takes one list file");
    CatalogueGrid grid = readList(args.positional().first());
    std::vector<std::vector<int>> groups;
    {
        ComparisonProgress progress;
        search.fileRead = [&progress](int read, int toRead) { progress.fileRead(read, toRead); };
        groups = duplicateGroups(grid, search);
    }
    QString out;
    for (std::size_t i = 0; i < groups.size(); ++i) {
        out += QStringLiteral("group %1\n").arg(i + 1);
        for (const int row : groups[i]) {
            QStringList cells;
            for (int column = 0; column < grid.columnCount(); ++column)
                cells << grid.cell(column, row);
            out += QStringLiteral("  ") + cells.join(QStringLiteral(" | ")) + u'\n';
        }
    }
    printOut(out);
    const DuplicatesFound found = arrangeDuplicateGroups(grid, groups);
    if (const auto output = args.option(QStringLiteral("output")))
        writeListFile(*output, grid);
    printError(duplicatesFoundMessage(found) + u'\n');
    return 0;
}

int runSongbook(const QStringList& arguments) {
    QStringList rest = arguments;
    const bool numbers = takeFlag(rest, QStringLiteral("numbers"));
    const bool index = takeFlag(rest, QStringLiteral("index"));
    const Arguments args(rest, {QStringLiteral("paper"), QStringLiteral("columns"),
                                QStringLiteral("title"), QStringLiteral("settings")});
    if (args.positional().size() != 2)
        throw UsageError("songbook takes a list file and the PDF to write");
    SongbookOptions options;
    if (const auto settingsPath = args.option(QStringLiteral("settings")))
        options = songbookOptionsFrom(*openOptionsFile(optionsFilePathBeside(*settingsPath)));
    options.numbers = options.numbers || numbers;
    options.index = options.index || index;
    if (const auto title = args.option(QStringLiteral("title")))
        options.title = *title;
    if (const auto paper = args.option(QStringLiteral("paper"))) {
        const auto chosen = songbookPaperFromName(*paper);
        if (!chosen)
            throw UsageError("--paper takes a4 or letter");
        options.paper = *chosen;
    }
    if (const auto columns = args.option(QStringLiteral("columns"))) {
        bool ok = false;
        options.columns = columns->toInt(&ok);
        if (!ok || options.columns < 1 || options.columns > 3)
            throw UsageError("--columns takes 1, 2 or 3");
    }
    const CatalogueGrid grid = readList(args.positional().first());
    std::vector<int> rows;
    for (int row = 1; row < grid.rowCount(); ++row)
        rows.push_back(row);
    options.folder = commonFolder(grid, rows);
    options.date = formatDateTime(SystemClock().now(), kPatternDate);
    writeSongbookPdf(args.positional()[1], songbookSections(grid, rows), options,
                     songbookPdfModule().draw);
    return 0;
}

} // namespace songwick::cli
