#pragma once

#include "scan/code_page.h"
#include "scan/kar_extractor.h"
#include "scan/reading_options.h"
#include "scan/structured_reading.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace songwick {

// Reads the sung lines of files, holding its buffer and code page converters from one file to
// the next.
class SungWordsReader {
public:
    explicit SungWordsReader(StructuredReadingOptions options);

    // The sung lines of the file at encodedPath (the file system's bytes) whose status gave
    // `size` bytes, decoded from the code page with that key, or, when it is empty, from the
    // one the structured reading finds for the file named fileName. A file larger than any
    // karaoke file is taken as singing nothing, unread. Throws songwick::Error when the file
    // cannot be read.
    QStringList read(const QByteArray& encodedPath, qint64 size, const QString& fileName,
                     const QString& codePage = {});

private:
    StructuredReader reader_;
    CodePageDetector decoder_;
    KarFileReader files_;
};

// Fills the lyrics index with the sung words of files while a scan goes on: a thread of its
// own, at the lowest priority, so that it runs only where the scan leaves a processor free, and
// on once the scan is over. Files whose version the index holds are not read again. What was
// indexed is written every few hundred files and when it stops, so that nothing read is lost
// to an end before its time.
class LyricsIndexer {
public:
    // indexPath: the stored lyrics index (one that cannot be stored takes no words).
    LyricsIndexer(QString indexPath, StructuredReadingOptions options);
    // Stops after the file being read, keeping what was indexed.
    ~LyricsIndexer();
    LyricsIndexer(const LyricsIndexer&) = delete;
    LyricsIndexer& operator=(const LyricsIndexer&) = delete;

    // Queues a file (its path in the file system's bytes) with the key of the code page its
    // texts were read in; empty: the structured reading tells it.
    void add(QByteArray encodedPath, QString codePage);
    // No files follow: once the queued ones are indexed, the indexer is finished.
    void finishAdding();

    struct Progress {
        int done = 0;  // files looked at
        int total = 0; // files added
        bool finished = false;
    };
    Progress progress() const;

    // Waits until the indexer is finished, telling progress(done, total) every tenth of a second
    // and asking stopRequested as often: once it says yes, the indexer stops after the file
    // being read, keeping what was indexed. True when every file added was indexed.
    bool waitUntilFinished(const std::function<void(int done, int total)>& progress,
                           const std::function<bool()>& stopRequested);

private:
    void run();

    const QString indexPath_;
    const StructuredReadingOptions options_;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::pair<QByteArray, QString>> queue_;
    int done_ = 0;
    int total_ = 0;
    bool adding_ = true;
    bool stopping_ = false;
    bool finished_ = false;
    std::thread thread_; // last: starts once the members above exist
};

} // namespace songwick
