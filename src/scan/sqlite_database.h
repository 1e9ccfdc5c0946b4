#pragma once

#include <QByteArray>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

struct sqlite3;
struct sqlite3_stmt;

namespace songwick {

struct SqliteStatementFinalizer {
    void operator()(sqlite3_stmt* statement) const;
};
// A prepared statement, finalized when it goes.
using SqliteStatement = std::unique_ptr<sqlite3_stmt, SqliteStatementFinalizer>;

// Whether an SQLite result code says the file is damaged or no database at all.
bool isSqliteDamage(int code);

// Removes a database file together with its write-ahead log and shared-memory file.
void removeSqliteFiles(const QString& path);

// What marks a database as one of this program's kinds: its application id and schema version,
// and the tables a new, empty database is given.
struct SqliteSchema {
    int applicationId = 0;
    int version = 0;
    const char* tables = nullptr; // SQL that creates them
    QString foreign;              // why a database with other marks is not taken
    // SQL that drops the tables of an earlier version, made anew in its place; none where an
    // earlier version is foreign too.
    const char* earlierTables = nullptr;
};

// One connection to an SQLite database, closed when it goes (an open transaction is rolled
// back). Every error goes to the failure handler with a line saying why and SQLite's result
// code; the handler may close the connection.
class SqliteDatabase {
public:
    using FailureHandler = std::function<void(const QString& why, int code)>;

    explicit SqliteDatabase(FailureHandler onFailure);
    ~SqliteDatabase();
    SqliteDatabase(const SqliteDatabase&) = delete;
    SqliteDatabase& operator=(const SqliteDatabase&) = delete;

    // Opens or creates the database file (":memory:" for one in memory) and gives up on a lock
    // after busyTimeoutMs.
    bool open(const QByteArray& fileName, int busyTimeoutMs);
    void close();
    bool isOpen() const { return db_ != nullptr; }
    sqlite3* handle() const { return db_; }

    // Runs one or more statements of SQL.
    bool execute(const char* sql);
    // A statement of the open database; none after a failure.
    SqliteStatement prepare(const char* sql);
    // Reports the database's last error with the code a call gave. Always false.
    bool fail(int code);
    // A database with the schema's marks is taken; an empty one gets the tables and the marks;
    // any other fails as foreign (as damage, so that it is replaced).
    bool ensureSchema(const SqliteSchema& schema);
    // Whether the day in the one-row table `expiry` is before `today`: the expiry of a database
    // that keeps it is due then. None where the question cannot be asked (it failed).
    std::optional<bool> isExpiryDue(qint64 today);

private:
    FailureHandler onFailure_;
    sqlite3* db_ = nullptr;
};

} // namespace songwick
