#pragma once

#include "catalogue/catalogue_record.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <array>

namespace songwick {

// Which window started the scan: the start window's name runs may hold "<" and ">",
// the main window's may not.
enum class ScanWindow { Start, Main };

// The two credit lines that karaoke editors write into their files. A credit found in a
// file's texts becomes the whole "made by" text, whatever follows it.
inline constexpr char kKarMakerCredit[] = "Created with KarMaker: team@karaokegalaxy.com";
inline constexpr char kSecondCredit[] = "maked by user@example.ru";

// The four descriptive texts of one karaoke file, still as Windows-1251 bytes, in the
// order of the table's columns 3 to 6.
using KarTexts = std::array<QByteArray, 4>;

// Cuts the descriptive texts out of a whole karaoke file's bytes. Never fails: a file
// without a track name gives four empty texts.
KarTexts extractKarTexts(QByteArrayView fileBytes, ScanWindow window);

// The record of one file: its name and folder (which ends with "/") and its texts decoded.
CatalogueRecord makeRecord(const QString& folder, const QString& fileName, const KarTexts& texts);

// Reads a whole file (regular files only; named pipes, sockets and devices are refused
// without being opened for long) into a buffer it reuses from one file to the next.
class KarFileReader {
public:
    // The file's bytes, valid until the next call. Throws songwick::Error when the file
    // cannot be opened or read, or is not a regular file.
    QByteArrayView read(const QByteArray& encodedPath);

private:
    QByteArray buffer_;
};

} // namespace songwick
