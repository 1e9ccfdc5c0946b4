// Times the comparison of contents of "Найти повторы" on a generated collection of copies:
// file sizes spread as in real collections (median 40 KB, nine in ten under 80 KB), every
// song in one to four copies, so that nearly every file shares its size with another. Prints
// the medians of the search, of the same files read in this process (open, read 64 KiB at a
// time, close) and of cat reading them, all warm.
//
// bench_repeats [FOLDER [FILES]]: the tree is made in FOLDER (default: a temporary folder)
// unless it is there already; FILES defaults to 45,000.

#include "catalogue/catalogue_duplicates.h"
#include "catalogue/catalogue_table.h"
#include "common/file_descriptor.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <random>
#include <vector>

using namespace songwick;

namespace {

constexpr int kRuns = 7;
constexpr int kFilesPerFolder = 500;

struct TreeFile {
    QString folder; // ends with "/"
    QString name;
};

// Songs of lognormal sizes, each written one to four times, the copies spread over the folders.
std::vector<TreeFile> makeTree(const QString& root, int files) {
    std::mt19937_64 random(20261209);
    std::lognormal_distribution<double> size(std::log(40.0 * 1024), 0.541);
    std::uniform_int_distribution<int> copies(1, 4);
    std::vector<TreeFile> tree;
    const bool exists = QFileInfo::exists(root + QStringLiteral("/.complete"));
    for (int song = 0; int(tree.size()) < files; ++song) {
        // The sizes and copies come out the same whether the tree is made or found.
        const double songSize = std::clamp(size(random), 2048.0, 2.0 * 1024 * 1024);
        QByteArray bytes;
        if (!exists) {
            std::mt19937_64 content{quint64(song)};
            bytes.resize(qsizetype(songSize));
            for (qsizetype i = 0; i + 8 <= bytes.size(); i += 8) {
                const quint64 word = content();
                std::memcpy(bytes.data() + i, &word, 8);
            }
        }
        const int count = std::min(copies(random), files - int(tree.size()));
        for (int copy = 0; copy < count; ++copy) {
            const int index = int(tree.size());
            // Copies land in different folders, as collections gathered from several sources.
            const int spread = (index * 7919) % files;
            TreeFile file{QStringLiteral("%1/%2/").arg(root).arg(spread / kFilesPerFolder, 3, 10,
                                                                 QChar(u'0')),
                          QStringLiteral("song %1 copy %2.kar").arg(song).arg(copy)};
            if (!exists) {
                QDir().mkpath(file.folder);
                QFile out(file.folder + file.name);
                if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size()) {
                    std::fprintf(stderr, "cannot write %s\n", qPrintable(out.fileName()));
                    std::exit(1);
                }
            }
            tree.push_back(std::move(file));
        }
    }
    QFile(root + QStringLiteral("/.complete")).open(QIODevice::WriteOnly);
    return tree;
}

// The medians of the measures, taken in turns (one run of each, then the next round), so that
// a disturbance on the machine falls on all of them alike.
std::vector<double> alternatingMedians(const std::vector<std::function<void()>>& measures) {
    std::vector<std::vector<double>> seconds(measures.size());
    for (int round = 0; round < kRuns; ++round) {
        for (std::size_t i = 0; i < measures.size(); ++i) {
            QElapsedTimer clock;
            clock.start();
            measures[i]();
            seconds[i].push_back(double(clock.nsecsElapsed()) / 1e9);
        }
    }
    std::vector<double> medians;
    for (std::vector<double>& runs : seconds) {
        std::sort(runs.begin(), runs.end());
        medians.push_back(runs[runs.size() / 2]);
    }
    return medians;
}

qint64 readInOneProcess(const std::vector<QByteArray>& paths) {
    std::vector<char> buffer(64 * 1024);
    qint64 total = 0;
    for (const QByteArray& path : paths) {
        const FileDescriptor file(::open(path.constData(), O_RDONLY | O_CLOEXEC));
        ssize_t got;
        while (file.isOpen() && (got = ::read(file.get(), buffer.data(), buffer.size())) > 0)
            total += got;
    }
    return total;
}

} // namespace

int main(int argc, char** argv) {
    QTemporaryDir temporary;
    const QString root = argc > 1 ? QString::fromLocal8Bit(argv[1]) : temporary.path();
    const int files = argc > 2 ? std::atoi(argv[2]) : 45000;
    const std::vector<TreeFile> tree = makeTree(root, files);

    CatalogueGrid grid;
    prepareGrid(grid, int(tree.size()));
    for (std::size_t i = 0; i < tree.size(); ++i) {
        const int row = int(i) + 1;
        grid.setCell(1, row, tree[i].name);
        grid.setCell(2, row, tree[i].folder);
        grid.setCell(3, row, tree[i].name.section(u' ', 0, 1)); // one title for a song's copies
        grid.setRowFile(row, RowFile{tree[i].folder, tree[i].name});
    }

    // The files the search reads: those of a size another file has.
    QHash<qint64, int> ofSize;
    for (const TreeFile& file : tree)
        ++ofSize[QFileInfo(file.folder + file.name).size()];
    std::vector<QByteArray> colliding;
    qint64 bytes = 0;
    for (const TreeFile& file : tree) {
        const qint64 size = QFileInfo(file.folder + file.name).size();
        if (ofSize.value(size) > 1) {
            colliding.push_back(QFile::encodeName(file.folder + file.name));
            bytes += size;
        }
    }
    const QString listPath = root + QStringLiteral("/.colliding");
    {
        QFile list(listPath);
        list.open(QIODevice::WriteOnly);
        for (const QByteArray& path : colliding)
            list.write(path + '\0');
    }
    const QByteArray catCommand =
        "xargs -0 -a '" + QFile::encodeName(listPath) + "' cat > /dev/null";

    DuplicateSearch contentsOnly;
    contentsOnly.compareContents = true;
    CatalogueGrid untitled = grid;
    for (int row = 1; row <= untitled.dataRowCount(); ++row)
        untitled.setCell(3, row, QString());
    readInOneProcess(colliding); // warm
    std::size_t groups = 0;
    std::size_t copies = 0; // files identical to an earlier one
    const std::vector<double> medians = alternatingMedians({
        [&] { groups = repeatGroups(grid).size(); },
        [&] {
            copies = 0;
            for (const std::vector<int>& group : duplicateGroups(untitled, contentsOnly))
                copies += group.size() - 1;
        },
        [&] { readInOneProcess(colliding); },
        [&] {
            if (std::system(catCommand.constData()) != 0)
                std::fprintf(stderr, "cat failed\n");
        },
    });
    const double search = medians[0], contents = medians[1], oneProcess = medians[2],
                 cat = medians[3];

    std::printf("%zu files, %zu of a shared size (%.0f MB), %zu groups; %d runs each in turns, "
                "warm, medians:\n",
                tree.size(), colliding.size(), double(bytes) / 1e6, groups, kRuns);
    std::printf("  %-44s %7.3f s\n", "repeatGroups (names and contents)", search);
    std::printf("  %-44s %7.3f s (%zu copies of an earlier file)\n", "comparison of contents alone",
                contents, copies);
    std::printf("  %-44s %7.3f s\n", "read of those files in one process", oneProcess);
    std::printf("  %-44s %7.3f s\n", "cat of those files (xargs)", cat);
    std::printf("  contents / one-process read %.2fx, / cat %.2fx; whole search / cat %.2fx\n",
                contents / oneProcess, contents / cat, search / cat);
    return 0;
}
