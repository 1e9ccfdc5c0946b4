#include "kar_builder.h"
#include "real_sample_files.h"
#include "scan/file_name_patterns.h"
#include "scan/kar_extractor.h"
#include "scan/structured_reading.h"

#include <QFile>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <algorithm>
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

TEST(MidiStructure, TextsWithinTheGapAfterTheMusicStartedAreKept) {
    // Between a track's texts, music runs of plain channel events, one broken by a tempo
    // change, one by a system exclusive message and one with a long delta time that ends in
    // F7: each text within the gap is kept, the one past it is not.
    QByteArray notes;
    for (int i = 0; i < 100; ++i)
        notes += kNote; // 800 bytes
    const QByteArray tempo("\x00\xFF\x51\x03\x07\xA1\x20", 7);
    const QByteArray sysex("\x00\xF0\x05\x7E\x7F\x09\x01\xF7", 8);
    const QByteArray longDelta("\x83\xF7\x00\x90\x41\x64", 6);
    KarBuilder kar;
    kar.trackName("Melody").raw(kNote).raw(notes).text("one").raw(notes + tempo + notes);
    kar.text("two").raw(notes + sysex + notes).text("three").raw(longDelta + notes);
    kar.text("four").raw(notes + notes + notes).text("past the gap").raw(notes);
    const QByteArray bytes = kar.bytes();
    QByteArrayList texts;
    for (const MidiMetaEvent& event : readMidiStructure(bytes).metaEvents) {
        if (event.type != 0x51)
            texts << event.data.toByteArray();
    }
    EXPECT_EQ(texts, QByteArrayList({"Melody", "one", "two", "three", "four"}));
    EXPECT_EQ(readMidiStructure(bytes, MidiTrackWalk::Whole).metaEvents.size(), 7u);
}

TEST(MidiStructure, TheNamingReadingLeavesOutOnlyTheSungWordsInAscii) {
    // A names track with more texts before its first note than a name is looked for in, a
    // words track of ASCII lyrics with "@" lines, a Russian word and a text after a two-byte
    // delta time, and a last track that starts with a text.
    KarBuilder kar;
    kar.trackName("Names");
    for (int i = 1; i <= 14; ++i)
        kar.text("Intro " + QByteArray::number(i));
    kar.raw(kNote).text("after the note").nextTrack();
    kar.text("@TMy Song").text("@TThe Singer");
    for (int i = 0; i < 300; ++i)
        kar.meta(kMetaLyric, "la ");
    kar.meta(kMetaLyric, cp1251(u"Привет"))
        .raw(QByteArray("\x81\x00\xFF\x01\x03"
                        "end",
                        8));
    kar.nextTrack().text("Last track text").raw(kNote);
    const QByteArray bytes = kar.bytes();
    const MidiStructure all = readMidiStructure(bytes, MidiTrackWalk::Head);
    const MidiStructure naming =
        readMidiStructure(bytes, MidiTrackWalk::Head, MidiEventsKept::Naming);

    QByteArrayList kept;
    for (const MidiMetaEvent& event : naming.metaEvents) {
        kept << event.data.toByteArray();
        const auto same =
            std::find_if(all.metaEvents.begin(), all.metaEvents.end(),
                         [&](const MidiMetaEvent& e) { return e.offset == event.offset; });
        ASSERT_NE(same, all.metaEvents.end());
        EXPECT_EQ(same->tick, event.tick);
        EXPECT_EQ(same->track, event.track);
        EXPECT_EQ(same->afterTrackNote, event.afterTrackNote);
    }
    QByteArrayList expected{"Names"};
    for (int i = 1; i <= 12; ++i)
        expected << "Intro " + QByteArray::number(i);
    expected << "@TMy Song"
             << "@TThe Singer" << cp1251(u"Привет") << "end"
             << "Last track text";
    EXPECT_EQ(kept, expected);
    EXPECT_EQ(all.metaEvents.size(), 321u);
    EXPECT_EQ(all.metaEvents[319].tick, 128); // "end", after the two-byte delta time
    ASSERT_EQ(naming.tracks.size(), 3u);
    EXPECT_EQ(naming.tracks[0].plainTexts, 15);
    EXPECT_EQ(naming.tracks[1].lyricEvents, 301);
    EXPECT_EQ(naming.tracks[1].plainTexts, 1);

    StructuredReader reader;
    const StructuredTexts fromAll = reader.read(all, QStringLiteral("x.kar"));
    const StructuredTexts fromNaming = reader.read(naming, QStringLiteral("x.kar"));
    EXPECT_EQ(fromNaming.texts, fromAll.texts);
    EXPECT_EQ(fromNaming.codePage.key, fromAll.codePage.key);
    EXPECT_EQ(fromAll.texts[0], QStringLiteral("My Song"));
}

TEST(MidiStructure, AFileIsReadOnlyAsFarAsItsTracksHeadsGo) {
    // A names track, a long music track with a marker deep in its notes, and a third track
    // whose name must still be found past the music: far larger than the first part read.
    KarBuilder kar;
    kar.trackName("My Song").text("Singer").nextTrack().trackName("Piano");
    QByteArray notes;
    for (int i = 0; i < 40000; ++i)
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
    EXPECT_LT(reader.bytesRead(), bytes.size() / 5);
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
    const std::array<QString, 4> credited =
        structured(generic, QStringLiteral("Queen_-_Bohemian_Rhapsody(c)krawczyk.kar"));
    EXPECT_EQ(credited[0], QStringLiteral("Bohemian Rhapsody"));
    EXPECT_EQ(credited[1], QStringLiteral("Queen"));
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

TEST(FileNamePatterns, TheDefaultPatternsMatchAsTheirExpressionsDo) {
    // The doubled blank makes the same expression, but one that is matched as an expression.
    const QStringList asExpression = {QStringLiteral("Исполнитель  - Название")};
    const QStringList asDefault = {defaultFileNamePatterns().first()};
    for (const char* name :
         {"a-ha - Take On Me.kar", "ABBA-Waterloo.kar", "ABBA -Waterloo.kar", "ABBA- Waterloo.kar",
          "-ABBA - Waterloo.kar", "ABBA -.kar", "ABBA - .kar", "- Waterloo.kar", "A - B - C.kar",
          "07 - Yesterday.kar", "Yesterday - 07.kar", "Pink_Floyd+-+Wall.kar", "ABBA.kar", "-.kar",
          "A-.kar", "Би-2 - Полковнику никто не пишет.kar", "ABBA\xe1\xa0\x8e- Waterloo.kar"}) {
        SCOPED_TRACE(name);
        const FileNameTexts expected = matchFileName(QString::fromUtf8(name), asExpression);
        const FileNameTexts got = matchFileName(QString::fromUtf8(name), asDefault);
        EXPECT_EQ(got.title, expected.title);
        EXPECT_EQ(got.performer, expected.performer);
        EXPECT_EQ(got.pattern, expected.pattern);
    }
    const FileNameTexts titleOnly =
        matchFileName(QStringLiteral("  Yesterday_.kar"), defaultFileNamePatterns());
    EXPECT_EQ(titleOnly.title, QStringLiteral("Yesterday"));
    EXPECT_EQ(titleOnly.pattern, 1);
}

namespace {

// A plain karaoke file: the track names and texts given, then a track of sung words.
QByteArray sungFile(const QList<QByteArrayList>& tracks) {
    KarBuilder kar;
    for (const QByteArrayList& texts : tracks) {
        for (const QByteArray& text : texts)
            text.startsWith('#') ? kar.text(text.mid(1)) : kar.trackName(text);
        kar.raw(kNote).nextTrack();
    }
    for (int i = 0; i < 20; ++i)
        kar.meta(kMetaLyric, "la ");
    return kar.raw(kNote).bytes();
}

} // namespace

TEST(StructuredReading, TheFileNameIsBetterThanAGenreARoleAnInstrumentOrACredit) {
    struct Case {
        QByteArray bytes;
        const char* fileName;
        const char* title;
        const char* performer;
        bool titleFromFileName = true;
    };
    const std::vector<Case> cases = {
        {sungFile({{"Rap"}}), "Eminem - Lose Yourself.kar", "Lose Yourself", "Eminem"},
        {sungFile({{"Non-Lyrics Text"}, {"Master Parameters"}, {"Melody"}}),
         "Beatles_-_Let_It_Be.kar", "Let It Be", "Beatles"},
        {sungFile({{"Flutes"}, {"Piccolo"}, {"Violin I"}, {"Manual rechte Hand"}, {"Treble"}}),
         "Queen+-+Innuendo.kar", "Innuendo", "Queen"},
        // Credits name the maker; the artist in capitals first names the performer.
        {sungFile({{"Midi Sequence by John Doe", "#Lyrics entered by Jane", "#jane@aol.com"}}),
         "ABBA Dancing Queen.kar", "Dancing Queen", "ABBA"},
        // A title squashed into an 8.3 file name.
        {sungFile({{"DONTKNOW"}}), "Norah Jones - Don't Know Why.kar", "Don't Know Why",
         "Norah Jones"},
        // The performer the file name puts first, where the file's own title was a role.
        {sungFile({{"Words", "#Eminem"}}), "Eminem - Lose Yourself.kar", "Lose Yourself", "Eminem"},
        // The file's own title is the file name's: the file name gives the performer too, without
        // the collection's number.
        {sungFile({{"Hotel California"}}), "00390 Eagles - Hotel California.kar",
         "Hotel California", "Eagles", false},
        // Only a number with a leading zero or of three digits, before a blank, is the
        // collection's.
        {sungFile({{"In Da Club"}}), "50 Cent - In Da Club.kar", "In Da Club", "50 Cent", false},
        {sungFile({{"Theme"}}), "007. Bond - Theme.kar", "Theme", "Bond", false},
        {sungFile({{"Go"}}), "123Go - Go.kar", "Go", "123Go", false},
        // A file name that names nothing leaves the genre as the title.
        {sungFile({{"Rap"}}), "01.kar", "Rap", "", false},
        // A title of the file's own beside another in the file name stays.
        {sungFile({{"Yesterday"}}), "ABBA Waterloo.kar", "Yesterday", "", false},
    };
    for (const Case& file : cases) {
        SCOPED_TRACE(file.fileName);
        const StructuredTexts texts =
            StructuredReader().read(file.bytes, QString::fromUtf8(file.fileName));
        EXPECT_EQ(texts.texts[0], QString::fromUtf8(file.title));
        EXPECT_EQ(texts.texts[1], QString::fromUtf8(file.performer));
        // The reading says where the title came from.
        const auto title =
            std::find_if(texts.used.begin(), texts.used.end(),
                         [](const UsedText& u) { return u.role == UsedText::Role::Title; });
        ASSERT_NE(title, texts.used.end());
        EXPECT_EQ(title->fromFileName, file.titleFromFileName);
    }
    const StructuredTexts credits =
        StructuredReader().read(cases[3].bytes, QString::fromUtf8(cases[3].fileName));
    EXPECT_EQ(credits.texts[3],
              QStringLiteral("Midi Sequence by John Doe; Lyrics entered by Jane; jane@aol.com"));
}

TEST(StructuredReading, ThePerformerIsNeverACreditAndLosesItsLabel) {
    const auto read = [](const QByteArrayList& texts) {
        return structured(sungFile({texts}), QStringLiteral("song.kar"));
    };
    const std::array<QString, 4> labelled = read({"#Artist: Linkin Park", "#Title: In the End"});
    EXPECT_EQ(labelled[0], QStringLiteral("In the End"));
    EXPECT_EQ(labelled[1], QStringLiteral("Linkin Park"));
    EXPECT_EQ(read({"Hey Jude", "#as performed by The Beatles"})[1], QStringLiteral("The Beatles"));
    const std::array<QString, 4> credited =
        read({"Yesterday", "#Words: Lennon", "#Sequence and score: Midi Land", "#by The Beatles"});
    EXPECT_EQ(credited[0], QStringLiteral("Yesterday"));
    EXPECT_EQ(credited[1], QStringLiteral("The Beatles"));
    EXPECT_EQ(credited[2], QStringLiteral("Words: Lennon; Sequence and score: Midi Land"));
    // A composer performs where nothing else names a performer; a credit or a generic word
    // never does.
    const std::array<QString, 4> composed =
        read({"Negra Sombra", "#Unknown", "#Music: Xoan Montes", "#Lyrics: Rosalia de Castro"});
    EXPECT_EQ(composed[1], QStringLiteral("Xoan Montes"));
    EXPECT_EQ(composed[2], QStringLiteral("Unknown; Lyrics: Rosalia de Castro"));
}

TEST(StructuredReading, SoftKaraokeTitleLinesOfTheWordsTrackComeFirst) {
    KarBuilder kar;
    kar.trackName("Soft Karaoke").text("@KMIDI KARAOKE FILE").text("@TMidi Land Studio");
    kar.nextTrack().trackName("Words").text("@TYesterday").text("@TThe Beatles");
    for (int i = 0; i < 20; ++i)
        kar.text("la");
    const std::array<QString, 4> texts = structured(kar.nextTrack().raw(kNote).bytes());
    EXPECT_EQ(texts[0], QStringLiteral("Yesterday"));
    EXPECT_EQ(texts[1], QStringLiteral("The Beatles"));
    EXPECT_EQ(texts[2], QStringLiteral("Midi Land Studio"));
}

TEST(StructuredReading, OrdinaryMidiFilesOfPartNamesTakeTheTitleFromTheFileName) {
    KarBuilder parts;
    parts.trackName("Allegro").text("Composer: J. S. Bach").raw(kNote).nextTrack();
    parts.trackName("Flutes").raw(kNote).nextTrack().trackName("Left Hand").raw(kNote);
    const std::array<QString, 4> bach =
        structured(parts.bytes(), QStringLiteral("Brandenburg Concerto No 3.mid"));
    EXPECT_EQ(bach[0], QStringLiteral("Brandenburg Concerto No 3"));
    EXPECT_EQ(bach[1], QStringLiteral("J. S. Bach"));
    KarBuilder interlude;
    interlude.trackName("Interlude 2").raw(kNote).nextTrack().trackName("Solo").raw(kNote);
    const std::array<QString, 4> plain =
        structured(interlude.bytes(), QStringLiteral("Suite_interlude_2.mid"));
    EXPECT_EQ(plain[0], QStringLiteral("Suite interlude 2"));
    EXPECT_EQ(plain[1], QString());
    // With sung words the same names are a song's.
    EXPECT_EQ(structured(sungFile({{"Interlude"}}), QStringLiteral("x.kar"))[0],
              QStringLiteral("Interlude"));
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
    EXPECT_EQ(sombra[1], QStringLiteral("Xoan Montes (1840-1899)"));
    EXPECT_EQ(sombra[3], QStringLiteral("Copyright (c) 2021 Pedro López-Cabanillas"));
    const std::array<QString, 4> star = structured(twinkle, QStringLiteral("twinkle.kar"));
    EXPECT_EQ(star[0], QStringLiteral("Twinkle, Twinkle, Little Star"));
    EXPECT_TRUE(star[3].startsWith(QStringLiteral("Created by MMA")));
    EXPECT_EQ(structured(midiOk)[0], QStringLiteral("Hello karaoke"));
}
