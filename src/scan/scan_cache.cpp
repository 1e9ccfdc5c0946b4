#include "scan/scan_cache.h"

#include "scan/sqlite_database.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <algorithm>
#include <fcntl.h>
#include <sqlite3.h>
#include <unistd.h>
#include <xxhash.h>

namespace songwick {
namespace {

// "SWKC": marks the database as this program's scan cache.
constexpr int kApplicationId = 0x53574B43;
// 2: the key begins with the reading, so that one reading's entries of a tree are read in
// one pass without those of the others.
constexpr int kSchemaVersion = 2;
// A database that another scan holds is given up after this long.
constexpr int kBusyTimeoutMs = 250;

constexpr char kTables[] = "CREATE TABLE files("
                           " reading BLOB NOT NULL, folder BLOB NOT NULL, name BLOB NOT NULL,"
                           " device INTEGER NOT NULL, inode INTEGER NOT NULL,"
                           " size INTEGER NOT NULL, modified INTEGER NOT NULL,"
                           " changed INTEGER NOT NULL, texts BLOB NOT NULL,"
                           " seen INTEGER NOT NULL,"
                           " PRIMARY KEY(reading, folder, name)) WITHOUT ROWID;"
                           "CREATE TABLE expiry(day INTEGER NOT NULL);"
                           "INSERT INTO expiry VALUES(0);";
// What an earlier version held is read again rather than carried over.
constexpr char kEarlierTables[] = "DROP TABLE IF EXISTS files; DROP TABLE IF EXISTS expiry;";

void appendNumber(QByteArray& out, quint64 value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.append(static_cast<char>((value >> (8 * i)) & 0xFF));
}

quint64 numberAt(QByteArrayView in, qsizetype at, int bytes) {
    quint64 value = 0;
    for (int i = 0; i < bytes; ++i)
        value |= static_cast<quint64>(static_cast<unsigned char>(in[at + i])) << (8 * i);
    return value;
}

// Each part hashed with the hash of those before as its seed.
quint64 checkSum(const CacheKey& key, QByteArrayView texts) {
    constexpr int kParts = 5;
    std::array<char, 8 * kParts> identity{};
    int at = 0;
    for (qint64 part : {key.identity.device, key.identity.inode, key.identity.size,
                        key.identity.modifiedNs, key.identity.changedNs}) {
        for (int i = 0; i < 8; ++i)
            identity[at++] = static_cast<char>((static_cast<quint64>(part) >> (8 * i)) & 0xFF);
    }
    XXH64_hash_t hash = 0;
    for (QByteArrayView part :
         {QByteArrayView(key.folder), QByteArrayView(key.name), QByteArrayView(key.reading),
          QByteArrayView(identity.data(), identity.size()), texts})
        hash = XXH3_64bits_withSeed(part.data(), static_cast<std::size_t>(part.size()), hash);
    return hash;
}

QByteArrayView columnBytes(sqlite3_stmt* statement, int column) {
    const void* data = sqlite3_column_blob(statement, column);
    const int size = sqlite3_column_bytes(statement, column);
    return data ? QByteArrayView(static_cast<const char*>(data), size) : QByteArrayView();
}

// Asks for the whole database file at once: a rescan on a cold cache would otherwise wait for
// its pages one by one, in the order the queries need them.
void readAheadWholeFile(const QString& path) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_WILLNEED);
    ::close(fd);
}

void bindBytes(sqlite3_stmt* statement, int index, const QByteArray& bytes) {
    sqlite3_bind_blob(statement, index, bytes.constData(), static_cast<int>(bytes.size()),
                      SQLITE_TRANSIENT);
}

} // namespace

QString defaultScanCachePath() {
    return QStandardPaths::writableLocation(QStandardPaths::CacheLocation) +
           QStringLiteral("/scan-cache.sqlite");
}

qint64 todayAsDayNumber() {
    return QDate(1970, 1, 1).daysTo(QDate::currentDate());
}

QByteArray encodeCachedTexts(const CacheKey& key, const KarTexts& texts) {
    QByteArray out;
    for (const QByteArray& text : texts) {
        appendNumber(out, static_cast<quint64>(text.size()), 4);
        out.append(text);
    }
    appendNumber(out, checkSum(key, out), 8);
    return out;
}

std::optional<KarTexts> decodeCachedTexts(const CacheKey& key, QByteArrayView stored) {
    if (stored.size() < 8)
        return std::nullopt;
    const QByteArrayView body = stored.first(stored.size() - 8);
    if (numberAt(stored, body.size(), 8) != checkSum(key, body))
        return std::nullopt;
    KarTexts texts;
    qsizetype at = 0;
    for (QByteArray& text : texts) {
        if (body.size() - at < 4)
            return std::nullopt;
        const quint64 size = numberAt(body, at, 4);
        at += 4;
        if (size > static_cast<quint64>(body.size() - at))
            return std::nullopt;
        text = body.sliced(at, static_cast<qsizetype>(size)).toByteArray();
        at += static_cast<qsizetype>(size);
    }
    if (at != body.size())
        return std::nullopt;
    return texts;
}

ScanCache::ScanCache(const QString& path, QByteArray reading, qint64 today)
    : path_(path), reading_(std::move(reading)), today_(today),
      database_([this](const QString& why, int code) { fail(why, code); }) {
    if (!open(path))
        close();
}

ScanCache::~ScanCache() {
    close();
}

bool ScanCache::open(const QString& path) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    readAheadWholeFile(path);
    if (!database_.open(QFile::encodeName(path), kBusyTimeoutMs))
        return false;
    const SqliteSchema schema{kApplicationId, kSchemaVersion, kTables,
                              QStringLiteral("it is not a scan cache of this version"),
                              kEarlierTables};
    if (!database_.ensureSchema(schema) || !database_.execute("PRAGMA journal_mode=WAL") ||
        !database_.execute("PRAGMA synchronous=NORMAL") || !database_.execute("BEGIN IMMEDIATE"))
        return false;
    select_ =
        database_.prepare("SELECT folder, name, device, inode, size, modified, changed, texts, seen"
                          " FROM files WHERE folder = ?1 AND reading = ?2 ORDER BY name");
    // In the order of the primary key: one pass over the part of the table that holds the tree,
    // bounded at both ends (an upper bound in an OR is no bound of the search, which then went
    // on through the entries of every folder after the tree).
    selectTree_ = database_.prepare(
        "SELECT folder, name, device, inode, size, modified, changed, texts, seen FROM files"
        " WHERE reading = ?3 AND folder >= ?1 AND folder < ?2 ORDER BY reading, folder, name");
    selectTreeToEnd_ = database_.prepare(
        "SELECT folder, name, device, inode, size, modified, changed, texts, seen FROM files"
        " WHERE reading = ?3 AND folder >= ?1 ORDER BY reading, folder, name");
    insert_ = database_.prepare("INSERT OR REPLACE INTO files(folder, reading, name, device, inode,"
                                " size, modified, changed, texts, seen)"
                                " VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10)");
    touch_ = database_.prepare(
        "UPDATE files SET seen = ?4 WHERE folder = ?1 AND reading = ?2 AND name = ?3");
    return select_ && selectTree_ && selectTreeToEnd_ && insert_ && touch_;
}

void ScanCache::fail(const QString& why, int code) {
    if (problem_.isEmpty())
        problem_ = QStringLiteral("scan cache %1 left out: %2").arg(path_, why);
    close();
    if (isSqliteDamage(code))
        removeSqliteFiles(path_);
}

void ScanCache::close() {
    for (SqliteStatement* statement :
         {&select_, &selectTree_, &selectTreeToEnd_, &insert_, &touch_})
        statement->reset();
    database_.close(); // an open transaction is rolled back
    tree_.reset();
    bytes_.clear();
    entries_.clear();
    folders_.clear();
    treeFolders_ = 0;
    begin_ = end_ = 0;
}

void ScanCache::enterFolder(const QByteArray& folder) {
    if (!database_.isOpen() || folder == folder_)
        return;
    folder_ = folder;
    begin_ = end_ = 0;
    // The walk goes through the chosen folder and every other folder below it: the entries
    // of the whole tree are read at the first folder, and each folder's are found among them.
    if (!tree_)
        readTree(treeRoot_.isEmpty() ? folder : treeRoot_);
    if (!database_.isOpen())
        return;
    const auto byPath = [this](const FolderEntries& entries, QByteArrayView path) {
        return pathOf(entries) < path;
    };
    const auto treeEnd = folders_.cbegin() + static_cast<std::ptrdiff_t>(treeFolders_);
    if (folder.startsWith(*tree_)) {
        const auto found =
            std::lower_bound(folders_.cbegin(), treeEnd, QByteArrayView(folder), byPath);
        if (found != treeEnd && pathOf(*found) == QByteArrayView(folder)) {
            begin_ = found->begin;
            end_ = found->end;
        }
        return;
    }
    for (auto other = treeEnd; other != folders_.cend(); ++other) {
        if (pathOf(*other) == QByteArrayView(folder)) {
            begin_ = other->begin;
            end_ = other->end;
            return;
        }
    }
    sqlite3_reset(select_.get());
    bindBytes(select_.get(), 1, folder);
    bindBytes(select_.get(), 2, reading_);
    const std::size_t before = entries_.size();
    if (appendRows(select_.get()) && entries_.size() > before) {
        begin_ = folders_.back().begin;
        end_ = folders_.back().end;
    }
}

void ScanCache::readTree(const QByteArray& tree) {
    tree_ = tree;
    // The first path past every path that begins with the tree's: its last byte that can be,
    // one up; none when the tree's path is all 0xFF bytes.
    QByteArray pastTree = tree;
    while (!pastTree.isEmpty() && static_cast<unsigned char>(pastTree.back()) == 0xFF)
        pastTree.chop(1);
    if (!pastTree.isEmpty())
        pastTree.back() = static_cast<char>(pastTree.back() + 1);
    sqlite3_stmt* query = pastTree.isEmpty() ? selectTreeToEnd_.get() : selectTree_.get();
    sqlite3_reset(query);
    bindBytes(query, 1, tree);
    if (!pastTree.isEmpty())
        bindBytes(query, 2, pastTree);
    bindBytes(query, 3, reading_);
    if (appendRows(query))
        treeFolders_ = folders_.size();
}

bool ScanCache::appendRows(sqlite3_stmt* query) {
    int code;
    while ((code = sqlite3_step(query)) == SQLITE_ROW) {
        const QByteArrayView path = columnBytes(query, 0);
        if (folders_.size() == treeFolders_ || pathOf(folders_.back()) != path) {
            FolderEntries& folder = folders_.emplace_back();
            folder.pathAt = bytes_.size();
            folder.pathSize = path.size();
            folder.begin = folder.end = entries_.size();
            bytes_.append(path);
        }
        const QByteArrayView name = columnBytes(query, 1);
        const QByteArrayView stored = columnBytes(query, 7);
        Entry& entry = entries_.emplace_back();
        entry.nameAt = bytes_.size();
        entry.nameSize = name.size();
        bytes_.append(name);
        entry.storedAt = bytes_.size();
        entry.storedSize = stored.size();
        bytes_.append(stored);
        entry.identity = {sqlite3_column_int64(query, 2), sqlite3_column_int64(query, 3),
                          sqlite3_column_int64(query, 4), sqlite3_column_int64(query, 5),
                          sqlite3_column_int64(query, 6)};
        entry.seen = sqlite3_column_int64(query, 8);
        folders_.back().end = entries_.size();
    }
    if (code != SQLITE_DONE) {
        database_.fail(code);
        return false;
    }
    sqlite3_reset(query);
    // The database gives each folder's names in its own order; a lookup needs byte order.
    const auto byName = [this](const Entry& a, const Entry& b) { return nameOf(a) < nameOf(b); };
    for (std::size_t i = treeFolders_; i < folders_.size(); ++i) {
        const auto first = entries_.begin() + static_cast<std::ptrdiff_t>(folders_[i].begin);
        const auto last = entries_.begin() + static_cast<std::ptrdiff_t>(folders_[i].end);
        if (!std::is_sorted(first, last, byName))
            std::sort(first, last, byName);
    }
    return true;
}

QByteArrayView ScanCache::nameOf(const Entry& entry) const {
    return QByteArrayView(bytes_).sliced(entry.nameAt, entry.nameSize);
}

QByteArrayView ScanCache::pathOf(const FolderEntries& folder) const {
    return QByteArrayView(bytes_).sliced(folder.pathAt, folder.pathSize);
}

std::optional<KarTexts> ScanCache::lookup(const QByteArray& name, const FileIdentity& identity) {
    if (!database_.isOpen())
        return std::nullopt;
    const auto first = entries_.cbegin() + static_cast<std::ptrdiff_t>(begin_);
    const auto last = entries_.cbegin() + static_cast<std::ptrdiff_t>(end_);
    const auto found = std::lower_bound(
        first, last, QByteArrayView(name),
        [this](const Entry& entry, QByteArrayView key) { return nameOf(entry) < key; });
    if (found == last || nameOf(*found) != QByteArrayView(name) || !(found->identity == identity))
        return std::nullopt;
    std::optional<KarTexts> texts =
        decodeCachedTexts({folder_, name, reading_, identity},
                          QByteArrayView(bytes_).sliced(found->storedAt, found->storedSize));
    if (texts && found->seen < today_) {
        sqlite3_reset(touch_.get());
        bindBytes(touch_.get(), 1, folder_);
        bindBytes(touch_.get(), 2, reading_);
        bindBytes(touch_.get(), 3, name);
        sqlite3_bind_int64(touch_.get(), 4, today_);
        if (const int code = sqlite3_step(touch_.get()); code != SQLITE_DONE)
            database_.fail(code);
    }
    return texts;
}

void ScanCache::store(const QByteArray& name, const FileIdentity& identity, const KarTexts& texts) {
    store(folder_, name, identity, texts);
}

void ScanCache::store(const QByteArray& folder, const QByteArray& name,
                      const FileIdentity& identity, const KarTexts& texts) {
    if (!database_.isOpen())
        return;
    sqlite3_reset(insert_.get());
    bindBytes(insert_.get(), 1, folder);
    bindBytes(insert_.get(), 2, reading_);
    bindBytes(insert_.get(), 3, name);
    int index = 4;
    for (qint64 part :
         {identity.device, identity.inode, identity.size, identity.modifiedNs, identity.changedNs})
        sqlite3_bind_int64(insert_.get(), index++, part);
    bindBytes(insert_.get(), 9, encodeCachedTexts({folder, name, reading_, identity}, texts));
    sqlite3_bind_int64(insert_.get(), 10, today_);
    if (const int code = sqlite3_step(insert_.get()); code != SQLITE_DONE)
        database_.fail(code);
}

void ScanCache::dropEarlierRevisions(QByteArray family, QByteArray current) {
    revisionFamily_ = std::move(family);
    currentRevision_ = std::move(current);
}

void ScanCache::finish() {
    if (!database_.isOpen())
        return;
    // Once a day, the expiry; the day is asked first, as the deletions go through every row.
    if (database_.isExpiryDue(today_).value_or(false)) {
        if (!revisionFamily_.isEmpty() && !deleteEarlierRevisions())
            return;
        const QByteArray expire = "DELETE FROM files WHERE seen < " +
                                  QByteArray::number(today_ - kScanCacheExpiryDays) +
                                  ";UPDATE expiry SET day = " + QByteArray::number(today_) + ";";
        if (!database_.execute(expire.constData()))
            return;
    }
    if (database_.execute("COMMIT"))
        close();
}

bool ScanCache::deleteEarlierRevisions() {
    const SqliteStatement statement =
        database_.prepare("DELETE FROM files WHERE substr(reading, 1, ?2) = ?1"
                          " AND substr(reading, 1, ?4) != ?3");
    sqlite3_stmt* drop = statement.get();
    if (!drop)
        return false;
    bindBytes(drop, 1, revisionFamily_);
    sqlite3_bind_int64(drop, 2, revisionFamily_.size());
    bindBytes(drop, 3, currentRevision_);
    sqlite3_bind_int64(drop, 4, currentRevision_.size());
    if (const int code = sqlite3_step(drop); code != SQLITE_DONE)
        return database_.fail(code);
    return true;
}

} // namespace songwick
