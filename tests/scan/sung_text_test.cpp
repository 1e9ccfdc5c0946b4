#include "kar_builder.h"
#include "real_sample_files.h"
#include "scan/structured_reading.h"
#include "scan/sung_text.h"

#include <gtest/gtest.h>

using namespace songwick;
using songwick::test::cp1251;
using songwick::test::KarBuilder;

namespace {

// A note of the current track, and music that sounds for `bytes` bytes without a text.
const QByteArray kNote("\x00\x90\x40\x64\x60\x80\x40\x00", 8);
QByteArray music(int bytes) {
    QByteArray notes;
    while (notes.size() < bytes)
        notes += kNote;
    return notes;
}

// The sung text as the index reads it: the whole tracks, the code page the structured reading
// finds for the file.
SungText sungText(const QByteArray& bytes) {
    const MidiStructure structure = readMidiStructure(bytes, MidiTrackWalk::Whole);
    StructuredReader reader;
    CodePageDetector decoder;
    return readSungText(structure, decoder,
                        reader.read(structure, QStringLiteral("song.kar")).codePage.key);
}

TEST(SungTextTest, SoftKaraokeWordsTrackJoinsSyllablesIntoLines) {
    KarBuilder kar;
    kar.trackName("Soft Karaoke").text("@KMIDI KARAOKE FILE").text("@V0100");
    kar.text("@IСделано в Москве").nextTrack();
    kar.trackName("Words").text("@LRUS").text(cp1251(u"@TКатюша"));
    for (const char16_t* syllable :
         {u"\\Рас", u"цве", u"та",  u"ли ", u"яб", u"ло",   u"ни ",  u"и ", u"гру",  u"ши,",
          u"/По",   u"плы", u"ли ", u"ту",  u"ма", u"ны ",  u"над ", u"ре", u"кой.", u"/Вы",
          u"хо",    u"ди",  u"ла ", u"на ", u"бе", u"рег ", u"Ка",   u"тю", u"ша"})
        kar.text(cp1251(syllable)).raw(kNote);
    // An instrument's text in another track is not sung.
    kar.nextTrack().trackName("Piano").text("Grand piano").raw(kNote);

    const SungText sung = sungText(kar.bytes());

    EXPECT_EQ(sung.source, SungTextSource::TextEvents);
    EXPECT_EQ(sung.track, 1);
    EXPECT_EQ(sung.lines, QStringList({QStringLiteral("Расцветали яблони и груши,"),
                                       QStringLiteral("Поплыли туманы над рекой."),
                                       QStringLiteral("Выходила на берег Катюша")}));
    EXPECT_FALSE(sung.cutShort);
}

TEST(SungTextTest, LyricEventsOfTheMelodyTrackRunOnThroughTheMusic) {
    KarBuilder kar;
    kar.trackName("Song").text("Sequenced by somebody").nextTrack().trackName("Melody");
    // Hyphens that join syllables, CR and LF as line ends, a blank inside the event.
    for (const char* syllable : {"Twin-", "kle ", "twin-", "kle ", "lit-", "tle star\r", "How ",
                                 "I ", "won-", "der ", "what ", "you ", "are\n"})
        kar.meta(0x05, syllable).raw(kNote);
    // A long instrumental part: the texts of a track's head would have ended here.
    kar.raw(music(4 * int(kMidiTextGap)));
    for (const char* syllable : {"Up a-", "bove ", "the ", "world - ", "so ", "high"})
        kar.meta(0x05, syllable).raw(kNote);

    const SungText sung = sungText(kar.bytes());

    EXPECT_EQ(sung.source, SungTextSource::LyricEvents);
    EXPECT_EQ(sung.lines, QStringList({QStringLiteral("Twinkle twinkle little star"),
                                       QStringLiteral("How I wonder what you are"),
                                       QStringLiteral("Up above the world - so high")}));
}

TEST(SungTextTest, ADamagedFileGivesTheWordsUpToTheDamage) {
    KarBuilder kar;
    kar.trackName("Words").text("@KMIDI KARAOKE FILE");
    for (const char* syllable : {"\\Load ", "up ", "on ", "guns", "/bring ", "your ", "friends"})
        kar.text(syllable).raw(kNote);
    QByteArray bytes = kar.bytes();
    // The last text event announces more bytes than the file has left.
    const qsizetype last = bytes.lastIndexOf("friends");
    bytes.truncate(last + 3);
    bytes[last - 1] = char(0x7F);

    const SungText sung = sungText(bytes);

    EXPECT_EQ(sung.lines,
              QStringList({QStringLiteral("Load up on guns"), QStringLiteral("bring your fri")}));
    EXPECT_TRUE(sung.cutShort);
}

TEST(SungTextTest, APlainFileWithAFewTextsSingsNothing) {
    const QByteArray credits = KarBuilder()
                                   .trackName("Yesterday")
                                   .text("The Beatles")
                                   .text("Sequenced by John")
                                   .raw(kNote)
                                   .bytes();
    const SungText sung = sungText(credits);
    EXPECT_EQ(sung.source, SungTextSource::None);
    EXPECT_TRUE(sung.lines.isEmpty());
}

using SungTextRealFileTest = songwick::testing::RealSampleFiles;

TEST_F(SungTextRealFileTest, RealFilesOfOtherEditors) {
    // Soft Karaoke lines in the first track, after the "@" lines (MMA).
    const SungText twinkle = sungText(readSample(QStringLiteral("twinkle.kar")));
    ASSERT_GE(twinkle.lines.size(), 2);
    EXPECT_EQ(twinkle.lines[0], QStringLiteral("Twinkle, Twinkle little star;"));
    EXPECT_EQ(twinkle.lines[1], QStringLiteral("How I wonder what you are."));
    // UTF-8 syllables in a "Words" track (Rosegarden).
    const SungText negra = sungText(readSample(QStringLiteral("Negra_Sombra.kar")));
    ASSERT_GE(negra.lines.size(), 3);
    EXPECT_EQ(negra.lines[0], QStringLiteral("Cando penso que te fuches,"));
    EXPECT_EQ(negra.lines[2], QStringLiteral("ó pé dos meus cabezales"));
    // Lyric events with "\" beside a text event.
    const SungText lyrics = sungText(readSample(QStringLiteral("MIDIOkFormat1-lyrics-kar.mid")));
    EXPECT_EQ(lyrics.source, SungTextSource::LyricEvents);
    EXPECT_EQ(lyrics.lines, QStringList({QStringLiteral("Hello"), QStringLiteral("Karaoke")}));
}

} // namespace
