#include "kar_builder.h"
#include "scan/folder_walk.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace songwick;
using songwick::test::KarBuilder;

namespace {

class FolderWalkTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(root_.isValid()); }

    QString path(const QString& relative) const { return root_.filePath(relative); }

    void makeFile(const QString& relative, const QByteArray& title = "Title") {
        const QString full = path(relative);
        QDir().mkpath(QFileInfo(full).absolutePath());
        QFile file(full);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << full.toStdString();
        file.write(KarBuilder().trackName(title).text("Artist").bytes());
    }

    void makeFolder(const QString& relative) { QDir().mkpath(path(relative)); }

    QStringList names() const {
        QStringList list;
        for (int i = 1; i <= store_.count(); ++i)
            list << store_.record(i)[FileNameField];
        return list;
    }

    WalkResult walk(const WalkOptions& options = {}) {
        return walkFolder(root_.path(), store_, options);
    }

    QTemporaryDir root_;
    RecordStore store_;
};

} // namespace

TEST_F(FolderWalkTest, BreadthFirstInCaseInsensitiveNameOrder) {
    makeFile(QStringLiteral("b/deep/z.kar"));
    makeFile(QStringLiteral("b/b1.kar"));
    makeFile(QStringLiteral("A/a1.kar"));
    makeFile(QStringLiteral("c.KAR"));
    makeFile(QStringLiteral("B.kar"));
    makeFile(QStringLiteral("a.kar"));
    makeFile(QStringLiteral("b.kar"));
    const WalkResult result = walk();
    EXPECT_EQ(result.end, WalkEnd::Finished);
    EXPECT_EQ(result.listings, 4);
    EXPECT_EQ(names(), (QStringList{QStringLiteral("a.kar"), QStringLiteral("B.kar"),
                                    QStringLiteral("b.kar"), QStringLiteral("c.KAR"),
                                    QStringLiteral("a1.kar"), QStringLiteral("b1.kar"),
                                    QStringLiteral("z.kar")}));
    EXPECT_EQ(store_.record(7)[FolderField], root_.path() + QStringLiteral("/b/deep/"));
    EXPECT_EQ(store_.record(1)[PerformerTitleField], QStringLiteral("Title"));
}

TEST_F(FolderWalkTest, CandidatesByPlainSubstringIncludingHiddenOnes) {
    makeFile(QStringLiteral("notes.txt"));
    makeFile(QStringLiteral("Skarlet.mp3"));
    makeFile(QStringLiteral("Song.Kar"));
    makeFile(QStringLiteral(".hidden/.secret.kar"));
    makeFile(QStringLiteral("Песня.kar"));
    walk();
    EXPECT_EQ(names(), (QStringList{QStringLiteral("Skarlet.mp3"), QStringLiteral("Песня.kar"),
                                    QStringLiteral(".secret.kar")}));
}

TEST_F(FolderWalkTest, EmptyFolderGivesNoRecords) {
    const WalkResult result = walk();
    EXPECT_EQ(result.end, WalkEnd::Finished);
    EXPECT_EQ(store_.count(), 0);
    EXPECT_EQ(result.listings, 1);
}

TEST_F(FolderWalkTest, RootLikeFolderEndingWithSeparatorIsNotDoubled) {
    makeFile(QStringLiteral("x.kar"));
    walkFolder(root_.path() + QLatin1Char('/'), store_, {});
    ASSERT_EQ(store_.count(), 1);
    EXPECT_EQ(store_.record(1)[FolderField], root_.path() + QLatin1Char('/'));
}

TEST_F(FolderWalkTest, FilesBelowAParentReferenceFolderAreCountedNotExamined) {
    makeFile(QStringLiteral("..odd/one.kar"));
    makeFile(QStringLiteral("..odd/two.kar"));
    makeFile(QStringLiteral("..odd/three.kar"));
    WalkOptions options;
    options.limits.parentReferences = 2;
    const WalkResult result = walk(options);
    EXPECT_EQ(store_.count(), 0);
    EXPECT_EQ(result.end, WalkEnd::ParentReferenceLimit);

    options.limits.parentReferences = 3;
    EXPECT_EQ(walk(options).end, WalkEnd::Finished);
    options.limits.parentReferences = 2;
    options.manyFilesScan = true;
    options.limits.parentReferencesMany = 3;
    EXPECT_EQ(walk(options).end, WalkEnd::Finished);
}

TEST_F(FolderWalkTest, AFileWhoseNameBeginsWithTwoDotsIsAParentReferenceToo) {
    makeFile(QStringLiteral("..top.kar"));
    makeFile(QStringLiteral("a..b.kar"));
    makeFile(QStringLiteral("sub/..low.kar"));
    walk({});
    ASSERT_EQ(store_.count(), 1);
    EXPECT_EQ(store_.record(1)[FileNameField], QStringLiteral("a..b.kar"));
}

TEST_F(FolderWalkTest, ListingLimitEndsTheWalkWithTheOverloadFlag) {
    for (int i = 0; i < 5; ++i)
        makeFile(QStringLiteral("f%1/song.kar").arg(i));
    WalkOptions options;
    options.limits.listings = 3;
    const WalkResult result = walk(options);
    EXPECT_TRUE(result.overloaded());
    EXPECT_EQ(result.listings, 4);
    EXPECT_EQ(store_.count(), 3); // root, f0, f1, f2 were listed
    EXPECT_TRUE(overloadMessage().startsWith(QStringLiteral("Ошибка!\n\rВ выбранной папке")));
    EXPECT_TRUE(overloadMessage().endsWith(QStringLiteral("Помощи\u2026.")));
}

TEST_F(FolderWalkTest, FullStoreStopsTheWalkAndKeepsWhatItFound) {
    for (int i = 0; i < 3; ++i)
        makeFile(QStringLiteral("song%1.kar").arg(i));
    for (const KarReading reading : {KarReading::Program, KarReading::Structured}) {
        for (int i = 1; i <= RecordStore::kCapacity - 2; ++i)
            store_.setRecord(i, {});
        store_.setCount(RecordStore::kCapacity - 2);
        WalkOptions options;
        options.reading.reading = reading;
        const WalkResult result = walk(options);
        EXPECT_EQ(result.end, WalkEnd::StoreFull);
        EXPECT_EQ(store_.count(), RecordStore::kCapacity);
        EXPECT_EQ(store_.record(RecordStore::kCapacity)[FileNameField],
                  QStringLiteral("song1.kar"));
        EXPECT_FALSE(limitMessage(result).isEmpty());
    }
}

// The structured reading analyses files on a thread of its own while the next ones are read:
// many files, one of them unreadable, still come out in listing order, each with its texts.
TEST_F(FolderWalkTest, TheStructuredReadingKeepsEachFileInItsPlace) {
    QStringList expected;
    for (int i = 0; i < 100; ++i) {
        const QString name = QStringLiteral("song%1.kar").arg(i, 3, 10, QLatin1Char('0'));
        makeFile(name, QStringLiteral("Title %1").arg(i).toLatin1());
        expected << name;
    }
    ASSERT_EQ(
        ::mkfifo(QFile::encodeName(path(QStringLiteral("song050-pipe.kar"))).constData(), 0600), 0);
    WalkOptions options;
    options.reading.reading = KarReading::Structured;
    const WalkResult result = walk(options);
    EXPECT_EQ(result.end, WalkEnd::Finished);
    EXPECT_EQ(result.recordsAdded, 100);
    EXPECT_EQ(result.unreadableCount, 1);
    ASSERT_EQ(names(), expected);
    for (int i = 0; i < 100; ++i)
        EXPECT_EQ(store_.record(i + 1)[PerformerTitleField], QStringLiteral("Title %1").arg(i));
}

TEST_F(FolderWalkTest, FullFolderQueueStopsTheWalk) {
    for (int i = 0; i < 4; ++i)
        makeFile(QStringLiteral("f%1/song.kar").arg(i));
    WalkOptions options;
    options.limits.queuedFolders = 2;
    const WalkResult result = walk(options);
    EXPECT_EQ(result.end, WalkEnd::QueueFull);
    EXPECT_TRUE(result.limitReached());
    EXPECT_EQ(store_.count(), 0);
}

TEST_F(FolderWalkTest, UnreadableCandidatesAreSkippedAndCounted) {
    makeFile(QStringLiteral("a.kar"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(path(QStringLiteral("b-pipe.kar"))).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link(path(QStringLiteral("nowhere")), path(QStringLiteral("c-dead.kar"))));
    makeFile(QStringLiteral("d.kar"));
    const WalkResult result = walk();
    EXPECT_EQ(result.end, WalkEnd::Finished);
    EXPECT_EQ(names(), (QStringList{QStringLiteral("a.kar"), QStringLiteral("d.kar")}));
    EXPECT_EQ(result.unreadableCount, 2);
    EXPECT_EQ(result.firstUnreadable, path(QStringLiteral("b-pipe.kar")));
    EXPECT_TRUE(unreadableMessage(result).contains(QStringLiteral("b-pipe.kar")));
}

TEST_F(FolderWalkTest, LinkedFoldersAreWalkedAndLinkedFilesRead) {
    makeFile(QStringLiteral("real/x.kar"));
    ASSERT_TRUE(QFile::link(path(QStringLiteral("real")), path(QStringLiteral("zlink"))));
    ASSERT_TRUE(QFile::link(path(QStringLiteral("real/x.kar")), path(QStringLiteral("y.kar"))));
    walk();
    EXPECT_EQ(names(), (QStringList{QStringLiteral("y.kar"), QStringLiteral("x.kar"),
                                    QStringLiteral("x.kar")}));
}

TEST_F(FolderWalkTest, ProgressStepsEveryGivenNumberOfFiles) {
    for (int i = 0; i < 7; ++i)
        makeFile(QStringLiteral("n%1.txt").arg(i));
    makeFolder(QStringLiteral("sub"));
    WalkOptions options;
    options.limits.progressEvery = 3;
    int steps = 0;
    walkFolder(root_.path(), store_, options, [&steps] { ++steps; });
    EXPECT_EQ(steps, 2);
}

TEST_F(FolderWalkTest, FilesThatChangeBetweenListingAndReadingAndALinkLoopEndWell) {
    makeFile(QStringLiteral("a.kar"), "Gone");
    makeFile(QStringLiteral("b.kar"), "Shrunk");
    makeFile(QStringLiteral("c.kar"), "Kept");
    makeFolder(QStringLiteral("d"));
    makeFile(QStringLiteral("d/e.kar"), "Deep");
    // A link back to the chosen folder below itself: followed until the walk's own limits.
    ASSERT_EQ(::symlink(QFile::encodeName(root_.path()).constData(),
                        QFile::encodeName(path(QStringLiteral("d/loop"))).constData()),
              0);
    WalkOptions options;
    options.limits.progressEvery = 1;
    options.limits.listings = 20;
    options.afterReadingFile = [](const QString&) {}; // each file read only when its turn comes
    int step = 0;
    // The progress step runs just before each file is read: the first goes, the second
    // shrinks to nothing.
    const WalkResult result = walkFolder(root_.path(), store_, options, [&] {
        ++step;
        if (step == 1)
            QFile::remove(path(QStringLiteral("a.kar")));
        if (step == 2)
            QFile(path(QStringLiteral("b.kar"))).resize(0);
    });
    EXPECT_GE(result.unreadableCount, 1);
    EXPECT_TRUE(result.firstUnreadable.endsWith(u"a.kar")) << result.firstUnreadable.toStdString();
    ASSERT_GE(store_.count(), 3);
    EXPECT_EQ(store_.record(1)[FileNameField], u"b.kar");
    EXPECT_TRUE(store_.record(1)[2].isEmpty());
    EXPECT_EQ(store_.record(2)[2], u"Kept");
    EXPECT_EQ(store_.record(3)[2], u"Deep");
}
