#include "biff8_fixture.h"

#include <QtEndian>
#include <algorithm>
#include <cstring>

namespace songwick::testing {
namespace {

constexpr quint32 kEndOfChain = 0xFFFFFFFE;
constexpr quint32 kFreeSector = 0xFFFFFFFF;
constexpr quint32 kFatSector = 0xFFFFFFFD;
constexpr int kSectorSize = 512;

void put16(QByteArray& out, quint16 value) {
    char bytes[2];
    qToLittleEndian(value, bytes);
    out.append(bytes, 2);
}

void put32(QByteArray& out, quint32 value) {
    char bytes[4];
    qToLittleEndian(value, bytes);
    out.append(bytes, 4);
}

void putDouble(QByteArray& out, double value) {
    quint64 bits = 0;
    std::memcpy(&bits, &value, 8);
    char bytes[8];
    qToLittleEndian(bits, bytes);
    out.append(bytes, 8);
}

void record(QByteArray& out, quint16 type, const QByteArray& body) {
    put16(out, type);
    put16(out, quint16(body.size()));
    out.append(body);
}

QByteArray bof(quint16 kind) {
    QByteArray body;
    put16(body, 0x0600); // BIFF8
    put16(body, kind);
    put16(body, 0x0DBB);
    put16(body, 0x07CC);
    put32(body, 0);
    put32(body, 0x00000006);
    return body;
}

// A BIFF8 string in UTF-16: flags byte 1, then the characters.
void putWideChars(QByteArray& out, const QString& text) {
    out.append(char(1));
    for (const QChar c : text)
        put16(out, c.unicode());
}

QByteArray workbookStream(const std::vector<XlsCell>& cells) {
    std::vector<QString> strings;
    for (const XlsCell& cell : cells) {
        if (const auto* text = std::get_if<QString>(&cell.value))
            strings.push_back(*text);
    }

    QByteArray globals;
    record(globals, 0x0809, bof(0x0005));
    QByteArray codePage;
    put16(codePage, 1200);
    record(globals, 0x0042, codePage);
    QByteArray xf(20, '\0');
    for (int i = 0; i < 16; ++i) // the cell formats the sheet's cells may refer to
        record(globals, 0x00E0, xf);
    const qsizetype boundSheetAt = globals.size();
    QByteArray boundSheet;
    put32(boundSheet, 0); // sheet offset, patched below
    put16(boundSheet, 0);
    boundSheet.append(char(6));
    putWideChars(boundSheet, QStringLiteral("Sheet1"));
    record(globals, 0x0085, boundSheet);
    QByteArray sst;
    put32(sst, quint32(strings.size()));
    put32(sst, quint32(strings.size()));
    for (const QString& text : strings) {
        put16(sst, quint16(text.size()));
        putWideChars(sst, text);
    }
    record(globals, 0x00FC, sst);
    record(globals, 0x000A, {});

    QByteArray sheet;
    record(sheet, 0x0809, bof(0x0010));
    int lastRow = 0;
    int lastColumn = 0;
    for (const XlsCell& cell : cells) {
        lastRow = std::max(lastRow, cell.row);
        lastColumn = std::max(lastColumn, cell.column);
    }
    QByteArray dimensions;
    put32(dimensions, 0);
    put32(dimensions, quint32(lastRow + 1));
    put16(dimensions, 0);
    put16(dimensions, quint16(lastColumn + 1));
    put16(dimensions, 0);
    record(sheet, 0x0200, dimensions);
    quint32 stringIndex = 0;
    for (const XlsCell& cell : cells) {
        QByteArray body;
        put16(body, quint16(cell.row));
        put16(body, quint16(cell.column));
        put16(body, 15);
        if (std::holds_alternative<QString>(cell.value)) {
            put32(body, stringIndex++);
            record(sheet, 0x00FD, body);
        } else {
            putDouble(body, std::get<double>(cell.value));
            record(sheet, 0x0203, body);
        }
    }
    record(sheet, 0x000A, {});

    // Streams under 4096 bytes would live in the mini stream; a filler record of a type no
    // reader knows keeps this one in ordinary sectors.
    const qsizetype shortBy = 4200 - globals.size() - sheet.size();
    if (shortBy > 0) {
        QByteArray filler(shortBy, '\0');
        QByteArray withFiller = globals.left(globals.size() - 4); // before the globals' EOF
        record(withFiller, 0x1234, filler);
        record(withFiller, 0x000A, {});
        globals = withFiller;
    }
    char offset[4];
    qToLittleEndian(quint32(globals.size()), offset);
    std::memcpy(globals.data() + boundSheetAt + 4, offset, 4);
    return globals + sheet;
}

QByteArray directoryEntry(const QString& name, quint8 type, quint32 child, quint32 start,
                          quint32 size) {
    QByteArray entry;
    for (const QChar c : name)
        put16(entry, c.unicode());
    entry.append(64 - entry.size(), '\0');
    put16(entry, name.isEmpty() ? 0 : quint16((name.size() + 1) * 2));
    entry.append(char(type));
    entry.append(char(1)); // black
    put32(entry, kFreeSector);
    put32(entry, kFreeSector);
    put32(entry, child);
    entry.append(16 + 4 + 16, '\0'); // class id, state bits, times
    put32(entry, start);
    put32(entry, size);
    put32(entry, 0);
    return entry;
}

} // namespace

QByteArray biff8Workbook(const std::vector<XlsCell>& cells) {
    QByteArray stream = workbookStream(cells);
    const auto streamSize = quint32(stream.size());
    const auto streamSectors = quint32((stream.size() + kSectorSize - 1) / kSectorSize);
    stream.append(qsizetype(streamSectors) * kSectorSize - stream.size(), '\0');

    QByteArray header;
    header.append(QByteArray::fromHex("D0CF11E0A1B11AE1"));
    header.append(16, '\0');
    put16(header, 0x003E);
    put16(header, 0x0003);
    put16(header, 0xFFFE);
    put16(header, 0x0009);
    put16(header, 0x0006);
    header.append(6, '\0');
    put32(header, 0);           // directory sectors (none counted in version 3)
    put32(header, 1);           // FAT sectors
    put32(header, 1);           // first directory sector
    put32(header, 0);           // transaction
    put32(header, 0x1000);      // mini stream cutoff
    put32(header, kEndOfChain); // mini FAT
    put32(header, 0);
    put32(header, kEndOfChain); // DIFAT
    put32(header, 0);
    put32(header, 0); // the FAT is sector 0
    for (int i = 1; i < 109; ++i)
        put32(header, kFreeSector);

    QByteArray fat;
    put32(fat, kFatSector);
    put32(fat, kEndOfChain); // directory
    for (quint32 i = 0; i < streamSectors; ++i)
        put32(fat, i + 1 < streamSectors ? 3 + i : kEndOfChain);
    while (fat.size() < kSectorSize)
        put32(fat, kFreeSector);

    QByteArray directory;
    directory.append(directoryEntry(QStringLiteral("Root Entry"), 5, 1, kEndOfChain, 0));
    directory.append(directoryEntry(QStringLiteral("Workbook"), 2, kFreeSector, 2, streamSize));
    directory.append(directoryEntry(QString(), 0, kFreeSector, 0, 0));
    directory.append(directoryEntry(QString(), 0, kFreeSector, 0, 0));

    return header + fat + directory + stream;
}

} // namespace songwick::testing
