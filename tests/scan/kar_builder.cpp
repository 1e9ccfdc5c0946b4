#include "kar_builder.h"

#include "common/cp1251_codec.h"

namespace songwick::test {
namespace {

QByteArray bigEndian32(qsizetype value) {
    QByteArray bytes(4, '\0');
    for (int i = 0; i < 4; ++i)
        bytes[3 - i] = char((value >> (8 * i)) & 0xFF);
    return bytes;
}

QByteArray chunk(const QByteArray& events) {
    return QByteArray("MTrk") + bigEndian32(events.size() + 4) + events +
           QByteArray("\x00\xFF\x2F\x00", 4);
}

} // namespace

KarBuilder& KarBuilder::meta(unsigned char type, const QByteArray& text) {
    track_ += QByteArray("\x00\xFF", 2) + char(type) + char(text.size()) + text;
    return *this;
}

KarBuilder& KarBuilder::raw(const QByteArray& bytes) {
    track_ += bytes;
    return *this;
}

KarBuilder& KarBuilder::nextTrack() {
    finishedTracks_ += chunk(track_);
    track_.clear();
    return *this;
}

QByteArray KarBuilder::bytes() const {
    return QByteArray("MThd\x00\x00\x00\x06\x00\x01\x00\x02\x00\x60", 14) + finishedTracks_ +
           chunk(track_);
}

QByteArray cp1251(const char16_t* text) {
    return encodeCp1251(QStringView(text));
}

} // namespace songwick::test
