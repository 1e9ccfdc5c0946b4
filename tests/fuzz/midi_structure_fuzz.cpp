#include "fuzz/fuzz_check.h"
#include "scan/midi_structure.h"
#include "scan/structured_reading.h"

#include <QString>
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

using namespace songwick;

namespace {

// The input handed out in exactly the parts asked for, into a buffer that holds garbage
// everywhere else: a reader that looks at bytes it did not ask for reads something else.
class PartsOnDemand final : public MidiBytes {
public:
    explicit PartsOnDemand(QByteArrayView bytes)
        : bytes_(bytes), buffer_(bytes.size(), char(0xA5)) {}
    const char* data() const override { return buffer_.constData(); }
    qsizetype size() const override { return bytes_.size(); }
    qsizetype readable(qsizetype from, qsizetype count) override {
        const qsizetype given = std::clamp<qsizetype>(bytes_.size() - from, 0, count);
        if (given > 0)
            std::memcpy(buffer_.data() + from, bytes_.data() + from, size_t(given));
        return given;
    }

private:
    QByteArrayView bytes_;
    QByteArray buffer_;
};

bool sameTrack(const MidiTrack& a, const MidiTrack& b) {
    return a.offset == b.offset && a.length == b.length && a.walked == b.walked &&
           a.firstNoteTick == b.firstNoteTick && a.ended == b.ended && a.cutShort == b.cutShort;
}

bool sameEvent(const MidiMetaEvent& a, const MidiMetaEvent& b) {
    return a.type == b.type && a.track == b.track && a.tick == b.tick && a.offset == b.offset &&
           a.data == b.data && a.afterTrackNote == b.afterTrackNote;
}

} // namespace

// The structure refers only into the bytes it was read from, in file order, within its limits;
// the structured reading built on it takes its texts from inside the file too.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const MidiStructure structure = readMidiStructure(bytes);

    FUZZ_CHECK(structure.tracks.size() <= std::size_t(kMaxMidiTracks));
    FUZZ_CHECK(structure.metaEvents.size() <= kMaxMidiMetaEvents);
    FUZZ_CHECK(!structure.truncatedEvents || structure.metaEvents.size() == kMaxMidiMetaEvents);
    if (!structure.found)
        FUZZ_CHECK(structure.tracks.empty() && structure.metaEvents.empty());
    else
        FUZZ_CHECK(structure.headerOffset >= 0 && structure.headerOffset + 8 <= bytes.size());

    std::int64_t firstNote = -1;
    for (const MidiTrack& track : structure.tracks) {
        FUZZ_CHECK(track.offset >= 0 && track.length >= 0);
        FUZZ_CHECK(track.offset + track.length <= bytes.size());
        if (track.firstNoteTick >= 0 && (firstNote < 0 || track.firstNoteTick < firstNote))
            firstNote = track.firstNoteTick;
    }
    FUZZ_CHECK(structure.firstNoteTick() == firstNote);

    qsizetype previousEnd = 0;
    for (const MidiMetaEvent& event : structure.metaEvents) {
        FUZZ_CHECK(event.offset >= previousEnd);
        FUZZ_CHECK(event.offset + event.data.size() <= bytes.size());
        FUZZ_CHECK(event.data.data() == bytes.data() + event.offset);
        FUZZ_CHECK(event.track >= 0 && std::size_t(event.track) < structure.tracks.size());
        const MidiTrack& track = structure.tracks[std::size_t(event.track)];
        FUZZ_CHECK(event.offset >= track.offset &&
                   event.offset + event.data.size() <= track.offset + track.length);
        FUZZ_CHECK(event.tick >= 0);
        previousEnd = event.offset + event.data.size();
    }

    // Read in parts, as from a file, into the structure read from the input before (as a scan
    // uses its structures again), the structure is the same.
    PartsOnDemand parts(bytes);
    static MidiStructure inParts;
    readMidiStructure(parts, inParts);
    FUZZ_CHECK(inParts.found == structure.found && inParts.damaged == structure.damaged &&
               inParts.headerOffset == structure.headerOffset &&
               inParts.riffWrapped == structure.riffWrapped &&
               inParts.truncatedEvents == structure.truncatedEvents &&
               inParts.declaredTracks == structure.declaredTracks &&
               inParts.format == structure.format && inParts.division == structure.division);
    FUZZ_CHECK(std::equal(inParts.tracks.begin(), inParts.tracks.end(), structure.tracks.begin(),
                          structure.tracks.end(), sameTrack));
    FUZZ_CHECK(std::equal(inParts.metaEvents.begin(), inParts.metaEvents.end(),
                          structure.metaEvents.begin(), structure.metaEvents.end(), sameEvent));

    StructuredReader reader;
    const StructuredTexts texts = reader.read(structure, QStringLiteral("Artist - Song.kar"));
    for (const UsedText& used : texts.used) {
        if (!used.fromFileName)
            FUZZ_CHECK(used.offset >= 0 && used.offset <= bytes.size());
    }
    return 0;
}
