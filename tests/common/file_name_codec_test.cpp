#include "common/file_name_codec.h"

#include <gtest/gtest.h>

namespace songwick {
namespace {

TEST(FileNameCodec, EveryNameEncodesBackToItsOwnBytes) {
    const QByteArray names[] = {
        "plain.kar",
        "\xD0\x9F\xD0\xB5\xD1\x81\xD0\xBD\xD1\x8F.kar", // Cyrillic in UTF-8
        "\xF0\x9F\x8E\xA4.kar",                         // outside the BMP
        "\xff.kar",                                     // not UTF-8 at all
        "\xEF\xBF\xBD.kar",                             // a real U+FFFD
        "\xCF\xE5\xF1\xED\xFF.kar",                     // Windows-1251 bytes
        "\xC0\xAF.kar",                                 // overlong "/"
        "\xED\xA0\x80.kar",                             // an encoded surrogate
        "\xE2\x82.kar",                                 // cut short
    };
    for (const QByteArray& bytes : names)
        EXPECT_EQ(encodeFileName(decodeFileName(bytes)), bytes) << bytes.toHex().constData();

    EXPECT_NE(decodeFileName("\xff.kar"), decodeFileName("\xEF\xBF\xBD.kar"));
    EXPECT_EQ(displayFileName(decodeFileName("\xff.kar")), QStringLiteral("\uFFFD.kar"));
    EXPECT_EQ(decodeFileName("\xD0\x9F.kar"), QStringLiteral("П.kar"));
}

} // namespace
} // namespace songwick
