#include "scan/midi_structure.h"

#include "scan/byte_search.h"

#include <algorithm>
#include <bit>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

// The first look for the header, as far as a file's start usually goes.
constexpr qsizetype kHeaderSearch = 4096;
// The most bytes an event takes before its data: a delta time, status, type and length.
constexpr qsizetype kEventHeadBytes = 10;

// Bytes given in full.
class WholeBytes final : public MidiBytes {
public:
    explicit WholeBytes(QByteArrayView bytes) : bytes_(bytes) {}
    const char* data() const override { return bytes_.data(); }
    qsizetype size() const override { return bytes_.size(); }
    qsizetype readable(qsizetype from, qsizetype) override {
        return std::max<qsizetype>(bytes_.size() - from, 0);
    }

private:
    QByteArrayView bytes_;
};

// Whether all of [from, from + count) can be looked at.
bool readableInFull(MidiBytes& bytes, qsizetype from, qsizetype count) {
    return from >= 0 && count >= 0 && bytes.readable(from, count) >= count;
}

// The Standard MIDI File inside a RIFF "RMID" wrapper: where the data of its "data" chunk
// starts and how long it is, clipped at the end of the file; the whole input when it is not
// such a file.
std::pair<qsizetype, qsizetype> unwrapRiff(MidiBytes& bytes, bool& wrapped) {
    wrapped = false;
    const auto at = [&](qsizetype offset) { return bytesOf(bytes.data()) + offset; };
    if (!readableInFull(bytes, 0, 12) || std::memcmp(at(0), "RIFF", 4) != 0 ||
        std::memcmp(at(8), "RMID", 4) != 0)
        return {0, bytes.size()};
    wrapped = true;
    qsizetype chunk = 12;
    while (readableInFull(bytes, chunk, kChunkHeaderSize)) {
        const qsizetype length = littleEndian32(at(chunk + 4));
        const qsizetype dataStart = chunk + kChunkHeaderSize;
        const qsizetype available = std::min<qsizetype>(length, bytes.size() - dataStart);
        if (std::memcmp(at(chunk), "data", 4) == 0)
            return {dataStart, available};
        chunk = dataStart + available + (available & 1); // chunks are padded to even sizes
    }
    return {0, bytes.size()};
}

// Where `tag` first occurs in [from, to); -1 when it does not. Looks at the first
// `firstLook` bytes first, as the tag is usually there, and reads the rest only when it is not.
qsizetype findTag(MidiBytes& bytes, QByteArrayView tag, qsizetype from, qsizetype to,
                  qsizetype firstLook) {
    const auto search = [&](qsizetype count) -> qsizetype {
        const QByteArrayView part(bytes.data() + from, count);
        const qsizetype found = part.indexOf(tag);
        return found < 0 ? -1 : from + found;
    };
    if (to <= from)
        return -1;
    const qsizetype looked =
        std::min(bytes.readable(from, std::min(firstLook, to - from)), to - from);
    if (const qsizetype found = search(looked); found >= 0)
        return found;
    to = std::min(to, bytes.size());
    const qsizetype rest = std::min(bytes.readable(from, to - from), to - from);
    return rest > looked ? search(rest) : -1;
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
// or running status below F0 and its data bytes. Stops after the track's first note, at the
// first event that is anything else, or when fewer than four bytes are left before `end`, for
// the general walk to take it. Branches
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
            at = data + 2;
            if (firstNoteTick < 0 && (runningStatus & 0xF0) == 0x90 && data[1] != 0) {
                firstNoteTick = tick;
                break; // from here on, the walk watches for the end of the track's texts
            }
        }
    }
    position = {at, tick, firstNoteTick, runningStatus};
}

// The first byte of [from, to) that is F0 or above; null when there is none.
const unsigned char* firstByteFromF0(const unsigned char* from, const unsigned char* to) {
    const unsigned char* at = from;
#if defined(__SSE2__)
    const __m128i belowF0 = _mm_set1_epi8(char(0xEF));
    const auto load = [](const unsigned char* bytes) {
        return _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes));
    };
    // Music has none of these bytes for kilobytes: 64 bytes are looked at in one step, by their
    // largest, and the 16 that hold one are found below.
    for (; to - at >= 64; at += 64) {
        const __m128i largest = _mm_max_epu8(_mm_max_epu8(load(at), load(at + 16)),
                                             _mm_max_epu8(load(at + 32), load(at + 48)));
        const __m128i above = _mm_subs_epu8(largest, belowF0);
        if (_mm_movemask_epi8(_mm_cmpeq_epi8(above, _mm_setzero_si128())) != 0xFFFF)
            break;
    }
    for (; to - at >= 16; at += 16) {
        // Saturating subtraction leaves a byte above EF non-zero.
        const __m128i above = _mm_subs_epu8(load(at), belowF0);
        const int zero = _mm_movemask_epi8(_mm_cmpeq_epi8(above, _mm_setzero_si128()));
        if (zero != 0xFFFF)
            return at + std::countr_one(static_cast<unsigned>(zero));
    }
#endif
    for (; at < to; ++at) {
        if (*at >= 0xF0)
            return at;
    }
    return nullptr;
}

// isAscii() of a text that lies in readable bytes up to `readableEnd`: a short text, as most
// sung words are, is looked at in one step where the 16 bytes from its start are readable, so
// that its length costs no branch.
bool isAsciiText(const unsigned char* data, qsizetype size, const unsigned char* readableEnd) {
#if defined(__SSE2__)
    if (size <= 16 && readableEnd - data >= 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data));
        const unsigned high = static_cast<unsigned>(_mm_movemask_epi8(bytes));
        return (high & ((1u << size) - 1)) == 0;
    }
#endif
    return isAscii(QByteArrayView(reinterpret_cast<const char*>(data), size));
}

class StructureReader {
public:
    StructureReader(MidiBytes& bytes, MidiStructure& structure, MidiTrackWalk walk,
                    MidiEventsKept kept)
        : bytes_(bytes), base_(bytesOf(bytes.data())), structure_(structure), walk_(walk),
          kept_(kept) {}

    void readTrack(qsizetype dataOffset, qsizetype length) {
        MidiTrack track;
        track.offset = dataOffset;
        track.length = length;
        const int trackIndex = int(structure_.tracks.size());
        const unsigned char* end = base_ + dataOffset + length;
        TrackPosition position{base_ + dataOffset};
        const unsigned char* readableEnd = position.at;
        lastTextEnd_ = position.at;
        systemByteAfter_ = position.at;
        leadingTexts_ = 0;
        // The walk ends at the first event that starts kMidiTextGap bytes after the track's
        // latest text, once the track has sounded, wherever the readable bytes end.
        for (;;) {
            const unsigned char* limit = readableEnd;
            if (position.firstNoteTick >= 0 && walk_ == MidiTrackWalk::Head) {
                if (position.at - lastTextEnd_ >= kMidiTextGap ||
                    onlyChannelEventsToTheGap(position.at, readableEnd, end)) {
                    track.cutShort = position.at < end;
                    if (position.at - lastTextEnd_ < kMidiTextGap)
                        position.at = lastTextEnd_ + kMidiTextGap;
                    break;
                }
                limit = std::min(readableEnd, lastTextEnd_ + kMidiTextGap);
            }
            skipChannelEvents(position, limit);
            if (position.firstNoteTick < 0)
                readTextEvents(position, std::min(end, readableEnd), trackIndex, track,
                               readableEnd);
            if (readableEnd - position.at < kEventHeadBytes && readableEnd < end)
                readableEnd = makeReadable(position.at, kEventHeadBytes, end);
            if (!readEvent(position, end, readableEnd, trackIndex, track))
                break;
        }
        track.walked = std::min(position.at, end) - (base_ + dataOffset);
        track.firstNoteTick = position.firstNoteTick;
        structure_.tracks.push_back(track);
    }

private:
    // Reads the text events that follow one another before a track sounds, as the sung words of
    // a words track do: a delta time of one or two bytes, FF, a type from 01 to 07 and a length
    // below 128, all before `until`. Stops at the first event that is anything else, for
    // readEvent() to take it.
    void readTextEvents(TrackPosition& position, const unsigned char* until, int trackIndex,
                        MidiTrack& track, const unsigned char* readableEnd) {
        const unsigned char* at = position.at;
        while (until - at >= 5) {
            std::uint32_t delta = at[0];
            const unsigned char* event = at + 1;
            if (delta >= 0x80) {
                if (at[1] >= 0x80)
                    break;
                delta = ((delta & 0x7F) << 7) | at[1];
                ++event;
            }
            const unsigned char type = event[1];
            const unsigned char size = event[2];
            const unsigned char* const data = event + 3;
            if (event[0] != 0xFF || type < kMetaText || type > 0x07 || size >= 0x80 ||
                until - data < size)
                break;
            position.tick += delta;
            keepMetaEvent(type, trackIndex, track, position.tick, data, size, false, readableEnd);
            at = data + size;
        }
        position.at = at;
    }

    // Whether every event from `at` up to the gap after the track's latest text is a channel
    // event, so that walking them would find no text and end the track's head: no byte there
    // is F0 or above (no meta event, system exclusive or system message starts, and the running
    // status stays), and the bytes to the gap and an event's head past it are in the track. The
    // music between texts is mostly such bytes: they are looked at many at a time, not walked
    // event by event. Where such a byte lies ahead, the events before it are walked and the
    // question is asked again past it.
    bool onlyChannelEventsToTheGap(const unsigned char* at, const unsigned char*& readableEnd,
                                   const unsigned char*& end) {
        if (at < systemByteAfter_)
            return false;
        const unsigned char* const gapEnd = lastTextEnd_ + kMidiTextGap + kEventHeadBytes;
        if (gapEnd > end || at >= gapEnd)
            return false;
        if (readableEnd < gapEnd)
            readableEnd = makeReadable(at, gapEnd - at, end);
        if (readableEnd < gapEnd)
            return false;
        const unsigned char* const systemByte = firstByteFromF0(at, gapEnd);
        if (systemByte == nullptr)
            return true;
        systemByteAfter_ = systemByte + 1;
        return false;
    }

    // Makes `count` bytes from `at` readable, at least as far as the next event's head; where
    // the readable bytes end. A file found shorter than it was ends the track there.
    const unsigned char* makeReadable(const unsigned char* at, qsizetype count,
                                      const unsigned char*& end) {
        const qsizetype wanted = std::min<qsizetype>(std::max(count, kEventHeadBytes), end - at);
        const qsizetype got = bytes_.readable(at - base_, wanted);
        if (got < wanted) {
            structure_.damaged = true;
            end = at + got;
        }
        return at + std::min<qsizetype>(got, end - at);
    }

    // Reads one event of any kind; false when the track ends there. The event's head lies
    // within the readable bytes, or the track ends before it.
    bool readEvent(TrackPosition& position, const unsigned char*& end,
                   const unsigned char*& readableEnd, int trackIndex, MidiTrack& track) {
        const unsigned char*& at = position.at;
        if (at >= end)
            return false;
        const unsigned char* const headEnd = std::min(end, readableEnd);
        std::uint32_t delta = 0;
        if (!readVariableLength(at, headEnd, delta) || at >= headEnd)
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
            if (at >= headEnd)
                return false;
            const unsigned char type = *at++;
            std::uint32_t size = 0;
            if (!readVariableLength(at, headEnd, size)) {
                structure_.damaged = true;
                return false;
            }
            qsizetype available = std::min<qsizetype>(size, end - at);
            if (available < qsizetype(size))
                structure_.damaged = true;
            if (type == 0x2F) {
                track.ended = true;
                return false;
            }
            if (at + available > readableEnd) {
                readableEnd = makeReadable(at, available, end);
                available = std::min<qsizetype>(available, readableEnd - at);
            }
            keepMetaEvent(type, trackIndex, track, position.tick, at, available,
                          position.firstNoteTick >= 0, readableEnd);
            at += available;
        } else if (status == 0xF0 || status == 0xF7) {
            std::uint32_t size = 0;
            if (!readVariableLength(at, headEnd, size)) {
                structure_.damaged = true;
                return false;
            }
            at += std::min<qsizetype>(size, end - at); // skipped unread
            position.runningStatus = 0;
        } else if (status >= 0xF1) {
            at += std::min<qsizetype>(status == 0xF2 ? 2 : (status == 0xF1 || status == 0xF3),
                                      end - at);
        } else {
            position.runningStatus = status;
            const unsigned char kind = status & 0xF0;
            const qsizetype dataBytes = (kind == 0xC0 || kind == 0xD0) ? 1 : 2;
            if (headEnd - at < dataBytes) {
                structure_.damaged = true;
                return false;
            }
            if (kind == 0x90 && at[1] != 0 && position.firstNoteTick < 0)
                position.firstNoteTick = position.tick;
            at += dataBytes;
        }
        return true;
    }

    void keepMetaEvent(unsigned char type, int trackIndex, MidiTrack& track, std::int64_t tick,
                       const unsigned char* data, qsizetype size, bool afterNote,
                       const unsigned char* readableEnd) {
        if (type >= kMetaText && type <= 0x07)
            lastTextEnd_ = data + size;
        if (eventsMet_ >= kMaxMidiMetaEvents) {
            structure_.truncatedEvents = true;
            return;
        }
        ++eventsMet_;
        bool sungWords = false; // a lyric, or a text that is no "@" line past the leading ones
        if (type == kMetaLyric) {
            ++track.lyricEvents;
            sungWords = true;
        } else if (type == kMetaText) {
            const bool leading = !afterNote && leadingTexts_++ < kMidiLeadingTexts;
            if (size == 0 || data[0] != '@') {
                ++track.plainTexts;
                sungWords = !leading;
            }
        }
        if (sungWords && kept_ == MidiEventsKept::Naming && isAsciiText(data, size, readableEnd))
            return; // counted above
        const QByteArrayView text(reinterpret_cast<const char*>(data), size);
        structure_.metaEvents.push_back({type, trackIndex, tick, data - base_, text, afterNote});
    }

    MidiBytes& bytes_;
    const unsigned char* base_;
    MidiStructure& structure_;
    const MidiTrackWalk walk_;
    const MidiEventsKept kept_;
    std::size_t eventsMet_ = 0; // meta events within kMaxMidiMetaEvents, kept or counted
    int leadingTexts_ = 0;      // text events of the track before it sounded
    const unsigned char* lastTextEnd_ = nullptr; // where the track's latest text ended
    // Where the walk has gone past the byte of F0 or above found in the gap last.
    const unsigned char* systemByteAfter_ = nullptr;
};

bool isChunkTag(QByteArrayView tag) {
    return std::all_of(tag.begin(), tag.end(), [](char c) { return c >= 0x20 && c < 0x7F; });
}

void readStructureInto(MidiBytes& bytes, MidiStructure& structure, MidiTrackWalk walk,
                       MidiEventsKept kept) {
    std::vector<MidiTrack> tracks = std::move(structure.tracks);
    std::vector<MidiMetaEvent> metaEvents = std::move(structure.metaEvents);
    tracks.clear();
    metaEvents.clear();
    structure = {};
    structure.tracks = std::move(tracks);
    structure.metaEvents = std::move(metaEvents);
    const auto [fileStart, fileSize] = unwrapRiff(bytes, structure.riffWrapped);
    const qsizetype fileEnd = fileStart + fileSize;
    const qsizetype header = findTag(bytes, kHeaderTag, fileStart, fileEnd, kHeaderSearch);
    if (header < 0 || !readableInFull(bytes, header, kChunkHeaderSize))
        return;
    structure.found = true;
    structure.headerOffset = header;
    const unsigned char* base = bytesOf(bytes.data());
    const qsizetype headerLength = bigEndian32(base + header + 4);
    const qsizetype headerData = header + kChunkHeaderSize;
    if (readableInFull(bytes, headerData, 6)) {
        structure.format = bigEndian16(base + headerData);
        structure.declaredTracks = bigEndian16(base + headerData + 2);
        structure.division = bigEndian16(base + headerData + 4);
    } else {
        structure.damaged = true;
    }
    StructureReader reader(bytes, structure, walk, kept);
    const auto end = [&] { return std::min(fileEnd, bytes.size()); };
    qsizetype at = headerData + std::min<qsizetype>(headerLength, end() - headerData);
    while (int(structure.tracks.size()) < kMaxMidiTracks && at + kChunkHeaderSize <= end() &&
           readableInFull(bytes, at, kChunkHeaderSize)) {
        const QByteArrayView tag(bytes.data() + at, 4);
        if (!isChunkTag(tag)) {
            // A wrong length put us inside a chunk: carry on at the next track chunk.
            structure.damaged = true;
            const qsizetype next = findTag(bytes, kTrackTag, at + 1, end(), kHeaderSearch);
            if (next < 0)
                break;
            at = next;
            continue;
        }
        const qsizetype length = bigEndian32(base + at + 4);
        const qsizetype dataStart = at + kChunkHeaderSize;
        const qsizetype available = std::min<qsizetype>(length, end() - dataStart);
        if (available < length)
            structure.damaged = true;
        if (tag == kTrackTag)
            reader.readTrack(dataStart, available);
        at = dataStart + available;
    }
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

MidiStructure readMidiStructure(MidiBytes& bytes) {
    MidiStructure structure;
    structure.metaEvents.reserve(64);
    readMidiStructure(bytes, structure);
    return structure;
}

void readMidiStructure(MidiBytes& bytes, MidiStructure& structure, MidiEventsKept kept) {
    readStructureInto(bytes, structure, MidiTrackWalk::Head, kept);
}

MidiStructure readMidiStructure(QByteArrayView bytes) {
    return readMidiStructure(bytes, MidiTrackWalk::Head);
}

MidiStructure readMidiStructure(QByteArrayView bytes, MidiTrackWalk walk, MidiEventsKept kept) {
    WholeBytes whole(bytes);
    MidiStructure structure;
    structure.metaEvents.reserve(64);
    readStructureInto(whole, structure, walk, kept);
    return structure;
}

} // namespace songwick
