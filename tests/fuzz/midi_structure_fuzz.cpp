#include "fuzz/fuzz_check.h"
#include "scan/midi_structure.h"
#include "scan/structured_reading.h"

#include <QString>
#include <cstddef>
#include <cstdint>

using namespace songwick;

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

    StructuredReader reader;
    const StructuredTexts texts = reader.read(structure, QStringLiteral("Artist - Song.kar"));
    for (const UsedText& used : texts.used) {
        if (!used.fromFileName)
            FUZZ_CHECK(used.offset >= 0 && used.offset <= bytes.size());
    }
    return 0;
}
