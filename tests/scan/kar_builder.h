#pragma once

#include <QByteArray>
#include <QString>
#include <initializer_list>

namespace songwick::test {

// Builds the bytes of a small karaoke MIDI file event by event.
class KarBuilder {
public:
    // A meta event with delta time 0: FF, type, one length byte, the text.
    KarBuilder& meta(unsigned char type, const QByteArray& text);
    KarBuilder& trackName(const QByteArray& name) { return meta(0x03, name); }
    KarBuilder& text(const QByteArray& text) { return meta(0x01, text); }
    KarBuilder& raw(const QByteArray& bytes);
    // Ends the current track and starts a new one.
    KarBuilder& nextTrack();
    QByteArray bytes() const;

private:
    QByteArray finishedTracks_;
    QByteArray track_;
};

// Windows-1251 bytes of a text.
QByteArray cp1251(const char16_t* text);

} // namespace songwick::test
