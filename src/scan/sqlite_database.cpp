#include "scan/sqlite_database.h"

#include <QFile>
#include <sqlite3.h>
#include <utility>

namespace songwick {

void SqliteStatementFinalizer::operator()(sqlite3_stmt* statement) const {
    sqlite3_finalize(statement);
}

bool isSqliteDamage(int code) {
    const int primary = code & 0xFF;
    return primary == SQLITE_CORRUPT || primary == SQLITE_NOTADB || primary == SQLITE_FORMAT;
}

void removeSqliteFiles(const QString& path) {
    for (const QString& suffix : {QString(), QStringLiteral("-wal"), QStringLiteral("-shm")})
        QFile::remove(path + suffix);
}

SqliteDatabase::SqliteDatabase(FailureHandler onFailure) : onFailure_(std::move(onFailure)) {}

SqliteDatabase::~SqliteDatabase() {
    close();
}

bool SqliteDatabase::open(const QByteArray& fileName, int busyTimeoutMs) {
    close();
    // A connection is used by one thread at a time: without its own mutex, which each call
    // would otherwise take and give back (reading a large scan cache's rows made a million such
    // calls).
    const int opened =
        sqlite3_open_v2(fileName.constData(), &db_,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
    if (opened != SQLITE_OK) {
        close();
        onFailure_(QStringLiteral("cannot open it"), opened);
        return false;
    }
    sqlite3_busy_timeout(db_, busyTimeoutMs);
    return true;
}

void SqliteDatabase::close() {
    if (db_) {
        // Statements still held are finalized by their owners; the connection goes with them.
        sqlite3_close_v2(std::exchange(db_, nullptr));
    }
}

bool SqliteDatabase::execute(const char* sql) {
    if (!db_)
        return false;
    const int code = sqlite3_exec(db_, sql, nullptr, nullptr, nullptr);
    return code == SQLITE_OK || fail(code);
}

SqliteStatement SqliteDatabase::prepare(const char* sql) {
    if (!db_)
        return nullptr;
    sqlite3_stmt* statement = nullptr;
    const int code = sqlite3_prepare_v2(db_, sql, -1, &statement, nullptr);
    if (code != SQLITE_OK) {
        sqlite3_finalize(statement);
        fail(code);
        return nullptr;
    }
    return SqliteStatement(statement);
}

bool SqliteDatabase::fail(int code) {
    onFailure_(db_ ? QString::fromUtf8(sqlite3_errmsg(db_))
                   : QString::fromUtf8(sqlite3_errstr(code)),
               code);
    return false;
}

bool SqliteDatabase::ensureSchema(const SqliteSchema& schema) {
    SqliteStatement query = prepare("SELECT (SELECT application_id FROM pragma_application_id),"
                                    " (SELECT user_version FROM pragma_user_version),"
                                    " (SELECT count(*) FROM sqlite_master)");
    if (!query)
        return false;
    const int stepped = sqlite3_step(query.get());
    if (stepped != SQLITE_ROW) {
        query.reset();
        onFailure_(QStringLiteral("cannot read it"), stepped);
        return false;
    }
    const int applicationId = sqlite3_column_int(query.get(), 0);
    const int version = sqlite3_column_int(query.get(), 1);
    const int objects = sqlite3_column_int(query.get(), 2);
    query.reset();
    if (applicationId == schema.applicationId && version == schema.version)
        return true;
    const bool empty = applicationId == 0 && version == 0 && objects == 0;
    const bool earlier = applicationId == schema.applicationId && version < schema.version &&
                         schema.earlierTables != nullptr;
    if (empty || earlier) {
        const QByteArray create =
            QByteArray("BEGIN IMMEDIATE;") + (earlier ? schema.earlierTables : "") + schema.tables +
            "PRAGMA application_id=" + QByteArray::number(schema.applicationId) +
            ";PRAGMA user_version=" + QByteArray::number(schema.version) + ";COMMIT;";
        return execute(create.constData());
    }
    onFailure_(schema.foreign, SQLITE_NOTADB);
    return false;
}

std::optional<bool> SqliteDatabase::isExpiryDue(qint64 today) {
    const SqliteStatement day = prepare("SELECT day FROM expiry");
    if (!day)
        return std::nullopt;
    return sqlite3_step(day.get()) == SQLITE_ROW && sqlite3_column_int64(day.get(), 0) < today;
}

} // namespace songwick
