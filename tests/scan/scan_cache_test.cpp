#include "common/small_file_system.h"
#include "kar_builder.h"
#include "scan/folder_walk.h"
#include "scan/scan_cache.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>

using namespace songwick;
using songwick::test::KarBuilder;

namespace {

// Every cell of every record of a walk, one line a record.
QStringList table(const RecordStore& store) {
    QStringList rows;
    for (int i = 1; i <= store.count(); ++i)
        rows << QStringList(store.record(i).begin(), store.record(i).end()).join(u'|');
    return rows;
}

class ScanCacheTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(root_.isValid() && cacheFolder_.isValid()); }

    void makeFile(const QString& name, const QByteArray& title) {
        QFile file(root_.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(KarBuilder().trackName(title).text("Artist").bytes());
    }

    // The texts of every record of a walk, with the walk's result.
    std::pair<QStringList, WalkResult>
    scan(bool withCache = true, std::function<void(const QString&)> afterReadingFile = {}) {
        RecordStore store;
        WalkOptions options;
        options.afterReadingFile = std::move(afterReadingFile);
        if (withCache)
            options.scanCachePath = cachePath();
        const WalkResult result = walkFolder(root_.path(), store, options);
        QStringList texts;
        for (int i = 1; i <= store.count(); ++i)
            texts << store.record(i)[FileNameField] + QLatin1Char('|') +
                         store.record(i)[PerformerTitleField];
        return {texts, result};
    }

    QString cachePath() const { return cacheFolder_.filePath(QStringLiteral("scan-cache.sqlite")); }

    void corruptEveryEntry() {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(QFile::encodeName(cachePath()).constData(), &db), SQLITE_OK);
        EXPECT_EQ(sqlite3_exec(db, "UPDATE files SET texts = substr(texts, 1, length(texts) - 1)",
                               nullptr, nullptr, nullptr),
                  SQLITE_OK);
        sqlite3_close(db);
    }

    QTemporaryDir root_;
    QTemporaryDir cacheFolder_;
};

} // namespace

TEST_F(ScanCacheTest, RescanTakesUnchangedFilesFromTheCacheAndRereadsChangedOnes) {
    makeFile(QStringLiteral("a.kar"), "Alpha");
    makeFile(QStringLiteral("b.kar"), "Beta");
    const auto [first, firstResult] = scan();
    EXPECT_EQ(firstResult.cacheMisses, 2);
    EXPECT_GT(firstResult.bytesRead, 0);
    EXPECT_TRUE(firstResult.cacheProblem.isEmpty()) << firstResult.cacheProblem.toStdString();

    const auto [second, secondResult] = scan();
    EXPECT_EQ(second, first);
    EXPECT_EQ(secondResult.cacheHits, 2);
    EXPECT_EQ(secondResult.bytesRead, 0);

    // Same size, new texts: the identity changed, so the file is read again.
    makeFile(QStringLiteral("b.kar"), "Gamma");
    const auto [third, thirdResult] = scan();
    EXPECT_EQ(third, scan(false).first);
    EXPECT_EQ(thirdResult.cacheHits, 1);
    EXPECT_EQ(thirdResult.cacheMisses, 1);

    // The start and the main window read differently and never share an entry.
    RecordStore store;
    WalkOptions main;
    main.window = ScanWindow::Main;
    main.scanCachePath = cachePath();
    EXPECT_EQ(walkFolder(root_.path(), store, main).cacheHits, 0);
}

TEST_F(ScanCacheTest, FileChangedWhileReadGivesTheUncachedResultAndIsNotKept) {
    makeFile(QStringLiteral("a.kar"), "Alpha");
    makeFile(QStringLiteral("b.kar"), "Beta");
    // Another program rewrites b.kar just after the scan has read it.
    const auto rewriteB = [this](const QString& path) {
        if (path.endsWith(u"/b.kar"))
            makeFile(QStringLiteral("b.kar"), "Gamma, rewritten");
    };
    const QStringList uncached = scan(false, rewriteB).first;
    ASSERT_TRUE(uncached.contains(QStringLiteral("b.kar|Beta")));

    makeFile(QStringLiteral("b.kar"), "Beta");
    struct stat status {};
    ASSERT_EQ(
        ::stat(QFile::encodeName(root_.filePath(QStringLiteral("b.kar"))).constData(), &status), 0);
    const FileIdentity readVersion = identityOf(status);
    const auto [changed, changedResult] = scan(true, rewriteB);
    EXPECT_EQ(changed, uncached);
    EXPECT_EQ(changedResult.cacheMisses, 2);
    {
        // The texts read are not stored for the version that was opened either.
        ScanCache cache(cachePath(), "kar/start");
        ASSERT_TRUE(cache.active());
        cache.enterFolder(QFile::encodeName(root_.path()) + '/');
        EXPECT_FALSE(cache.lookup("b.kar", readVersion).has_value());
    }

    const auto [rescan, rescanResult] = scan();
    EXPECT_EQ(rescan, scan(false).first);
    EXPECT_TRUE(rescan.contains(QStringLiteral("b.kar|Gamma, rewritten")));
    EXPECT_EQ(rescanResult.cacheHits, 1);
    EXPECT_EQ(rescanResult.cacheMisses, 1);
}

TEST_F(ScanCacheTest, DamagedEntriesAndForeignOrUnwritableDatabasesGiveTheUncachedResult) {
    makeFile(QStringLiteral("a.kar"), "Alpha");
    makeFile(QStringLiteral("b.kar"), "Beta");
    const QStringList expected = scan(false).first;
    scan();
    corruptEveryEntry();
    const auto [damaged, damagedResult] = scan();
    EXPECT_EQ(damaged, expected);
    EXPECT_EQ(damagedResult.cacheHits, 0);
    EXPECT_EQ(scan().second.cacheHits, 2); // the entries were written again

    // A file that is not a database: left out this time, rebuilt the next.
    QFile::remove(cachePath());
    QFile::remove(cachePath() + QStringLiteral("-wal"));
    QFile::remove(cachePath() + QStringLiteral("-shm"));
    {
        QFile foreign(cachePath());
        ASSERT_TRUE(foreign.open(QIODevice::WriteOnly));
        foreign.write(QByteArray(4096, 'x'));
    }
    const auto [foreign, foreignResult] = scan();
    EXPECT_EQ(foreign, expected);
    EXPECT_FALSE(foreignResult.cacheProblem.isEmpty());
    EXPECT_TRUE(scan().second.cacheProblem.isEmpty());
    EXPECT_EQ(scan().second.cacheHits, 2);

    // A cache folder that refuses writes.
    if (::geteuid() != 0) {
        QTemporaryDir readOnly;
        ::chmod(QFile::encodeName(readOnly.path()).constData(), 0500);
        RecordStore store;
        WalkOptions options;
        options.scanCachePath = readOnly.filePath(QStringLiteral("scan-cache.sqlite"));
        const WalkResult result = walkFolder(root_.path(), store, options);
        EXPECT_EQ(store.count(), 2);
        EXPECT_FALSE(result.cacheProblem.isEmpty());
        ::chmod(QFile::encodeName(readOnly.path()).constData(), 0700);
    }
}

TEST_F(ScanCacheTest, ACacheOfAnEarlierVersionIsMadeAnewWithoutAProblem) {
    makeFile(QStringLiteral("a.kar"), "Alpha");
    const auto markedCache = [this](int version) {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(QFile::encodeName(cachePath()).constData(), &db), SQLITE_OK);
        const QByteArray sql = "PRAGMA application_id=" + QByteArray::number(0x53574B43) +
                               ";PRAGMA user_version=" + QByteArray::number(version) +
                               ";CREATE TABLE files(folder BLOB, reading BLOB, name BLOB,"
                               " PRIMARY KEY(folder, reading, name)) WITHOUT ROWID;";
        EXPECT_EQ(sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close(db);
    };
    markedCache(1);
    EXPECT_TRUE(scan().second.cacheProblem.isEmpty());
    EXPECT_EQ(scan().second.cacheHits, 1);
}

TEST_F(ScanCacheTest, LockedDatabaseIsLeftOutWithoutWaitingLong) {
    makeFile(QStringLiteral("a.kar"), "Alpha");
    scan();
    ScanCache holder(cachePath(), "kar/start"); // holds the write lock of its scan
    ASSERT_TRUE(holder.active());
    const auto [texts, result] = scan();
    EXPECT_EQ(texts, scan(false).first);
    EXPECT_FALSE(result.cacheProblem.isEmpty());
}

TEST_F(ScanCacheTest, ACacheOnAFullOrReadOnlyDiskGivesTheUncachedResult) {
    for (int i = 0; i < 200; ++i)
        makeFile(QStringLiteral("song %1.kar").arg(i), "Title " + QByteArray::number(i));
    const QStringList expected = scan(false).first;
    const auto scanWithCacheOn = [&](const songwick::testing::SmallFileSystem& disk) {
        RecordStore store;
        WalkOptions options;
        options.scanCachePath = disk.path("scan-cache.sqlite");
        const WalkResult result = walkFolder(root_.path(), store, options);
        QStringList texts;
        for (int i = 1; i <= store.count(); ++i)
            texts << store.record(i)[FileNameField] + QLatin1Char('|') +
                         store.record(i)[PerformerTitleField];
        return std::pair(texts, result);
    };

    songwick::testing::SmallFileSystem full("size=64k");
    if (!full.mounted())
        GTEST_SKIP() << "a full or read-only file system needs root to mount";
    // Full from the start, and full in the middle of the scan's entries.
    full.fill();
    auto [texts, result] = scanWithCacheOn(full);
    EXPECT_EQ(texts, expected);
    EXPECT_FALSE(result.cacheProblem.isEmpty());
    QFile::remove(full.path("filler"));
    std::tie(texts, result) = scanWithCacheOn(full);
    EXPECT_EQ(texts, expected);
    EXPECT_FALSE(result.cacheProblem.isEmpty()) << "200 entries fit into 64 KiB";

    songwick::testing::SmallFileSystem readOnly;
    EXPECT_TRUE(scanWithCacheOn(readOnly).second.cacheProblem.isEmpty());
    ASSERT_TRUE(readOnly.makeReadOnly());
    std::tie(texts, result) = scanWithCacheOn(readOnly);
    EXPECT_EQ(texts, expected);
    EXPECT_EQ(result.cacheHits, 0);
}

TEST_F(ScanCacheTest, TheStructuredReadingIsCachedUnderItsCodePageAndPatterns) {
    // A Russian title, a performer beside it, and a file that names the song only by its name.
    const auto write = [this](const QString& name, const QByteArray& bytes) {
        QFile file(root_.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    };
    write(QStringLiteral("a.kar"), KarBuilder()
                                       .trackName(songwick::test::cp1251(u"Группа крови"))
                                       .text(songwick::test::cp1251(u"Кино"))
                                       .bytes());
    write(QStringLiteral("Queen - Innuendo.kar"), KarBuilder().trackName("Track 1").bytes());
    makeFile(QStringLiteral("c.kar"), "Gamma");
    const auto structuredScan = [this](ReadingOptions reading, bool withCache,
                                       std::function<void(const QString&)> afterReadingFile = {}) {
        RecordStore store;
        WalkOptions options;
        reading.reading = KarReading::Structured;
        options.reading = reading;
        options.afterReadingFile = std::move(afterReadingFile);
        if (withCache)
            options.scanCachePath = cachePath();
        const WalkResult result = walkFolder(root_.path(), store, options);
        return std::pair(table(store), result);
    };

    const ReadingOptions automatic;
    const QStringList expected = structuredScan(automatic, false).first;
    ASSERT_TRUE(expected.join(u'\n').contains(QStringLiteral("Группа крови")));
    ASSERT_TRUE(expected.join(u'\n').contains(QStringLiteral("Innuendo")));
    const auto [first, firstResult] = structuredScan(automatic, true);
    EXPECT_EQ(first, expected);
    EXPECT_EQ(firstResult.cacheMisses, 3);
    EXPECT_TRUE(firstResult.cacheProblem.isEmpty()) << firstResult.cacheProblem.toStdString();
    const auto [second, secondResult] = structuredScan(automatic, true);
    EXPECT_EQ(second, expected);
    EXPECT_EQ(secondResult.cacheHits, 3);
    EXPECT_EQ(secondResult.bytesRead, 0);
    // The program's reading keeps entries of its own.
    EXPECT_EQ(scan().second.cacheHits, 0);
    EXPECT_EQ(scan().second.cacheHits, 3);

    ReadingOptions koi8 = automatic;
    koi8.structured.codePage = QStringLiteral("koi8-r");
    const auto [otherPage, otherPageResult] = structuredScan(koi8, true);
    EXPECT_EQ(otherPageResult.cacheHits, 0);
    EXPECT_EQ(otherPage, structuredScan(koi8, false).first);
    EXPECT_NE(otherPage, expected);

    ReadingOptions titleOnly = automatic;
    titleOnly.structured.fileNamePatterns = {kTitlePlaceholder};
    const auto [otherPatterns, otherPatternsResult] = structuredScan(titleOnly, true);
    EXPECT_EQ(otherPatternsResult.cacheHits, 0);
    EXPECT_EQ(otherPatterns, structuredScan(titleOnly, false).first);
    EXPECT_EQ(structuredScan(automatic, true).second.cacheHits, 3);

    // A file rewritten just after it was read: its texts are not kept, the rescan reads it.
    const auto rewriteC = [this](const QString& path) {
        if (path.endsWith(u"/c.kar"))
            makeFile(QStringLiteral("c.kar"), "Delta, rewritten");
    };
    makeFile(QStringLiteral("c.kar"), "Epsilon");
    const auto [changed, changedResult] = structuredScan(automatic, true, rewriteC);
    EXPECT_EQ(changedResult.cacheHits, 2);
    EXPECT_TRUE(changed.join(u'\n').contains(QStringLiteral("Epsilon")));
    const auto [rescan, rescanResult] = structuredScan(automatic, true);
    EXPECT_EQ(rescan, structuredScan(automatic, false).first);
    EXPECT_TRUE(rescan.join(u'\n').contains(QStringLiteral("Delta, rewritten")));
    EXPECT_EQ(rescanResult.cacheMisses, 1);
}

TEST(ScanCacheEntry, ExpiredEntriesAreDroppedAndEntriesBelongToTheirKey) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("c.sqlite"));
    const FileIdentity identity{1, 2, 3, 4, 5};
    const KarTexts texts = {"one", "", "three", "four"};
    {
        ScanCache cache(path, "r", 1000);
        cache.enterFolder("/f/");
        cache.store("x.kar", identity, texts);
        cache.finish();
    }
    {
        ScanCache cache(path, "r", 1000 + kScanCacheExpiryDays);
        cache.enterFolder("/f/");
        EXPECT_EQ(cache.lookup("x.kar", identity), texts);
        FileIdentity other = identity;
        other.changedNs = 6;
        EXPECT_FALSE(cache.lookup("x.kar", other));
        cache.finish();
    }
    {
        ScanCache cache(path, "r", 1001 + 2 * kScanCacheExpiryDays);
        cache.enterFolder("/f/");
        cache.finish();
    }
    ScanCache cache(path, "r", 1002 + 2 * kScanCacheExpiryDays);
    cache.enterFolder("/f/");
    EXPECT_FALSE(cache.lookup("x.kar", identity));

    const CacheKey key{"/f/", "x.kar", "r", identity};
    const QByteArray stored = encodeCachedTexts(key, texts);
    EXPECT_EQ(decodeCachedTexts(key, stored), texts);
    EXPECT_FALSE(decodeCachedTexts({"/f/", "y.kar", "r", identity}, stored));
    for (qsizetype cut = 0; cut < stored.size(); ++cut)
        EXPECT_FALSE(decodeCachedTexts(key, stored.first(cut)));
}

TEST(ScanCacheEntry, EntriesOfAnEarlierRevisionOfAReadingAreDropped) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("c.sqlite"));
    const FileIdentity identity{1, 2, 3, 4, 5};
    const KarTexts texts = {"one", "", "three", "four"};
    const QByteArray readings[] = {"structured/old/a", "structured/new/a", "kar/start"};
    for (const QByteArray& reading : readings) {
        ScanCache cache(path, reading, 1000);
        cache.enterFolder("/f/");
        cache.store("x.kar", identity, texts);
        cache.finish();
    }
    {
        ScanCache current(path, "structured/new/b", 1001);
        current.dropEarlierRevisions("structured/", "structured/new/");
        current.enterFolder("/f/");
        current.finish();
    }
    for (const QByteArray& reading : readings) {
        ScanCache cache(path, reading, 1001);
        cache.enterFolder("/f/");
        EXPECT_EQ(cache.lookup("x.kar", identity).has_value(), reading != "structured/old/a")
            << reading.constData();
    }
}
