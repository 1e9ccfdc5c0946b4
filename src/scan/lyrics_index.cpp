#include "scan/lyrics_index.h"

#include "scan/lyrics_query.h"
#include "scan/sqlite_database.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <functional>
#include <sqlite3.h>
#include <utility>

namespace songwick {
namespace {

// "SWKL": marks the database as this program's lyrics index.
constexpr int kApplicationId = 0x53574B4C;
constexpr int kSchemaVersion = 1;
// A database that another program holds is given up after this long.
constexpr int kBusyTimeoutMs = 250;

constexpr char kTables[] =
    "CREATE TABLE documents(id INTEGER PRIMARY KEY,"
    " device INTEGER NOT NULL, inode INTEGER NOT NULL, size INTEGER NOT NULL,"
    " modified INTEGER NOT NULL, seen INTEGER NOT NULL, lines BLOB NOT NULL,"
    " UNIQUE(device, inode, size, modified));"
    // Contentless: the lines are kept once, compressed, in documents.
    "CREATE VIRTUAL TABLE words USING fts5(text, content='',"
    " tokenize='unicode61 remove_diacritics 2');"
    "CREATE TABLE expiry(day INTEGER NOT NULL);"
    "INSERT INTO expiry VALUES(0);";

QString joinedLines(const QStringList& lines) {
    return lines.join(u'\n');
}

QByteArray storedLines(const QStringList& lines) {
    return lines.isEmpty() ? QByteArray() : qCompress(joinedLines(lines).toUtf8());
}

QStringList linesOfStored(const void* data, int size) {
    if (!data || size <= 0)
        return {};
    const QByteArray text = qUncompress(static_cast<const uchar*>(data), size);
    if (text.isEmpty())
        return {};
    return QString::fromUtf8(text).split(u'\n', Qt::SkipEmptyParts);
}

void bindText(sqlite3_stmt* statement, int index, const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    sqlite3_bind_text(statement, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
}

// Runs the statement to its end; its result code.
int stepToEnd(sqlite3_stmt* statement) {
    int code;
    while ((code = sqlite3_step(statement)) == SQLITE_ROW) {
    }
    sqlite3_reset(statement);
    return code == SQLITE_DONE ? SQLITE_OK : code;
}

} // namespace

QString defaultLyricsIndexPath() {
    return QFileInfo(defaultScanCachePath()).absolutePath() +
           QStringLiteral("/lyrics-index.sqlite");
}

std::size_t LyricsIndex::KeyHash::operator()(const Key& key) const {
    std::size_t hash = std::hash<qint64>()(key.inode);
    for (const qint64 part : {key.device, key.size, key.modified})
        hash = hash * 1099511628211ULL ^ std::hash<qint64>()(part);
    return hash;
}

LyricsIndex::LyricsIndex(const QString& path, qint64 today)
    : path_(path), today_(today),
      database_([this](const QString& why, int code) { fail(why, code); }) {
    if (!openDatabase(path))
        ensureOpen();
}

LyricsIndex::~LyricsIndex() {
    if (writing_)
        commit();
    close();
}

bool LyricsIndex::openDatabase(const QString& path) {
    stored_ = !path.isEmpty();
    if (stored_ && !QDir().mkpath(QFileInfo(path).absolutePath()))
        return fail(QStringLiteral("cannot create its folder"), SQLITE_CANTOPEN);
    const QByteArray name = stored_ ? QFile::encodeName(path) : QByteArray(":memory:");
    if (!database_.open(name, kBusyTimeoutMs))
        return false;
    if (stored_ && sqlite3_db_readonly(database_.handle(), "main") == 1)
        return fail(QStringLiteral("its disk refuses writes"), SQLITE_READONLY);
    const SqliteSchema schema{kApplicationId, kSchemaVersion, kTables,
                              QStringLiteral("it is not a lyrics index of this version")};
    if (!database_.ensureSchema(schema) ||
        (stored_ && (!database_.execute("PRAGMA journal_mode=WAL") ||
                     !database_.execute("PRAGMA synchronous=NORMAL"))))
        return false;
    insertDocument_ =
        database_.prepare("INSERT INTO documents(device, inode, size, modified, seen, lines)"
                          " VALUES(?1, ?2, ?3, ?4, ?5, ?6)");
    insertWords_ = database_.prepare("INSERT INTO words(rowid, text) VALUES(?1, ?2)");
    selectLines_ = database_.prepare("SELECT lines FROM documents WHERE id = ?1");
    search_ = database_.prepare("SELECT rowid FROM words WHERE words MATCH ?1");
    rankedSearch_ = database_.prepare("SELECT rowid, rank FROM words WHERE words MATCH ?1");
    touch_ = database_.prepare("UPDATE documents SET seen = ?2 WHERE id = ?1");
    return insertDocument_ && insertWords_ && selectLines_ && search_ && rankedSearch_ && touch_ &&
           loadDocuments();
}

bool LyricsIndex::loadDocuments() {
    const SqliteStatement statement = database_.prepare(
        "SELECT id, device, inode, size, modified, seen, length(lines) > 0 FROM documents");
    sqlite3_stmt* query = statement.get();
    if (!query)
        return false;
    documents_.clear();
    int code;
    while ((code = sqlite3_step(query)) == SQLITE_ROW) {
        const Key key{sqlite3_column_int64(query, 1), sqlite3_column_int64(query, 2),
                      sqlite3_column_int64(query, 3), sqlite3_column_int64(query, 4)};
        documents_[key] = {sqlite3_column_int64(query, 0), sqlite3_column_int64(query, 5),
                           sqlite3_column_int(query, 6) != 0};
    }
    if (code != SQLITE_DONE)
        return database_.fail(code);
    return true;
}

bool LyricsIndex::fail(const QString& why, int code) {
    const bool wasStored = stored_;
    const bool damaged = isSqliteDamage(code);
    close();
    ++generation_;
    recovery_ = Recovery::None; // the index in memory failed too: there is none
    if (!wasStored)
        return false;
    const bool rebuild = damaged && !rebuilt_;
    if (problem_.isEmpty())
        problem_ = rebuild ? QStringLiteral("lyrics index %1 built anew: %2").arg(path_, why)
                           : QStringLiteral("lyrics index %1 left out, the words are kept in "
                                            "memory for this run: %2")
                                 .arg(path_, why);
    if (damaged)
        removeSqliteFiles(path_);
    rebuilt_ = rebuilt_ || rebuild;
    recovery_ = rebuild ? Recovery::Rebuild : Recovery::InMemory;
    return false;
}

bool LyricsIndex::ensureOpen() {
    for (int attempt = 0; !database_.isOpen() && recovery_ != Recovery::None && attempt < 3;
         ++attempt) {
        const Recovery recovery = std::exchange(recovery_, Recovery::None);
        openDatabase(recovery == Recovery::Rebuild ? path_ : QString());
    }
    return database_.isOpen();
}

void LyricsIndex::close() {
    for (SqliteStatement* statement :
         {&insertDocument_, &insertWords_, &selectLines_, &search_, &rankedSearch_, &touch_})
        statement->reset();
    database_.close(); // an open transaction is rolled back
    writing_ = false;
    documents_.clear();
    seenToday_.clear();
}

bool LyricsIndex::beginWriting() {
    if (writing_)
        return true;
    if (!database_.execute("BEGIN IMMEDIATE"))
        return false;
    writing_ = true;
    return true;
}

std::optional<LyricsIndex::IndexedFile> LyricsIndex::documentOf(const FileIdentity& identity) {
    const auto found =
        documents_.find({identity.device, identity.inode, identity.size, identity.modifiedNs});
    if (found == documents_.end())
        return std::nullopt;
    if (found->second.seen < today_) {
        found->second.seen = today_;
        seenToday_.push_back(found->second.id);
    }
    return IndexedFile{found->second.id, found->second.sings};
}

qint64 LyricsIndex::add(const FileIdentity& identity, const QStringList& lines) {
    if (!ensureOpen() || !beginWriting())
        return -1;
    sqlite3_stmt* insert = insertDocument_.get();
    sqlite3_reset(insert);
    int index = 1;
    for (const qint64 part :
         {identity.device, identity.inode, identity.size, identity.modifiedNs, today_})
        sqlite3_bind_int64(insert, index++, part);
    const QByteArray stored = storedLines(lines);
    sqlite3_bind_blob(insert, 6, stored.constData(), int(stored.size()), SQLITE_TRANSIENT);
    if (const int code = stepToEnd(insert); code != SQLITE_OK) {
        database_.fail(code);
        return -1;
    }
    const qint64 id = sqlite3_last_insert_rowid(database_.handle());
    ++added_;
    if (!lines.isEmpty()) {
        sqlite3_bind_int64(insertWords_.get(), 1, id);
        bindText(insertWords_.get(), 2, foldedForLyricsIndex(joinedLines(lines)));
        if (const int code = stepToEnd(insertWords_.get()); code != SQLITE_OK) {
            database_.fail(code);
            return -1;
        }
    }
    documents_[{identity.device, identity.inode, identity.size, identity.modifiedNs}] = {
        id, today_, !lines.isEmpty()};
    return id;
}

void LyricsIndex::commit() {
    if (!ensureOpen() || (!writing_ && seenToday_.empty()))
        return;
    if (!beginWriting())
        return;
    for (const qint64 id : seenToday_) {
        sqlite3_bind_int64(touch_.get(), 1, id);
        sqlite3_bind_int64(touch_.get(), 2, today_);
        if (const int code = stepToEnd(touch_.get()); code != SQLITE_OK) {
            database_.fail(code);
            return;
        }
    }
    seenToday_.clear();
    if (!expireOldDocuments())
        return;
    // Many documents added at once leave the full-text index in many parts, each of which
    // every query reads: merged into one, queries take a fraction of the time.
    constexpr int kOptimizeAfter = 1000;
    if (added_ >= kOptimizeAfter &&
        !database_.execute("INSERT INTO words(words) VALUES('optimize')"))
        return;
    if (database_.execute("COMMIT")) {
        writing_ = false;
        added_ = 0;
    }
}

// Once a day: the documents not seen for kScanCacheExpiryDays days go. A contentless full-text
// index forgets a document only when it is given the document's text again.
bool LyricsIndex::expireOldDocuments() {
    const std::optional<bool> due = database_.isExpiryDue(today_);
    if (!due)
        return false;
    if (!*due)
        return true;
    std::vector<qint64> expired;
    {
        const SqliteStatement old = database_.prepare("SELECT id FROM documents WHERE seen < ?1");
        if (!old)
            return false;
        sqlite3_bind_int64(old.get(), 1, today_ - kScanCacheExpiryDays);
        while (sqlite3_step(old.get()) == SQLITE_ROW)
            expired.push_back(sqlite3_column_int64(old.get(), 0));
    }
    for (const qint64 id : expired)
        if (!removeDocument(id))
            return false;
    if (!expired.empty()) {
        for (auto it = documents_.begin(); it != documents_.end();)
            it = it->second.seen < today_ - kScanCacheExpiryDays ? documents_.erase(it) : ++it;
    }
    const QByteArray mark = "UPDATE expiry SET day = " + QByteArray::number(today_);
    return database_.execute(mark.constData());
}

bool LyricsIndex::removeDocument(qint64 id) {
    const QStringList text = lines(id);
    if (!database_.isOpen())
        return false;
    if (!text.isEmpty()) {
        const SqliteStatement forget =
            database_.prepare("INSERT INTO words(words, rowid, text) VALUES('delete', ?1, ?2)");
        if (!forget)
            return false;
        sqlite3_bind_int64(forget.get(), 1, id);
        bindText(forget.get(), 2, foldedForLyricsIndex(joinedLines(text)));
        if (const int code = stepToEnd(forget.get()); code != SQLITE_OK)
            return database_.fail(code);
    }
    const QByteArray remove = "DELETE FROM documents WHERE id = " + QByteArray::number(id);
    return database_.execute(remove.constData());
}

LyricsIndex::Hits LyricsIndex::search(const QString& expression) {
    Hits found;
    if (!ensureOpen() || expression.isEmpty())
        return found;
    // The documents first; ranked when they are few enough.
    for (sqlite3_stmt* query : {search_.get(), rankedSearch_.get()}) {
        const bool ranked = query == rankedSearch_.get();
        found.hits.clear();
        bindText(query, 1, expression);
        int code;
        while ((code = sqlite3_step(query)) == SQLITE_ROW)
            found.hits.push_back(
                {sqlite3_column_int64(query, 0), ranked ? sqlite3_column_double(query, 1) : 0});
        sqlite3_reset(query);
        if (code != SQLITE_DONE) {
            // An expression the full-text search cannot read finds nothing; damage is damage.
            if ((code & 0xFF) != SQLITE_ERROR)
                database_.fail(code);
            return {};
        }
        found.ranked = ranked;
        if (found.hits.empty() || found.hits.size() > kMostRankedHits)
            break;
    }
    return found;
}

QStringList LyricsIndex::lines(qint64 document) {
    if (!ensureOpen())
        return {};
    sqlite3_bind_int64(selectLines_.get(), 1, document);
    QStringList text;
    const int code = sqlite3_step(selectLines_.get());
    if (code == SQLITE_ROW)
        text = linesOfStored(sqlite3_column_blob(selectLines_.get(), 0),
                             sqlite3_column_bytes(selectLines_.get(), 0));
    sqlite3_reset(selectLines_.get());
    if (code != SQLITE_ROW && code != SQLITE_DONE)
        database_.fail(code);
    return text;
}

} // namespace songwick
