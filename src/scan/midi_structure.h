#pragma once

#include <QByteArrayView>
#include <cstdint>
#include <vector>

namespace songwick {

// One meta event of a MIDI file: its type byte (FF xx), the track it lies in, its absolute
// time in ticks, where its data starts in the file and the data itself (a view into the
// bytes the structure was read from).
struct MidiMetaEvent {
    unsigned char type = 0;
    int track = 0;
    std::int64_t tick = 0;
    qsizetype offset = 0;
    QByteArrayView data;
    // Whether a note was already sounding in this track's events before this one.
    bool afterTrackNote = false;
};

struct MidiTrack {
    qsizetype offset = 0;            // where the chunk's data starts
    qsizetype length = 0;            // bytes of data the chunk has (clipped at the end of the file)
    qsizetype walked = 0;            // bytes of data walked through, from its start
    std::int64_t firstNoteTick = -1; // -1: the track plays no note
    bool ended = false;              // an end-of-track event closed it
    bool cutShort = false;           // the walk left its music after the texts had stopped
    // Of the meta events within kMaxMidiMetaEvents, whether kept or only counted: lyric events,
    // and text events that are no "@" line.
    int lyricEvents = 0;
    int plainTexts = 0;
};

// Common meta event types.
inline constexpr unsigned char kMetaText = 0x01;
inline constexpr unsigned char kMetaCopyright = 0x02;
inline constexpr unsigned char kMetaTrackName = 0x03;
inline constexpr unsigned char kMetaLyric = 0x05;

// The chunk structure of a Standard MIDI File as far as a karaoke catalogue needs it: the
// header, the tracks, the meta events of each track's head with their positions. Channel
// events are walked over (running status included) and only the first note of each track is
// kept. A track's head is everything up to its first note and then as long as its texts go on:
// once a track has sounded and kMidiTextGap bytes pass without a text, the rest of it is music
// and is skipped unread.
struct MidiStructure {
    bool found = false;         // an "MThd" header was found
    qsizetype headerOffset = 0; // where "MThd" starts (after a RIFF wrapper or garbage)
    bool riffWrapped = false;   // the file is a RIFF "RMID" file
    int format = 0;
    int declaredTracks = 0;
    int division = 0;
    std::vector<MidiTrack> tracks;
    std::vector<MidiMetaEvent> metaEvents; // in file order
    bool damaged = false;         // a length ran past the end, an event was cut, or a limit hit
    bool truncatedEvents = false; // more meta events than kept; the rest were dropped

    // The earliest tick at which any track plays a note; -1 when none does.
    std::int64_t firstNoteTick() const;
};

// Limits that keep the reading bounded on any input.
inline constexpr int kMaxMidiTracks = 1024;
inline constexpr std::size_t kMaxMidiMetaEvents = 20000;
// Bytes of a sounding track without a text (FF 01 to FF 07) after which its texts have ended.
inline constexpr qsizetype kMidiTextGap = 2048;

// Where the structure reader takes a file's bytes from: the bytes in full, or parts of a file
// read as the reader comes to them.
class MidiBytes {
public:
    virtual ~MidiBytes() = default;
    // The file's bytes, each at its own offset; only parts made readable may be looked at.
    virtual const char* data() const = 0;
    // The file's size; smaller after readable() found the file shorter than it was.
    virtual qsizetype size() const = 0;
    // Makes [from, from + count) readable, clipped at the end of the file; how many bytes
    // from `from` are readable.
    virtual qsizetype readable(qsizetype from, qsizetype count) = 0;
};

// Which meta events the structure reader keeps: all, or those that can name the song. That
// leaves out the sung words in ASCII, hundreds in a karaoke file, which are only counted: lyric
// events, and text events that are no "@" line past the first kMidiLeadingTexts text events a
// track has before it sounds. Texts with other bytes are kept, for they tell the code page.
enum class MidiEventsKept { All, Naming };
// Text events before a track's first note that the naming reading may take a name from.
inline constexpr int kMidiLeadingTexts = 12;

// How far the structure reader walks each track: its head, as above, or to its end, for the
// sung words that run on through the music.
enum class MidiTrackWalk { Head, Whole };

// Reads the structure of MIDI file bytes. Never throws and never looks outside the bytes:
// garbage before "MThd" is skipped, a RIFF "RMID" wrapper is unwrapped, a chunk length past
// the end is clipped, a missing end-of-track is fine. Time is linear in the size of the
// bytes; memory is bounded by the limits above. The events refer into the bytes.
MidiStructure readMidiStructure(MidiBytes& bytes);
MidiStructure readMidiStructure(QByteArrayView bytes);
MidiStructure readMidiStructure(QByteArrayView bytes, MidiTrackWalk walk,
                                MidiEventsKept kept = MidiEventsKept::All);
// The same into a structure read before, whose lists keep the memory they had.
void readMidiStructure(MidiBytes& bytes, MidiStructure& structure,
                       MidiEventsKept kept = MidiEventsKept::All);

} // namespace songwick
