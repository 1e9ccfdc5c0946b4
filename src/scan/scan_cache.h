#pragma once

#include "common/file_identity.h"
#include "scan/kar_extractor.h"
#include "scan/sqlite_database.h"

#include <QByteArray>
#include <QString>
#include <memory>
#include <optional>
#include <vector>

namespace songwick {

// scan-cache.sqlite in the user's cache folder.
QString defaultScanCachePath();

// Days since 1970-01-01 of the local clock.
qint64 todayAsDayNumber();

// Entries of files not seen for this many days are dropped.
inline constexpr qint64 kScanCacheExpiryDays = 90;

// What a cache entry is checked against: the file's folder and name as the file system's
// bytes, the reading that made the texts and the file's identity.
struct CacheKey {
    QByteArray folder;
    QByteArray name;
    QByteArray reading;
    FileIdentity identity;
};

// The stored form of one entry's texts: each text with its length, then a check sum over the
// key and the texts, so that a damaged entry or one copied to another file is never taken.
QByteArray encodeCachedTexts(const CacheKey& key, const KarTexts& texts);
// The texts of a stored entry; nothing when the entry is damaged or belongs to another key.
std::optional<KarTexts> decodeCachedTexts(const CacheKey& key, QByteArrayView stored);

// The texts that earlier scans read from files, kept in an SQLite database so that a rescan
// of an unchanged collection does not read the files again. A database that is missing is
// created; one that is damaged, locked, foreign or on a disk that refuses writes is never an
// error: the scan goes on without it (problem() says why) and a damaged or foreign one is
// removed, so the next scan builds a new one. All changes of one scan are one transaction.
class ScanCache {
public:
    ScanCache(const QString& path, QByteArray reading, qint64 today = todayAsDayNumber());
    ~ScanCache();
    ScanCache(const ScanCache&) = delete;
    ScanCache& operator=(const ScanCache&) = delete;

    bool active() const { return database_.isOpen(); }
    // Why the cache was left out, one line; empty while all is well.
    const QString& problem() const { return problem_; }

    // The folder the walk goes through (path ending with "/"): the entries of every folder
    // below it are read at once, at the first folder entered. Without it, the first folder
    // entered is taken for that folder.
    void setTree(const QByteArray& tree) { treeRoot_ = tree; }
    // Loads the entries of one folder (path ending with "/"); lookups and stores below are for
    // files in it.
    void enterFolder(const QByteArray& folder);
    // The texts of the named file when an entry matches its identity in every part.
    std::optional<KarTexts> lookup(const QByteArray& name, const FileIdentity& identity);
    void store(const QByteArray& name, const FileIdentity& identity, const KarTexts& texts);
    // The same for a file of another folder than the one entered last.
    void store(const QByteArray& folder, const QByteArray& name, const FileIdentity& identity,
               const KarTexts& texts);

    // With the expired entries, finish() drops those of readings whose key begins with `family`
    // but not with `current`: what an earlier revision of a reading made, never looked up again.
    void dropEarlierRevisions(QByteArray family, QByteArray current);

    // Commits the scan's changes and drops expired entries.
    void finish();

private:
    // One entry read from the database; its name and stored texts lie in bytes_.
    struct Entry {
        qsizetype nameAt = 0;
        qsizetype nameSize = 0;
        qsizetype storedAt = 0;
        qsizetype storedSize = 0;
        FileIdentity identity;
        qint64 seen = 0;
    };
    // The entries of one folder: entries_[begin, end), in byte order of their names; the
    // folder's path lies in bytes_.
    struct FolderEntries {
        qsizetype pathAt = 0;
        qsizetype pathSize = 0;
        std::size_t begin = 0;
        std::size_t end = 0;
    };

    bool open(const QString& path);
    bool deleteEarlierRevisions();
    // Leaves the cache out for the rest of the scan; a damaged file is removed.
    void fail(const QString& why, int code);
    void close();
    // Reads the entries of every folder whose path begins with `tree`, in one pass.
    void readTree(const QByteArray& tree);
    // Appends the rows of a stepped query to the entries, one FolderEntries per folder.
    bool appendRows(sqlite3_stmt* query);

    QString path_;
    QByteArray reading_;
    qint64 today_;
    SqliteDatabase database_;
    SqliteStatement select_;
    SqliteStatement selectTree_;
    SqliteStatement selectTreeToEnd_; // for a tree whose path is all 0xFF bytes
    SqliteStatement insert_;
    SqliteStatement touch_;
    QString problem_;
    QByteArray revisionFamily_; // see dropEarlierRevisions
    QByteArray currentRevision_;
    QByteArrayView nameOf(const Entry& entry) const;
    QByteArrayView pathOf(const FolderEntries& folder) const;

    QByteArray treeRoot_; // see setTree
    // The folder whose tree was read at the first folder entered; the entries of the folders
    // outside it are read folder by folder.
    std::optional<QByteArray> tree_;
    QByteArray folder_;
    QByteArray bytes_; // the paths, names and stored texts of the entries read
    std::vector<Entry> entries_;
    std::vector<FolderEntries> folders_; // of the tree in byte order, then the others
    std::size_t treeFolders_ = 0;        // how many of folders_ are the tree's
    std::size_t begin_ = 0;              // the current folder's entries: entries_[begin_, end_)
    std::size_t end_ = 0;
};

} // namespace songwick
