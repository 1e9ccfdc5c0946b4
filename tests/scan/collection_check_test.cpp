// A generated collection across the conventions karaoke editors use, measuring for each
// reading how many rows name the song, show a format marker as the title, or show letters of
// the wrong script.
#include "kar_builder.h"
#include "scan/kar_extractor.h"
#include "scan/structured_reading.h"

#include <QRegularExpression>
#include <functional>
#include <gtest/gtest.h>
#include <iconv.h>

using namespace songwick;
using songwick::test::KarBuilder;

namespace {

const QByteArray kNotes("\x00\x90\x40\x64\x60\x80\x40\x00\x00\x90\x43\x64\x60\x80\x43\x00", 16);

struct Song {
    QString title;
    QString performer;
};

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

const char* codePageOf(const Song& song) {
    static const QRegularExpression cyrillic(QStringLiteral("\\p{Cyrillic}"));
    if (song.title.contains(cyrillic) || song.performer.contains(cyrillic))
        return "CP1251";
    return "CP1252";
}

QByteArray lyrics(KarBuilder& kar, const char* codePage, bool russian, unsigned char type) {
    const QString line = russian ? QStringLiteral("не слышны в саду даже шорохи")
                                 : QStringLiteral("yesterday all my troubles seemed so far");
    for (const QString& word : line.split(u' '))
        kar.meta(type, encoded(word + u' ', codePage));
    return {};
}

using Convention = std::function<std::pair<QByteArray, QString>(const Song&)>;

std::vector<std::pair<const char*, Convention>> conventions() {
    auto sk = [](const char* codePage, bool garbage) {
        return [codePage, garbage](const Song& song) {
            KarBuilder kar;
            kar.trackName("Soft Karaoke").text("@KMIDI KARAOKE FILE").nextTrack();
            kar.trackName("Words").text("@LENGL");
            kar.text("@T" + encoded(song.title, codePage))
                .text("@T" + encoded(song.performer, codePage))
                .text("@TSequenced by Vasya");
            lyrics(kar, codePage, QByteArray(codePage) != "CP1252", 0x01);
            kar.nextTrack().trackName("Melody").raw(kNotes);
            QByteArray bytes = kar.bytes();
            if (garbage)
                bytes.prepend(QByteArray("\x00\x01junk", 6));
            return std::pair{bytes, QStringLiteral("track01.kar")};
        };
    };
    return {
        {"Soft Karaoke, its own code page",
         [sk](const Song& song) { return sk(codePageOf(song), false)(song); }},
        {"Soft Karaoke, UTF-8", Convention(sk("UTF-8", false))},
        {"Soft Karaoke after garbage",
         [sk](const Song& song) { return sk(codePageOf(song), true)(song); }},
        {"track name and text",
         [](const Song& song) {
             KarBuilder kar;
             const char* cp = codePageOf(song);
             kar.trackName(encoded(song.title, cp)).text(encoded(song.performer, cp));
             kar.nextTrack().trackName("Piano").raw(kNotes);
             lyrics(kar, cp, QByteArray(cp) == "CP1251", 0x05);
             return std::pair{kar.bytes(), QStringLiteral("x.kar")};
         }},
        {"generic track names, texts before the first note",
         [](const Song& song) {
             KarBuilder kar;
             const char* cp = codePageOf(song);
             kar.trackName("untitled").meta(0x02, "(C) 2001 MIDI Studio");
             kar.text(encoded(song.title, cp)).text(encoded(song.performer, cp));
             kar.nextTrack().trackName("Track 1").raw(kNotes);
             return std::pair{kar.bytes(), QStringLiteral("song.kar")};
         }},
        {"both in one track name",
         [](const Song& song) {
             KarBuilder kar;
             const char* cp = codePageOf(song);
             kar.trackName("General MIDI").nextTrack();
             kar.trackName(encoded(song.performer + QStringLiteral(" - ") + song.title, cp));
             kar.raw(kNotes);
             return std::pair{kar.bytes(), QStringLiteral("a.kar")};
         }},
        {"only the file name",
         [](const Song& song) {
             KarBuilder kar;
             kar.trackName("Words").text("F:\\Midi\\Karaoke\\new.mid").nextTrack();
             kar.trackName("Bass").raw(kNotes);
             QString name =
                 song.performer + QStringLiteral(" - ") + song.title + QStringLiteral(".kar");
             name.replace(u' ', u'_');
             return std::pair{kar.bytes(), name};
         }},
        {"editor credit",
         [](const Song& song) {
             KarBuilder kar;
             const char* cp = codePageOf(song);
             kar.trackName(encoded(song.title, cp))
                 .text("Created with KarMaker: team@karaokegalaxy.com")
                 .text(encoded(song.performer, cp));
             kar.raw(kNotes);
             return std::pair{kar.bytes(), QStringLiteral("b.kar")};
         }},
    };
}

const std::vector<Song>& songs() {
    static const std::vector<Song> list = {
        {QStringLiteral("Подмосковные вечера"), QStringLiteral("Владимир Трошин")},
        {QStringLiteral("Катюша"), QStringLiteral("Лидия Русланова")},
        {QStringLiteral("Миллион алых роз"), QStringLiteral("Алла Пугачёва")},
        {QStringLiteral("Группа крови"), QStringLiteral("Кино")},
        {QStringLiteral("Yesterday"), QStringLiteral("The Beatles")},
        {QStringLiteral("Hotel California"), QStringLiteral("Eagles")},
        {QStringLiteral("Déjà Vu"), QStringLiteral("Beyoncé")},
        {QStringLiteral("Café del Mar"), QStringLiteral("Energy 52")},
    };
    return list;
}

struct Tally {
    int rows = 0;
    int named = 0;
    int markers = 0;
    int wrongScript = 0;
};

void count(Tally& tally, const Song& song, const QString& title, const QString& performer) {
    static const QRegularExpression cyrillic(QStringLiteral("\\p{Cyrillic}"));
    static const QRegularExpression latinAccents(QStringLiteral("[\\x{00C0}-\\x{024F}]"));
    ++tally.rows;
    const QString both = title + u' ' + performer;
    if (title.contains(song.title, Qt::CaseInsensitive) &&
        both.contains(song.performer, Qt::CaseInsensitive))
        ++tally.named;
    const QString folded = title.trimmed().toCaseFolded();
    if (folded.isEmpty() || folded.startsWith(u'@') || folded.startsWith(u"soft kara") ||
        folded == u"untitled")
        ++tally.markers;
    const bool russian = song.title.contains(cyrillic);
    if ((!russian && both.contains(cyrillic)) || (russian && both.contains(latinAccents)))
        ++tally.wrongScript;
}

} // namespace

TEST(CollectionCheck, TheStructuredReadingNamesTheSongAcrossEditors) {
    Tally program;
    Tally structuredTally;
    StructuredReader reader;
    for (const auto& [name, make] : conventions()) {
        for (const Song& song : songs()) {
            const auto [bytes, fileName] = make(song);
            const CatalogueRecord record =
                makeRecord({}, fileName, extractKarTexts(bytes, ScanWindow::Start));
            count(program, song, record[PerformerTitleField], record[FurtherText1Field]);
            const StructuredTexts texts = reader.read(bytes, fileName);
            count(structuredTally, song, texts.texts[0], texts.texts[1]);
            // The scan keeps only the events that can name the song: the same texts.
            const StructuredTexts scanned = reader.read(
                readMidiStructure(bytes, MidiTrackWalk::Head, MidiEventsKept::Naming), fileName);
            EXPECT_EQ(scanned.texts, texts.texts) << name;
            EXPECT_EQ(scanned.codePage.key, texts.codePage.key) << name;
            EXPECT_TRUE(texts.texts[0].contains(song.title, Qt::CaseInsensitive))
                << name << ": " << texts.texts[0].toStdString();
        }
    }
    auto report = [](const char* reading, const Tally& tally) {
        std::printf("%s reading: %d of %d rows name the song (%.0f%%), %d marker titles, %d "
                    "wrong-script rows\n",
                    reading, tally.named, tally.rows, 100.0 * tally.named / tally.rows,
                    tally.markers, tally.wrongScript);
    };
    report("program's", program);
    report("structured", structuredTally);
    EXPECT_GE(structuredTally.named * 100, structuredTally.rows * 97);
    EXPECT_EQ(structuredTally.markers, 0);
    EXPECT_EQ(structuredTally.wrongScript, 0);
}
