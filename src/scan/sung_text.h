#pragma once

#include "scan/code_page.h"
#include "scan/midi_structure.h"

#include <QString>
#include <QStringList>

namespace songwick {

// Where a file's sung words were found.
enum class SungTextSource {
    None,        // the file sings no words
    LyricEvents, // lyric events (FF 05)
    TextEvents,  // Soft Karaoke text events (FF 01 not starting with "@")
};

// The words a karaoke file sings, line by line.
struct SungText {
    QStringList lines; // in the order they are sung; none empty
    SungTextSource source = SungTextSource::None;
    int track = -1;        // the track they were taken from
    bool cutShort = false; // the file is damaged or too long: the words up to there
};

// Texts longer than this are cut there.
inline constexpr qsizetype kMostSungCharacters = 32768;

// Reads the sung words out of a file's MIDI structure (read with MidiTrackWalk::Whole, so that
// no words are left in the unread part of a track): the lyric events of the track that has the
// most of them, or, when another track has more Soft Karaoke text events, those. The syllables
// are joined as they are sung: texts without a blank between them make one word, "\", "/", CR
// and LF break the line, a "-" that ends a syllable after a letter is dropped. Each event is
// decoded from the code page with that key (CodePageDetector::decode). Never throws.
SungText readSungText(const MidiStructure& structure, CodePageDetector& decoder,
                      const QString& codePage);

} // namespace songwick
