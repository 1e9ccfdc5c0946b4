#include "scan/kar_extractor.h"

#include "common/cp1251_codec.h"
#include "common/error.h"

#include <QFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace songwick {
namespace {

// Name runs are looked for inside one block of the file: a track-name pair whose two
// bytes fall into different blocks is not seen.
constexpr qsizetype kBlockSize = 8192;
constexpr int kNameRunCount = 8;
// The MIDI header chunk in front of the texts of a Soft Karaoke file.
constexpr qsizetype kHeaderChunkSize = 14;

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

// Position of the FF of the first FF 03 pair lying wholly inside one block, with that
// block; an empty block when there is none.
QByteArrayView findNameBlock(QByteArrayView file, qsizetype& pairPosition) {
    for (qsizetype blockStart = 0; blockStart < file.size(); blockStart += kBlockSize) {
        const QByteArrayView block =
            file.sliced(blockStart, std::min(kBlockSize, file.size() - blockStart));
        const qsizetype at = block.indexOf(QByteArrayView("\xFF\x03", 2));
        if (at >= 0) {
            pairPosition = at;
            return block;
        }
    }
    return {};
}

std::array<QByteArray, kNameRunCount> cutNameRuns(QByteArrayView file, ScanWindow window) {
    std::array<QByteArray, kNameRunCount> runs;
    qsizetype start = 0;
    const QByteArrayView block = findNameBlock(file, start);
    if (block.isEmpty())
        return runs;
    const CharacterSet& set = nameSet(window);
    // Each run begins one byte after the previous start position; the byte that ends a
    // run and the byte after it both lie between two runs.
    for (QByteArray& run : runs) {
        const qsizetype begin = start + 1;
        qsizetype end = begin;
        while (end < block.size() && inSet(set, block[end]))
            ++end;
        if (begin < block.size())
            run = block.sliced(begin, end - begin).toByteArray();
        start = end + 1;
    }
    return runs;
}

// The text without its next-to-last character.
QByteArray withoutNextToLast(const QByteArray& text) {
    if (text.size() < 2)
        return text;
    QByteArray shortened = text;
    shortened.remove(text.size() - 2, 1);
    return shortened;
}

void applyCredits(std::array<QByteArray, kNameRunCount>& runs) {
    const QByteArray karMaker(kKarMakerCredit);
    const QByteArray second(kSecondCredit);
    QByteArray& madeBy = runs[7];
    for (int index : {3, 5}) {
        if (runs[index] == karMaker) {
            madeBy = runs[index];
            runs[index].clear();
        }
    }
    for (int index : {3, 5}) {
        if (withoutNextToLast(runs[index]) == karMaker) {
            madeBy = karMaker;
            runs[index].clear();
        }
    }
    const QByteArray u = withoutNextToLast(madeBy);
    if (u.startsWith(karMaker))
        madeBy = karMaker;
    else if (u.startsWith(second))
        madeBy = second;
}

bool isSoftKaraokeTrackName(const QByteArray& name) {
    static const std::array<QByteArrayView, 5> names = {"Soft Karaoke", "Soft karaoke", "Soft Kara",
                                                        "Soft kara", "untitled"};
    return std::find(names.begin(), names.end(), QByteArrayView(name)) != names.end();
}

// Cuts one title off the front of the text: the characters before the next marker less
// the `trailing` bytes of the next event's header that stand in front of the marker.
QByteArray takeTitle(QByteArrayView& text, QByteArrayView marker, qsizetype trailing,
                     bool consume) {
    const qsizetype at = text.indexOf(marker);
    if (at < 0) {
        if (consume && !text.isEmpty())
            text = text.sliced(1);
        return {};
    }
    const QByteArray title = at > trailing ? text.first(at - trailing).toByteArray() : QByteArray();
    if (consume)
        text = text.sliced(at + marker.size());
    return title;
}

// Keeps the part before the first character outside the title set, and the last character.
void trimTitle(QByteArray& title) {
    const CharacterSet& set = titleSet();
    for (qsizetype i = 0; i + 1 < title.size(); ++i) {
        if (!inSet(set, title[i])) {
            title.remove(i, title.size() - 1 - i);
            return;
        }
    }
}

void removeControlBytes(QByteArray& text) {
    for (char control : {'\x01', '\x05', '\x04', '\x02', '\x03', '\x18'}) {
        const qsizetype at = text.indexOf(control);
        if (at >= 0)
            text.remove(at, 1);
    }
}

KarTexts softKaraokeReading(QByteArrayView file,
                            const std::array<QByteArray, kNameRunCount>& runs) {
    const QByteArray& trackName = runs[1];
    QByteArrayView text =
        file.size() > kHeaderChunkSize ? file.sliced(kHeaderChunkSize) : QByteArrayView();
    const qsizetype words = text.indexOf(QByteArrayView("Words"));
    if (words < 0)
        return {runs[1], runs[3], runs[5], runs[7]};
    text = text.sliced(words);
    const qsizetype firstTitle = text.indexOf(QByteArrayView("@T"));
    text = firstTitle >= 0 ? text.sliced(firstTitle + 2) : text.sliced(1);

    std::array<QByteArray, 3> titles;
    // A title is followed by the next event's delta time, FF 01 and its length byte.
    titles[0] = takeTitle(text, "@T", 4, true);
    titles[1] = takeTitle(text, "@T", 4, true);
    titles[2] = takeTitle(text, "@I", 7, false);
    for (QByteArray& title : titles) {
        if (!title.isEmpty())
            trimTitle(title);
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

KarTexts plainReading(const std::array<QByteArray, kNameRunCount>& runs) {
    KarTexts texts = {runs[1], runs[3], runs[5], runs[7]};
    for (int i = 1; i < 4; ++i) {
        if (texts[i].size() == 1 || texts[i].size() == 2)
            texts[i].clear();
    }
    return texts;
}

// Closes the descriptor on every path.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

[[noreturn]] void throwReadError(const QByteArray& encodedPath, int error) {
    throw Error(
        QStringLiteral("Не удалось прочитать файл %1: %2")
            .arg(QFile::decodeName(encodedPath), QString::fromLocal8Bit(std::strerror(error))));
}

} // namespace

KarTexts extractKarTexts(QByteArrayView fileBytes, ScanWindow window) {
    std::array<QByteArray, kNameRunCount> runs = cutNameRuns(fileBytes, window);
    applyCredits(runs);
    if (isSoftKaraokeTrackName(runs[1]))
        return softKaraokeReading(fileBytes, runs);
    return plainReading(runs);
}

CatalogueRecord makeRecord(const QString& folder, const QString& fileName, const KarTexts& texts) {
    return {fileName,
            folder,
            decodeCp1251(texts[0]),
            decodeCp1251(texts[1]),
            decodeCp1251(texts[2]),
            decodeCp1251(texts[3])};
}

QByteArrayView KarFileReader::read(const QByteArray& encodedPath) {
    // O_NONBLOCK: a named pipe put in place of a file must not stall the scan.
    const FileDescriptor file(::open(encodedPath.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (file.get() < 0)
        throwReadError(encodedPath, errno);
    struct stat status {};
    if (::fstat(file.get(), &status) != 0)
        throwReadError(encodedPath, errno);
    if (!S_ISREG(status.st_mode))
        throwReadError(encodedPath, EINVAL);
    const auto expected = static_cast<qsizetype>(status.st_size);
    if (buffer_.size() < expected + 1)
        buffer_.resize(expected + 1);
    qsizetype total = 0;
    for (;;) {
        if (total == buffer_.size())
            buffer_.resize(buffer_.size() * 2); // the file grew while we read it
        const ssize_t got =
            ::read(file.get(), buffer_.data() + total, static_cast<size_t>(buffer_.size() - total));
        if (got < 0) {
            if (errno == EINTR)
                continue;
            throwReadError(encodedPath, errno);
        }
        if (got == 0)
            break;
        total += got;
    }
    return QByteArrayView(buffer_.constData(), total);
}

} // namespace songwick
