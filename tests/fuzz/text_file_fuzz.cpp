#include "fuzz/fuzz_check.h"
#include "textview/text_file.h"

#include <QStringDecoder>
#include <cstddef>
#include <cstdint>

using namespace songwick;

// The text view's choice of RTF, UTF-8 and Windows-1251: plain lines never hold a line break,
// and UTF-8 is chosen only for valid UTF-8.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const TextFileContent content = decodeTextFile(bytes);
    if (content.format == TextFileFormat::Rtf)
        return 0;
    for (const QString& line : content.lines)
        FUZZ_CHECK(!line.contains(u'\n') && !line.contains(u'\r'));
    if (content.format == TextFileFormat::Utf8) {
        QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
        (void)utf8.decode(bytes);
        FUZZ_CHECK(!utf8.hasError());
    }
    return 0;
}
