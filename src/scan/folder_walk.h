#pragma once

#include "catalogue/record_store.h"
#include "scan/kar_extractor.h"
#include "scan/reading_options.h"

#include <QString>
#include <functional>
#include <vector>

namespace songwick {

// Limits of a walk; the defaults are the program's, tests pass smaller ones.
struct WalkLimits {
    int listings = 17119;             // the walk ends once more listings than this were done
    int parentReferences = 4021;      // entries with "/.." in their path since the last candidate
    int parentReferencesMany = 55010; // the same with ManyFilesScan on
    int queuedFolders = 45002;        // capacity of the folder queue
    int progressEvery = 250;          // non-folder entries per progress step
};

struct WalkOptions {
    ScanWindow window = ScanWindow::Start;
    bool manyFilesScan = false; // the setting ManyFilesScan
    WalkLimits limits;
    // The scan cache database to take unchanged files' texts from; empty: every file is read.
    QString scanCachePath;
    // Asked after each file and each folder listing: true ends the walk there, keeping the
    // records found so far.
    std::function<bool()> interruptRequested;
    ReadingOptions reading; // the program's reading unless the user chose the structured one
    // Runs for each file the structured reading made a record of, in the walk's order: the
    // file's path (the file system's bytes) and the key of the code page its texts were read
    // in, empty when they came from the scan cache. The lyrics index is filled from there.
    std::function<void(const QByteArray& path, const QString& codePage)> structuredRecordMade;
    // Runs after a file's bytes were read and before its status is taken again to see whether
    // it changed meanwhile (tests change the file here); gets the file's full path. When set,
    // the program's reading reads the files one at a time on the walk's thread, in the walk's
    // order, so that progressStep too runs before the files after it are read.
    std::function<void(const QString&)> afterReadingFile;
};

// What distinguishes the readings of the walk options: the texts of two readings never share
// a scan cache entry. The program's reading differs by window; the structured reading by its
// code page, its file-name patterns and the revision of its rules, not by window.
QByteArray readingKey(const WalkOptions& options);

enum class WalkEnd {
    Finished,             // every folder found was listed
    ListingLimit,         // too many listings: the overload message is due
    ParentReferenceLimit, // too many "/.." entries since the last candidate: ends silently
    StoreFull,            // a further record did not fit into the record store
    QueueFull,            // a further folder did not fit into the folder queue
    Interrupted,          // the user ended the walk
};

// A folder the walk could not open or list, with the system's error number.
struct UnreadableFolder {
    QString path;
    int error = 0;
};

struct WalkResult {
    WalkEnd end = WalkEnd::Finished;
    int listings = 0;        // folder listings done
    int recordsAdded = 0;    // records appended to the store
    int unreadableCount = 0; // candidates that could not be opened or read (skipped)
    QString firstUnreadable; // full path of the first of them
    QString firstUnreadableError;
    // Folders that could not be opened or listed, the chosen folder too, in the order met;
    // a folder whose listing broke off keeps the entries it gave.
    std::vector<UnreadableFolder> unreadableFolders;
    bool chosenFolderUnreadable = false; // nothing at all could be listed
    qint64 bytesRead = 0;                // bytes read from candidate files
    int cacheHits = 0;                   // records taken from the scan cache
    int cacheMisses = 0;                 // candidates read while the scan cache was in use
    QString cacheProblem;                // why the scan cache was left out (empty when it was not)

    bool overloaded() const { return end == WalkEnd::ListingLimit; }
    bool limitReached() const { return end == WalkEnd::StoreFull || end == WalkEnd::QueueFull; }
    // Some file or folder could not be read.
    bool somethingUnreadable() const { return unreadableCount > 0 || !unreadableFolders.empty(); }
};

// Walks the chosen folder and, breadth first, every folder below it, appending one record
// per karaoke file to the store. Entries of a folder are taken in name order
// (case-insensitive, then byte order). progressStep runs every limits.progressEvery
// non-folder entries. Never throws for a file or folder it cannot read.
WalkResult walkFolder(const QString& chosenFolder, RecordStore& store, const WalkOptions& options,
                      const std::function<void()>& progressStep = {});

// The message shown after a walk that the listing limit ended.
QString overloadMessage();
// The message for a walk that a record store or the folder queue stopped (empty otherwise).
QString limitMessage(const WalkResult& result);
// The message naming the files and the folders that could not be read, the first of each
// with its reason (empty when there were none).
QString unreadableMessage(const WalkResult& result);

} // namespace songwick
