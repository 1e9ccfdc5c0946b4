#include "scan/sung_text.h"

#include <algorithm>
#include <map>

namespace songwick {
namespace {

// A file without Soft Karaoke "@" lines sings its text events only when a track has at least
// this many: fewer are the credits and notes that plain MIDI files carry.
constexpr int kLeastPlainTextLyrics = 8;

bool isLyric(const MidiMetaEvent& event) {
    return event.type == kMetaLyric && !event.data.isEmpty();
}

bool isSoftKaraokeLine(const MidiMetaEvent& event) {
    return event.type == kMetaText && event.data.startsWith('@');
}

bool isSungText(const MidiMetaEvent& event) {
    return event.type == kMetaText && !event.data.isEmpty() && !event.data.startsWith('@');
}

// Joins syllables into lines as they are sung.
class LineJoiner {
public:
    void append(QStringView syllable) {
        for (const QChar c : syllable) {
            if (characters_ >= kMostSungCharacters)
                break;
            if (c == u'\\' || c == u'/' || c == u'\r' || c == u'\n') {
                breakLine();
            } else if (c.isSpace()) {
                blankOwed_ = !line_.isEmpty();
            } else if (c.unicode() >= 0x20 && c.unicode() != 0x7F &&
                       c != QChar::ReplacementCharacter && !c.isNonCharacter()) {
                if (blankOwed_)
                    line_ += u' ';
                blankOwed_ = false;
                line_ += c;
                ++characters_;
            }
        }
        // "Twin-" "kle": the hyphen only says that the word goes on.
        if (!syllable.isEmpty() && syllable.back() == u'-' && !blankOwed_ && line_.size() >= 2 &&
            line_.back() == u'-' && line_[line_.size() - 2].isLetter()) {
            line_.chop(1);
            --characters_;
        }
    }

    bool full() const { return characters_ >= kMostSungCharacters; }

    QStringList finish() {
        breakLine();
        return std::move(lines_);
    }

private:
    void breakLine() {
        const bool sung =
            std::any_of(line_.cbegin(), line_.cend(), [](QChar c) { return c.isLetterOrNumber(); });
        if (sung)
            lines_ << line_;
        line_.clear();
        blankOwed_ = false;
    }

    QStringList lines_;
    QString line_;
    bool blankOwed_ = false;
    qsizetype characters_ = 0;
};

struct TrackChoice {
    int track = -1;
    int events = 0;
};

// The track with the most events that pass; the first of them on a tie.
template <typename Passes> TrackChoice busiestTrack(const MidiStructure& structure, Passes passes) {
    std::map<int, int> counts;
    for (const MidiMetaEvent& event : structure.metaEvents)
        if (passes(event))
            ++counts[event.track];
    TrackChoice choice;
    for (const auto& [track, events] : counts)
        if (events > choice.events)
            choice = {track, events};
    return choice;
}

} // namespace

SungText readSungText(const MidiStructure& structure, CodePageDetector& decoder,
                      const QString& codePage) {
    SungText sung;
    const TrackChoice lyrics = busiestTrack(structure, isLyric);
    const TrackChoice texts = busiestTrack(structure, isSungText);
    const bool softKaraoke =
        std::any_of(structure.metaEvents.cbegin(), structure.metaEvents.cend(), isSoftKaraokeLine);
    const bool textsSung =
        texts.events > lyrics.events && (softKaraoke || texts.events >= kLeastPlainTextLyrics);
    if (textsSung) {
        sung.source = SungTextSource::TextEvents;
        sung.track = texts.track;
    } else if (lyrics.events > 0) {
        sung.source = SungTextSource::LyricEvents;
        sung.track = lyrics.track;
    } else {
        return sung;
    }
    const auto passes = textsSung ? isSungText : isLyric;
    LineJoiner joiner;
    for (const MidiMetaEvent& event : structure.metaEvents) {
        if (event.track != sung.track || !passes(event))
            continue;
        if (joiner.full()) {
            sung.cutShort = true;
            break;
        }
        joiner.append(decoder.decode(event.data, codePage));
    }
    sung.lines = joiner.finish();
    sung.cutShort = sung.cutShort || structure.damaged || structure.truncatedEvents;
    if (sung.lines.isEmpty())
        sung.source = SungTextSource::None;
    return sung;
}

} // namespace songwick
