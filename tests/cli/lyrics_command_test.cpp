#include "../scan/kar_builder.h"
#include "catalogue/list_file.h"
#include "cli_run.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace songwick;
using songwick::test::CliRun;
using songwick::test::KarBuilder;
using songwick::test::runCliWithCache;
using songwick::test::writeTestFile;

namespace {

// The lyrics index of the runs lives in the test's folder, never the user's.
CliRun runCli(const QTemporaryDir& home, const QStringList& arguments) {
    return runCliWithCache(home.filePath(QStringLiteral("cache")), arguments);
}

// A file whose melody track sings the syllables as lyric events, with a title of its own.
QByteArray singing(const QByteArray& title, const QList<QByteArray>& syllables) {
    KarBuilder kar;
    kar.trackName(title).nextTrack().trackName("Melody");
    for (const QByteArray& syllable : syllables)
        kar.meta(0x05, syllable).raw(QByteArray("\x00\x90\x40\x64\x60\x80\x40\x00", 8));
    return kar.bytes();
}

TEST(LyricsCommand, FindsSongsByTheirWordsBestFirstAndNamesRowsWithoutWords) {
    QTemporaryDir home;
    const QString songs = home.filePath(QStringLiteral("songs"));
    writeTestFile(songs + QStringLiteral("/a.kar"),
                  singing("Teen Spirit", {"Load ", "up ", "on ", "guns,\r", "bring ", "your ",
                                          "friends\r", "It's ", "fun ", "to ", "lose\r"}));
    writeTestFile(songs + QStringLiteral("/b.kar"),
                  singing("Guns", {"Guns, ", "guns ", "and ", "friends\r"}));
    writeTestFile(songs + QStringLiteral("/c.kar"), singing("Other", {"Nothing ", "here\r"}));
    const QString list = home.filePath(QStringLiteral("all.swk"));
    // The structured scan fills the lyrics index beside it.
    const CliRun scan = runCli(home, {QStringLiteral("scan"), songs, QStringLiteral("--output"),
                                      list, QStringLiteral("--reading"),
                                      QStringLiteral("structured"), QStringLiteral("--lyrics")});
    ASSERT_EQ(scan.exitCode, 0) << scan.err.toStdString();
    EXPECT_TRUE(
        QFileInfo::exists(home.filePath(QStringLiteral("cache/songwick/lyrics-index.sqlite"))));

    const CliRun run = runCli(
        home, {QStringLiteral("lyrics"), list, QStringLiteral("friends"), QStringLiteral("guns")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QStringList lines = run.out.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 5) << run.out.toStdString();
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral("2 | b.kar | ")));
    EXPECT_EQ(lines[2], QStringLiteral("    Guns, guns and friends"));
    EXPECT_TRUE(lines[3].startsWith(QStringLiteral("1 | a.kar | ")));
    EXPECT_EQ(lines[4], QStringLiteral("    Load up on guns,"));
    EXPECT_EQ(run.err, QStringLiteral("2 of 3 rows\n"));

    // A phrase, written as a list; a file that moved away since has no words yet.
    ASSERT_TRUE(
        QFile::rename(songs + QStringLiteral("/b.kar"), home.filePath(QStringLiteral("b.kar"))));
    const QString found = home.filePath(QStringLiteral("found.swk"));
    const CliRun phrase =
        runCli(home, {QStringLiteral("lyrics"), list, QStringLiteral("\"fun to lose\""),
                      QStringLiteral("--output"), found});
    ASSERT_EQ(phrase.exitCode, 0) << phrase.err.toStdString();
    EXPECT_TRUE(phrase.err.startsWith(QStringLiteral("1 of 3 rows; 1 rows have no words yet")))
        << phrase.err.toStdString();
    EXPECT_TRUE(phrase.err.contains(QStringLiteral("row 2"))) << phrase.err.toStdString();
    CatalogueGrid grid;
    readListFileAt(found, grid);
    ASSERT_EQ(grid.dataRowCount(), 1);
    EXPECT_EQ(grid.cell(1, 1), QStringLiteral("a.kar"));
}

} // namespace
