#include "scan/lyrics_indexer.h"

#include "common/error.h"
#include "common/file_identity.h"
#include "common/file_name_codec.h"
#include "scan/lyrics_index.h"
#include "scan/sung_text.h"

#include <chrono>
#include <pthread.h>
#include <sched.h>
#include <sys/stat.h>

namespace songwick {
namespace {

// No karaoke file comes near this.
constexpr qint64 kLargestSungFile = 16 << 20;
// Files indexed between two writes of the index.
constexpr int kCommitEvery = 500;
constexpr std::chrono::milliseconds kProgressInterval(100);

// The thread runs only where no other thread wants the processor. Left as it is where the
// system refuses.
void lowerThreadPriority() {
    sched_param parameters{};
    parameters.sched_priority = 0;
    pthread_setschedparam(pthread_self(), SCHED_IDLE, &parameters);
}

QString fileNameOf(const QByteArray& encodedPath) {
    return decodeFileName(QByteArrayView(encodedPath).sliced(encodedPath.lastIndexOf('/') + 1));
}

// Adds the sung words of one file to the index, unless it holds the file's version already.
void indexFile(LyricsIndex& index, SungWordsReader& reader, const QByteArray& encodedPath,
               const QString& codePage) {
    struct stat status {};
    if (::stat(encodedPath.constData(), &status) != 0 || !S_ISREG(status.st_mode))
        return;
    const FileIdentity identity = fileIdentityOfStatus(status);
    if (index.documentOf(identity))
        return;
    try {
        index.add(identity,
                  reader.read(encodedPath, identity.size, fileNameOf(encodedPath), codePage));
    } catch (const Error&) {
        // Not indexed: the search names the file's row among those whose words are not known.
    }
}

} // namespace

SungWordsReader::SungWordsReader(StructuredReadingOptions options) : reader_(std::move(options)) {}

QStringList SungWordsReader::read(const QByteArray& encodedPath, qint64 size,
                                  const QString& fileName, const QString& codePage) {
    if (size > kLargestSungFile)
        return {};
    const QByteArrayView bytes = files_.read(encodedPath);
    const MidiStructure structure = readMidiStructure(bytes, MidiTrackWalk::Whole);
    const QString key =
        codePage.isEmpty() ? reader_.read(structure, fileName).codePage.key : codePage;
    return readSungText(structure, decoder_, key).lines;
}

LyricsIndexer::LyricsIndexer(QString indexPath, StructuredReadingOptions options)
    : indexPath_(std::move(indexPath)), options_(std::move(options)), thread_([this] { run(); }) {}

LyricsIndexer::~LyricsIndexer() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

void LyricsIndexer::add(QByteArray encodedPath, QString codePage) {
    {
        const std::lock_guard lock(mutex_);
        queue_.emplace_back(std::move(encodedPath), std::move(codePage));
        ++total_;
    }
    changed_.notify_all();
}

void LyricsIndexer::finishAdding() {
    {
        const std::lock_guard lock(mutex_);
        adding_ = false;
    }
    changed_.notify_all();
}

LyricsIndexer::Progress LyricsIndexer::progress() const {
    const std::lock_guard lock(mutex_);
    return {done_, total_, finished_};
}

bool LyricsIndexer::waitUntilFinished(const std::function<void(int, int)>& progress,
                                      const std::function<bool()>& stopRequested) {
    finishAdding();
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait_for(lock, kProgressInterval, [this] { return finished_; });
        const int done = done_;
        const int total = total_;
        if (finished_)
            return done == total;
        lock.unlock();
        if (progress)
            progress(done, total);
        const bool stop = stopRequested && stopRequested();
        lock.lock();
        if (stop) {
            stopping_ = true;
            changed_.notify_all();
            changed_.wait(lock, [this] { return finished_; });
            return done_ == total_;
        }
    }
}

void LyricsIndexer::run() {
    lowerThreadPriority();
    {
        LyricsIndex index(indexPath_);
        SungWordsReader reader(options_);
        // An index kept in memory only would be gone before anyone searched it.
        const bool stored = index.stored();
        int sinceCommit = 0;
        std::unique_lock lock(mutex_);
        for (;;) {
            changed_.wait(lock, [this] { return stopping_ || !queue_.empty() || !adding_; });
            if (stopping_ || queue_.empty())
                break;
            const auto [path, codePage] = std::move(queue_.front());
            queue_.pop_front();
            lock.unlock();
            if (stored)
                indexFile(index, reader, path, codePage);
            if (++sinceCommit == kCommitEvery) {
                sinceCommit = 0;
                index.commit();
            }
            lock.lock();
            ++done_;
            changed_.notify_all();
        }
        lock.unlock();
        index.commit();
    }
    const std::lock_guard lock(mutex_);
    finished_ = true;
    changed_.notify_all();
}

} // namespace songwick
