#include "kar_builder.h"
#include "catalogue/record_store.h"
#include "scan/folder_walk.h"
#include "scan/lyrics_indexer.h"
#include "scan/lyrics_search.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace songwick;
using songwick::test::cp1251;
using songwick::test::KarBuilder;

namespace {

const QByteArray kNote("\x00\x90\x40\x64\x60\x80\x40\x00", 8);

// A Soft Karaoke file that sings the lines, each word a text event.
QByteArray singing(const QStringList& lines, bool russian = false) {
    KarBuilder kar;
    kar.trackName("Soft Karaoke").text("@KMIDI KARAOKE FILE").nextTrack().trackName("Words");
    for (const QString& line : lines) {
        const QStringList words = line.split(u' ');
        for (qsizetype i = 0; i < words.size(); ++i) {
            const QString text = (i == 0 ? QStringLiteral("/") : QString()) + words[i] + u' ';
            kar.text(russian ? cp1251(reinterpret_cast<const char16_t*>(text.utf16()))
                             : text.toLatin1())
                .raw(kNote);
        }
    }
    return kar.bytes();
}

class LyricsSearchTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(root.isValid());
        folder = root.filePath(QStringLiteral("songs/"));
        QDir().mkpath(folder);
        add(QStringLiteral("teen.kar"),
            singing({QStringLiteral("Load up on guns"), QStringLiteral("bring your friends"),
                     QStringLiteral("Hello hello hello how low")}));
        add(QStringLiteral("guns.kar"),
            singing({QStringLiteral("Guns and friends"), QStringLiteral("we load the trucks")}));
        add(QStringLiteral("katyusha.kar"),
            singing({QStringLiteral("Выходила на берег Катюша"),
                     QStringLiteral("На высокий берег, на крутой, ещё")},
                    true));
        add(QStringLiteral("silent.kar"), KarBuilder().trackName("Piano").raw(kNote).bytes());
    }

    void add(const QString& name, const QByteArray& bytes) {
        QFile file(folder + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        grid.setRowCount(grid.rowCount() + 1);
        const int row = grid.rowCount() - 1;
        grid.setCell(1, row, name);
        grid.setCell(2, row, folder);
        grid.setRowFile(row, RowFile{folder, name});
    }

    std::vector<int> found(LyricsSearch& search, const QString& typed, bool typing = false) {
        return search.rankedRows(grid, LyricsQuery(typed, typing));
    }

    QString indexPath() const { return root.filePath(QStringLiteral("cache/lyrics.sqlite")); }

    QTemporaryDir root;
    QString folder;
    CatalogueGrid grid{7, 1};
};

TEST_F(LyricsSearchTest, WordsInAnyOrderPhrasesPrefixesAndBestFirst) {
    LyricsSearch search(indexPath(), {});
    const LyricsCoverage coverage = search.fill(grid);
    EXPECT_EQ(coverage.filesRead, 4);
    EXPECT_EQ(coverage.withWords, 3);
    EXPECT_EQ(coverage.withoutWords, 1);
    EXPECT_TRUE(coverage.unknown.empty());
    EXPECT_TRUE(search.problem().isEmpty()) << search.problem().toStdString();

    // Both songs sing both words; the one that is all about them comes first.
    EXPECT_EQ(found(search, QStringLiteral("friends GUNS")), (std::vector<int>{2, 1}));
    EXPECT_EQ(found(search, QStringLiteral("\"load up on guns\"")), (std::vector<int>{1}));
    EXPECT_EQ(found(search, QStringLiteral("\"guns load\"")), (std::vector<int>{}));
    // While typing, the last word may be a beginning; a finished word is a whole word.
    EXPECT_EQ(found(search, QStringLiteral("bring your fri"), true), (std::vector<int>{1}));
    EXPECT_EQ(found(search, QStringLiteral("bring your fri")), (std::vector<int>{}));
    EXPECT_EQ(found(search, QStringLiteral("\"load up on gu"), true), (std::vector<int>{1}));
    // Cyrillic, case and "ё" folded on both sides.
    EXPECT_EQ(found(search, QStringLiteral("КАТЮША берег")), (std::vector<int>{3}));
    EXPECT_EQ(found(search, QStringLiteral("еще")), (std::vector<int>{3}));
    EXPECT_EQ(found(search, QStringLiteral("крутой ЕЩЁ")), (std::vector<int>{3}));
    // Punctuation alone asks for nothing and is no error.
    EXPECT_EQ(found(search, QStringLiteral("\" * - ( ) :")), (std::vector<int>{}));

    const std::optional<MatchedLine> line =
        search.matchingLine(grid, 1, LyricsQuery(QStringLiteral("friends bring"), false));
    ASSERT_TRUE(line);
    EXPECT_EQ(line->text, QStringLiteral("bring your friends"));
    EXPECT_EQ(line->found, (std::vector<std::pair<qsizetype, qsizetype>>{{0, 5}, {11, 7}}));
    const std::optional<MatchedLine> russian =
        search.matchingLine(grid, 3, LyricsQuery(QStringLiteral("еще"), false));
    ASSERT_TRUE(russian);
    EXPECT_EQ(russian->text.mid(russian->found.at(0).first, 3), QStringLiteral("ещё"));
}

TEST_F(LyricsSearchTest, OnlyTheTablesRowsAndAFileIsReadOnlyWhenItChanged) {
    {
        LyricsSearch search(indexPath(), {});
        search.fill(grid);
    }
    // Another table holds one of the files, and one moved away.
    CatalogueGrid other(7, 3);
    other.setRowFile(1, RowFile{folder, QStringLiteral("guns.kar")});
    other.setRowFile(2, RowFile{folder, QStringLiteral("moved.kar")});
    LyricsSearch search(indexPath(), {});
    const LyricsCoverage coverage = search.fill(other);
    EXPECT_EQ(coverage.filesRead, 0);
    ASSERT_EQ(coverage.unknown.size(), 1u);
    EXPECT_EQ(coverage.unknown[0].row, 2);
    EXPECT_TRUE(coverage.unknown[0].reason.contains(QStringLiteral("moved.kar")));
    EXPECT_TRUE(unknownRowsMessage(coverage).contains(QStringLiteral("Строка 2")));
    EXPECT_EQ(search.rankedRows(other, LyricsQuery(QStringLiteral("guns"), false)),
              (std::vector<int>{1}));

    // The first table's file gets new words: it alone is read again.
    QFile changed(folder + QStringLiteral("teen.kar"));
    ASSERT_TRUE(changed.open(QIODevice::WriteOnly));
    changed.write(singing({QStringLiteral("a denial a denial")}));
    changed.close();
    search.forgetFiles();
    EXPECT_EQ(search.fill(grid).filesRead, 1);
    EXPECT_EQ(found(search, QStringLiteral("denial")), (std::vector<int>{1}));
    EXPECT_EQ(found(search, QStringLiteral("load")), (std::vector<int>{2}));
}

TEST_F(LyricsSearchTest, AStructuredScanFillsTheIndexBesideItAndAStoppedFillKeepsWhatItRead) {
    {
        LyricsIndexer indexer(indexPath(), {});
        RecordStore store;
        WalkOptions options;
        options.reading.reading = KarReading::Structured;
        options.structuredRecordMade = [&indexer](const QByteArray& path, const QString& page) {
            indexer.add(path, page);
        };
        EXPECT_EQ(walkFolder(folder, store, options).recordsAdded, 4);
        EXPECT_TRUE(indexer.waitUntilFinished({}, {}));
        EXPECT_EQ(indexer.progress().done, 4);
    }
    LyricsSearch search(indexPath(), {});
    const LyricsCoverage coverage = search.fill(grid);
    EXPECT_EQ(coverage.filesRead, 0);
    EXPECT_EQ(coverage.withWords, 3);
    EXPECT_EQ(found(search, QStringLiteral("катюша")), (std::vector<int>{3}));

    // A fill stopped after its first file keeps that file's words; the others are named.
    LyricsSearch stopped(root.filePath(QStringLiteral("other.sqlite")), {});
    int asked = 0;
    const LyricsCoverage part = stopped.fill(grid, {}, [&asked] { return ++asked > 1; });
    EXPECT_TRUE(part.interrupted);
    EXPECT_EQ(part.filesRead, 1);
    EXPECT_EQ(part.unknown.size(), 3u);
    EXPECT_TRUE(unknownRowsMessage(part).startsWith(QStringLiteral("Чтение слов песен прервано")));
    EXPECT_FALSE(stopped.mayRead(grid));
    stopped.forgetFiles();
    EXPECT_TRUE(stopped.mayRead(grid));
    EXPECT_EQ(stopped.fill(grid).filesRead, 3);
    EXPECT_FALSE(stopped.mayRead(grid));
}

TEST_F(LyricsSearchTest, ADamagedIndexIsBuiltAnew) {
    QDir().mkpath(root.filePath(QStringLiteral("cache")));
    QFile damaged(indexPath());
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write(QByteArray("SQLite format 3") + QByteArray(4096, '\x5A'));
    damaged.close();

    LyricsSearch search(indexPath(), {});
    search.fill(grid);
    EXPECT_TRUE(search.problem().contains(QStringLiteral("built anew")))
        << search.problem().toStdString();
    EXPECT_TRUE(search.index().stored());
    EXPECT_EQ(found(search, QStringLiteral("guns")).size(), 2u);
    // The new one is kept: the next run reads nothing.
    LyricsSearch again(indexPath(), {});
    EXPECT_EQ(again.fill(grid).filesRead, 0);
    EXPECT_TRUE(again.problem().isEmpty());
}

TEST_F(LyricsSearchTest, ALockedOrReadOnlyIndexIsLeftForOneInMemory) {
    { LyricsSearch(indexPath(), {}).fill(grid); }
    // Another program writes to it.
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(indexPath()).constData(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    add(QStringLiteral("new.kar"), singing({QStringLiteral("smells like teen spirit")}));
    {
        LyricsSearch search(indexPath(), {});
        search.fill(grid);
        EXPECT_TRUE(search.problem().contains(QStringLiteral("left out")))
            << search.problem().toStdString();
        EXPECT_FALSE(search.index().stored());
        EXPECT_EQ(found(search, QStringLiteral("spirit")), (std::vector<int>{5}));
        EXPECT_EQ(found(search, QStringLiteral("guns")).size(), 2u);
    }
    sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(other);

    if (::geteuid() == 0)
        GTEST_SKIP() << "the superuser writes into read-only folders";
    const QString cache = root.filePath(QStringLiteral("cache"));
    ASSERT_EQ(::chmod(QFile::encodeName(cache).constData(), 0555), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(indexPath()).constData(), 0444), 0);
    {
        LyricsSearch search(indexPath(), {});
        search.fill(grid);
        EXPECT_FALSE(search.problem().isEmpty());
        EXPECT_EQ(found(search, QStringLiteral("spirit")), (std::vector<int>{5}));
    }
    ::chmod(QFile::encodeName(cache).constData(), 0755);
}

} // namespace
