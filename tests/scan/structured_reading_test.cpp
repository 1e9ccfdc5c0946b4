#include "kar_builder.h"
#include "real_sample_files.h"
#include "scan/kar_extractor.h"
#include "scan/structured_reading.h"

#include <QFile>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <iconv.h>

using namespace songwick;
using songwick::test::cp1251;
using songwick::test::KarBuilder;

namespace {

// A note at tick 0 of the current track.
const QByteArray kNote("\x00\x90\x40\x64\x60\x80\x40\x00", 8);

QByteArray encoded(const QString& text, const char* codePage) {
    const QByteArray utf8 = text.toUtf8();
    iconv_t handle = iconv_open(codePage, "UTF-8");
    QByteArray out(utf8.size() * 4 + 4, '\0');
    char* in = const_cast<char*>(utf8.data());
    size_t inLeft = size_t(utf8.size());
    char* at = out.data();
    size_t outLeft = size_t(out.size());
    iconv(handle, &in, &inLeft, &at, &outLeft);
    iconv_close(handle);
    out.truncate(at - out.data());
    return out;
}

// A Soft Karaoke file: "Soft Karaoke" track, then a "Words" track with its "@" lines and
// lyrics, then a melody track.
QByteArray softKaraoke(const QList<QByteArray>& titleLines, const QByteArray& lyric = "la") {
    KarBuilder kar;
    kar.trackName("Soft Karaoke").text("@KMIDI KARAOKE FILE").nextTrack().trackName("Words");
    kar.text("@LENGL");
    for (const QByteArray& line : titleLines)
        kar.text("@T" + line);
    for (int i = 0; i < 20; ++i)
        kar.text((i % 5 == 0 ? "/" : "") + lyric);
    kar.nextTrack().trackName("Melody").raw(kNote);
    return kar.bytes();
}

std::array<QString, 4> structured(const QByteArray& bytes,
                                  const QString& fileName = QStringLiteral("song.kar"),
                                  StructuredReadingOptions options = {}) {
    return StructuredReader(std::move(options)).read(bytes, fileName).texts;
}

QByteArray readData(const char* name) {
    QFile file(songwick::testing::realSampleFolder() + u'/' + QString::fromUtf8(name));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

} // namespace

TEST(MidiStructure, ReadsTracksEventsAndTheFirstNote) {
    KarBuilder kar;
    kar.trackName("Title").meta(0x02, "(C) Someone").nextTrack().trackName("Piano");
    // Running status: the second note-on has no status byte; a SysEx sits between.
    kar.raw(QByteArray("\x10\x90\x40\x64\x10\x41\x64\x00\xF0\x03\x7E\x00\xF7", 13)).text("after");
    const QByteArray bytes = kar.bytes();
    const MidiStructure structure = readMidiStructure(bytes);
    ASSERT_TRUE(structure.found);
    EXPECT_FALSE(structure.damaged);
    EXPECT_EQ(structure.format, 1);
    ASSERT_EQ(structure.tracks.size(), 2u);
    EXPECT_TRUE(structure.tracks[1].ended);
    EXPECT_EQ(structure.tracks[1].firstNoteTick, 16);
    EXPECT_EQ(structure.firstNoteTick(), 16);
    ASSERT_EQ(structure.metaEvents.size(), 4u);
    const MidiMetaEvent& after = structure.metaEvents[3];
    EXPECT_EQ(after.data, "after");
    EXPECT_EQ(after.track, 1);
    EXPECT_EQ(after.tick, 32);
    EXPECT_TRUE(after.afterTrackNote);
    EXPECT_EQ(bytes.mid(after.offset, 5), "after");
}

TEST(MidiStructure, DamagedAndWrappedFilesStillGiveTheirEvents) {
    const QByteArray plain = KarBuilder().trackName("Title").text("Artist").bytes();
    QByteArray riff = "RIFF" + QByteArray("\0\0\0\0", 4) + "RMID" + "data";
    const qint32 size = qint32(plain.size());
    riff += QByteArray(reinterpret_cast<const char*>(&size), 4) + plain; // little-endian host
    const QByteArray garbage = QByteArray("junk\xFF\x03\x05zzzzz", 12) + plain;
    QByteArray longLength = plain;
    longLength[14 + 7] = char(0x7F); // the track claims more bytes than the file has
    const QByteArray noEnd = plain.left(plain.size() - 4);
    for (const QByteArray& bytes : {riff, garbage, longLength, noEnd}) {
        const MidiStructure structure = readMidiStructure(bytes);
        ASSERT_EQ(structure.metaEvents.size(), 2u);
        EXPECT_EQ(structure.metaEvents[0].data, "Title");
        EXPECT_EQ(structure.metaEvents[1].data, "Artist");
    }
    EXPECT_TRUE(readMidiStructure(riff).riffWrapped);
    EXPECT_EQ(readMidiStructure(garbage).headerOffset, 12);
    EXPECT_TRUE(readMidiStructure(longLength).damaged);
    EXPECT_FALSE(readMidiStructure(noEnd).tracks[0].ended);
}

TEST(MidiStructure, AnyCutOrCorruptionStaysInsideTheBytes) {
    const QByteArray good = softKaraoke({"My Song", "Singer"});
    StructuredReader reader;
    for (qsizetype cut = 0; cut <= good.size(); ++cut) {
        // A copy of exactly the cut size, so that a read past its end is caught by the
        // address sanitizer builds.
        const QByteArray prefix = good.left(cut);
        const MidiStructure structure = readMidiStructure(prefix);
        for (const MidiMetaEvent& event : structure.metaEvents)
            ASSERT_LE(event.offset + event.data.size(), prefix.size());
        reader.read(prefix, QStringLiteral("x.kar"));
    }
    QByteArray flipped = good;
    for (qsizetype i = 0; i < flipped.size(); ++i) {
        QByteArray bytes = good;
        bytes[i] = char(~bytes[i]);
        reader.read(bytes, QStringLiteral("x.kar"));
        bytes[i] = char(0x80 | bytes[i]); // lengths and delta times that run on
        reader.read(bytes, QStringLiteral("x.kar"));
    }
}

TEST(MidiStructure, AFileIsReadOnlyAsFarAsItsTracksHeadsGo) {
    // A names track, a long music track with a marker deep in its notes, and a third track
    // whose name must still be found past the music.
    KarBuilder kar;
    kar.trackName("My Song").text("Singer").nextTrack().trackName("Piano");
    QByteArray notes;
    for (int i = 0; i < 8000; ++i)
        notes += kNote;
    kar.raw(notes).text("deep in the music").raw(notes).nextTrack().trackName("Strings");
    const QByteArray bytes = kar.bytes();
    QTemporaryDir folder;
    QFile file(folder.filePath(QStringLiteral("song.kar")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();

    KarFileReader reader;
    const MidiStructure fromFile = reader.readStructure(QFile::encodeName(file.fileName()));
    const MidiStructure whole = readMidiStructure(bytes);
    EXPECT_LT(reader.bytesRead(), bytes.size() / 10);
    for (const MidiStructure* structure : {&fromFile, &whole}) {
        ASSERT_EQ(structure->tracks.size(), 3u);
        EXPECT_TRUE(structure->tracks[1].cutShort);
        EXPECT_LE(structure->tracks[1].walked, kMidiTextGap + 16);
        QByteArrayList texts;
        for (const MidiMetaEvent& event : structure->metaEvents)
            texts << event.data.toByteArray();
        EXPECT_EQ(texts, QByteArrayList({"My Song", "Singer", "Piano", "Strings"}));
        EXPECT_EQ(structure->metaEvents.back().offset, whole.metaEvents.back().offset);
    }
}

TEST(CodePageDetection, RussianWordsNeedNoDetectorAndNothingElsePassesForThem) {
    CodePageDetector detector;
    const auto guess = [&](const QString& title, const QString& singer, const char* codePage) {
        const QByteArray first = encoded(title, codePage);
        const QByteArray second = encoded(singer, codePage);
        return detector.detect({first, second});
    };
    const QString title = QStringLiteral("Подмосковные вечера");
    const QString singer = QStringLiteral("Владимир Трошин");
    const CodePageGuess russian = guess(title, singer, "CP1251");
    EXPECT_EQ(russian.key, QStringLiteral("cp1251"));
    EXPECT_EQ(russian.reason, QStringLiteral("letters"));
    const std::vector<std::pair<const char*, QString>> others = {
        {"KOI8-R", QStringLiteral("koi8-r")},
        {"CP866", QStringLiteral("cp866")},
        {"ISO-8859-5", QStringLiteral("iso-8859-5")}};
    for (const auto& [codePage, key] : others) {
        const CodePageGuess other =
            guess(title + QStringLiteral(" не слышны в саду даже шорохи"), singer, codePage);
        EXPECT_NE(other.reason, QStringLiteral("letters")) << codePage;
        EXPECT_EQ(other.key, key) << codePage;
    }
    // Greek read in Windows-1251 keeps its capitals and small letters where they were.
    const CodePageGuess greek = guess(QStringLiteral("Σαν τον ήλιο και το φεγγάρι"),
                                      QStringLiteral("Γιάννης Πάριος"), "ISO-8859-7");
    EXPECT_EQ(greek.key, QStringLiteral("iso-8859-7"));
    // All capitals read as small letters in KOI8-R: left to the detector.
    EXPECT_NE(guess(QStringLiteral("КАТЮША"), QStringLiteral("БЛАНТЕР М."), "CP1251").reason,
              QStringLiteral("letters"));
}

TEST(StructuredReading, SoftKaraokeTitlesInEachCodePage) {
    const QString title = QStringLiteral("Подмосковные вечера");
    const QString singer = QStringLiteral("Владимир Трошин");
    const std::array<QString, 4> russian =
        structured(softKaraoke({encoded(title, "CP1251"), encoded(singer, "CP1251")},
                               encoded(QStringLiteral("не слышны в саду"), "CP1251")));
    EXPECT_EQ(russian[0], title);
    EXPECT_EQ(russian[1], singer);
    EXPECT_EQ(russian[3], QString()); // no maker is named: no format marker instead
    // The only Cyrillic word of the file: the "@T" before it does not make it a Latin word.
    EXPECT_EQ(structured(softKaraoke(
                  {encoded(QStringLiteral("Катюша"), "CP1251"), "Lennon J.", "Sequenced"}))[0],
              QStringLiteral("Катюша"));

    const std::array<QString, 4> koi8 =
        structured(softKaraoke({encoded(title, "KOI8-R"), encoded(singer, "KOI8-R")},
                               encoded(QStringLiteral("не слышны в саду даже шорохи"), "KOI8-R")));
    EXPECT_EQ(koi8[0], title);

    const QString cafe = QStringLiteral("Café Olé");
    const std::array<QString, 4> western = structured(softKaraoke(
        {encoded(cafe, "CP1252"), "Beyonc\xE9", "Sequenced by Jos\xE9"}, "d\xE9j\xE0 vu"));
    EXPECT_EQ(western[0], cafe);
    EXPECT_EQ(western[1], QStringLiteral("Beyoncé"));
    EXPECT_EQ(western[3], QStringLiteral("Sequenced by José"));
    // Quotes, dashes and dots are the same bytes in both code pages: they make no words.
    const QString quoted = QStringLiteral("Für Elise – „Live“ …");
    const QString choir = QStringLiteral("Ludwig van Beethoven");
    const std::array<QString, 4> punctuated =
        structured(softKaraoke({encoded(quoted, "CP1252"), encoded(choir, "CP1252")}));
    EXPECT_EQ(punctuated[0], quoted);
    EXPECT_EQ(punctuated[1], choir);
    // "è" alone is the word "и" in Windows-1251: a one-letter word tells neither code page.
    const QString italian = QStringLiteral("Il cielo è sempre più blu");
    EXPECT_EQ(structured(softKaraoke({encoded(italian, "CP1252"), "Rino Gaetano"}))[0], italian);

    const std::array<QString, 4> utf8 =
        structured(softKaraoke({title.toUtf8(), cafe.toUtf8(), "Words: Someone"}));
    EXPECT_EQ(utf8[0], title);
    EXPECT_EQ(utf8[1], cafe);
    EXPECT_EQ(utf8[2], QStringLiteral("Words: Someone"));
}

TEST(StructuredReading, ACodePageCanBeForced) {
    const QByteArray bytes = softKaraoke({encoded(QStringLiteral("Café"), "CP1252")});
    StructuredReadingOptions options;
    options.codePage = QStringLiteral("cp1251");
    EXPECT_EQ(structured(bytes, QStringLiteral("a.kar"), options)[0], QStringLiteral("Cafй"));
}

TEST(StructuredReading, PlainFilesSkipGenericNamesAndFindTheMaker) {
    KarBuilder kar;
    kar.trackName("Untitled")
        .meta(0x02, "(C) 1999 Studio X")
        .text("F:\\Midi\\Pop\\song.mid")
        .text("Hotel California")
        .text("Eagles")
        .raw(QByteArray("\x00\xFF\x01\x82\x2C", 5) + QByteArray(300, 'a')) // a 300-byte text
        .text("Created with KarMaker: team@karaokegalaxy.com")
        .nextTrack()
        .trackName("Acoustic Grand Piano")
        .raw(kNote)
        .text("not before the first note");
    const std::array<QString, 4> texts = structured(kar.bytes());
    EXPECT_EQ(texts[0], QStringLiteral("Hotel California"));
    EXPECT_EQ(texts[1], QStringLiteral("Eagles"));
    EXPECT_EQ(texts[2], QString());
    EXPECT_EQ(texts[3], QStringLiteral("Created with KarMaker: team@karaokegalaxy.com; (C) 1999 "
                                       "Studio X"));

    KarBuilder named;
    named.trackName("Track 1").nextTrack().trackName(cp1251(u"Кино - Группа крови")).raw(kNote);
    EXPECT_EQ(structured(named.bytes())[0], QStringLiteral("Кино - Группа крови"));
}

TEST(StructuredReading, FileNamePatternsAreTheLastResort) {
    const QByteArray generic = KarBuilder().trackName("General MIDI").text("Words").bytes();
    const std::array<QString, 4> fromName =
        structured(generic, QStringLiteral("Pink_Floyd+-+Another%20Brick%27s.kar"));
    EXPECT_EQ(fromName[0], QStringLiteral("Another Brick's"));
    EXPECT_EQ(fromName[1], QStringLiteral("Pink Floyd"));
    EXPECT_EQ(structured(generic, QStringLiteral("07 - Yesterday.kar"))[0],
              QStringLiteral("07 - Yesterday"));
    StructuredReadingOptions options;
    options.fileNamePatterns = {QStringLiteral("Название (Исполнитель)")};
    const std::array<QString, 4> custom =
        structured(generic, QStringLiteral("Катюша (Хор).kar"), options);
    EXPECT_EQ(custom[0], QStringLiteral("Катюша"));
    EXPECT_EQ(custom[1], QStringLiteral("Хор"));
    // The file's own title wins over its name.
    EXPECT_EQ(structured(KarBuilder().trackName("Real Title").bytes(),
                         QStringLiteral("Other - Name.kar"))[0],
              QStringLiteral("Real Title"));
}

TEST(StructuredReading, RealFiles) {
    const QByteArray negra = readData("Negra_Sombra.kar");
    const QByteArray twinkle = readData("twinkle.kar");
    const QByteArray midiOk = readData("MIDIOkFormat1-lyrics-kar.mid");
    if (negra.isEmpty() || twinkle.isEmpty() || midiOk.isEmpty())
        GTEST_SKIP() << "real sample files not found at "
                     << songwick::testing::realSampleFolder().toStdString();
    const std::array<QString, 4> sombra = structured(negra, QStringLiteral("Negra_Sombra.kar"));
    EXPECT_EQ(sombra[0], QStringLiteral("Negra Sombra"));
    EXPECT_EQ(sombra[1], QStringLiteral("Music: Xoan Montes (1840-1899)"));
    EXPECT_EQ(sombra[3], QStringLiteral("Copyright (c) 2021 Pedro López-Cabanillas"));
    const std::array<QString, 4> star = structured(twinkle, QStringLiteral("twinkle.kar"));
    EXPECT_EQ(star[0], QStringLiteral("Twinkle, Twinkle, Little Star"));
    EXPECT_TRUE(star[3].startsWith(QStringLiteral("Created by MMA")));
    EXPECT_EQ(structured(midiOk)[0], QStringLiteral("Hello karaoke"));
}
