// The kinds of damaged MIDI file that broke other readers, each read by both readings: each must
// end quickly with the texts the reading defines for it.
#include "kar_builder.h"
#include "scan/folder_walk.h"
#include "scan/kar_extractor.h"
#include "scan/midi_structure.h"
#include "scan/structured_reading.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <random>

using namespace songwick;
using songwick::test::KarBuilder;

namespace {

QByteArray bigEndian32(quint32 value) {
    QByteArray bytes(4, '\0');
    for (int i = 0; i < 4; ++i)
        bytes[3 - i] = char((value >> (8 * i)) & 0xFF);
    return bytes;
}

QByteArray littleEndian32(quint32 value) {
    QByteArray bytes = bigEndian32(value);
    std::reverse(bytes.begin(), bytes.end());
    return bytes;
}

QByteArray header(quint32 length, int tracks = 1) {
    return "MThd" + bigEndian32(length) + QByteArray("\x00\x01", 2) + char(tracks >> 8) +
           char(tracks & 0xFF) + QByteArray("\x00\x60", 2);
}

// A track chunk whose length field says `length` (its real length when negative).
QByteArray track(const QByteArray& events, qint64 length = -1) {
    return "MTrk" + bigEndian32(quint32(length < 0 ? events.size() : length)) + events;
}

QByteArray meta(unsigned char type, const QByteArray& text) {
    return QByteArray("\x00\xFF", 2) + char(type) + char(text.size()) + text;
}

const QByteArray kEndOfTrack("\x00\xFF\x2F\x00", 4);
const QByteArray kNoteOn("\x00\x90\x40\x64", 4);

QByteArray randomBytes(qsizetype size) {
    std::mt19937 generator(17);
    QByteArray bytes(size, '\0');
    for (char& byte : bytes)
        byte = char(generator() & 0xFF);
    return bytes;
}

struct DamagedFile {
    const char* what;
    QByteArray bytes;
    KarTexts extracted;          // the program's reading, start window
    QList<QByteArray> metaTexts; // the structure reader's meta events, in file order
    bool damaged;                // the structure reader calls it damaged
    QString structuredTitle;     // the structured reading's title
};

std::vector<DamagedFile> damagedFiles() {
    const QByteArray named = meta(0x03, "Title") + meta(0x01, "Artist");
    std::vector<DamagedFile> files;
    files.push_back({"an empty file", {}, {}, {}, false, QStringLiteral("damaged")});
    files.push_back({"a header length below 6",
                     header(2) + track(named + kEndOfTrack),
                     {"Title", "Artist", "", ""},
                     {"Title", "Artist"},
                     true,
                     QStringLiteral("Title")});
    files.push_back({"a track length past the end",
                     header(6) + track(named, 0x7FFFFFFF),
                     {"Title", "Artist", "", ""},
                     {"Title", "Artist"},
                     true,
                     QStringLiteral("Title")});
    // Five bytes of a delta time: the structure's track ends there, the next track is read; the
    // program's reading only looks for the first track name.
    files.push_back(
        {"a variable-length number of five bytes",
         header(6, 2) +
             track(QByteArray("\x81\x80\x80\x80\x00", 5) + meta(0x01, "Lost") + kEndOfTrack) +
             track(named + kEndOfTrack),
         {"Title", "Artist", "", ""},
         {"Title", "Artist"},
         true,
         QStringLiteral("Title")});
    // 2^28 written in five bytes: four are read, and the text runs from the fifth to the end of
    // its track. The program's reading skips the length bytes between its name runs.
    files.push_back(
        {"a meta length of 2^28",
         header(6) + track(meta(0x03, "Title") + QByteArray("\x00\xFF\x01\x81\x80\x80\x80\x00", 8) +
                           "Artist" + kEndOfTrack),
         {"Title", "", "Artist", ""},
         {"Title", QByteArray("\x00"
                              "Artist\x00\xFF\x2F\x00",
                              11)},
         true,
         QStringLiteral("Title")});
    QByteArray manyTracks = header(6, 300) + track(meta(0x03, "Song title") + kEndOfTrack);
    QList<QByteArray> manyTexts{"Song title"};
    for (int i = 2; i <= 300; ++i) {
        manyTracks += track(meta(0x03, "Part " + QByteArray::number(i)) + kEndOfTrack);
        manyTexts << "Part " + QByteArray::number(i);
    }
    // The program's reading cuts its runs out of the bytes after the first track name, chunk
    // headers included.
    files.push_back({"300 tracks",
                     manyTracks,
                     {"Song title", "Trk", "", "Part 2"},
                     manyTexts,
                     false,
                     QStringLiteral("Song title")});
    // A SysEx ends running status: the data bytes after it have no status to continue.
    files.push_back({"running status after a SysEx",
                     header(6) + track(meta(0x03, "Title") + kNoteOn +
                                       QByteArray("\x00\xF0\x03\x7E\x00\xF7\x00\x40\x00", 9) +
                                       meta(0x01, "Artist") + kEndOfTrack),
                     {"Title", "", "", ""},
                     {"Title"},
                     true,
                     QStringLiteral("Title")});
    files.push_back({"no end-of-track",
                     header(6) + track(named),
                     {"Title", "Artist", "", ""},
                     {"Title", "Artist"},
                     false,
                     QStringLiteral("Title")});
    const QByteArray smf = header(6) + track(named + kEndOfTrack);
    files.push_back(
        {"a RIFF RMID wrapper with wrong sizes",
         "RIFF" + littleEndian32(3) + "RMID" + "data" + littleEndian32(0x7FFFFFF0) + smf,
         {"Title", "Artist", "", ""},
         {"Title", "Artist"},
         false,
         QStringLiteral("Title")});
    return files;
}

QList<QByteArray> textsOf(const MidiStructure& structure) {
    QList<QByteArray> texts;
    for (const MidiMetaEvent& event : structure.metaEvents)
        texts << event.data.toByteArray();
    return texts;
}

} // namespace

TEST(DamagedMidiFiles, TheProgramsReadingGivesItsTexts) {
    for (const DamagedFile& file : damagedFiles()) {
        SCOPED_TRACE(file.what);
        const KarTexts texts = extractKarTexts(file.bytes, ScanWindow::Start);
        EXPECT_EQ(texts, file.extracted);
    }

    // Ten megabytes of noise under a karaoke name: scanned as one record, each text cut out of
    // one block.
    QTemporaryDir folder;
    QFile noise(folder.filePath(QStringLiteral("noise.kar")));
    ASSERT_TRUE(noise.open(QIODevice::WriteOnly));
    ASSERT_EQ(noise.write(randomBytes(10 << 20)), 10 << 20);
    noise.close();
    RecordStore store;
    const WalkResult result = walkFolder(folder.path(), store, {});
    EXPECT_EQ(result.recordsAdded, 1);
    EXPECT_EQ(result.unreadableCount, 0);
    for (int field = PerformerTitleField; field <= MadeByField; ++field)
        EXPECT_LE(store.record(1)[field].size(), 8192);
}

TEST(DamagedMidiFiles, TheStructuredReadingKeepsWhatLiesInsideTheFile) {
    StructuredReader reader;
    for (const DamagedFile& file : damagedFiles()) {
        SCOPED_TRACE(file.what);
        const MidiStructure structure = readMidiStructure(file.bytes);
        EXPECT_EQ(textsOf(structure), file.metaTexts);
        EXPECT_EQ(structure.damaged, file.damaged);
        for (const MidiMetaEvent& event : structure.metaEvents)
            EXPECT_LE(event.offset + event.data.size(), file.bytes.size());
        EXPECT_EQ(reader.read(file.bytes, QStringLiteral("damaged.kar")).texts[0],
                  file.structuredTitle);
    }

    const QByteArray noise = randomBytes(10 << 20);
    const MidiStructure structure = readMidiStructure(noise);
    EXPECT_LE(structure.tracks.size(), std::size_t(kMaxMidiTracks));
    EXPECT_LE(structure.metaEvents.size(), kMaxMidiMetaEvents);
    for (const MidiMetaEvent& event : structure.metaEvents)
        EXPECT_LE(event.offset + event.data.size(), noise.size());
    reader.read(noise, QStringLiteral("noise.kar"));
}
