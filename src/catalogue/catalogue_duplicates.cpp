#include "catalogue/catalogue_duplicates.h"

#include "catalogue/catalogue_find.h"
#include "catalogue/catalogue_order.h"
#include "catalogue/catalogue_record.h"
#include "catalogue/catalogue_table.h"
#include "catalogue/song_words.h"
#include "common/file_descriptor.h"
#include "common/file_name_codec.h"

#include <QCoreApplication>
#include <QHash>
#include <QSet>
#include <algorithm>
#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <memory>
#include <new>
#include <numeric>
#include <optional>
#include <sys/stat.h>
#include <thread>
#include <tuple>
#include <xxhash.h>

namespace songwick {
namespace {

using namespace Qt::StringLiterals;

constexpr int kFileNameColumn = 1 + FileNameField;

QString baseName(const QString& fileName) {
    const qsizetype dot = fileName.lastIndexOf(u'.');
    return dot > 0 ? fileName.left(dot) : fileName;
}

// Union of row sets, by the smallest row of each set.
class RowSets {
public:
    explicit RowSets(int rows) : parent_(std::size_t(rows) + 1) {
        std::iota(parent_.begin(), parent_.end(), 0);
    }
    int find(int row) {
        while (parent_[std::size_t(row)] != row)
            row = parent_[std::size_t(row)] = parent_[std::size_t(parent_[std::size_t(row)])];
        return row;
    }
    void join(int a, int b) {
        a = find(a);
        b = find(b);
        if (a != b)
            parent_[std::size_t(std::max(a, b))] = std::min(a, b);
    }

private:
    std::vector<int> parent_;
};

// The 128-bit hash of a file's bytes, read once through one buffer; none for a file that
// cannot be read (it is compared with none).
class ContentHasher {
public:
    std::optional<XXH128_hash_t> hash(const QByteArray& path) {
        // Not blocked by a pipe put in a file's place since it was looked at.
        const FileDescriptor file(::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
        if (!file.isOpen())
            return std::nullopt;
        XXH3_128bits_reset(state_.get());
        for (;;) {
            const ssize_t got = ::read(file.get(), buffer_.data(), buffer_.size());
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0)
                return std::nullopt;
            if (got == 0)
                return XXH3_128bits_digest(state_.get());
            XXH3_128bits_update(state_.get(), buffer_.data(), std::size_t(got));
        }
    }

private:
    struct StateDeleter {
        void operator()(XXH3_state_t* state) const { XXH3_freeState(state); }
    };
    static XXH3_state_t* newState() {
        XXH3_state_t* state = XXH3_createState();
        if (state == nullptr)
            throw std::bad_alloc();
        return state;
    }

    std::unique_ptr<XXH3_state_t, StateDeleter> state_{newState()};
    std::vector<char> buffer_ = std::vector<char>(64 * 1024);
};

using FileHashes = std::vector<std::optional<XXH128_hash_t>>;

// The hashes of the files (none for one that cannot be read), on every core: each thread takes
// the next block of files in order, the calling thread the first. It reports after each of its
// files and asks whether to stop; none when it was told to.
std::optional<FileHashes> hashFiles(const std::vector<QByteArray>& paths,
                                    const DuplicateSearch& search) {
    constexpr std::size_t kBlock = 16;
    const std::size_t count = paths.size();
    FileHashes hashes(count);
    std::atomic<std::size_t> nextBlock{kBlock}; // the first block is the calling thread's
    std::atomic<int> hashed{0};
    std::atomic<bool> stop{false};
    const auto hashBlocks = [&](ContentHasher& hasher, std::size_t first,
                                const std::function<bool()>& goOn) {
        for (; !stop && first < count; first = nextBlock.fetch_add(kBlock)) {
            for (std::size_t i = first; i < std::min(first + kBlock, count); ++i) {
                hashes[i] = hasher.hash(paths[i]);
                ++hashed;
                if (!goOn()) {
                    stop = true;
                    return;
                }
            }
        }
    };
    const unsigned threads = std::clamp(std::thread::hardware_concurrency(), 1u, 4u);
    // Made here, so that a failure to make one is thrown here and not in a helper.
    std::vector<ContentHasher> hashers(threads);
    int reported = 0;
    {
        std::vector<std::jthread> helpers;
        for (unsigned thread = 1; thread < threads; ++thread)
            helpers.emplace_back([&, thread] {
                hashBlocks(hashers[thread], nextBlock.fetch_add(kBlock), [&stop] { return !stop; });
            });
        hashBlocks(hashers[0], 0, [&] {
            reported = hashed;
            if (search.fileRead)
                search.fileRead(reported, int(count));
            return !(search.interruptRequested && search.interruptRequested());
        });
    }
    if (stop)
        return std::nullopt;
    // The helpers' last files.
    if (search.fileRead && reported < int(count))
        search.fileRead(int(count), int(count));
    return hashes;
}

// The size of a plain file at an absolute path (its file-name bytes); none for anything else.
std::optional<qint64> plainFileSize(const QByteArray& path) {
    struct stat status {};
    if (!path.startsWith('/') || ::stat(path.constData(), &status) != 0 || !S_ISREG(status.st_mode))
        return std::nullopt;
    return qint64(status.st_size);
}

struct FileContent {
    qint64 size;
    XXH128_hash_t hash;
    int row;

    auto key() const { return std::tuple(size, hash.high64, hash.low64); }
};

// Reads the files whose size another row's file shares, about in table order (the order of the
// walk, folder by folder), and joins the rows whose files agree in size and hash. False when the
// search was asked to stop.
bool joinIdenticalFiles(const CatalogueGrid& grid, const DuplicateSearch& search, RowSets& sets) {
    const int rows = grid.dataRowCount();
    std::vector<QByteArray> paths(std::size_t(rows) + 1);
    std::vector<qint64> sizes(std::size_t(rows) + 1, -1);
    QHash<qint64, int> rowsOfSize;
    for (int row = 1; row <= rows; ++row) {
        paths[std::size_t(row)] =
            encodeFileName(search.filePath ? search.filePath(row) : rowFilePath(grid, row));
        if (const std::optional<qint64> size = plainFileSize(paths[std::size_t(row)])) {
            sizes[std::size_t(row)] = *size;
            ++rowsOfSize[*size];
        }
    }
    std::vector<int> toRead;
    for (int row = 1; row <= rows; ++row)
        if (sizes[std::size_t(row)] >= 0 && rowsOfSize.value(sizes[std::size_t(row)]) > 1)
            toRead.push_back(row);

    std::vector<QByteArray> toReadPaths;
    toReadPaths.reserve(toRead.size());
    for (const int row : toRead)
        toReadPaths.push_back(paths[std::size_t(row)]);
    const std::optional<FileHashes> hashes = hashFiles(toReadPaths, search);
    if (!hashes)
        return false;
    std::vector<FileContent> contents;
    contents.reserve(toRead.size());
    for (std::size_t i = 0; i < toRead.size(); ++i)
        if (const std::optional<XXH128_hash_t>& hash = (*hashes)[i])
            contents.push_back({sizes[std::size_t(toRead[i])], *hash, toRead[i]});
    std::sort(contents.begin(), contents.end(),
              [](const FileContent& a, const FileContent& b) { return a.key() < b.key(); });
    for (std::size_t i = 1; i < contents.size(); ++i)
        if (contents[i].key() == contents[i - 1].key())
            sets.join(contents[i - 1].row, contents[i].row);
    return true;
}

struct FoldedSong {
    QString performer; // folded; empty when the row names none
    QString title;     // folded; empty when the row names no song
    bool squashed = false;
};

// Joins a squashed title with the spaced title it abbreviates, when the performers agree or
// one of them is missing.
void joinSquashedTitles(const std::vector<FoldedSong>& songs,
                        const QHash<QString, std::vector<int>>& rowsByKey, RowSets& sets) {
    QHash<QChar, std::vector<int>> spacedByFirstLetter; // one row for each song
    bool anySquashed = false;
    for (const std::vector<int>& sameSong : rowsByKey) {
        const FoldedSong& song = songs[std::size_t(sameSong.front())];
        anySquashed = anySquashed || song.squashed;
        if (song.title.contains(u' '))
            spacedByFirstLetter[song.title.front()].push_back(sameSong.front());
    }
    if (!anySquashed)
        return;
    for (const std::vector<int>& sameSong : rowsByKey) {
        const FoldedSong& squashed = songs[std::size_t(sameSong.front())];
        if (!squashed.squashed)
            continue;
        for (const int row : spacedByFirstLetter.value(squashed.title.front())) {
            const FoldedSong& spaced = songs[std::size_t(row)];
            const bool performersAgree = squashed.performer.isEmpty() ||
                                         spaced.performer.isEmpty() ||
                                         squashed.performer == spaced.performer;
            if (performersAgree && abbreviatesTitle(squashed.title, spaced.title))
                sets.join(sameSong.front(), row);
        }
    }
}

// A file name taken apart into its numbers (a part's, a movement's) and the rest.
struct PieceName {
    QString rest;
    QString numbers;
};

// None when the file name does not name the song's title (then its numbers are no part's).
std::optional<PieceName> pieceName(const QString& fileName, const QString& title) {
    static const QStringList partWords = {u"part"_s, u"pt"_s, u"movement"_s, u"mvt"_s,
                                          u"act"_s,  u"no"_s, u"часть"_s,    u"ч"_s};
    static const QStringList romans = {u"i"_s,   u"ii"_s,   u"iii"_s, u"iv"_s, u"v"_s,  u"vi"_s,
                                       u"vii"_s, u"viii"_s, u"ix"_s,  u"x"_s,  u"xi"_s, u"xii"_s};
    const QString folded = foldedForFind(baseName(fileName));
    if (!folded.contains(title))
        return std::nullopt;
    QString spaced;
    for (qsizetype i = 0; i < folded.size(); ++i) {
        if (i > 0 && folded[i].isDigit() != folded[i - 1].isDigit() && folded[i] != u' ' &&
            folded[i - 1] != u' ')
            spaced += u' ';
        spaced += folded[i];
    }
    PieceName name;
    QStringList rest;
    QString previous;
    for (const QString& word : spaced.split(u' ', Qt::SkipEmptyParts)) {
        bool isDigits = true;
        for (const QChar c : word)
            isDigits = isDigits && c.isDigit();
        if (isDigits) {
            QString number = word;
            while (number.size() > 1 && number.front() == u'0')
                number.remove(0, 1);
            name.numbers += number + u' ';
        } else if (partWords.contains(previous) && romans.contains(word)) {
            name.numbers += word + u' ';
        } else {
            rest << word;
        }
        previous = word;
    }
    name.rest = rest.join(u' ');
    return name;
}

// Joins rows that name the same song, except those whose file names name the song with
// different numbers ("Interlude 1", "Interlude 2"; "Suite, part I", "part II"): those are
// different pieces of one work, each joined only with the rows of its own number.
void joinSamePieces(const CatalogueGrid& grid, const std::vector<int>& sameSong,
                    const std::vector<FoldedSong>& songs, RowSets& sets) {
    const QString& title = songs[std::size_t(sameSong.front())].title;
    std::vector<PieceName> names;
    QHash<QString, QSet<QString>> numbersByRest;
    for (const int row : sameSong) {
        names.push_back(pieceName(grid.cell(kFileNameColumn, row), title).value_or(PieceName()));
        const PieceName& name = names.back();
        if (!name.numbers.isEmpty() && name.rest.contains(title))
            numbersByRest[name.rest].insert(name.numbers);
    }
    if (numbersByRest.isEmpty()) {
        for (const int row : sameSong)
            sets.join(sameSong.front(), row);
        return;
    }
    int others = -1;
    QHash<QString, int> firstOfPiece;
    for (std::size_t i = 0; i < sameSong.size(); ++i) {
        const int row = sameSong[i];
        const PieceName& name = names[i];
        if (!name.numbers.isEmpty() && numbersByRest.value(name.rest).size() > 1) {
            const auto found = firstOfPiece.constFind(name.rest + u'\n' + name.numbers);
            if (found == firstOfPiece.constEnd())
                firstOfPiece.insert(name.rest + u'\n' + name.numbers, row);
            else
                sets.join(*found, row);
        } else if (others < 0) {
            others = row;
        } else {
            sets.join(others, row);
        }
    }
}

} // namespace

QString rowFilePath(const CatalogueGrid& grid, int row) {
    const std::optional<RowFile>& file = grid.rowFile(row);
    if (!file || !isAbsoluteFolderPath(file->folder) || !isFileName(file->name))
        return {};
    return file->path();
}

qsizetype performerTitleDash(QStringView text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c != u'-' && c != u'\u2013' && c != u'\u2014')
            continue;
        const bool blankBefore = i > 0 && text[i - 1].isSpace();
        const bool blankAfter = i + 1 < text.size() && text[i + 1].isSpace();
        if (blankBefore || blankAfter)
            return i;
    }
    return -1;
}

std::vector<std::vector<int>> repeatGroups(const CatalogueGrid& grid) {
    return repeatGroups(grid, DuplicateSearch()).value();
}

std::optional<std::vector<std::vector<int>>> repeatGroups(const CatalogueGrid& grid,
                                                          DuplicateSearch search) {
    search.compareContents = true;
    search.filePath = {};
    return interruptibleDuplicateGroups(grid, search);
}

std::vector<std::vector<int>> duplicateGroups(const CatalogueGrid& grid,
                                              const DuplicateSearch& search) {
    return interruptibleDuplicateGroups(grid, search).value_or(std::vector<std::vector<int>>());
}

std::optional<std::vector<std::vector<int>>>
interruptibleDuplicateGroups(const CatalogueGrid& grid, const DuplicateSearch& search) {
    const int rows = grid.dataRowCount();
    RowSets sets(rows);
    const SongReader reader(grid);
    std::vector<FoldedSong> songs(std::size_t(rows) + 1);
    QHash<QString, std::vector<int>> rowsByKey;
    rowsByKey.reserve(rows);
    for (int row = 1; row <= rows; ++row) {
        const RowSong song = reader.song(row);
        FoldedSong& folded = songs[std::size_t(row)];
        folded.title = foldedSongName(song.title);
        if (folded.title.isEmpty())
            continue;
        folded.performer = foldedSongName(song.performer);
        folded.squashed = isSquashedTitle(song.title, folded.title);
        rowsByKey[folded.performer + u'\n' + folded.title].push_back(row);
    }
    for (const std::vector<int>& sameSong : std::as_const(rowsByKey))
        if (sameSong.size() > 1)
            joinSamePieces(grid, sameSong, songs, sets);
    joinSquashedTitles(songs, rowsByKey, sets);
    if (search.compareContents && !joinIdenticalFiles(grid, search, sets))
        return std::nullopt;

    std::vector<int> groupOf(std::size_t(rows) + 1, -1);
    std::vector<std::vector<int>> groups;
    std::vector<int> sizes(std::size_t(rows) + 1, 0);
    for (int row = 1; row <= rows; ++row)
        ++sizes[std::size_t(sets.find(row))];
    for (int row = 1; row <= rows; ++row) {
        const int root = sets.find(row);
        if (sizes[std::size_t(root)] < 2)
            continue;
        if (groupOf[std::size_t(root)] < 0) {
            groupOf[std::size_t(root)] = int(groups.size());
            groups.emplace_back();
        }
        groups[std::size_t(groupOf[std::size_t(root)])].push_back(row);
    }
    return groups;
}

std::vector<char> rowsNamingSharedSongs(const CatalogueGrid& grid) {
    const int rows = grid.dataRowCount();
    std::vector<char> shared(std::size_t(rows) + 1, 0);
    for (const std::vector<int>& group : repeatGroups(grid))
        for (const int row : group)
            shared[std::size_t(row)] = 1;
    return shared;
}

std::vector<int> groupedRowOrder(int dataRowCount, const std::vector<std::vector<int>>& groups) {
    std::vector<int> anchor(std::size_t(std::max(dataRowCount, 0)) + 1);
    std::iota(anchor.begin(), anchor.end(), 0);
    for (const std::vector<int>& group : groups) {
        const int first = *std::min_element(group.begin(), group.end());
        for (const int row : group)
            anchor[std::size_t(row)] = first;
    }
    std::vector<int> order(std::size_t(std::max(dataRowCount, 0)));
    std::iota(order.begin(), order.end(), 1);
    std::stable_sort(order.begin(), order.end(), [&anchor](int a, int b) {
        return anchor[std::size_t(a)] < anchor[std::size_t(b)];
    });
    return order;
}

DuplicatesFound arrangeDuplicateGroups(CatalogueGrid& grid,
                                       const std::vector<std::vector<int>>& groups) {
    DuplicatesFound found;
    if (groups.empty())
        return found;
    const std::vector<int> order = groupedRowOrder(grid.dataRowCount(), groups);
    std::vector<int> newRowOf(order.size() + 1);
    for (std::size_t i = 0; i < order.size(); ++i)
        newRowOf[std::size_t(order[i])] = int(i) + 1;
    arrangeRows(grid, order);
    for (const std::vector<int>& group : groups) {
        std::vector<int> rows;
        for (const int row : group)
            rows.push_back(newRowOf[std::size_t(row)]);
        std::sort(rows.begin(), rows.end());
        if (isMarked(grid, rows.front()))
            toggleMark(grid, rows.front());
        for (std::size_t i = 1; i < rows.size(); ++i) {
            if (!isMarked(grid, rows[i]))
                toggleMark(grid, rows[i]);
            ++found.duplicateRows;
        }
        ++found.groupCount;
    }
    return found;
}

QString duplicatesFoundMessage(const DuplicatesFound& found) {
    return QCoreApplication::translate("songwick::Catalogue", "Найдено повторов: %1 в %2 группах")
        .arg(found.duplicateRows)
        .arg(found.groupCount);
}

} // namespace songwick
