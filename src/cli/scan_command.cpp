#include "catalogue/catalogue_table.h"
#include "catalogue/list_file.h"
#include "cli/cli_support.h"
#include "cli/commands.h"
#include "common/error.h"
#include "common/file_name_codec.h"
#include "common/file_write.h"
#include "common/system_error.h"
#include "scan/folder_walk.h"
#include "scan/lyrics_index.h"
#include "scan/lyrics_indexer.h"
#include "scan/scan_cache.h"
#include "settings/settings_file.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <algorithm>
#include <memory>
#include <optional>
#include <system_error>
#include <thread>
#include <unistd.h>

namespace songwick::cli {
namespace {

ScanWindow parseWindow(const std::optional<QString>& value) {
    if (!value || *value == QStringLiteral("start"))
        return ScanWindow::Start;
    if (*value == QStringLiteral("main"))
        return ScanWindow::Main;
    throw UsageError("--window takes start or main");
}

ReadingOptions parseReading(const Arguments& args) {
    ReadingOptions reading;
    const auto method = args.option(QStringLiteral("reading"));
    if (method && *method == readingName(KarReading::Structured))
        reading.reading = KarReading::Structured;
    else if (method && *method != readingName(KarReading::Program))
        throw UsageError("--reading takes program or structured");
    if (const auto codePage = args.option(QStringLiteral("codepage"))) {
        if (*codePage != kAutomaticCodePage && !findCodePage(*codePage))
            throw UsageError("--codepage takes auto or one of: " +
                             knownCodePageKeys().join(QStringLiteral(", ")).toStdString());
        reading.structured.codePage = *codePage;
    }
    return reading;
}

// The table as readable UTF-8 lines: the number, then the six texts separated by " | ".
QString readableTable(const CatalogueGrid& grid) {
    QString out;
    for (int row = 0; row < grid.rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < grid.columnCount(); ++column)
            cells << grid.cell(column, row);
        out += cells.join(QStringLiteral(" | ")) + QLatin1Char('\n');
    }
    return out;
}

// A progress line on a terminal, rewritten in place.
class ProgressLine {
public:
    ProgressLine() : enabled_(::isatty(STDERR_FILENO) == 1) {}
    ~ProgressLine() {
        if (enabled_ && steps_ > 0)
            printError(QStringLiteral("\r\033[K"));
    }
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;

    void step(const RecordStore& store) {
        show(QStringLiteral("Scanning... %1 karaoke files so far").arg(store.count()));
    }

    void show(const QString& line) {
        ++steps_;
        if (enabled_)
            printError(QStringLiteral("\r") + line);
    }

private:
    bool enabled_;
    int steps_ = 0;
};

// "K folders could not be read: A, B, C…", the first few named.
QString unreadableFoldersLine(const std::vector<UnreadableFolder>& folders) {
    constexpr std::size_t kFoldersNamed = 3;
    QStringList named;
    for (std::size_t i = 0; i < std::min(folders.size(), kFoldersNamed); ++i)
        named << displayFileName(folders[i].path);
    return QStringLiteral("%1 folders could not be read: %2%3\n")
        .arg(folders.size())
        .arg(named.join(QStringLiteral(", ")),
             folders.size() > kFoldersNamed ? QStringLiteral("…") : QString());
}

} // namespace

int runScan(const QStringList& arguments) {
    const Arguments args(
        arguments,
        {QStringLiteral("window"), QStringLiteral("settings"), QStringLiteral("output"),
         QStringLiteral("reading"), QStringLiteral("codepage")},
        {QStringLiteral("no-cache"), QStringLiteral("stats"), QStringLiteral("lyrics")});
    if (args.positional().size() != 1)
        throw UsageError("scan takes one folder");
    const QString given = args.positional().first();
    if (!QFileInfo(given).isDir())
        throw Error(
            QCoreApplication::translate("songwick::Cli", "Папка не найдена: %1").arg(given));
    // An absolute, clean path: a relative "a/../b" would make every file a parent reference.
    const QString folder = QDir::cleanPath(QFileInfo(given).absoluteFilePath());

    WalkOptions options;
    options.window = parseWindow(args.option(QStringLiteral("window")));
    options.reading = parseReading(args);
    if (const auto settingsPath = args.option(QStringLiteral("settings")))
        options.manyFilesScan = readManyFilesScan(*settingsPath);
    if (!args.flag(QStringLiteral("no-cache")))
        options.scanCachePath = defaultScanCachePath();
    std::unique_ptr<LyricsIndexer> indexer;
    if (args.flag(QStringLiteral("lyrics"))) {
        if (options.reading.reading != KarReading::Structured)
            throw UsageError("--lyrics takes --reading structured");
        indexer =
            std::make_unique<LyricsIndexer>(defaultLyricsIndexPath(), options.reading.structured);
        options.structuredRecordMade = [&indexer](const QByteArray& path, const QString& page) {
            indexer->add(path, page);
        };
    }

    auto store = std::make_unique<RecordStore>();
    WalkResult result;
    QElapsedTimer clock;
    clock.start();
    {
        ProgressLine progress;
        result = walkFolder(folder, *store, options, [&] { progress.step(*store); });
        if (indexer)
            indexer->waitUntilFinished(
                [&progress](int done, int total) {
                    progress.show(QStringLiteral("Reading lyrics... %1 of %2 files\033[K")
                                      .arg(done)
                                      .arg(total));
                },
                {});
    }

    const qint64 walkMs = clock.elapsed();
    // Nothing was scanned at all: a failure, not an empty table.
    if (result.chosenFolderUnreadable)
        throw Error(systemErrorMessage(QStringLiteral("прочитать папку"), folder,
                                       result.unreadableFolders.front().error));
    if (!result.cacheProblem.isEmpty())
        printError(result.cacheProblem + QLatin1Char('\n'));

    auto grid = std::make_unique<CatalogueGrid>();
    rebuildFromStore(*grid, *store);
    if (const auto output = args.option(QStringLiteral("output"))) {
        const QByteArray bytes = listFileBytes(*grid);
        // The table's memory is given back on another thread while the file goes to the disk
        // (here, where no thread is to be had).
        std::optional<std::jthread> release;
        try {
            release.emplace([table = std::move(grid), records = std::move(store)] {});
        } catch (const std::system_error&) {
        }
        writeFileAtomically(*output, bytes);
    } else {
        printOut(readableTable(*grid));
    }

    if (result.overloaded())
        printError(overloadMessage() + QLatin1Char('\n'));
    for (const QString& message : {limitMessage(result), unreadableMessage(result)}) {
        if (!message.isEmpty())
            printError(message + QLatin1Char('\n'));
    }
    printError(QStringLiteral("%1 files in %2 folders, %3 unreadable\n")
                   .arg(result.recordsAdded)
                   .arg(result.listings)
                   .arg(result.unreadableCount));
    if (!result.unreadableFolders.empty())
        printError(unreadableFoldersLine(result.unreadableFolders));
    if (args.flag(QStringLiteral("stats")))
        printError(QStringLiteral("stats: files %1, folders %2, bytes read %3, cache hits %4, "
                                  "cache misses %5, walk %6 s, total %7 s\n")
                       .arg(result.recordsAdded)
                       .arg(result.listings)
                       .arg(result.bytesRead)
                       .arg(result.cacheHits)
                       .arg(result.cacheMisses)
                       .arg(walkMs / 1000.0, 0, 'f', 3)
                       .arg(clock.elapsed() / 1000.0, 0, 'f', 3));
    return 0;
}

} // namespace songwick::cli
