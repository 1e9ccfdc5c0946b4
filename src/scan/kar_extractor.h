#pragma once

#include "catalogue/catalogue_record.h"
#include "common/file_identity.h"
#include "scan/midi_structure.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <array>
#include <functional>

struct stat;

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

// Where the extractor takes a file's bytes from: the bytes from the start of the file read so
// far, and more on demand. The extractor asks only for the bytes that can still change its
// result.
class KarBytes {
public:
    virtual ~KarBytes() = default;
    // The bytes from the start of the file read so far; valid until the next readUpTo.
    virtual QByteArrayView available() const = 0;
    // Reads on until at least `size` bytes are available or the file has ended. False when
    // the file ended first (then available() is the whole file).
    virtual bool readUpTo(qsizetype size) = 0;
};

// Cuts the descriptive texts out of a karaoke file's bytes. Never fails: a file without a
// track name gives four empty texts.
KarTexts extractKarTexts(KarBytes& bytes, ScanWindow window);
KarTexts extractKarTexts(QByteArrayView fileBytes, ScanWindow window);

// The record of one file: its name and folder (which ends with "/") and its texts decoded.
CatalogueRecord makeRecord(const QString& folder, const QString& fileName, const KarTexts& texts);

// How KarFileReader::extract reads one file.
struct ExtractRequest {
    int openedFile = -1;        // the file already opened (the reader closes it); -1: open it
    bool checkUnchanged = true; // take the file's status again after reading, to see a change
    // Take the first block only if the page cache already holds it, to learn whether reading
    // waits for the disk (ExtractedFile::waitedForDisk); the file is read in full either way.
    bool probePageCache = false;
    // Runs after the bytes were read, before the status is taken again (tests change the file).
    std::function<void()> afterReading;
};

// The texts of one file read from disk, with the identity of what was read.
struct ExtractedFile {
    KarTexts texts;
    FileIdentity identity;      // taken when the file was opened
    bool unchanged = true;      // false when the file changed while it was read (if checked)
    bool waitedForDisk = false; // the page cache did not hold the first block (when probed)
};

// Reads karaoke files (regular files only; named pipes, sockets and devices are refused
// without being opened for long) through a buffer it reuses from one file to the next.
class KarFileReader {
public:
    // The whole file's bytes, valid until the next call. Throws songwick::Error when the file
    // cannot be opened or read, or is not a regular file.
    QByteArrayView read(const QByteArray& encodedPath);

    // The file's MIDI structure, reading only the parts of the file the structure reader
    // comes to; its events refer into the reader's buffer, valid until the next call. Throws
    // songwick::Error as read() does.
    MidiStructure readStructure(const QByteArray& encodedPath);
    // The same into a buffer and a structure of the caller's (read into before, their memory
    // is used again); the events then refer into the buffer. Reads openedFile when given (and
    // closes it), else opens the path. With probePageCache, the first part is taken only if
    // the page cache holds it, to learn whether reading waits for the disk: the result says
    // so (the file is read as far as needed either way). `kept` picks the events kept.
    bool readStructure(const QByteArray& encodedPath, int openedFile, QByteArray& buffer,
                       MidiStructure& structure, bool probePageCache = false,
                       MidiEventsKept kept = MidiEventsKept::All);

    // The texts of the file, reading its 8192-byte blocks only as far as they can change the
    // texts. Throws songwick::Error as read() does.
    ExtractedFile extract(const QByteArray& encodedPath, ScanWindow window,
                          const ExtractRequest& request = {});

    // Bytes read from disk by this reader so far.
    qint64 bytesRead() const { return bytesRead_; }

private:
    QByteArray buffer_;
    qint64 bytesRead_ = 0;
};

// Opens a candidate file for reading without waiting on a named pipe; -1 when it fails.
int openCandidateFile(const QByteArray& encodedPath);
// The same for the entry `name` of the open folder folderFd.
int openCandidateFileAt(int folderFd, const QByteArray& name);

// The identity of a file from its status.
FileIdentity identityOf(const struct stat& status);

} // namespace songwick
