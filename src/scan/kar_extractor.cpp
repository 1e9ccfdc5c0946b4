#include "scan/kar_extractor.h"

#include "common/cp1251_codec.h"
#include "common/error.h"
#include "common/file_descriptor.h"
#include "common/file_name_codec.h"
#include "common/system_error.h"
#include "scan/byte_search.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>
#include <vector>

namespace songwick {
namespace {

// Name runs are looked for inside one block of the file: a track-name pair whose two
// bytes fall into different blocks is not seen.
constexpr qsizetype kBlockSize = 8192;
// A file no larger than most karaoke files is read whole in its first call, whatever part of
// it is asked for first: a call costs about as much as copying tens of kilobytes, and most
// files are read on to their end or to a track far into them.
constexpr qsizetype kWholeFileRead = 64 * 1024;
constexpr int kNameRunCount = 8;
// The MIDI header chunk in front of the texts of a Soft Karaoke file.
constexpr qsizetype kHeaderChunkSize = 14;
// "@T" and "@I".
constexpr qsizetype kMarkerSize = 2;

using CharacterSet = std::array<bool, 256>;

CharacterSet printableAsciiSet() {
    CharacterSet set{};
    for (int b = 0x20; b <= 0x7E; ++b)
        set[b] = true;
    for (unsigned char excluded : {'$', '[', ']', '^', '{', '}', '~'})
        set[excluded] = false;
    return set;
}

void addCyrillicLetters(CharacterSet& set) {
    for (int b = 0xC0; b <= 0xFF; ++b)
        set[b] = true;
    set[0xA8] = true; // Ё
    set[0xB8] = true; // ё
}

CharacterSet makeNameSet(ScanWindow window) {
    CharacterSet set = printableAsciiSet();
    if (window == ScanWindow::Main) {
        set['<'] = false;
        set['>'] = false;
    }
    addCyrillicLetters(set);
    return set;
}

// Titles keep the Cyrillic letters too, so that a Russian title survives its trim.
CharacterSet makeTitleSet() {
    CharacterSet set = printableAsciiSet();
    addCyrillicLetters(set);
    return set;
}

const CharacterSet& nameSet(ScanWindow window) {
    static const CharacterSet start = makeNameSet(ScanWindow::Start);
    static const CharacterSet main = makeNameSet(ScanWindow::Main);
    return window == ScanWindow::Start ? start : main;
}

const CharacterSet& titleSet() {
    static const CharacterSet set = makeTitleSet();
    return set;
}

bool inSet(const CharacterSet& set, char byte) {
    return set[static_cast<unsigned char>(byte)];
}

// The whole file, already in memory.
class WholeFile final : public KarBytes {
public:
    explicit WholeFile(QByteArrayView bytes) : bytes_(bytes) {}
    QByteArrayView available() const override { return bytes_; }
    bool readUpTo(qsizetype size) override { return size <= bytes_.size(); }

private:
    QByteArrayView bytes_;
};

// The first occurrence of needle at or after from, reading on until it is found or the file
// ends. Only the bytes read on are searched then, with the needle's last bytes before them.
qsizetype findReadingOn(KarBytes& file, qsizetype from, QByteArrayView needle) {
    qsizetype searchFrom = from;
    for (;;) {
        const QByteArrayView bytes = file.available();
        const qsizetype at = findBytes(bytes, searchFrom, needle);
        if (at >= 0)
            return at;
        const qsizetype size = bytes.size();
        if (!file.readUpTo(size + kBlockSize) && file.available().size() == size)
            return -1;
        // A marker may begin in the last bytes already searched.
        searchFrom = std::max(from, size - needle.size() + 1);
    }
}

// The Soft Karaoke reading's searches for its markers "@T" and "@I" through one file, in one
// pass: each marker the pass meets is noted, so that a later search from a position the pass
// has gone by answers from the notes, and the pass goes on only from where it stopped. No byte
// is searched twice, for either marker, however often the reading asks.
class SoftKaraokeMarkers {
public:
    // The first "@" + `letter` at or after from; -1 when the file has none from there on.
    qsizetype find(KarBytes& file, char letter, qsizetype from) {
        if (from < passedFrom_ || from > passedTo_) {
            passedFrom_ = passedTo_ = from;
            met_.clear();
            ended_ = false;
        }
        for (const Met& marker : met_) {
            if (marker.letter == letter && marker.at >= from)
                return marker.at;
        }
        while (passOn(file)) {
            if (met_.back().letter == letter)
                return met_.back().at;
        }
        return -1;
    }

private:
    // Goes on to the next marker, reading on as far as needed, and notes it; false when the
    // file ended first.
    bool passOn(KarBytes& file) {
        while (!ended_) {
            const QByteArrayView bytes = file.available();
            const qsizetype at = findEitherPair(bytes, passedTo_, '@', 'T', 'I');
            if (at >= 0) {
                // The notes are bounded: past the most, the earlier ones are forgotten, and a
                // search from before the ones kept passes again.
                if (met_.size() >= kMostNotes) {
                    met_.clear();
                    passedFrom_ = at;
                }
                met_.push_back({at, bytes[at + 1]});
                passedTo_ = at + 1;
                return true;
            }
            const qsizetype size = bytes.size();
            // A marker may begin at the last byte.
            passedTo_ = std::max(passedTo_, size - 1);
            if (!file.readUpTo(size + kBlockSize) && file.available().size() == size)
                ended_ = true;
        }
        return false;
    }

    static constexpr std::size_t kMostNotes = 64;
    struct Met {
        qsizetype at;
        char letter;
    };
    // Every marker that begins in [passedFrom_, passedTo_) is in met_, in file order.
    qsizetype passedFrom_ = -1;
    qsizetype passedTo_ = -1;
    std::vector<Met> met_;
    bool ended_ = false; // the pass reached the end of the file
};

using NameRuns = std::array<QByteArrayView, kNameRunCount>;

// A block is read in two steps: most files name their track within their first page, and
// the rest of the block is then read only when it can still change the runs.
constexpr qsizetype kFirstPartOfBlock = 4096;

// Cuts the eight runs that follow the track-name pair at `start` of the block's bytes. False
// when a run reached the end of the bytes given, so that more of the block could change it.
bool cutRuns(QByteArrayView block, qsizetype start, const CharacterSet& set, NameRuns& runs) {
    bool withinBytes = true;
    // Each run begins one byte after the previous start position; the byte that ends a
    // run and the byte after it both lie between two runs.
    for (QByteArrayView& run : runs) {
        const qsizetype begin = start + 1;
        qsizetype end = begin;
        while (end < block.size() && inSet(set, block[end]))
            ++end;
        run = begin < block.size() ? block.sliced(begin, end - begin) : QByteArrayView();
        if (end >= block.size())
            withinBytes = false;
        start = end + 1;
    }
    return withinBytes;
}

// Cuts the eight name runs out of the first block that holds a track-name pair FF 03 wholly
// inside it. The runs are views into the bytes available; none when there is no such block.
NameRuns cutNameRuns(KarBytes& file, ScanWindow window) {
    const CharacterSet& set = nameSet(window);
    NameRuns runs;
    for (qsizetype blockStart = 0;; blockStart += kBlockSize) {
        const qsizetype blockEnd = blockStart + kBlockSize;
        for (const qsizetype readTo : {blockStart + kFirstPartOfBlock, blockEnd}) {
            const bool fileGoesOn = file.readUpTo(readTo);
            const bool wholeBlock = readTo == blockEnd || !fileGoesOn;
            const QByteArrayView bytes = file.available();
            if (blockStart >= bytes.size())
                return {};
            const QByteArrayView block =
                bytes.sliced(blockStart, std::min(blockEnd, bytes.size()) - blockStart);
            const qsizetype start = findBytes(block, 0, QByteArrayView("\xFF\x03", 2));
            if (start >= 0 && (cutRuns(block, start, set, runs) || wholeBlock))
                return runs;
            if (wholeBlock)
                break;
        }
    }
}

// Whether the text without its next-to-last character begins with prefix.
bool shortenedStartsWith(QByteArrayView text, QByteArrayView prefix) {
    if (text.size() < 2)
        return text.startsWith(prefix);
    const qsizetype shortened = text.size() - 1;
    if (prefix.size() > shortened)
        return false;
    if (prefix.size() < shortened)
        return text.startsWith(prefix);
    return text.first(shortened - 1) == prefix.first(shortened - 1) && text.back() == prefix.back();
}

// Whether the text without its next-to-last character equals other.
bool shortenedEquals(QByteArrayView text, QByteArrayView other) {
    if (text.size() < 2)
        return text == other;
    return text.size() - 1 == other.size() && shortenedStartsWith(text, other);
}

void applyCredits(NameRuns& runs) {
    const QByteArrayView karMaker(kKarMakerCredit);
    const QByteArrayView second(kSecondCredit);
    QByteArrayView& madeBy = runs[7];
    for (int index : {3, 5}) {
        if (runs[index] == karMaker) {
            madeBy = karMaker;
            runs[index] = {};
        }
    }
    for (int index : {3, 5}) {
        if (shortenedEquals(runs[index], karMaker)) {
            madeBy = karMaker;
            runs[index] = {};
        }
    }
    if (shortenedStartsWith(madeBy, karMaker))
        madeBy = karMaker;
    else if (shortenedStartsWith(madeBy, second))
        madeBy = second;
}

bool isSoftKaraokeTrackName(QByteArrayView name) {
    static const std::array<QByteArrayView, 5> names = {"Soft Karaoke", "Soft karaoke", "Soft Kara",
                                                        "Soft kara", "untitled"};
    return std::find(names.begin(), names.end(), name) != names.end();
}

// A title as positions in the file, so that reading on does not invalidate it.
struct Span {
    qsizetype begin = 0;
    qsizetype end = 0;
};

// Cuts one title off the front of the text at pos: the characters before the next marker less
// the `trailing` bytes of the next event's header that stand in front of the marker.
Span takeTitle(KarBytes& file, qsizetype& pos, SoftKaraokeMarkers& markers, char letter,
               qsizetype trailing, bool consume) {
    const qsizetype at = markers.find(file, letter, pos);
    if (at < 0) {
        // Not found: the whole file has been read.
        if (consume && pos < file.available().size())
            ++pos;
        return {};
    }
    const Span title = at - pos > trailing ? Span{pos, at - trailing} : Span{};
    if (consume)
        pos = at + kMarkerSize;
    return title;
}

// Keeps the part before the first character outside the title set, and the last character.
QByteArray trimmedTitle(QByteArrayView title) {
    const CharacterSet& set = titleSet();
    for (qsizetype i = 0; i + 1 < title.size(); ++i) {
        if (!inSet(set, title[i])) {
            QByteArray kept;
            kept.reserve(i + 1);
            kept.append(title.first(i));
            kept.append(title.back());
            return kept;
        }
    }
    return title.toByteArray();
}

void removeControlBytes(QByteArray& text) {
    for (char control : {'\x01', '\x05', '\x04', '\x02', '\x03', '\x18'}) {
        const qsizetype at = text.indexOf(control);
        if (at >= 0)
            text.remove(at, 1);
    }
}

KarTexts runTexts(const NameRuns& runs) {
    return {runs[1].toByteArray(), runs[3].toByteArray(), runs[5].toByteArray(),
            runs[7].toByteArray()};
}

KarTexts softKaraokeReading(KarBytes& file, const NameRuns& runs) {
    // The runs are views into bytes that reading on may move: take them first.
    KarTexts unchanged = runTexts(runs);
    const QByteArray trackName = unchanged[0];
    // The text of the file begins after the MIDI header chunk.
    const qsizetype words = findReadingOn(file, kHeaderChunkSize, "Words");
    if (words < 0)
        return unchanged;
    qsizetype pos = words;
    SoftKaraokeMarkers markers;
    const qsizetype firstTitle = markers.find(file, 'T', pos);
    pos = firstTitle >= 0 ? firstTitle + kMarkerSize : pos + 1;

    // A title is followed by the next event's delta time, FF 01 and its length byte.
    std::array<Span, 3> spans;
    spans[0] = takeTitle(file, pos, markers, 'T', 4, true);
    spans[1] = takeTitle(file, pos, markers, 'T', 4, true);
    spans[2] = takeTitle(file, pos, markers, 'I', 7, false);

    const QByteArrayView bytes = file.available();
    std::array<QByteArray, 3> titles;
    for (int i = 0; i < 3; ++i) {
        QByteArray& title = titles[i];
        if (spans[i].end > spans[i].begin)
            title = trimmedTitle(bytes.sliced(spans[i].begin, spans[i].end - spans[i].begin));
        if (title.size() >= 1 && title.size() <= 3)
            title.clear();
        if (trackName == "untitled" && !title.isEmpty())
            title.chop(1);
    }

    KarTexts texts = {titles[0], titles[1], titles[2], trackName};
    if (texts[0].isEmpty()) {
        for (int from : {1, 2}) {
            if (!texts[from].isEmpty()) {
                texts[0] = std::exchange(texts[from], QByteArray());
                break;
            }
        }
    }
    if (texts[1].isEmpty() && !texts[2].isEmpty())
        texts[1] = std::exchange(texts[2], QByteArray());
    for (QByteArray& t : texts)
        removeControlBytes(t);
    return texts;
}

KarTexts plainReading(const NameRuns& runs) {
    KarTexts texts;
    texts[0] = runs[1].toByteArray();
    for (int i = 1; i < 4; ++i) {
        const QByteArrayView run = runs[2 * i + 1];
        if (run.size() != 1 && run.size() != 2)
            texts[i] = run.toByteArray();
    }
    return texts;
}

[[noreturn]] void throwReadError(const QByteArray& encodedPath, int error) {
    throw Error(
        systemErrorMessage(QStringLiteral("прочитать файл"), decodeFileName(encodedPath), error));
}

// The status of an opened candidate; throws unless it is a regular file.
struct stat regularFileStatus(int fd, const QByteArray& encodedPath) {
    struct stat status {};
    if (::fstat(fd, &status) != 0)
        throwReadError(encodedPath, errno);
    if (!S_ISREG(status.st_mode))
        throwReadError(encodedPath, EINVAL);
    return status;
}

// Reads `count` bytes into `to` as far as the file goes, from the file's position or, when
// `offset` is given, from that offset; the number of bytes read. A regular file's read returns
// fewer bytes than asked for only at its end: once `endsBy` bytes came (the size its status
// gave), such a read ends the reading without another read to be told so.
qsizetype readFully(int fd, const QByteArray& encodedPath, char* to, qsizetype count,
                    qsizetype offset = -1, qsizetype endsBy = -1) {
    qsizetype total = 0;
    while (total < count) {
        const auto wanted = static_cast<size_t>(count - total);
        const ssize_t got =
            offset < 0 ? ::read(fd, to + total, wanted)
                       : ::pread(fd, to + total, wanted, static_cast<off_t>(offset + total));
        if (got < 0) {
            if (errno == EINTR)
                continue;
            throwReadError(encodedPath, errno);
        }
        if (got == 0)
            break;
        total += got;
        if (static_cast<size_t>(got) < wanted && endsBy >= 0 && total >= endsBy)
            break;
    }
    return total;
}

// Whether the page cache holds the file's page at `offset`; false where it cannot be told.
bool pageCacheHolds(int fd, qsizetype offset) {
    const long pageSize = ::sysconf(_SC_PAGESIZE);
    void* const page = ::mmap(nullptr, static_cast<size_t>(pageSize), PROT_READ, MAP_SHARED, fd,
                              static_cast<off_t>(offset / pageSize * pageSize));
    if (page == MAP_FAILED)
        return false;
    unsigned char resident = 0;
    const bool held =
        ::mincore(page, static_cast<size_t>(pageSize), &resident) == 0 && (resident & 1) != 0;
    ::munmap(page, static_cast<size_t>(pageSize));
    return held;
}

// The first read of a file, when asked for, takes only what the page cache holds, to learn
// whether reading the file waits for the disk.
class PageCacheProbe {
public:
    void arm() { armed_ = true; }
    bool waitedForDisk() const { return waitedForDisk_; }

    // Once armed, reads what the page cache holds of `count` bytes from `offset` of a file of
    // fileSize bytes into `to`: the bytes read, none where the usual read is to take them. The
    // reading waits for the disk where this read stops short of them and of the end of the file
    // at a page the page cache does not hold. Such a read also stops at a page the kernel marked
    // to start its read-ahead from, which files read before often have: the page cache is then
    // asked itself.
    qsizetype read(int fd, char* to, qsizetype count, qsizetype offset, qsizetype fileSize) {
        if (!armed_)
            return 0;
        armed_ = false;
        iovec part{to, static_cast<size_t>(count)};
        ssize_t got = 0;
        do {
            got = ::preadv2(fd, &part, 1, static_cast<off_t>(offset), RWF_NOWAIT);
        } while (got < 0 && errno == EINTR);
        const qsizetype read = std::max<qsizetype>(got, 0);
        const bool stoppedShort = read < count && offset + read < fileSize;
        waitedForDisk_ = stoppedShort && !pageCacheHolds(fd, offset + read);
        return read;
    }

private:
    bool armed_ = false;
    bool waitedForDisk_ = false;
};

// An opened file read block by block into the reader's buffer, as far as the extractor asks.
// Past the first block the extractor reads on only to search for a marker, which most files
// lack to their end: the rest of the file, as large as its status said, is then read in one
// call, and a byte more, so that the end is seen without another call. A file of at most
// kWholeFileRead bytes is read so at once.
class FileBlocks final : public KarBytes {
public:
    FileBlocks(int fd, const QByteArray& encodedPath, QByteArray& buffer, qint64& bytesRead,
               qsizetype fileSize)
        : fd_(fd), path_(encodedPath), buffer_(buffer), bytesRead_(bytesRead), fileSize_(fileSize) {
    }

    QByteArrayView available() const override { return {buffer_.constData(), size_}; }

    // The first read takes only what the page cache holds; waitedForDisk() then tells whether
    // reading waits for the disk.
    void probePageCache() { probe_.arm(); }
    bool waitedForDisk() const { return probe_.waitedForDisk(); }

    bool readUpTo(qsizetype size) override {
        // A file far larger than karaoke files is read on in steps, not taken whole at once.
        constexpr qsizetype kLargestStep = 256 * 1024;
        const bool readWhole = size_ == 0 && fileSize_ <= kWholeFileRead;
        const qsizetype target =
            size <= kBlockSize && !readWhole
                ? size
                : std::max(size, std::min(fileSize_ + 1, size_ + kLargestStep));
        while (size_ < size && !ended_) {
            const qsizetype wanted = target - size_;
            if (buffer_.size() < target)
                buffer_.resize(std::max(target, buffer_.size() * 2));
            if (const qsizetype cached =
                    probe_.read(fd_, buffer_.data() + size_, wanted, size_, fileSize_);
                cached > 0) {
                size_ += cached;
                bytesRead_ += cached;
                // Short at the size the status gave: the end, as readFully() takes it.
                ended_ = cached < wanted && size_ >= fileSize_;
                continue;
            }
            const qsizetype got =
                readFully(fd_, path_, buffer_.data() + size_, wanted, size_, fileSize_ - size_);
            size_ += got;
            bytesRead_ += got;
            if (got < wanted)
                ended_ = true;
        }
        return size_ >= size;
    }

private:
    int fd_;
    const QByteArray& path_;
    QByteArray& buffer_;
    qint64& bytesRead_;
    const qsizetype fileSize_;
    qsizetype size_ = 0;
    bool ended_ = false;
    PageCacheProbe probe_;
};

// Parts of an opened file of fileSize bytes, each read into the reader's buffer at its own
// offset when the structure reader comes to it. A part just after what was read extends it;
// a part further on is read on its own, and the bytes skipped are never read. The first part
// takes up to kWholeFileRead bytes: most files whole.
class FileParts final : public MidiBytes {
public:
    FileParts(int fd, const QByteArray& encodedPath, QByteArray& buffer, qint64& bytesRead,
              qsizetype fileSize)
        : fd_(fd), path_(encodedPath), buffer_(buffer), bytesRead_(bytesRead), size_(fileSize) {
        if (buffer_.size() < size_)
            buffer_.resize(size_);
    }

    const char* data() const override { return buffer_.constData(); }
    qsizetype size() const override { return size_; }

    // The first part is read only from the page cache; waitedForDisk() then tells whether
    // reading waits for the disk.
    void probePageCache() { probe_.arm(); }
    bool waitedForDisk() const { return probe_.waitedForDisk(); }

    qsizetype readable(qsizetype from, qsizetype count) override {
        if (from < 0 || from >= size_)
            return 0;
        const qsizetype to = std::min(size_, from + std::max<qsizetype>(count, 0));
        if (from < readFrom_ || from > readTo_ + kJoinedGap)
            readFrom_ = readTo_ = from; // a part of its own
        if (to > readTo_) {
            const qsizetype partSize = readAny_ ? kPartSize : kWholeFileRead;
            readAny_ = true;
            const qsizetype wanted = std::min(size_, std::max(to, readTo_ + partSize)) - readTo_;
            if (const qsizetype cached =
                    probe_.read(fd_, buffer_.data() + readTo_, wanted, readTo_, size_);
                cached > 0) {
                bytesRead_ += cached;
                readTo_ += cached;
                return readable(from, count);
            }
            const qsizetype got = readFully(fd_, path_, buffer_.data() + readTo_, wanted, readTo_);
            bytesRead_ += got;
            readTo_ += got;
            if (got < wanted)
                size_ = readTo_; // the file is shorter than it was
        }
        return std::max<qsizetype>(readTo_ - from, 0);
    }

private:
    // Parts this close to what was read are read with it, in one call.
    static constexpr qsizetype kJoinedGap = 4096;
    static constexpr qsizetype kPartSize = 4096;

    int fd_;
    const QByteArray& path_;
    QByteArray& buffer_;
    qint64& bytesRead_;
    qsizetype size_;
    qsizetype readFrom_ = 0; // the part read last: [readFrom_, readTo_)
    qsizetype readTo_ = 0;
    bool readAny_ = false; // the first part is read as large as kWholeFileRead
    PageCacheProbe probe_;
};

} // namespace

KarTexts extractKarTexts(KarBytes& bytes, ScanWindow window) {
    NameRuns runs = cutNameRuns(bytes, window);
    applyCredits(runs);
    if (isSoftKaraokeTrackName(runs[1]))
        return softKaraokeReading(bytes, runs);
    return plainReading(runs);
}

KarTexts extractKarTexts(QByteArrayView fileBytes, ScanWindow window) {
    WholeFile file(fileBytes);
    return extractKarTexts(file, window);
}

CatalogueRecord makeRecord(const QString& folder, const QString& fileName, const KarTexts& texts) {
    return {fileName,
            folder,
            decodeCp1251(texts[0]),
            decodeCp1251(texts[1]),
            decodeCp1251(texts[2]),
            decodeCp1251(texts[3])};
}

// O_NONBLOCK: a named pipe put in place of a file must not stall the scan.
constexpr int kCandidateOpenFlags = O_RDONLY | O_NONBLOCK | O_CLOEXEC;

int openCandidateFile(const QByteArray& encodedPath) {
    return ::open(encodedPath.constData(), kCandidateOpenFlags);
}

int openCandidateFileAt(int folderFd, const QByteArray& name) {
    return ::openat(folderFd, name.constData(), kCandidateOpenFlags);
}

FileIdentity identityOf(const struct stat& status) {
    constexpr qint64 kNanoseconds = 1'000'000'000;
    return {static_cast<qint64>(status.st_dev), static_cast<qint64>(status.st_ino),
            static_cast<qint64>(status.st_size),
            static_cast<qint64>(status.st_mtim.tv_sec) * kNanoseconds + status.st_mtim.tv_nsec,
            static_cast<qint64>(status.st_ctim.tv_sec) * kNanoseconds + status.st_ctim.tv_nsec};
}

QByteArrayView KarFileReader::read(const QByteArray& encodedPath) {
    const FileDescriptor file(openCandidateFile(encodedPath));
    if (file.get() < 0)
        throwReadError(encodedPath, errno);
    const struct stat status = regularFileStatus(file.get(), encodedPath);
    const auto expected = static_cast<qsizetype>(status.st_size);
    if (buffer_.size() < expected + 1)
        buffer_.resize(expected + 1);
    qsizetype total = 0;
    for (;;) {
        if (total == buffer_.size())
            buffer_.resize(buffer_.size() * 2); // the file grew while we read it
        const qsizetype got =
            readFully(file.get(), encodedPath, buffer_.data() + total, buffer_.size() - total);
        total += got;
        bytesRead_ += got;
        if (total < buffer_.size())
            break;
    }
    return QByteArrayView(buffer_.constData(), total);
}

MidiStructure KarFileReader::readStructure(const QByteArray& encodedPath) {
    MidiStructure structure;
    readStructure(encodedPath, -1, buffer_, structure);
    return structure;
}

bool KarFileReader::readStructure(const QByteArray& encodedPath, int openedFile, QByteArray& buffer,
                                  MidiStructure& structure, bool probePageCache,
                                  MidiEventsKept kept) {
    const FileDescriptor file(openedFile >= 0 ? openedFile : openCandidateFile(encodedPath));
    if (file.get() < 0)
        throwReadError(encodedPath, errno);
    const struct stat status = regularFileStatus(file.get(), encodedPath);
    FileParts parts(file.get(), encodedPath, buffer, bytesRead_,
                    static_cast<qsizetype>(status.st_size));
    if (probePageCache)
        parts.probePageCache();
    readMidiStructure(parts, structure, kept);
    return parts.waitedForDisk();
}

ExtractedFile KarFileReader::extract(const QByteArray& encodedPath, ScanWindow window,
                                     const ExtractRequest& request) {
    const FileDescriptor file(request.openedFile >= 0 ? request.openedFile
                                                      : openCandidateFile(encodedPath));
    if (file.get() < 0)
        throwReadError(encodedPath, errno);
    ExtractedFile result;
    result.identity = identityOf(regularFileStatus(file.get(), encodedPath));
    FileBlocks blocks(file.get(), encodedPath, buffer_, bytesRead_,
                      static_cast<qsizetype>(result.identity.size));
    if (request.probePageCache)
        blocks.probePageCache();
    result.texts = extractKarTexts(blocks, window);
    result.waitedForDisk = blocks.waitedForDisk();
    if (request.afterReading)
        request.afterReading();
    if (request.checkUnchanged)
        result.unchanged =
            identityOf(regularFileStatus(file.get(), encodedPath)) == result.identity;
    return result;
}

} // namespace songwick
