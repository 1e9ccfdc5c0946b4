#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace songwick {

// Windows-1251, the code page of list files, settings files and the texts inside karaoke files.
// Every byte decodes to one character and encodes back to itself (the unassigned 0x98 is
// carried as U+0098); a character the code page cannot hold is encoded as '?'.
QString decodeCp1251(QByteArrayView bytes);
// exact, when given, is set to whether every character was held (the bytes decode to text).
QByteArray encodeCp1251(QStringView text, bool* exact = nullptr);
// Appends the text's bytes and then `lineEnd` when the text is one line (no CR or LF) and the
// code page holds every character of it; false, with the bytes as they were, when it is not.
bool appendCp1251Line(QByteArray& bytes, QStringView text, QByteArrayView lineEnd = {});

// The character a single byte stands for.
char16_t cp1251ToUnicode(unsigned char byte);

} // namespace songwick
