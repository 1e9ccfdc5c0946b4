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
    qsizetype length = 0;            // bytes of data actually read (clipped at the end of the file)
    std::int64_t firstNoteTick = -1; // -1: the track plays no note
    bool ended = false;              // an end-of-track event closed it
};

// Common meta event types.
inline constexpr unsigned char kMetaText = 0x01;
inline constexpr unsigned char kMetaCopyright = 0x02;
inline constexpr unsigned char kMetaTrackName = 0x03;
inline constexpr unsigned char kMetaLyric = 0x05;

// The chunk structure of a Standard MIDI File as far as a karaoke catalogue needs it: the
// header, the tracks, every meta event with its position. Channel events are walked over
// (running status included) and only the first note of each track is kept.
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

// Reads the structure of MIDI file bytes. Never throws and never reads outside the view:
// garbage before "MThd" is skipped, a RIFF "RMID" wrapper is unwrapped, a chunk length past
// the end is clipped, a missing end-of-track is fine. Time is linear in the size of the
// bytes; memory is bounded by the limits above. The events refer into `bytes`.
MidiStructure readMidiStructure(QByteArrayView bytes);

} // namespace songwick
