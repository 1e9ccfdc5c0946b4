#include "scan/folder_walk.h"

#include "common/ascii_text.h"
#include "common/error.h"
#include "common/file_name_codec.h"
#include "common/heap_tuning.h"
#include "common/system_error.h"
#include "scan/scan_cache.h"
#include "scan/structured_reading.h"

#include <QCoreApplication>
#include <QFile>
#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <mutex>
#include <optional>
#include <pthread.h>
#include <sched.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace songwick {
namespace {

// A helper thread of the walk does not take the processor from the thread that woke it: it
// runs when a processor is free or at the next time slice, so that the walk, which wakes the
// helpers many times a second, is not put off at each wake. Left as it is where the system
// refuses.
void yieldOnWake() {
    sched_param parameters{};
    parameters.sched_priority = 0;
    pthread_setschedparam(pthread_self(), SCHED_BATCH, &parameters);
}

struct Entry {
    QByteArray name; // the file system's bytes
    QString displayName;
    QString foldedName;
    unsigned char type = DT_UNKNOWN; // as the listing gave it
};

struct DirectoryCloser {
    void operator()(DIR* directory) const { ::closedir(directory); }
};

// A folder's entries in listing order, and the folder kept open so that its entries are
// reached by name rather than by their full paths.
struct FolderListing {
    std::unique_ptr<DIR, DirectoryCloser> directory;
    std::vector<Entry> entries;
    int error = 0; // why the folder could not be opened or listed to its end; 0 when it was

    int fd() const { return directory ? ::dirfd(directory.get()) : -1; }
};

// The original platform lists a folder in name order, case-insensitive; equal names but for
// case come in byte order.
bool listingOrder(const Entry& a, const Entry& b) {
    const int folded = a.foldedName.compare(b.foldedName);
    return folded != 0 ? folded < 0 : a.name < b.name;
}

// The name case-folded as QString::toCaseFolded() folds it; where it is ASCII, as most names
// are, that is only A to Z made small.
QString foldedName(const QByteArray& name, const QString& displayName) {
    if (!isAscii(name))
        return displayName.toCaseFolded();
    QString folded = displayName;
    for (qsizetype i = 0; i < name.size(); ++i) {
        if (name[i] >= 'A' && name[i] <= 'Z')
            folded[i] = QChar(name[i] + ('a' - 'A'));
    }
    return folded;
}

// Lists a folder's entries, "." and ".." left out; a folder that cannot be opened lists as
// empty, one whose listing breaks off with the entries given so far, and either says why.
FolderListing listFolder(const QByteArray& folder) {
    FolderListing listing{
        std::unique_ptr<DIR, DirectoryCloser>(::opendir(folder.constData())), {}, 0};
    if (!listing.directory) {
        listing.error = errno;
        return listing;
    }
    for (;;) {
        errno = 0;
        const dirent* item = ::readdir(listing.directory.get());
        if (item == nullptr) {
            listing.error = errno;
            break;
        }
        const char* name = item->d_name;
        if (name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0)))
            continue;
        Entry& entry = listing.entries.emplace_back();
        entry.name = QByteArray(name);
        entry.displayName = decodeFileName(entry.name);
        entry.foldedName = foldedName(entry.name, entry.displayName);
        entry.type = item->d_type;
    }
    std::sort(listing.entries.begin(), listing.entries.end(), listingOrder);
    return listing;
}

// A folder, or a link to one.
bool isFolder(int folderFd, const Entry& entry) {
    if (entry.type == DT_DIR)
        return true;
    if (entry.type != DT_LNK && entry.type != DT_UNKNOWN)
        return false;
    struct stat status {};
    return ::fstatat(folderFd, entry.name.constData(), &status, 0) == 0 && S_ISDIR(status.st_mode);
}

bool contains(const QByteArray& text, const char (&part)[4]) {
    return ::memmem(text.constData(), static_cast<size_t>(text.size()), part, 3) != nullptr;
}

bool isCandidateName(const QByteArray& name) {
    return contains(name, "kar") || contains(name, "KAR");
}

// The folder's path ending with "/", as the scan cache and the records name folders.
QByteArray withSeparator(QByteArray folder) {
    if (!folder.endsWith('/'))
        folder.append('/');
    return folder;
}

QByteArray joined(const QByteArray& folder, const QByteArray& name) {
    return withSeparator(folder) + name;
}

// How one entry of a folder is handled, decided before the first file of the folder is read.
struct PlannedEntry {
    QByteArray name; // the file system's bytes
    QString displayName;
    QByteArray path;
    bool folder = false;
    bool parentReference = false; // its path holds "/.."
    bool candidate = false;
    std::optional<FileIdentity> identity; // of a candidate, when the scan cache is in use
    std::optional<KarTexts> cached;       // the texts the scan cache holds for the unchanged file
};

// Keeps the disk busy where the page cache does not hold a folder: the next files to read in it
// are opened and asked for whole while the current one is parsed (most files are read to their
// end in search of a marker they lack).
class Prefetcher {
public:
    // A disk given 64 files at once reads a large folder cold about a tenth faster than one
    // given 16 (measured on a 45,000-file tree of folders of about 130 files).
    static constexpr size_t kFilesAhead = 64;
    static constexpr off_t kBytesAhead = 0; // the whole file

    Prefetcher() = default;
    Prefetcher(const Prefetcher&) = delete;
    Prefetcher& operator=(const Prefetcher&) = delete;
    ~Prefetcher() { clear(); }

    // Starts reading the files from plan entry `first` on that are to be read, up to
    // kFilesAhead of them.
    void ahead(const std::vector<PlannedEntry>& plan, size_t first, int folderFd) {
        size_t next = std::max(first, nextToOpen_);
        while (opened_.size() < kFilesAhead && next < plan.size()) {
            const PlannedEntry& entry = plan[next];
            if (entry.candidate && !entry.cached) {
                const int fd = openCandidateFileAt(folderFd, entry.name);
                if (fd >= 0)
                    ::posix_fadvise(fd, 0, kBytesAhead, POSIX_FADV_WILLNEED);
                opened_.push_back({next, fd});
            }
            ++next;
        }
        nextToOpen_ = next;
    }

    // The opened file of plan entry `index` (the caller closes it), -1 when it is not open.
    int take(size_t index) {
        while (!opened_.empty() && opened_.front().first < index) {
            closeFile(opened_.front().second);
            opened_.pop_front();
        }
        if (opened_.empty() || opened_.front().first != index)
            return -1;
        const int fd = opened_.front().second;
        opened_.pop_front();
        return fd;
    }

    void clear() {
        for (const auto& [index, fd] : opened_)
            closeFile(fd);
        opened_.clear();
        nextToOpen_ = 0;
    }

private:
    static void closeFile(int fd) {
        if (fd >= 0)
            ::close(fd);
    }

    std::deque<std::pair<size_t, int>> opened_;
    size_t nextToOpen_ = 0;
};

std::optional<FileIdentity> identityOfEntry(int folderFd, const QByteArray& name) {
    struct stat status {};
    if (::fstatat(folderFd, name.constData(), &status, 0) != 0 || !S_ISREG(status.st_mode))
        return std::nullopt;
    return identityOf(status);
}

// One folder as the walk plans it before it reads any file in it.
struct ListedFolder {
    FolderListing listing;
    std::vector<PlannedEntry> plan; // one per entry of the listing
};

// Lists a folder and plans its entries: which are folders, which are candidates and, when
// asked, each candidate's identity for the scan cache.
ListedFolder listAndPlan(const QByteArray& folder, bool withIdentities) {
    ListedFolder listed{listFolder(folder), {}};
    const int fd = listed.listing.fd();
    const std::vector<Entry>& entries = listed.listing.entries;
    // A name holds no "/", and joined() puts one between folder and name: a path holds "/.."
    // where its folder does or its name begins with "..".
    const bool folderHasParentReference = folder.contains("/..");
    listed.plan.resize(entries.size());
    for (size_t i = 0; i < entries.size(); ++i) {
        PlannedEntry& entry = listed.plan[i];
        entry.name = entries[i].name;
        entry.displayName = entries[i].displayName;
        entry.path = joined(folder, entries[i].name);
        entry.folder = isFolder(fd, entries[i]);
        entry.parentReference = folderHasParentReference || entry.name.startsWith("..");
        entry.candidate =
            !entry.folder && !entry.parentReference && isCandidateName(entries[i].name);
        if (entry.candidate && withIdentities)
            entry.identity = identityOfEntry(fd, entry.name);
    }
    return listed;
}

// Lists the folders the walk queues on threads of their own, a few folders ahead of the walk,
// so that the file system's listing and status calls overlap the reading and parsing of the
// files and, where the page cache does not hold the folders, several of them are asked of the
// disk at once. The walk takes the listings in the order it queued the folders, so what it sees
// does not change: each folder is still listed before any of its files is read.
class FolderLister {
public:
    static constexpr size_t kThreads = 4;
    static constexpr size_t kFoldersAhead = 16;
    // With the files' status to take, the threads carry most of a rescan's work: enough for
    // them to go on while the walk reads the scan cache at its first folder with files (a cold
    // rescan of 45,000 files took a tenth less than with 16). A scan that reads the files does
    // better with the threads kept close: they take the processors from the reading.
    static constexpr size_t kFoldersAheadWithStatus = 64;

    explicit FolderLister(bool withIdentities)
        : withIdentities_(withIdentities),
          foldersAhead_(withIdentities ? kFoldersAheadWithStatus : kFoldersAhead) {
        for (size_t i = 0; i < kThreads; ++i)
            threads_.emplace_back([this] { run(); });
    }
    FolderLister(const FolderLister&) = delete;
    FolderLister& operator=(const FolderLister&) = delete;
    ~FolderLister() {
        {
            const std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        work_.notify_all();
        for (std::thread& thread : threads_)
            thread.join();
    }

    // Queues a folder to be listed after those queued before it.
    void add(const QByteArray& folder) {
        {
            const std::lock_guard lock(mutex_);
            folders_.push_back({folder, std::nullopt});
        }
        work_.notify_one();
    }

    // The listing of the first folder added and not yet taken, when it is listed already.
    std::optional<ListedFolder> nextIfListed() {
        std::unique_lock lock(mutex_);
        if (folders_.empty() || !folders_.front().listed)
            return std::nullopt;
        return takeFirst(lock);
    }

    // The listing of the first folder added and not yet taken; waits for it.
    ListedFolder next() {
        std::unique_lock lock(mutex_);
        listed_.wait(lock, [this] { return folders_.front().listed.has_value(); });
        return takeFirst(lock);
    }

private:
    // Takes the first folder's listing, which is there, and lets one more folder be started.
    ListedFolder takeFirst(std::unique_lock<std::mutex>& lock) {
        ListedFolder listed = std::move(*folders_.front().listed);
        folders_.pop_front();
        --started_;
        lock.unlock();
        work_.notify_one();
        return listed;
    }

    struct QueuedFolder {
        QByteArray path;
        std::optional<ListedFolder> listed; // set once a thread has listed it
    };

    void run() {
        tuneThisThreadsHeap();
        yieldOnWake();
        std::unique_lock lock(mutex_);
        for (;;) {
            work_.wait(lock, [this] {
                return stopping_ || (started_ < folders_.size() && started_ < foldersAhead_);
            });
            if (stopping_)
                return;
            // The folders before it stay queued until this one is listed: the reference holds.
            QueuedFolder& folder = folders_[started_++];
            const QByteArray path = folder.path;
            lock.unlock();
            ListedFolder listed = listAndPlan(path, withIdentities_);
            lock.lock();
            folder.listed = std::move(listed);
            // The walk waits only for the first folder: it is woken for that one alone.
            if (&folder == &folders_.front())
                listed_.notify_one();
        }
    }

    const bool withIdentities_;
    const size_t foldersAhead_; // folders listed or being listed, at most
    std::mutex mutex_;
    std::condition_variable work_;     // the threads wait here for a folder to list
    std::condition_variable listed_;   // the walk waits here for the listing it takes next
    std::deque<QueuedFolder> folders_; // added, not yet taken, in the order added
    size_t started_ = 0;               // folders_[0, started_) are being listed or listed
    bool stopping_ = false;
    std::vector<std::thread> threads_; // last: start once the members above exist
};

// What reading one candidate gave: its texts and identity, or why it could not be read.
struct CandidateRead {
    ExtractedFile file; // the program's reading's texts; for either, whether it waited for the disk
    StructuredTexts structured;     // the structured reading's texts
    bool storable = false;          // structured: still the version listed, after it was read
    std::optional<QString> failure; // the message of the error that kept it from being read
    std::exception_ptr error;       // anything else, for the walk to throw
};

// Reads one candidate as the walk's reading does, on the thread that calls it: each thread has
// its own, with the buffers it uses again from one file to the next.
class CandidateReading {
public:
    CandidateReading(const ReadingOptions& reading, ScanWindow window) : window_(window) {
        if (reading.reading == KarReading::Structured)
            structured_.emplace(reading.structured);
    }

    // Reads the candidate of the folder open as folderFd; request.checkUnchanged asks, for the
    // scan cache, whether the file is still the version it was.
    CandidateRead read(const PlannedEntry& entry, int folderFd, ExtractRequest request) {
        CandidateRead read;
        try {
            if (request.openedFile < 0)
                request.openedFile = openCandidateFileAt(folderFd, entry.name);
            if (structured_)
                readStructured(entry, folderFd, request, read);
            else
                read.file = reader_.extract(entry.path, window_, request);
        } catch (const Error& error) {
            read.failure = error.message();
        } catch (...) {
            read.error = std::current_exception();
        }
        return read;
    }

    qint64 bytesRead() const { return reader_.bytesRead(); }

private:
    // The structured reading reads the parts of the file its structure leads to, and keeps only
    // the events that can name the song.
    void readStructured(const PlannedEntry& entry, int folderFd, const ExtractRequest& request,
                        CandidateRead& read) {
        read.file.waitedForDisk =
            reader_.readStructure(entry.path, request.openedFile, buffer_, structure_,
                                  request.probePageCache, MidiEventsKept::Naming);
        if (request.afterReading)
            request.afterReading();
        read.storable = request.checkUnchanged && entry.identity &&
                        identityOfEntry(folderFd, entry.name) == entry.identity;
        read.structured = structured_->read(structure_, entry.displayName);
    }

    const ScanWindow window_;
    KarFileReader reader_;
    std::optional<StructuredReader> structured_;
    QByteArray buffer_; // the structured reading's file parts
    MidiStructure structure_;
};

// Reads the candidates of the folder being walked on a second thread: the walk reads them from the
// first on and this thread from the last back, until the two meet, so that two processors read and
// search files at once and hand over only where they meet; then the thread goes on in the next
// folder the walk has listed already, if any. The walk takes the texts in its own order.
class CandidateReader {
public:
    CandidateReader(const ReadingOptions& reading, ScanWindow window, bool checkUnchanged)
        : reading_(reading, window), checkUnchanged_(checkUnchanged), thread_([this] { run(); }) {}
    CandidateReader(const CandidateReader&) = delete;
    CandidateReader& operator=(const CandidateReader&) = delete;
    ~CandidateReader() {
        {
            const std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        work_.notify_all();
        thread_.join();
    }

    // A folder the walk comes to after those added before: the candidates of its plan that
    // are to be read. The plan's entries and the folder stay as they are until its endFolder().
    void addFolder(const std::vector<PlannedEntry>& plan, int folderFd) {
        {
            const std::lock_guard lock(mutex_);
            Folder& folder = folders_.emplace_back();
            folder.plan = plan.data();
            folder.fd = folderFd;
            for (std::size_t i = 0; i < plan.size(); ++i) {
                if (plan[i].candidate && !plan[i].cached)
                    folder.toRead.push_back(i);
            }
            folder.reads.resize(folder.toRead.size());
            folder.back = folder.toRead.size();
            if (folder.toRead.empty())
                return; // nothing for the thread: it sleeps on, as through a rescan
        }
        work_.notify_one();
    }

    // The walk comes to plan entry `index` of the first folder: what this thread read of it,
    // waiting for it when the thread is still reading it; nothing when the walk is to read it
    // itself.
    std::optional<CandidateRead> take(std::size_t index) {
        std::unique_lock lock(mutex_);
        Folder& folder = folders_.front();
        while (folder.walkAt < folder.toRead.size() && folder.toRead[folder.walkAt] < index)
            ++folder.walkAt;
        if (folder.walkAt == folder.toRead.size() || folder.toRead[folder.walkAt] != index)
            return std::nullopt;
        const std::size_t at = folder.walkAt;
        if (at < folder.back) {
            folder.front = at + 1; // the walk's own
            return std::nullopt;
        }
        walkWaiting_ = true;
        read_.wait(lock, [&] { return folder.reads[at].has_value(); });
        walkWaiting_ = false;
        std::optional<CandidateRead> read = std::move(folder.reads[at]);
        folder.reads[at].reset();
        return read;
    }

    // The thread takes no further candidate of the first folder; those it took are still
    // handed over.
    void stopTaking() {
        const std::lock_guard lock(mutex_);
        folders_.front().taking = false;
    }

    // The walk leaves the first folder: waits until the thread no longer reads in it.
    void endFolder() {
        std::unique_lock lock(mutex_);
        Folder& folder = folders_.front();
        folder.taking = false;
        read_.wait(lock, [&] { return folder.reading == 0; });
        folders_.pop_front();
    }

    qint64 bytesRead() const { return reading_.bytesRead(); }

private:
    struct Folder {
        const PlannedEntry* plan = nullptr;
        int fd = -1;
        std::vector<std::size_t> toRead;                 // plan indices of the candidates to read
        std::vector<std::optional<CandidateRead>> reads; // what the thread read, by place in toRead
        std::size_t walkAt = 0;                          // the candidate the walk is at
        std::size_t front = 0; // the walk has taken the candidates before this one
        std::size_t back = 0;  // the thread has taken the candidates from this one on
        bool taking = true;    // the thread may take further candidates
        int reading = 0;       // candidates the thread is reading
    };

    // The first folder with a candidate the thread may take; null when there is none.
    Folder* folderToTake() {
        for (Folder& folder : folders_) {
            if (folder.taking && folder.back > folder.front)
                return &folder;
        }
        return nullptr;
    }

    void run() {
        tuneThisThreadsHeap();
        yieldOnWake();
        std::unique_lock lock(mutex_);
        for (;;) {
            Folder* folder = nullptr;
            work_.wait(lock, [&] { return stopping_ || (folder = folderToTake()) != nullptr; });
            if (stopping_)
                return;
            const std::size_t at = --folder->back;
            const PlannedEntry& entry = folder->plan[folder->toRead[at]];
            ++folder->reading;
            lock.unlock();
            CandidateRead read = readOne(entry, folder->fd);
            lock.lock();
            folder->reads[at] = std::move(read);
            --folder->reading;
            if (walkWaiting_ || folder->reading == 0)
                read_.notify_one();
        }
    }

    CandidateRead readOne(const PlannedEntry& entry, int folderFd) {
        ExtractRequest request;
        request.checkUnchanged = checkUnchanged_;
        request.probePageCache = true;
        return reading_.read(entry, folderFd, request);
    }

    CandidateReading reading_; // this thread's
    const bool checkUnchanged_;
    mutable std::mutex mutex_;
    std::condition_variable work_; // the thread waits here for a candidate it may take
    std::condition_variable read_; // the walk waits here for a candidate the thread reads
    std::deque<Folder> folders_;   // the folder being walked first, then those listed next
    bool walkWaiting_ = false;
    bool stopping_ = false;
    std::thread thread_; // last: starts once the members above exist
};

// The structured reading's texts as the scan cache keeps them: UTF-8, which gives back the
// same texts, or nothing when the record names another file than the walk (it is then read
// again each time) or holds a text that UTF-8 cannot carry unchanged.
std::optional<KarTexts> storedTexts(const CatalogueRecord& record, const QString& fileName,
                                    const QString& folderText) {
    if (record[FileNameField] != fileName || record[FolderField] != folderText)
        return std::nullopt;
    KarTexts texts;
    for (int i = 0; i < static_cast<int>(texts.size()); ++i) {
        const QString& text = record[PerformerTitleField + i];
        if (!text.isValidUtf16())
            return std::nullopt;
        texts[i] = text.toUtf8();
    }
    return texts;
}

// The record of a file whose structured texts the scan cache held.
CatalogueRecord structuredRecord(const QString& folderText, const QString& fileName,
                                 const KarTexts& texts) {
    CatalogueRecord record{fileName, folderText};
    for (int i = 0; i < static_cast<int>(texts.size()); ++i)
        record[PerformerTitleField + i] = QString::fromUtf8(texts[i]);
    return record;
}

class FolderWalk {
public:
    FolderWalk(RecordStore& store, const WalkOptions& options,
               const std::function<void()>& progressStep)
        : store_(store), options_(options), progressStep_(progressStep),
          parentReferenceLimit_(options.manyFilesScan ? options.limits.parentReferencesMany
                                                      : options.limits.parentReferences),
          reading_(options.reading, options.window) {
        if (!options.scanCachePath.isEmpty()) {
            cache_.emplace(options.scanCachePath, readingKey(options));
            if (options.reading.reading == KarReading::Structured)
                cache_->dropEarlierRevisions("structured/", structuredRevisionKey());
            if (!cache_->active())
                result_.cacheProblem = cache_->problem();
        }
        lister_ = std::make_unique<FolderLister>(cache_ && cache_->active());
        // Tests that change a file while it is read want it read where they watch.
        if (!options.afterReadingFile)
            candidates_ = std::make_unique<CandidateReader>(options.reading, options.window,
                                                            cache_ && cache_->active());
    }

    WalkResult run(const QString& chosenFolder) {
        walk(chosenFolder);
        if (candidates_) {
            result_.bytesRead += candidates_->bytesRead();
            candidates_.reset(); // before the folder listed next, which it may read in
        }
        if (cache_) {
            cache_->finish();
            if (result_.cacheProblem.isEmpty())
                result_.cacheProblem = cache_->problem();
        }
        result_.bytesRead += reading_.bytesRead();
        return result_;
    }

private:
    void walk(const QString& chosenFolder) {
        queue_.push_back(encodeFileName(chosenFolder));
        if (cache_)
            cache_->setTree(withSeparator(queue_.back()));
        lister_->add(queue_.back());
        while (!queue_.empty() && result_.end == WalkEnd::Finished) {
            const QByteArray folder = std::move(queue_.front());
            queue_.pop_front();
            listOneFolder(folder);
            ++result_.listings;
            if (result_.end != WalkEnd::Finished)
                break;
            if (parentReferences_ > parentReferenceLimit_) {
                result_.end = WalkEnd::ParentReferenceLimit;
                break;
            }
            if (result_.listings > options_.limits.listings)
                result_.end = WalkEnd::ListingLimit;
            else
                stopWhenInterrupted();
        }
    }

    void listOneFolder(const QByteArray& folder) {
        const bool prepared = !upcoming_.empty();
        ListedFolder listed = prepared ? std::move(upcoming_.front()) : lister_->next();
        if (prepared)
            upcoming_.pop_front();
        if (listed.listing.error != 0) {
            result_.unreadableFolders.push_back({decodeFileName(folder), listed.listing.error});
            if (result_.listings == 0)
                result_.chosenFolderUnreadable = !listed.listing.directory;
        }
        const std::vector<Entry>& entries = listed.listing.entries;
        plan_ = std::move(listed.plan);
        folderFd_ = listed.listing.fd();
        // Every record of this folder shares one folder text.
        const QByteArray folderWithSeparator = withSeparator(folder);
        const QString folderText = decodeFileName(folderWithSeparator);
        folderPath_ = folderWithSeparator;
        if (!prepared)
            takeCachedTexts(plan_, folderWithSeparator);
        prefetching_ = false;
        readInFolder_ = false;
        if (candidates_ && !prepared)
            candidates_->addFolder(plan_, folderFd_);
        // After a folder the page cache did not hold, the next one is likely not held either:
        // its first files are asked of the disk at once, while the first of them shows whether.
        if (lastFolderCold_)
            prefetcher_.ahead(plan_, 0, folderFd_);
        // The second thread leaves the folder before its listing closes, however the loop ends.
        const struct LeaveFolder {
            CandidateReader* candidates;
            ~LeaveFolder() {
                if (candidates)
                    candidates->endFolder();
            }
        } leaveFolder{candidates_.get()};
        for (size_t i = 0; i < entries.size() && result_.end == WalkEnd::Finished; ++i) {
            if (plan_[i].folder)
                queueFolder(plan_[i].path);
            else
                handleFile(i, entries[i], folderText);
            stopWhenInterrupted();
            prepareNextFolder();
        }
        prefetcher_.clear();
        folderFd_ = -1;
        if (readInFolder_)
            lastFolderCold_ = prefetching_;
    }

    // While the second thread reads: the next folders' listings, once they are there, are taken
    // and handed to that thread, so that it goes on there once it met the walk in this one. Two
    // are taken, as the thread may read a small folder whole while the walk still adds the
    // records of the one before.
    void prepareNextFolder() {
        constexpr std::size_t kFoldersPrepared = 2;
        while (candidates_ && !prefetching_ && upcoming_.size() < kFoldersPrepared &&
               upcoming_.size() < queue_.size()) {
            std::optional<ListedFolder> listed = lister_->nextIfListed();
            if (!listed)
                return;
            takeCachedTexts(listed->plan, withSeparator(queue_[upcoming_.size()]));
            ListedFolder& upcoming = upcoming_.emplace_back(std::move(*listed));
            candidates_->addFolder(upcoming.plan, upcoming.listing.fd());
        }
    }

    // A candidate whose texts the scan cache holds for its unchanged identity is not read.
    void takeCachedTexts(std::vector<PlannedEntry>& plan, const QByteArray& folderWithSeparator) {
        if (!cache_ || !cache_->active())
            return;
        // A folder of folders alone is not looked up: the cache is read at the first folder
        // with files, by when the folders listed before it keep the listing threads busy.
        if (std::none_of(plan.begin(), plan.end(), [](const PlannedEntry& entry) {
                return entry.candidate && entry.identity;
            }))
            return;
        cache_->enterFolder(folderWithSeparator);
        for (PlannedEntry& entry : plan) {
            if (entry.candidate && entry.identity)
                entry.cached = cache_->lookup(entry.name, *entry.identity);
        }
    }

    void stopWhenInterrupted() {
        if (result_.end == WalkEnd::Finished && options_.interruptRequested &&
            options_.interruptRequested())
            result_.end = WalkEnd::Interrupted;
    }

    void queueFolder(const QByteArray& path) {
        if (queuedTotal_ >= options_.limits.queuedFolders) {
            result_.end = WalkEnd::QueueFull;
            return;
        }
        ++queuedTotal_;
        queue_.push_back(path);
        lister_->add(path);
    }

    void handleFile(size_t index, const Entry& entry, const QString& folderText) {
        if (++progressCounter_ >= options_.limits.progressEvery) {
            progressCounter_ = 0;
            if (progressStep_)
                progressStep_();
        }
        if (plan_[index].parentReference) {
            ++parentReferences_;
            return;
        }
        if (!plan_[index].candidate)
            return;
        parentReferences_ = 0;
        extract(index, entry, folderText);
    }

    void extract(size_t index, const Entry& entry, const QString& folderText) {
        if (store_.count() >= RecordStore::kCapacity) {
            result_.end = WalkEnd::StoreFull;
            return;
        }
        const PlannedEntry& planned = plan_[index];
        if (planned.cached) {
            ++result_.cacheHits;
            if (structured()) {
                if (options_.structuredRecordMade)
                    options_.structuredRecordMade(planned.path, {});
                appendRecord(structuredRecord(folderText, entry.displayName, *planned.cached));
            } else {
                appendRecord(makeRecord(folderText, entry.displayName, *planned.cached));
            }
            return;
        }
        if (candidates_ && !prefetching_) {
            if (std::optional<CandidateRead> read = candidates_->take(index)) {
                appendRead(index, entry, folderText, *read);
                return;
            }
        }
        ExtractRequest request;
        request.checkUnchanged = cache_ && cache_->active();
        request.probePageCache = !prefetching_;
        if (prefetching_) {
            prefetcher_.ahead(plan_, index + 1, folderFd_);
            request.openedFile = prefetcher_.take(index);
        }
        if (options_.afterReadingFile)
            request.afterReading = [&] { options_.afterReadingFile(decodeFileName(planned.path)); };
        CandidateRead read = reading_.read(planned, folderFd_, std::move(request));
        appendRead(index, entry, folderText, read);
    }

    bool structured() const { return options_.reading.reading == KarReading::Structured; }

    // The record of a file read by either thread, and its texts for the scan cache.
    void appendRead(size_t index, const Entry& entry, const QString& folderText,
                    const CandidateRead& read) {
        if (read.error)
            std::rethrow_exception(read.error);
        if (read.failure) {
            noteUnreadable(plan_[index].path, Error(*read.failure));
            return;
        }
        readInFolder_ = true;
        if (read.file.waitedForDisk && !prefetching_) {
            // The page cache does not hold this folder: keep the disk busy with the next
            // files while each one is parsed, and read them here, in order.
            prefetching_ = true;
            if (candidates_)
                candidates_->stopTaking();
            prefetcher_.ahead(plan_, index + 1, folderFd_);
        }
        if (cache_ && cache_->active())
            ++result_.cacheMisses;
        if (structured())
            appendStructured(plan_[index], entry, folderText, read);
        else
            appendProgramReading(entry, folderText, read.file);
    }

    void appendProgramReading(const Entry& entry, const QString& folderText,
                              const ExtractedFile& file) {
        appendRecord(makeRecord(folderText, entry.displayName, file.texts));
        if (cache_ && cache_->active() && file.unchanged)
            cache_->store(folderPath_, entry.name, file.identity, file.texts);
    }

    void appendStructured(const PlannedEntry& planned, const Entry& entry,
                          const QString& folderText, const CandidateRead& read) {
        CatalogueRecord record =
            makeStructuredRecord(folderText, entry.displayName, read.structured);
        // Kept only when the file is the version it was listed as, still after reading.
        if (read.storable && cache_ && cache_->active()) {
            if (const std::optional<KarTexts> texts =
                    storedTexts(record, entry.displayName, folderText))
                cache_->store(folderPath_, entry.name, *planned.identity, *texts);
        }
        if (options_.structuredRecordMade)
            options_.structuredRecordMade(planned.path, read.structured.codePage.key);
        appendRecord(std::move(record));
    }

    void appendRecord(CatalogueRecord record) {
        store_.append(std::move(record));
        ++result_.recordsAdded;
    }

    void noteUnreadable(const QByteArray& path, const Error& error) {
        if (result_.unreadableCount++ == 0) {
            result_.firstUnreadable = decodeFileName(path);
            result_.firstUnreadableError = error.message();
        }
    }

    RecordStore& store_;
    const WalkOptions& options_;
    const std::function<void()>& progressStep_;
    const int parentReferenceLimit_;
    std::deque<QByteArray> queue_;
    std::unique_ptr<FolderLister> lister_;
    int folderFd_ = -1;        // the folder whose files are being read
    CandidateReading reading_; // the walk's own
    std::optional<ScanCache> cache_;
    std::vector<PlannedEntry> plan_;
    Prefetcher prefetcher_;
    bool prefetching_ = false;          // on once a file of the folder was not in the page cache
    bool readInFolder_ = false;         // a file of the folder was read, not taken from the cache
    bool lastFolderCold_ = false;       // the last folder a file was read in was not held
    std::deque<ListedFolder> upcoming_; // the next folders' listings, taken early
    std::unique_ptr<CandidateReader> candidates_; // the second reading thread
    QByteArray folderPath_;                       // the folder being listed, ending with "/"
    WalkResult result_;
    int queuedTotal_ = 0;
    int parentReferences_ = 0;
    int progressCounter_ = 0;
};

} // namespace

QByteArray readingKey(const WalkOptions& options) {
    if (options.reading.reading == KarReading::Structured)
        return readingKey(options.reading);
    return options.window == ScanWindow::Start ? QByteArrayLiteral("kar/start")
                                               : QByteArrayLiteral("kar/main");
}

WalkResult walkFolder(const QString& chosenFolder, RecordStore& store, const WalkOptions& options,
                      const std::function<void()>& progressStep) {
    return FolderWalk(store, options, progressStep).run(chosenFolder);
}

QString overloadMessage() {
    return QCoreApplication::translate(
        "songwick::Scan", "Ошибка!\n\rВ выбранной папке находится очень много файлов или очень "
                          "большая глубина вложенных папок (в том числе пустых). Выберите одну из "
                          "вложенных папок и повторите попытку! За более подробной информацией "
                          "обращайтесь к Помощи\u2026.");
}

QString limitMessage(const WalkResult& result) {
    switch (result.end) {
    case WalkEnd::StoreFull:
        return QCoreApplication::translate(
                   "songwick::Scan",
                   "Таблица заполнена: в неё помещается не более %1 файлов. "
                   "Сканирование остановлено, найденные файлы сохранены в таблице.")
            .arg(RecordStore::kCapacity);
    case WalkEnd::QueueFull:
        return QCoreApplication::translate(
                   "songwick::Scan", "В выбранной папке больше %1 вложенных папок. Сканирование "
                                     "остановлено, найденные файлы сохранены в таблице.")
            .arg(RecordStore::kCapacity);
    default:
        return {};
    }
}

QString unreadableMessage(const WalkResult& result) {
    QStringList lines;
    if (result.unreadableCount > 0)
        lines << QCoreApplication::translate(
                     "songwick::Scan", "Не удалось прочитать файлов: %1. Первый из них: %2 (%3)")
                     .arg(result.unreadableCount)
                     .arg(result.firstUnreadable, result.firstUnreadableError);
    if (!result.unreadableFolders.empty()) {
        const UnreadableFolder& first = result.unreadableFolders.front();
        lines << QCoreApplication::translate("songwick::Scan",
                                             "Не удалось прочитать папок: %1. Первая: %2 (%3)")
                     .arg(result.unreadableFolders.size())
                     .arg(displayFileName(first.path), systemErrorText(first.error));
    }
    return lines.join(u'\n');
}

} // namespace songwick
