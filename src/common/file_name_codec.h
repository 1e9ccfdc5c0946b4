#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace songwick {

// File names on disk are bytes. Valid UTF-8 decodes as itself; each byte of a sequence that is
// not valid UTF-8 becomes the lone surrogate U+DC80 + (byte - 0x80), so that encoding the text
// gives the very same bytes back and two different names never decode to one text.
QString decodeFileName(QByteArrayView bytes);
QByteArray encodeFileName(const QString& name);

// The name as the user sees it: each undecodable byte shown as U+FFFD.
QString displayFileName(const QString& name);

} // namespace songwick
