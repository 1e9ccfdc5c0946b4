#include "fuzz/fuzz_check.h"
#include "textview/rtf_reader.h"
#include "textview/rtf_writer.h"

#include <cstddef>
#include <cstdint>

using namespace songwick;

// Any bytes read as RTF give lines; those lines, written as our RTF, read back the same.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QStringList lines = RtfReader::toLines(bytes);
    const QByteArray written = RtfWriter::toRtf(lines);
    FUZZ_CHECK(RtfReader::isRtf(written));
    FUZZ_CHECK(RtfReader::toLines(written) == lines);
    return 0;
}
