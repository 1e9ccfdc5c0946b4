#pragma once

#include "common/file_identity.h"
#include "scan/scan_cache.h"
#include "scan/sqlite_database.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <unordered_map>
#include <vector>

namespace songwick {

// lyrics-index.sqlite in the folder of the scan cache.
QString defaultLyricsIndexPath();

// The sung words of files, kept in an SQLite database with a full-text index (FTS5, words
// folded by case and diacritics, "ё" as "е"), one document per version of a file: the entry
// (device and inode) and what a change of its content changes (size and modification time), so
// that a file is read again only when it changed, and a rename keeps its words.
//
// A database that is missing is created. One that is damaged or foreign is removed and built
// anew; one that is locked by another program, or on a disk that refuses writes, is left alone
// and the index is kept in memory for this run instead. Either way problem() says so, once, and
// documents handed out before belong to the old index (generation() counts the changes).
// Documents not seen for kScanCacheExpiryDays days are dropped.
class LyricsIndex {
public:
    // An empty path keeps the index in memory only.
    explicit LyricsIndex(const QString& path, qint64 today = todayAsDayNumber());
    ~LyricsIndex();
    LyricsIndex(const LyricsIndex&) = delete;
    LyricsIndex& operator=(const LyricsIndex&) = delete;

    // Why the stored index was built anew or replaced by one in memory; empty while all is well.
    const QString& problem() const { return problem_; }
    // The index is kept on disk (not in memory only).
    bool stored() const { return stored_; }
    int generation() const { return generation_; }

    struct IndexedFile {
        qint64 document = 0;
        bool sings = false; // the file has sung words
    };
    // The document of that version of a file, when the index has one; it counts as seen today.
    std::optional<IndexedFile> documentOf(const FileIdentity& identity);
    // Adds the sung lines read from that version of a file (none: it sings no words); its
    // document. Kept in one transaction until commit().
    qint64 add(const FileIdentity& identity, const QStringList& lines);
    // Writes what was added and seen, and drops the documents not seen for too long.
    void commit();

    struct Hit {
        qint64 document = 0;
        double rank = 0; // the lower, the better (bm25)
    };
    // Documents found by more hits than this are not ranked: ranking costs about a microsecond
    // a document, and a query that finds most of the collection is one the user goes on typing.
    static constexpr std::size_t kMostRankedHits = 4000;
    struct Hits {
        std::vector<Hit> hits; // in no particular order
        bool ranked = false;   // each hit has its rank (there were at most kMostRankedHits)
    };
    // The documents that the full-text expression finds; none for an expression the index
    // cannot read.
    Hits search(const QString& expression);
    // The lines of a document; none when it has none or is not known.
    QStringList lines(qint64 document);
    // Documents in the index.
    qsizetype documentCount() const { return documents_.size(); }

private:
    struct Key {
        qint64 device, inode, size, modified;
        bool operator==(const Key&) const = default;
    };
    struct KeyHash {
        std::size_t operator()(const Key& key) const;
    };
    struct Document {
        qint64 id = 0;
        qint64 seen = 0;
        bool sings = false;
    };

    // Opens the database at path, or one in memory for an empty path; false after fail().
    bool openDatabase(const QString& path);
    bool loadDocuments();
    bool beginWriting();
    // An error of the database: closes it, and a damaged one is removed. Always false.
    bool fail(const QString& why, int code);
    // After a failure of the stored database: a damaged one is built anew (once a run), else
    // an index in memory takes its place. Whether a database is open.
    bool ensureOpen();
    void close();
    bool expireOldDocuments();
    bool removeDocument(qint64 id);

    QString path_;
    qint64 today_;
    SqliteDatabase database_;
    bool stored_ = false;
    bool writing_ = false;
    bool rebuilt_ = false;
    enum class Recovery { None, Rebuild, InMemory } recovery_ = Recovery::None;
    int generation_ = 0;
    QString problem_;
    std::unordered_map<Key, Document, KeyHash> documents_;
    std::vector<qint64> seenToday_;
    SqliteStatement insertDocument_;
    SqliteStatement insertWords_;
    SqliteStatement selectLines_;
    SqliteStatement search_;
    SqliteStatement rankedSearch_;
    int added_ = 0; // documents added since the index was last optimized
    SqliteStatement touch_;
};

} // namespace songwick
