#include "fuzz/fuzz_check.h"
#include "scan/lyrics_query.h"
#include "scan/midi_structure.h"
#include "scan/sung_text.h"

#include <cstddef>
#include <cstdint>

using namespace songwick;

// The sung words of any file are lines with something sung in each, without the marks that
// break lines, within the limit; a query made of them finds its words inside the lines it
// points into.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const MidiStructure structure = readMidiStructure(bytes, MidiTrackWalk::Whole);
    static CodePageDetector decoder;
    for (const char* codePage : {"cp1251", "utf-8", "shift_jis"}) {
        const SungText sung = readSungText(structure, decoder, QString::fromLatin1(codePage));
        FUZZ_CHECK((sung.source == SungTextSource::None) == sung.lines.isEmpty());
        FUZZ_CHECK(sung.lines.isEmpty() ||
                   (sung.track >= 0 && std::size_t(sung.track) < structure.tracks.size()));
        qsizetype characters = 0;
        for (const QString& line : sung.lines) {
            FUZZ_CHECK(!line.isEmpty() && line == line.trimmed());
            FUZZ_CHECK(!line.contains(u'\\') && !line.contains(u'/') && !line.contains(u'\n') &&
                       !line.contains(u'\r'));
            characters += line.size();
        }
        // Blanks between the words are not counted against the limit.
        FUZZ_CHECK(characters <= 2 * kMostSungCharacters);

        const LyricsQuery query(sung.lines.mid(0, 2).join(u' '), size % 2 == 0);
        FUZZ_CHECK(query.isEmpty() || query.indexExpression().startsWith(u'"'));
        if (const std::optional<MatchedLine> line = bestMatchingLine(sung.lines, query)) {
            FUZZ_CHECK(line->line >= 0 && line->line < sung.lines.size());
            FUZZ_CHECK(line->text == sung.lines[line->line] && !line->found.empty());
            qsizetype end = 0;
            for (const auto& [start, length] : line->found) {
                FUZZ_CHECK(start >= end && length > 0 && start + length <= line->text.size());
                end = start + length;
            }
        }
    }
    return 0;
}
