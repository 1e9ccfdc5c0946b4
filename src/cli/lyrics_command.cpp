// lyrics: finds the rows of a list file by the words their songs sing.
#include "catalogue/catalogue_order.h"
#include "catalogue/list_file.h"
#include "cli/cli_support.h"
#include "cli/commands.h"
#include "scan/lyrics_search.h"

#include <unistd.h>

namespace songwick::cli {
namespace {

// The line with the words found in bold where the terminal shows it, as they are elsewhere.
QString markedLine(const MatchedLine& line, bool bold) {
    if (!bold)
        return line.text;
    QString out;
    qsizetype at = 0;
    for (const auto& [start, length] : line.found) {
        out += line.text.mid(at, start - at) + QStringLiteral("\x1b[1m") +
               line.text.mid(start, length) + QStringLiteral("\x1b[0m");
        at = start + length;
    }
    return out + line.text.mid(at);
}

QString rowText(const CatalogueGrid& grid, int row) {
    QStringList cells;
    for (int column = 0; column < grid.columnCount(); ++column)
        cells << grid.cell(column, row);
    return cells.join(QStringLiteral(" | ")) + u'\n';
}

} // namespace

int runLyrics(const QStringList& arguments) {
    const Arguments args(arguments, {QStringLiteral("output")});
    if (args.positional().size() < 2)
        throw UsageError("lyrics takes a list file and at least one word");
    CatalogueGrid grid;
    readListFileAt(args.positional().first(), grid);
    const LyricsQuery query(args.positional().mid(1).join(u' '), false);
    if (query.isEmpty())
        throw UsageError("the words to find hold no letter or digit");

    LyricsSearch search(defaultLyricsIndexPath(), {});
    const bool terminal = ::isatty(STDERR_FILENO) == 1;
    const LyricsCoverage coverage = search.fill(grid, [terminal](int done, int total) {
        if (terminal && (done % 50 == 0 || done == total))
            printError(QStringLiteral("\rreading the words of the songs: %1 of %2 files")
                           .arg(done)
                           .arg(total) +
                       (done == total ? QStringLiteral("\n") : QString()));
    });
    if (!search.problem().isEmpty())
        printError(search.problem() + u'\n');
    const std::vector<int> rows = search.rankedRows(grid, query);
    const int total = grid.dataRowCount();

    if (const auto output = args.option(QStringLiteral("output"))) {
        arrangeRows(grid, rows);
        writeListFile(*output, grid);
    } else {
        const bool bold = ::isatty(STDOUT_FILENO) == 1;
        QString out = rowText(grid, 0);
        for (const int row : rows) {
            out += rowText(grid, row);
            if (const std::optional<MatchedLine> line = search.matchingLine(grid, row, query))
                out += QStringLiteral("    ") + markedLine(*line, bold) + u'\n';
        }
        printOut(out);
    }
    QString summary = QStringLiteral("%1 of %2 rows").arg(rows.size()).arg(total);
    if (!coverage.unknown.empty())
        summary += QStringLiteral("; %1 rows have no words yet, their files not found or not "
                                  "readable (first: row %2, %3)")
                       .arg(coverage.unknown.size())
                       .arg(coverage.unknown.front().row)
                       .arg(coverage.unknown.front().reason);
    printError(summary + u'\n');
    return 0;
}

} // namespace songwick::cli
