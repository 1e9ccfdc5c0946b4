// Times the lyrics index on a tree of karaoke files (bench/make_scan_tree.py real-shaped): the
// structured scan alone and with the indexer filling the index beside it, as the windows run
// it; the first fill (every file read), its size on disk, the second fill (nothing read), and
// queries as the find line asks them while the user types, each with its best row's matching
// line.
// Prints the figures; run by scripts/bench-lyrics, never as a test.
//
// usage: bench_lyrics FOLDER [INDEX]   (INDEX: where to build the index and leave it)

#include "catalogue/record_store.h"
#include "scan/folder_walk.h"
#include "scan/lyrics_indexer.h"
#include "scan/lyrics_search.h"

#include <QDirIterator>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

using namespace songwick;

namespace {

constexpr int kQueryRuns = 5;

CatalogueGrid treeTable(const QString& folder) {
    QStringList paths;
    QDirIterator files(folder, {QStringLiteral("*.kar")}, QDir::Files,
                       QDirIterator::Subdirectories);
    while (files.hasNext())
        paths << files.next();
    paths.sort();
    CatalogueGrid grid(7, int(paths.size()) + 1);
    for (int row = 1; row <= paths.size(); ++row) {
        const QFileInfo file(paths[row - 1]);
        grid.setCell(1, row, file.fileName());
        grid.setCell(2, row, file.absolutePath() + u'/');
        grid.setRowFile(row, RowFile{file.absolutePath() + u'/', file.fileName()});
    }
    return grid;
}

qint64 bytesOnDisk(const QString& path) {
    qint64 total = 0;
    for (const QString& suffix : {QString(), QStringLiteral("-wal"), QStringLiteral("-shm")})
        total += QFileInfo(path + suffix).size();
    return total;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

// A structured scan of the folder, without the scan cache; with an indexer, it is given every
// file. Seconds.
double structuredScan(const QString& folder, LyricsIndexer* indexer) {
    QElapsedTimer timer;
    timer.start();
    RecordStore store;
    WalkOptions options;
    options.reading.reading = KarReading::Structured;
    if (indexer)
        options.structuredRecordMade = [indexer](const QByteArray& path, const QString& page) {
            indexer->add(path, page);
        };
    walkFolder(folder, store, options);
    return double(timer.nsecsElapsed()) / 1e9;
}

// The structured scan alone, then with the indexer beside it into a new index: the scan's time
// and the time until the indexer is done.
void timeScanWithIndexer(const QString& folder) {
    structuredScan(folder, nullptr); // the page cache holds the files
    std::vector<double> alone;
    for (int run = 0; run < 3; ++run)
        alone.push_back(structuredScan(folder, nullptr));
    QTemporaryDir cache;
    LyricsIndexer indexer(cache.filePath(QStringLiteral("lyrics-index.sqlite")), {});
    QElapsedTimer timer;
    timer.start();
    const double withIndexer = structuredScan(folder, &indexer);
    const LyricsIndexer::Progress atScanEnd = indexer.progress();
    indexer.waitUntilFinished({}, {});
    const double indexed = double(timer.nsecsElapsed()) / 1e9;
    std::printf("structured scan: alone %.2f s (median of 3), with the indexer beside it %.2f s "
                "(%d of %d files indexed by then), index filled %.2f s after the scan began\n",
                median(alone), withIndexer, atScanEnd.done, atScanEnd.total, indexed);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: bench_lyrics FOLDER [INDEX]\n");
        return 2;
    }
    const CatalogueGrid grid = treeTable(QString::fromLocal8Bit(argv[1]));
    QTemporaryDir cache;
    const QString path = argc == 3 ? QString::fromLocal8Bit(argv[2])
                                   : cache.filePath(QStringLiteral("lyrics-index.sqlite"));
    std::printf("%d files\n", grid.dataRowCount());
    timeScanWithIndexer(QString::fromLocal8Bit(argv[1]));

    QElapsedTimer timer;
    timer.start();
    LyricsCoverage coverage;
    {
        LyricsSearch search(path, {});
        coverage = search.fill(grid);
    }
    const double fillSeconds = double(timer.nsecsElapsed()) / 1e9;
    std::printf("first fill: %.2f s, %d files read, %d with words, %d without, %zu unknown\n",
                fillSeconds, coverage.filesRead, coverage.withWords, coverage.withoutWords,
                coverage.unknown.size());
    std::printf("index on disk: %.1f MB\n", double(bytesOnDisk(path)) / 1e6);

    LyricsSearch search(path, {});
    timer.restart();
    coverage = search.fill(grid);
    std::printf("second fill: %.3f s, %d files read\n", double(timer.nsecsElapsed()) / 1e9,
                coverage.filesRead);

    // As the find line asks while a host types: prefixes of each word, then the whole words.
    const QStringList typed = {
        QStringLiteral("love you baby"),  QStringLiteral("\"hold me down\""),
        QStringLiteral("never forever"),  QStringLiteral("сердце время"),
        QStringLiteral("\"держи меня\""), QStringLiteral("remember tonight why"),
        QStringLiteral("summer rain"),    QStringLiteral("ещё раз снова"),
    };
    std::vector<double> times;
    double slowest = 0;
    QString slowestQuery;
    std::size_t rowsFound = 0;
    for (int run = 0; run < kQueryRuns; ++run) {
        for (const QString& text : typed) {
            for (qsizetype length = 2; length <= text.size(); ++length) {
                const QString part = text.left(length);
                timer.restart();
                const LyricsQuery query(part, true);
                const std::vector<int> rows = search.rankedRows(grid, query);
                if (!rows.empty())
                    search.matchingLine(grid, rows.front(), query);
                const double ms = double(timer.nsecsElapsed()) / 1e6;
                times.push_back(ms);
                rowsFound += rows.size();
                if (ms > slowest) {
                    slowest = ms;
                    slowestQuery = part;
                }
            }
        }
    }
    std::vector<double> searchTimes;
    int ranked = 0;
    for (const QString& text : typed) {
        const LyricsQuery query(text, true);
        timer.restart();
        const LyricsIndex::Hits hits = search.index().search(query.indexExpression());
        ranked += hits.ranked ? 1 : 0;
        searchTimes.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::printf("full-text search alone: median %.2f ms, %d of %zu ranked\n", median(searchTimes),
                ranked, searchTimes.size());
    std::printf("queries: %zu, median %.2f ms, slowest %.2f ms (\"%s\"), %.0f rows found on "
                "average\n",
                times.size(), median(times), slowest, slowestQuery.toUtf8().constData(),
                double(rowsFound) / double(times.size()));
    return 0;
}
