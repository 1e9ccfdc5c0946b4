#pragma once

#include "catalogue/catalogue_record.h"
#include "scan/code_page.h"
#include "scan/file_name_patterns.h"
#include "scan/midi_structure.h"
#include "scan/reading_options.h"

#include <QByteArrayView>
#include <QString>
#include <array>
#include <vector>

namespace songwick {

// A text the structured reading put into the record, and where it came from.
struct UsedText {
    enum class Role { Title, Performer, Further, Maker };
    Role role = Role::Title;
    bool fromFileName = false; // taken from the file name, not from an event
    unsigned char type = 0;    // the meta event type (FF xx)
    int track = 0;
    std::int64_t tick = 0;
    qsizetype offset = 0; // where the event's text starts in the file
    QString text;
};

// The four texts of columns 3 to 6 as the structured reading finds them, with what it used.
struct StructuredTexts {
    std::array<QString, 4> texts; // title, performer, further texts, maker
    CodePageGuess codePage;
    std::vector<UsedText> used;
    bool softKaraoke = false; // the file has "@" lines
};

// Reads the descriptive texts from a file's MIDI structure, following the conventions karaoke
// editors use: Soft Karaoke "@T" and "@I" lines (the words track's "@T" lines first), otherwise
// track names, copyright and the texts before the first note, with generic names ("untitled",
// "Track 1", instrument names and track roles, paths; in an ordinary MIDI file without sung
// words also part names such as "Allegro") left out; editor credits, "Sequenced by" and
// "Lyrics entered by" lines and e-mail addresses name the maker; labels ("Title:", "Artist:")
// say which text is which and are taken off; the performer is never a credit, and a
// composer's credit names the performer where nothing else does. The file name's patterns
// (and an "ARTIST Title" shape) give the title where the file names none, only a genre, or an
// 8.3 squash of the file name's title, and the performer where the file's title is the file
// name's or the performer it puts first. Never throws; holds the code page detector from one
// file to the next.
class StructuredReader {
public:
    explicit StructuredReader(StructuredReadingOptions options = {});

    StructuredTexts read(QByteArrayView fileBytes, const QString& fileName);
    StructuredTexts read(const MidiStructure& structure, const QString& fileName);

private:
    StructuredReadingOptions options_;
    FileNamePatterns fileNamePatterns_; // options_'s, made ready
    CodePageDetector detector_;
};

// Whether a text is a generic name rather than a song's: format markers, "Words", track
// numbers, General MIDI and instrument names, paths, texts over 255 bytes.
bool isGenericName(const QString& text, qsizetype byteSize);

// Whether a text says who made the file: the editor credits the program knows, "Sequenced
// by ...", "kar by ...", "(C) ..." and the like.
bool isMakerCredit(const QString& text);

// The record of one file read by the structured reading.
CatalogueRecord makeStructuredRecord(const QString& folder, const QString& fileName,
                                     const StructuredTexts& texts);

} // namespace songwick
