#include "kar_builder.h"
#include "real_sample_files.h"
#include "scan/byte_search.h"
#include "scan/kar_extractor.h"

#include <QFile>
#include <QTemporaryDir>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

using namespace songwick;
using songwick::test::cp1251;
using songwick::test::KarBuilder;

namespace {

KarTexts expected(const char* a, const char* b, const char* c, const char* d) {
    return {QByteArray(a), QByteArray(b), QByteArray(c), QByteArray(d)};
}

// A Soft Karaoke file: the "Soft Karaoke" track name, then a "Words" track with titles.
KarBuilder softKaraoke(const QByteArray& trackName) {
    KarBuilder kar;
    kar.trackName(trackName).text("@KMIDI KARAOKE FILE").nextTrack().trackName("Words");
    return kar;
}

// The name of each test says which real file it reads.
class RealFiles : public songwick::testing::RealSampleFiles {};

} // namespace

TEST(PlainReading, TrackNameAndTheTextsThatFollowIt) {
    const QByteArray file =
        KarBuilder().trackName("Title").text("Artist").text("x").text("Made by Y").bytes();
    EXPECT_EQ(extractKarTexts(file, ScanWindow::Start),
              expected("Title", "Artist", "", "Made by Y"));
}

TEST(PlainReading, ShortTextsAreDroppedButNotTheFirst) {
    const QByteArray file = KarBuilder().trackName("AB").text("CD").text("E").text("ok!").bytes();
    EXPECT_EQ(extractKarTexts(file, ScanWindow::Start), expected("AB", "", "", "ok!"));
}

TEST(PlainReading, CyrillicNamesAreKeptAsBytes) {
    const QByteArray file = KarBuilder()
                                .trackName(cp1251(u"Пусть бегут неуклюже"))
                                .text(cp1251(u"Ёлка"))
                                .text(cp1251(u"Шаинский В."))
                                .text(cp1251(u"Студия ё"))
                                .bytes();
    const KarTexts texts = extractKarTexts(file, ScanWindow::Main);
    EXPECT_EQ(texts[0], cp1251(u"Пусть бегут неуклюже"));
    EXPECT_EQ(texts[1], cp1251(u"Ёлка"));
    EXPECT_EQ(texts[2], cp1251(u"Шаинский В."));
    EXPECT_EQ(texts[3], cp1251(u"Студия ё"));
}

TEST(PlainReading, ADisallowedCharacterSplitsTheNameAndShiftsTheRuns) {
    const QByteArray file =
        KarBuilder().trackName("Song [Live]").text("Artist").text("Words").bytes();
    // Run 2 ends at "[", run 4 is "Live" after "]" was the byte between runs 3 and 4... shifted.
    const KarTexts texts = extractKarTexts(file, ScanWindow::Start);
    EXPECT_EQ(texts[0], QByteArray("Song "));
    EXPECT_NE(texts[1], QByteArray("Artist"));
}

TEST(PlainReading, AngleBracketsBelongToTheStartWindowsNamesOnly) {
    const QByteArray file = KarBuilder().trackName("<Intro>").text("Artist").bytes();
    EXPECT_EQ(extractKarTexts(file, ScanWindow::Start)[0], QByteArray("<Intro>"));
    EXPECT_EQ(extractKarTexts(file, ScanWindow::Main)[0], QByteArray());
}

TEST(PlainReading, NoTrackNameGivesFourEmptyTexts) {
    const QByteArray file = KarBuilder().text("only a text").bytes();
    EXPECT_EQ(extractKarTexts(file, ScanWindow::Start), expected("", "", "", ""));
    EXPECT_EQ(extractKarTexts(QByteArray(), ScanWindow::Start), expected("", "", "", ""));
}

TEST(NameBlock, APairSplitAcrossTwoBlocksIsNotSeen) {
    // FF at offset 8191 and 03 at 8192: the pair straddles the block boundary.
    QByteArray file(8191, '\x90');
    const QByteArray events = KarBuilder().trackName("Second").text("Artist").bytes();
    file += QByteArray("\xFF\x03\x05"
                       "Split\x00\xFF\x01\x04"
                       "Next",
                       16);
    file += QByteArray(100, '\x90') + events;
    EXPECT_EQ(extractKarTexts(file, ScanWindow::Start), expected("Second", "Artist", "", ""));

    // Further from the boundary the whole pair lies in the first block and is found.
    QByteArray inside(8100, '\x90');
    inside += QByteArray("\xFF\x03\x05"
                         "Split\x00",
                         9) +
              events;
    EXPECT_EQ(extractKarTexts(inside, ScanWindow::Start)[0], QByteArray("Split"));
}

TEST(NameBlock, RunsEndAtTheEndOfTheBlock) {
    QByteArray file(8184, '\x90');
    file += QByteArray("\xFF\x03\x07"
                       "Cut off",
                       10); // the block ends after "Cut o"
    file += QByteArray("\x00\xFF\x01\x04"
                       "Next",
                       8);
    EXPECT_EQ(extractKarTexts(file, ScanWindow::Start), expected("Cut o", "", "", ""));
}

TEST(Credits, KarMakerCreditInTheFirstTextBecomesTheMaker) {
    const QByteArray file =
        KarBuilder().trackName("Song").text(kKarMakerCredit).text("Lyrics").text("Someone").bytes();
    EXPECT_EQ(extractKarTexts(file, ScanWindow::Start),
              expected("Song", "", "Lyrics", kKarMakerCredit));
}

TEST(Credits, CreditWithOneExtraCharacterBeforeTheLastIsRecognised) {
    QByteArray credit(kKarMakerCredit);
    credit.insert(credit.size() - 1, 'X');
    const QByteArray file = KarBuilder().trackName("Song").text("Artist").text(credit).bytes();
    EXPECT_EQ(extractKarTexts(file, ScanWindow::Start),
              expected("Song", "Artist", "", kKarMakerCredit));
}

TEST(Credits, SecondCreditFollowedByMoreCharactersIsCutToTheCredit) {
    const QByteArray file = KarBuilder()
                                .trackName("Song")
                                .text("Artist")
                                .text("Composer")
                                .text(QByteArray(kSecondCredit) + " 2004")
                                .bytes();
    EXPECT_EQ(extractKarTexts(file, ScanWindow::Start),
              expected("Song", "Artist", "Composer", kSecondCredit));
}

TEST(SoftKaraoke, ThreeTitlesWithoutInformationLineKeepTwo) {
    const QByteArray file = softKaraoke("Soft Karaoke")
                                .text("@TMy Song")
                                .text("@TSinger")
                                .text("@TSequenced by X")
                                .text("\\Hel")
                                .text("lo")
                                .bytes();
    EXPECT_EQ(extractKarTexts(file, ScanWindow::Start),
              expected("My Song", "Singer", "", "Soft Karaoke"));
}

TEST(SoftKaraoke, TwoTitlesGiveOnlyTheFirst) {
    const QByteArray file =
        softKaraoke("Soft Karaoke").text("@TMy Song").text("@TSinger").text("la").bytes();
    EXPECT_EQ(extractKarTexts(file, ScanWindow::Start),
              expected("My Song", "", "", "Soft Karaoke"));
}

TEST(SoftKaraoke, InformationLineGivesTheThirdTitle) {
    const QByteArray file = softKaraoke("Soft karaoke")
                                .text("@TMy Song")
                                .text("@TSinger")
                                .text("@TComposer")
                                .text("@IInfo")
                                .bytes();
    EXPECT_EQ(extractKarTexts(file, ScanWindow::Start),
              expected("My Song", "Singer", "Compo", "Soft karaoke"));
}

TEST(SoftKaraoke, TitlesAreTrimmedAtTheirFirstForeignCharacter) {
    const QByteArray file = softKaraoke("Soft Karaoke")
                                .text("@TSong [Live]")
                                .text("@TABC")
                                .text("@TABCDEFGH")
                                .text("@Ix")
                                .bytes();
    // "ABC" is too short and vanishes; the third title moves up into its place.
    EXPECT_EQ(extractKarTexts(file, ScanWindow::Start),
              expected("Song ]", "ABCDE", "", "Soft Karaoke"));
}

TEST(SoftKaraoke, RussianTitlesKeepTheirLetters) {
    const QByteArray file = softKaraoke("Soft Karaoke")
                                .text(QByteArray("@T") + cp1251(u"Песня о тревожной молодости"))
                                .text(QByteArray("@T") + cp1251(u"Пахмутова А."))
                                .text("@Tend")
                                .bytes();
    const KarTexts texts = extractKarTexts(file, ScanWindow::Start);
    EXPECT_EQ(texts[0], cp1251(u"Песня о тревожной молодости"));
    EXPECT_EQ(texts[1], cp1251(u"Пахмутова А."));
}

TEST(SoftKaraoke, UntitledLosesTheLastCharacterAfterShortTitlesWereEmptied) {
    QByteArray zeroEnded("@TMy Song");
    zeroEnded.append('\0');
    const QByteArray file = softKaraoke("untitled")
                                .text(zeroEnded)
                                .text("@TABCD")
                                .text("@TEnd of it")
                                .text("@Ilast")
                                .bytes();
    EXPECT_EQ(extractKarTexts(file, ScanWindow::Start),
              expected("My Song", "ABC", "End o", "untitled"));
}

TEST(SoftKaraoke, ControlBytesLeftByTheTrimAreRemoved) {
    const QByteArray file = softKaraoke("Soft Karaoke")
                                .text(QByteArray("@TIntro\x00\x03", 9))
                                .text("@TSecond")
                                .text("@Tthird")
                                .bytes();
    EXPECT_EQ(extractKarTexts(file, ScanWindow::Start)[0], QByteArray("Intro"));
}

TEST(SoftKaraoke, WithoutWordsTheNameRunsStandUnchanged) {
    const QByteArray file =
        KarBuilder().trackName("Soft Karaoke").text("AB").text("C").text("@TTitle").bytes();
    EXPECT_EQ(extractKarTexts(file, ScanWindow::Start),
              expected("Soft Karaoke", "AB", "C", "@TTitle"));
}

TEST(SoftKaraoke, MarkersAcrossTheFirstPageAndFarIntoAFileReadFromDisk) {
    // The second "@T" straddles the end of the first page, the only part read before the
    // reading goes on; the information line comes after music full of velocity and pitch-bend
    // bytes 0x40 ("@").
    QByteArray music;
    while (music.size() < 40000)
        music += QByteArray("\x00\x90\x40\x40\x60\x80\x40\x40\x0C\xE0\x00\x40", 12);
    const auto build = [&](qsizetype filler) {
        return KarBuilder()
            .trackName("Soft Karaoke")
            .text("@KMIDI KARAOKE FILE")
            .raw(QByteArray(filler, '\0'))
            .nextTrack()
            .trackName("Words")
            .text("@TMy Song")
            .text("@TSinger")
            .text("la")
            .nextTrack()
            .raw(music)
            .text("@IInfo")
            .bytes();
    };
    const QByteArray file = build(4095 - build(0).indexOf("@TSinger"));
    ASSERT_EQ(file.indexOf("@TSinger"), 4095);
    QTemporaryDir folder;
    QFile out(folder.filePath(QStringLiteral("far.kar")));
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    ASSERT_EQ(out.write(file), file.size());
    out.close();

    KarFileReader reader;
    const ExtractedFile read = reader.extract(QFile::encodeName(out.fileName()), ScanWindow::Start);
    // The second title runs to the missing third "@T" and is lost; the third runs from just
    // after the second "@T" to the "@I" at the end, trimmed at its first foreign byte to
    // "inger" and the span's last byte, a delta time of the music.
    EXPECT_EQ(read.texts, expected("My Song", "inger\x0C", "", "Soft Karaoke"));
    EXPECT_EQ(read.texts, extractKarTexts(file, ScanWindow::Start));
    EXPECT_EQ(reader.bytesRead(), file.size());
}

TEST(ByteSearch, FindsTheMarkerAtEveryPlaceFromEveryStart) {
    // Among bytes that all begin the marker, so that the marker lies once in each kind of step
    // of many positions and once in the bytes after them.
    for (const QByteArray& needle : {QByteArray("@T"), QByteArray("Words"), QByteArray("@")}) {
        for (qsizetype size = 0; size <= 160; ++size) {
            for (qsizetype place = 0; place + needle.size() <= size; ++place) {
                QByteArray haystack(size, needle.front());
                haystack.replace(place, needle.size(), needle);
                for (qsizetype from = 0; from <= size; ++from) {
                    // A one-byte marker is everywhere; a longer one only where it was put.
                    const qsizetype want = needle.size() == 1 ? (from < size ? from : -1)
                                                              : (from <= place ? place : -1);
                    ASSERT_EQ(findBytes(haystack, from, needle), want)
                        << needle.constData() << " size " << size << " at " << place << " from "
                        << from;
                }
                if (needle == "@T") {
                    haystack[place + 1] = 'I';
                    ASSERT_EQ(findEitherPair(haystack, 0, '@', 'T', 'I'), place);
                    ASSERT_EQ(findEitherPair(haystack, place + 1, '@', 'T', 'I'), -1);
                }
            }
        }
    }
}

TEST_F(RealFiles, MmaFileWithTitleLinesButNoSoftKaraokeTrackName) {
    // The first track name is "twinkle": the plain reading takes the texts after it.
    const KarTexts texts =
        extractKarTexts(readSample(QStringLiteral("twinkle.kar")), ScanWindow::Start);
    // The time-signature event after the name shifts the runs: its type byte "X" is run 3,
    // the FF of the next event (a Cyrillic letter in Windows-1251) is run 6 and, being one
    // character long, is dropped.
    EXPECT_EQ(texts, expected("twinkle", "", "", ""));
}

TEST_F(RealFiles, RosegardenSoftKaraokeFile) {
    const KarTexts texts =
        extractKarTexts(readSample(QStringLiteral("Negra_Sombra.kar")), ScanWindow::Start);
    // Its title lines stand before the "Words" track, where the reading does not look.
    EXPECT_EQ(texts, expected("", "", "", "Soft karaoke"));
}

TEST_F(RealFiles, FileWithoutTrackName) {
    EXPECT_EQ(extractKarTexts(readSample(QStringLiteral("MIDIOkFormat1-lyrics-kar.mid")),
                              ScanWindow::Start),
              expected("", "", "", ""));
}

TEST(Records, TextsAreDecodedAtTheRecordBoundary) {
    const CatalogueRecord record = makeRecord(QStringLiteral("/песни/"), QStringLiteral("а.kar"),
                                              {cp1251(u"Песня"), QByteArray("x\x98"), {}, {}});
    EXPECT_EQ(record[FolderField], QStringLiteral("/песни/"));
    EXPECT_EQ(record[FileNameField], QStringLiteral("а.kar"));
    EXPECT_EQ(record[PerformerTitleField], QStringLiteral("Песня"));
    EXPECT_EQ(record[FurtherText1Field].size(), 2);
}

namespace {

// Whether the page cache holds the first page of the file.
bool firstPageCached(int fd) {
    const auto pageSize = static_cast<size_t>(::sysconf(_SC_PAGESIZE));
    void* const page = ::mmap(nullptr, pageSize, PROT_READ, MAP_SHARED, fd, 0);
    unsigned char resident = 0;
    const bool cached =
        page != MAP_FAILED && ::mincore(page, pageSize, &resident) == 0 && (resident & 1) != 0;
    if (page != MAP_FAILED)
        ::munmap(page, pageSize);
    return cached;
}

} // namespace

TEST(KarFileReader, TellsWhetherReadingWaitedForTheDisk) {
    // A file read before is in the page cache, whatever pages of it the kernel marked to start
    // its read-ahead from (a read that must not wait stops at such a page); one dropped from
    // the page cache is not.
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("song.kar"));
    KarBuilder kar;
    kar.trackName("Soft Karaoke").text("@TSong").raw(QByteArray(64 * 1024, '\0'));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(kar.bytes());
    file.close();
    const QByteArray encoded = QFile::encodeName(path);
    const int fd = ::open(encoded.constData(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    ::fsync(fd);
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
    if (firstPageCached(fd)) {
        ::close(fd);
        GTEST_SKIP() << "this file system keeps the file in the page cache";
    }
    KarFileReader reader;
    ExtractRequest probe;
    probe.probePageCache = true;
    EXPECT_TRUE(reader.extract(encoded, ScanWindow::Start, probe).waitedForDisk);

    // Read in part from the disk: the kernel reads ahead and marks a page of what it read.
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
    char page[4096];
    for (const off_t at : {0, 8192, 12288})
        ASSERT_EQ(::pread(fd, page, sizeof page, at), ssize_t(sizeof page));
    ::close(fd);
    EXPECT_FALSE(reader.extract(encoded, ScanWindow::Start, probe).waitedForDisk);
    QByteArray buffer;
    MidiStructure structure;
    EXPECT_FALSE(reader.readStructure(encoded, -1, buffer, structure, true));
}
