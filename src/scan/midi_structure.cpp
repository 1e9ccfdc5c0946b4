#include "scan/midi_structure.h"

#include <algorithm>

namespace songwick {
namespace {

constexpr QByteArrayView kHeaderTag = "MThd";
constexpr QByteArrayView kTrackTag = "MTrk";
constexpr qsizetype kChunkHeaderSize = 8;

std::uint32_t bigEndian32(const unsigned char* at) {
    return (std::uint32_t(at[0]) << 24) | (std::uint32_t(at[1]) << 16) |
           (std::uint32_t(at[2]) << 8) | std::uint32_t(at[3]);
}

int bigEndian16(const unsigned char* at) {
    return (int(at[0]) << 8) | int(at[1]);
}

std::uint32_t littleEndian32(const unsigned char* at) {
    return (std::uint32_t(at[3]) << 24) | (std::uint32_t(at[2]) << 16) |
           (std::uint32_t(at[1]) << 8) | std::uint32_t(at[0]);
}

const unsigned char* bytesOf(QByteArrayView view) {
    return reinterpret_cast<const unsigned char*>(view.data());
}

// The Standard MIDI File inside a RIFF "RMID" wrapper: the data of its "data" chunk, clipped
// at the end of the file; the whole input when it is not such a file.
QByteArrayView unwrapRiff(QByteArrayView bytes, bool& wrapped) {
    wrapped = false;
    if (bytes.size() < 12 || !bytes.startsWith("RIFF") || bytes.sliced(8, 4) != "RMID")
        return bytes;
    wrapped = true;
    qsizetype at = 12;
    while (at + kChunkHeaderSize <= bytes.size()) {
        const qsizetype length = littleEndian32(bytesOf(bytes) + at + 4);
        const qsizetype dataStart = at + kChunkHeaderSize;
        const qsizetype available = std::min<qsizetype>(length, bytes.size() - dataStart);
        if (bytes.sliced(at, 4) == "data")
            return bytes.sliced(dataStart, available);
        at = dataStart + available + (available & 1); // chunks are padded to even sizes
    }
    return bytes;
}

// Reads a variable-length quantity of at most four bytes; false when it runs past `end`.
bool readVariableLength(const unsigned char*& at, const unsigned char* end, std::uint32_t& value) {
    value = 0;
    for (int i = 0; i < 4; ++i) {
        if (at >= end)
            return false;
        const unsigned char b = *at++;
        value = (value << 7) | (b & 0x7F);
        if ((b & 0x80) == 0)
            return true;
    }
    return true; // a fifth continuation byte is damage; take what was read
}

// Where a track's walk stands between events.
struct TrackPosition {
    const unsigned char* at;
    std::int64_t tick = 0;
    std::int64_t firstNoteTick = -1;
    unsigned char runningStatus = 0;
};

// Walks over the channel events that make up most of a file: one-byte delta times, a status
// or running status below F0 and its data bytes. Stops at the first event that is anything
// else, or when fewer than four bytes are left, for the general walk to take it. Branches
// rather than a length table, so that the next event's position does not wait on the value
// of the status byte.
void skipChannelEvents(TrackPosition& position, const unsigned char* end) {
    const unsigned char* at = position.at;
    std::int64_t tick = position.tick;
    std::int64_t firstNoteTick = position.firstNoteTick;
    unsigned char runningStatus = position.runningStatus;
    while (end - at >= 4) {
        const unsigned char delta = at[0];
        const unsigned char status = at[1];
        if (delta >= 0x80 || status >= 0xF0)
            break;
        const unsigned char* data = at + 2;
        if (status & 0x80) {
            runningStatus = status;
        } else if (runningStatus == 0) {
            break;
        } else {
            data = at + 1;
        }
        tick += delta;
        if ((runningStatus & 0xE0) == 0xC0) { // program change, channel pressure
            at = data + 1;
        } else {
            if (firstNoteTick < 0 && (runningStatus & 0xF0) == 0x90 && data[1] != 0)
                firstNoteTick = tick;
            at = data + 2;
        }
    }
    position = {at, tick, firstNoteTick, runningStatus};
}

class StructureReader {
public:
    StructureReader(QByteArrayView file, MidiStructure& structure)
        : file_(file), base_(bytesOf(file)), structure_(structure) {}

    void readTrack(qsizetype dataOffset, qsizetype length) {
        MidiTrack track;
        track.offset = dataOffset;
        track.length = length;
        const int trackIndex = int(structure_.tracks.size());
        const unsigned char* const end = base_ + dataOffset + length;
        TrackPosition position{base_ + dataOffset};
        for (;;) {
            skipChannelEvents(position, end);
            if (!readEvent(position, end, trackIndex, track))
                break;
        }
        track.firstNoteTick = position.firstNoteTick;
        structure_.tracks.push_back(track);
    }

private:
    // Reads one event of any kind; false when the track ends there.
    bool readEvent(TrackPosition& position, const unsigned char* end, int trackIndex,
                   MidiTrack& track) {
        const unsigned char*& at = position.at;
        if (at >= end)
            return false;
        std::uint32_t delta = 0;
        if (!readVariableLength(at, end, delta) || at >= end)
            return false; // a delta time at the very end: nothing follows it
        position.tick += delta;
        unsigned char status = *at;
        if (status & 0x80) {
            ++at;
        } else if (position.runningStatus != 0) {
            status = position.runningStatus;
        } else {
            structure_.damaged = true; // a data byte with no status to continue
            return false;
        }
        if (status == 0xFF) {
            if (at >= end)
                return false;
            const unsigned char type = *at++;
            std::uint32_t size = 0;
            if (!readVariableLength(at, end, size)) {
                structure_.damaged = true;
                return false;
            }
            const qsizetype available = std::min<qsizetype>(size, end - at);
            if (available < qsizetype(size))
                structure_.damaged = true;
            if (type == 0x2F) {
                track.ended = true;
                return false;
            }
            keepMetaEvent(type, trackIndex, position.tick, at, available,
                          position.firstNoteTick >= 0);
            at += available;
        } else if (status == 0xF0 || status == 0xF7) {
            std::uint32_t size = 0;
            if (!readVariableLength(at, end, size)) {
                structure_.damaged = true;
                return false;
            }
            at += std::min<qsizetype>(size, end - at);
            position.runningStatus = 0;
        } else if (status >= 0xF1) {
            at += std::min<qsizetype>(status == 0xF2 ? 2 : (status == 0xF1 || status == 0xF3),
                                      end - at);
        } else {
            position.runningStatus = status;
            const unsigned char kind = status & 0xF0;
            const qsizetype dataBytes = (kind == 0xC0 || kind == 0xD0) ? 1 : 2;
            if (end - at < dataBytes) {
                structure_.damaged = true;
                return false;
            }
            if (kind == 0x90 && at[1] != 0 && position.firstNoteTick < 0)
                position.firstNoteTick = position.tick;
            at += dataBytes;
        }
        return true;
    }

    void keepMetaEvent(unsigned char type, int track, std::int64_t tick, const unsigned char* data,
                       qsizetype size, bool afterNote) {
        if (structure_.metaEvents.size() >= kMaxMidiMetaEvents) {
            structure_.truncatedEvents = true;
            return;
        }
        const qsizetype offset = data - base_;
        structure_.metaEvents.push_back(
            {type, track, tick, offset, file_.sliced(offset, size), afterNote});
    }

    QByteArrayView file_;
    const unsigned char* base_;
    MidiStructure& structure_;
};

bool isChunkTag(QByteArrayView tag) {
    return std::all_of(tag.begin(), tag.end(), [](char c) { return c >= 0x20 && c < 0x7F; });
}

} // namespace

std::int64_t MidiStructure::firstNoteTick() const {
    std::int64_t first = -1;
    for (const MidiTrack& track : tracks) {
        if (track.firstNoteTick >= 0 && (first < 0 || track.firstNoteTick < first))
            first = track.firstNoteTick;
    }
    return first;
}

MidiStructure readMidiStructure(QByteArrayView bytes) {
    MidiStructure structure;
    const QByteArrayView file = unwrapRiff(bytes, structure.riffWrapped);
    const qsizetype header = file.indexOf(kHeaderTag);
    if (header < 0 || file.size() - header < kChunkHeaderSize)
        return structure;
    structure.found = true;
    structure.headerOffset = header + (file.data() - bytes.data());
    const unsigned char* base = bytesOf(file);
    const qsizetype headerLength = bigEndian32(base + header + 4);
    const qsizetype headerData = header + kChunkHeaderSize;
    if (file.size() - headerData >= 6) {
        structure.format = bigEndian16(base + headerData);
        structure.declaredTracks = bigEndian16(base + headerData + 2);
        structure.division = bigEndian16(base + headerData + 4);
    } else {
        structure.damaged = true;
    }
    // The events refer into the bytes the caller gave, so the reader works on those.
    const qsizetype shift = file.data() - bytes.data();
    StructureReader reader(bytes, structure);
    qsizetype at = headerData + std::min<qsizetype>(headerLength, file.size() - headerData);
    while (at + kChunkHeaderSize <= file.size() && int(structure.tracks.size()) < kMaxMidiTracks) {
        const QByteArrayView tag = file.sliced(at, 4);
        if (!isChunkTag(tag)) {
            // A wrong length put us inside a chunk: carry on at the next track chunk.
            structure.damaged = true;
            const qsizetype next = file.indexOf(kTrackTag, at + 1);
            if (next < 0)
                break;
            at = next;
            continue;
        }
        const qsizetype length = bigEndian32(base + at + 4);
        const qsizetype dataStart = at + kChunkHeaderSize;
        const qsizetype available = std::min<qsizetype>(length, file.size() - dataStart);
        if (available < length)
            structure.damaged = true;
        if (tag == kTrackTag)
            reader.readTrack(shift + dataStart, available);
        at = dataStart + available;
    }
    return structure;
}

} // namespace songwick
