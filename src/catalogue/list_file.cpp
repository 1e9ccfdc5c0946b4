#include "catalogue/list_file.h"

#include "catalogue/catalogue_table.h"
#include "common/cp1251_codec.h"
#include "common/error.h"
#include "common/file_descriptor.h"
#include "common/file_name_codec.h"
#include "common/file_write.h"
#include "common/halves.h"
#include "common/system_error.h"

#include <QCoreApplication>
#include <algorithm>
#include <cerrno>
#include <charconv>
#include <fcntl.h>
#include <limits>
#include <span>
#include <unistd.h>
#include <vector>

namespace songwick {
namespace {

constexpr QByteArrayView kHeaderLine = "Songwick file..";
constexpr QByteArrayView kTrailerLine = "Russia";
constexpr QByteArrayView kLineEnd = "\r\n";
// A list file whose cells hold characters Windows-1251 has not is written as UTF-8 behind a
// byte order mark, so that nothing is lost; every other one is Windows-1251 as always.
constexpr QByteArrayView kUtf8Bom = "\xEF\xBB\xBF";
// The record of the rows' files after the trailer: its first and last lines, the separator of
// an entry's fields and the field of a row that stands for no file.
constexpr QByteArrayView kFilesHeaderLine = "Songwick files..";
constexpr QByteArrayView kFilesEndLine = "Songwick files end..";
constexpr char kFieldSeparator = '\t';
constexpr QByteArrayView kNoFileField = "-";

// No table the program writes comes near this; it keeps a damaged count line from asking for
// gigabytes of empty cells.
constexpr qint64 kMaxCellCount = qint64(RecordStore::kCapacity + 1) * 16;

// Lines of a text in memory. A line ends at CR LF, LF or a lone CR; past the end every line
// reads as empty.
class LineCursor {
public:
    explicit LineCursor(QByteArrayView bytes) : rest_(bytes) {}

    QByteArrayView next() {
        const auto end =
            std::find_if(rest_.begin(), rest_.end(), [](char c) { return c == '\r' || c == '\n'; });
        const qsizetype length = end - rest_.begin();
        const QByteArrayView line = rest_.first(length);
        qsizetype skip = length;
        if (skip < rest_.size())
            skip +=
                (rest_[skip] == '\r' && skip + 1 < rest_.size() && rest_[skip + 1] == '\n') ? 2 : 1;
        rest_ = rest_.sliced(skip);
        return line;
    }

    bool atEnd() const { return rest_.isEmpty(); }

private:
    QByteArrayView rest_;
};

// A decimal integer: an optional sign and digits, nothing else, within 32 bits.
int parseCountLine(QByteArrayView line) {
    const auto fail = [&] {
        return Error(QStringLiteral("'%1' is not a valid integer value").arg(decodeCp1251(line)));
    };
    QByteArrayView digits = line;
    bool negative = false;
    if (!digits.isEmpty() && (digits.front() == '+' || digits.front() == '-')) {
        negative = digits.front() == '-';
        digits = digits.sliced(1);
    }
    if (digits.isEmpty() ||
        !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
        throw fail();
    qint64 magnitude = 0;
    const auto [end, errc] =
        std::from_chars(digits.data(), digits.data() + digits.size(), magnitude);
    if (errc != std::errc() || end != digits.data() + digits.size())
        throw fail();
    const qint64 value = negative ? -magnitude : magnitude;
    if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max())
        throw fail();
    return int(value);
}

// A list file with its header matched and its counts read and checked; the cursor stands
// at the first cell.
struct ListFileLayout {
    bool isListFile = false;
    bool utf8 = false;
    int rowCount = 1;
    int columnCount = 1;
    LineCursor cells{QByteArrayView()};
};

ListFileLayout readLayout(QByteArrayView bytes) {
    ListFileLayout layout;
    layout.utf8 = bytes.startsWith(kUtf8Bom);
    if (layout.utf8)
        bytes = bytes.sliced(kUtf8Bom.size());
    layout.cells = LineCursor(bytes);
    if (layout.cells.next() != kHeaderLine)
        return layout;
    layout.isListFile = true;
    layout.rowCount = std::max(parseCountLine(layout.cells.next()), 1);
    layout.columnCount = std::max(parseCountLine(layout.cells.next()), 1);
    const int dataRows = layout.rowCount - 1;
    if (dataRows > RecordStore::kCapacity)
        throw Error(QCoreApplication::translate(
                        "songwick::Catalogue",
                        "Файл списка содержит %1 строк, а таблица вмещает не больше "
                        "%2. Файл не загружен.")
                        .arg(dataRows)
                        .arg(RecordStore::kCapacity));
    if (qint64(layout.rowCount) * layout.columnCount > kMaxCellCount)
        throw Error(
            QCoreApplication::translate("songwick::Catalogue",
                                        "Файл списка описывает таблицу из %1 строк и %2 столбцов, "
                                        "слишком большую для программы. Файл не загружен.")
                .arg(dataRows)
                .arg(layout.columnCount));
    return layout;
}

// Columns 1 (name) and 2 (folder) of a row; empty where the table has no such column.
QString nameCell(const CatalogueGrid& grid, int row) {
    return grid.columnCount() > 1 ? grid.cell(1, row) : QString();
}

QString folderCell(const CatalogueGrid& grid, int row) {
    return grid.columnCount() > 2 ? grid.cell(2, row) : QString();
}

// --- cells ---------------------------------------------------------------------------------

// A cell as its line holds it. A line break is written as a blank, so that every file reads
// back aligned; a character that is half of a pair (a byte of a file name that is not text,
// U+DC80 + byte) as "?", which keeps the list in its code page and which no name on the system
// the format comes from holds. Everything else is written as it is.
void appendCellLine(QString& text, QStringView cell) {
    const bool plain = std::none_of(cell.begin(), cell.end(), [](QChar c) {
        return c == u'\r' || c == u'\n' || c.isSurrogate();
    });
    if (plain) {
        text += cell;
        return;
    }
    for (qsizetype i = 0; i < cell.size(); ++i) {
        const QChar c = cell[i];
        if (c == u'\r' && i + 1 < cell.size() && cell[i + 1] == u'\n')
            continue; // CR LF is one line break
        if (c == u'\r' || c == u'\n') {
            text += u' ';
        } else if (c.isHighSurrogate() && i + 1 < cell.size() && cell[i + 1].isLowSurrogate()) {
            text += c;
            text += cell[++i];
        } else {
            text += c.isSurrogate() ? QChar(u'?') : c;
        }
    }
}

QString cellLine(QStringView cell) {
    QString line;
    appendCellLine(line, cell);
    return line;
}

void readCells(ListFileLayout& layout, CatalogueGrid& grid) {
    grid.resize(layout.columnCount, layout.rowCount);
    grid.takeOrderAsMade();
    for (int row = 1; row < layout.rowCount; ++row) {
        for (int column = 0; column < layout.columnCount; ++column)
            grid.setCell(column, row,
                         layout.utf8 ? QString::fromUtf8(layout.cells.next())
                                     : decodeCp1251(layout.cells.next()));
        layout.cells.next(); // the empty line that ends a row
    }
}

// --- the record of the rows' files ---------------------------------------------------------

bool isPlainEntryByte(unsigned char byte) {
    return byte >= 0x21 && byte <= 0x7E && byte != '%';
}

// A name's bytes on disk in ASCII: "%XX" for "%" and for every byte that is not a visible
// ASCII character.
void appendEscaped(QByteArray& out, const QString& text) {
    static constexpr char kHexDigits[] = "0123456789ABCDEF";
    for (const char byte : encodeFileName(text)) {
        const auto value = static_cast<unsigned char>(byte);
        if (isPlainEntryByte(value)) {
            out += byte;
        } else {
            out += '%';
            out += kHexDigits[value >> 4];
            out += kHexDigits[value & 0x0F];
        }
    }
}

int hexDigitValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// The name an escaped field holds; none for a field the writer never makes.
std::optional<QString> unescaped(QByteArrayView field) {
    QByteArray bytes;
    bytes.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        const char c = field[i];
        if (isPlainEntryByte(static_cast<unsigned char>(c))) {
            bytes += c;
            continue;
        }
        if (c != '%' || i + 2 >= field.size())
            return std::nullopt;
        const int high = hexDigitValue(field[i + 1]);
        const int low = hexDigitValue(field[i + 2]);
        if (high < 0 || low < 0)
            return std::nullopt;
        bytes += char(high * 16 + low);
        i += 2;
    }
    return decodeFileName(bytes);
}

// A data row number as the writer writes it (digits, no sign, no leading zero), below
// rowCount; none otherwise.
std::optional<int> entryRow(QByteArrayView field, int rowCount) {
    const bool digits =
        std::all_of(field.begin(), field.end(), [](char c) { return c >= '0' && c <= '9'; });
    if (field.isEmpty() || field.size() > 9 || field.front() == '0' || !digits)
        return std::nullopt;
    int row = 0;
    std::from_chars(field.data(), field.data() + field.size(), row);
    return row < rowCount ? std::optional<int>(row) : std::nullopt;
}

struct RecordedFile {
    bool recorded = false;
    std::optional<RowFile> file;
};

// What the record after the trailer says, by row. complete is false when the record is there
// but does not read cleanly to its end line.
struct FilesRecord {
    bool present = false;
    bool complete = true;
    std::vector<RecordedFile> rows;
};

// "<row>\t<folder>\t<name>" or "<row>\t-"; false for anything else. A row recorded twice
// stands for no file.
bool readEntry(QByteArrayView line, FilesRecord& record) {
    const qsizetype first = line.indexOf(kFieldSeparator);
    if (first < 0)
        return false;
    const std::optional<int> row = entryRow(line.first(first), int(record.rows.size()));
    if (!row)
        return false;
    RecordedFile& recorded = record.rows[std::size_t(*row)];
    if (recorded.recorded) { // which of the two is right is not known
        recorded.file.reset();
        return false;
    }
    const QByteArrayView rest = line.sliced(first + 1);
    RecordedFile entry{true, std::nullopt};
    if (rest != kNoFileField) {
        const qsizetype second = rest.indexOf(kFieldSeparator);
        if (second < 0)
            return false;
        const std::optional<QString> folder = unescaped(rest.first(second));
        const std::optional<QString> name = unescaped(rest.sliced(second + 1));
        if (!folder || !name || !isFileName(*name))
            return false;
        entry.file = RowFile{*folder, *name};
    }
    recorded = std::move(entry);
    return true;
}

// The record begins on the line after the trailer, which follows the last row's cells.
FilesRecord readFilesRecord(LineCursor& lines, int rowCount) {
    FilesRecord record;
    if (lines.next() != kTrailerLine || lines.next() != kFilesHeaderLine)
        return record;
    record.present = true;
    record.rows.resize(std::size_t(rowCount));
    for (;;) {
        if (lines.atEnd()) {
            record.complete = false;
            return record;
        }
        const QByteArrayView line = lines.next();
        if (line == kFilesEndLine)
            return record;
        if (!readEntry(line, record))
            record.complete = false;
    }
}

void readRowFiles(LineCursor& lines, CatalogueGrid& grid) {
    const FilesRecord record = readFilesRecord(lines, grid.rowCount());
    for (int row = 1; row < grid.rowCount(); ++row) {
        if (record.present && record.rows[std::size_t(row)].recorded) {
            const std::optional<RowFile>& file = record.rows[std::size_t(row)].file;
            if (file && grid.columnCount() > 1 && cellLine(file->name) == grid.cell(1, row))
                grid.setCell(1, row, file->name);
            if (file && grid.columnCount() > 2 && cellLine(file->folder) == grid.cell(2, row))
                grid.setCell(2, row, file->folder);
            grid.setRowFile(row, file);
        } else if (record.complete) {
            grid.setRowFile(row, rowFileFromCells(nameCell(grid, row), folderCell(grid, row)));
        } else {
            grid.setRowFile(row, std::nullopt);
        }
    }
}

// The file a row stands for, as far as a list file can keep it: a file name in a folder.
std::optional<RowFile> keptRowFile(const CatalogueGrid& grid, int row) {
    const std::optional<RowFile>& file = grid.rowFile(row);
    return file && isFileName(file->name) ? file : std::nullopt;
}

// Whether a reader that rebuilds the row's file from its name and folder lines finds the very
// file the row stands for.
bool linesGiveRowFile(QStringView nameLine, QStringView folderLine,
                      const std::optional<RowFile>& file) {
    if (!namesFileForCertain(nameLine, folderLine))
        return !file;
    return file && nameLine == file->name && folderLine == file->folder;
}

void appendEntry(QByteArray& record, int row, const std::optional<RowFile>& file) {
    record += QByteArray::number(row);
    record += kFieldSeparator;
    if (file) {
        appendEscaped(record, file->folder);
        record += kFieldSeparator;
        appendEscaped(record, file->name);
    } else {
        record += kNoFileField;
    }
    record += kLineEnd;
}

} // namespace

QString notAListFileMessage() {
    return QCoreApplication::translate(
        "songwick::Catalogue", "Данный файл не является файлом Songwick.\n\rЛибо файл поврежден.");
}

namespace {

// Adds the row's entry to the record of the rows' files where the name and folder lines it is
// written with do not give its file back.
void noteRowFile(QByteArray& filesRecord, const CatalogueGrid& grid, int row, QStringView nameLine,
                 QStringView folderLine) {
    const std::optional<RowFile> file = keptRowFile(grid, row);
    if (!linesGiveRowFile(nameLine, folderLine, file))
        appendEntry(filesRecord, row, file);
}

// The bytes rows [first, end) of the table take as lines, about.
qsizetype estimatedSize(const CatalogueGrid& grid, int first, int end) {
    qsizetype estimate = qsizetype(end - first) * 2;
    for (int row = first; row < end; ++row)
        for (const QString& cell : grid.rowCells(row))
            estimate += cell.size() + 2;
    return estimate;
}

qsizetype estimatedSize(const CatalogueGrid& grid) {
    return 64 + estimatedSize(grid, 1, grid.rowCount());
}

// Appends the lines of rows [first, end) of a plain table, and their entries to the record of
// the rows' files; false where a cell is not plain.
bool appendPlainRows(const CatalogueGrid& grid, int first, int end, QByteArray& bytes,
                     QByteArray& filesRecord) {
    for (int row = first; row < end; ++row) {
        const std::span<const QString> cells = grid.rowCells(row);
        for (const QString& cell : cells) {
            if (!appendCp1251Line(bytes, cell, kLineEnd))
                return false;
        }
        bytes += kLineEnd;
        const auto lineOf = [&](std::size_t column) {
            return column < cells.size() ? QStringView(cells[column]) : QStringView();
        };
        noteRowFile(filesRecord, grid, row, lineOf(1), lineOf(2));
    }
    return true;
}

// The table in Windows-1251 straight from its cells, where each cell is one line of characters
// the code page holds, as in nearly every table; nothing where one is not, for the text to be
// written character by character. Its lines are the cells themselves. A large table's halves
// are encoded at once.
std::optional<QByteArray> plainCp1251Table(const CatalogueGrid& grid, QByteArray& filesRecord) {
    QByteArray bytes[2];
    QByteArray files[2];
    bool plain[2] = {true, true};
    inTwoHalves(1, grid.rowCount(), kRowsWorthASecondThread, [&](int half, int first, int end) {
        if (half == 0) {
            bytes[0].reserve(estimatedSize(grid)); // room for the later half, appended to it
            bytes[0] += kHeaderLine;
            bytes[0] += kLineEnd;
            bytes[0] += QByteArray::number(grid.rowCount());
            bytes[0] += kLineEnd;
            bytes[0] += QByteArray::number(grid.columnCount());
            bytes[0] += kLineEnd;
        } else {
            bytes[1].reserve(estimatedSize(grid, first, end));
        }
        plain[half] = appendPlainRows(grid, first, end, bytes[half], files[half]);
    });
    if (!plain[0] || !plain[1])
        return std::nullopt;
    bytes[0] += bytes[1];
    bytes[0] += kTrailerLine;
    bytes[0] += kLineEnd;
    filesRecord = files[0] + files[1];
    return std::move(bytes[0]);
}

// The table as text, each cell as its line, and in the code page that holds it.
QByteArray tableBytes(const CatalogueGrid& grid, QByteArray& filesRecord) {
    const QString lineEnd = QString::fromLatin1(kLineEnd);
    QString text;
    text.reserve(estimatedSize(grid));
    text += QString::fromLatin1(kHeaderLine) + lineEnd;
    text += QString::number(grid.rowCount()) + lineEnd;
    text += QString::number(grid.columnCount()) + lineEnd;
    for (int row = 1; row < grid.rowCount(); ++row) {
        // Where the name and folder lines stand in the text (empty without those columns).
        qsizetype lineStart[3] = {};
        qsizetype lineLength[3] = {};
        for (int column = 0; column < grid.columnCount(); ++column) {
            const qsizetype start = text.size();
            appendCellLine(text, grid.cell(column, row));
            if (column == 1 || column == 2) {
                lineStart[column] = start;
                lineLength[column] = text.size() - start;
            }
            text += lineEnd;
        }
        text += lineEnd;
        noteRowFile(filesRecord, grid, row, QStringView(text).sliced(lineStart[1], lineLength[1]),
                    QStringView(text).sliced(lineStart[2], lineLength[2]));
    }
    text += QString::fromLatin1(kTrailerLine) + lineEnd;
    bool exact = false;
    QByteArray bytes = encodeCp1251(text, &exact);
    if (!exact)
        bytes = kUtf8Bom.toByteArray() + text.toUtf8();
    return bytes;
}

} // namespace

QByteArray listFileBytes(const CatalogueGrid& grid) {
    QByteArray filesRecord;
    std::optional<QByteArray> plain = plainCp1251Table(grid, filesRecord);
    if (!plain)
        filesRecord.clear();
    QByteArray bytes = plain ? std::move(*plain) : tableBytes(grid, filesRecord);
    if (!filesRecord.isEmpty()) {
        bytes += kFilesHeaderLine;
        bytes += kLineEnd;
        bytes += filesRecord;
        bytes += kFilesEndLine;
        bytes += kLineEnd;
    }
    return bytes;
}

void writeListFile(const QString& path, const CatalogueGrid& grid) {
    writeFileAtomically(path, listFileBytes(grid));
}

QByteArray readListFileBytes(const QString& path) {
    return readWholeFile(path);
}

ListFileRead readListFile(QByteArrayView bytes, CatalogueGrid& grid) {
    ListFileLayout layout = readLayout(bytes);
    if (!layout.isListFile)
        return ListFileRead::NotAListFile;
    readCells(layout, grid);
    readRowFiles(layout.cells, grid);
    return ListFileRead::Loaded;
}

void readListFileAt(const QString& path, CatalogueGrid& grid) {
    const QByteArray bytes = readListFileBytes(path);
    const auto namingTheFile = [&](const QString& message) {
        return Error(QStringLiteral("%1: %2").arg(displayFileName(path), message));
    };
    ListFileRead read = ListFileRead::Loaded;
    try {
        read = readListFile(bytes, grid);
    } catch (const Error& error) {
        throw namingTheFile(error.message());
    }
    if (read == ListFileRead::NotAListFile)
        throw namingTheFile(
            notAListFileMessage().replace(QStringLiteral("\n\r"), QStringLiteral(" ")));
}

void saveListFileAs(const QString& path, const CatalogueGrid& grid, MainTableState& state) {
    writeListFile(path, grid);
    state.currentListFileName = path;
    state.hasSavedName = true;
    state.modified = false;
}

bool saveListFile(const CatalogueGrid& grid, MainTableState& state) {
    if (!state.hasSavedName)
        return false;
    writeListFile(state.currentListFileName, grid);
    state.modified = false;
    return true;
}

void prepareForListFile(CatalogueGrid& grid, CatalogueState& state) {
    state.mainTable.firstInsertion = true;
    prepareGrid(grid, state.tableSourceStore().count());
}

namespace {

// The first line of the file, read without reading the rest, so that a foreign file of any
// size is told apart at once.
bool hasHeaderLine(const QString& path) {
    const FileDescriptor file(::open(encodeFileName(path).constData(), O_RDONLY | O_CLOEXEC));
    if (!file.isOpen())
        throw Error(systemErrorMessage(QStringLiteral("открыть файл"), path, errno));
    QByteArray head(kUtf8Bom.size() + kHeaderLine.size() + 1, '\0');
    ssize_t got = 0;
    do
        got = ::read(file.get(), head.data(), std::size_t(head.size()));
    while (got < 0 && errno == EINTR);
    if (got < 0)
        throw Error(systemErrorMessage(QStringLiteral("прочитать файл"), path, errno));
    head.truncate(got);
    if (head.startsWith(kUtf8Bom))
        head.remove(0, kUtf8Bom.size());
    return LineCursor(head).next() == kHeaderLine;
}

// Reads and checks everything that can fail before the table is touched, then prepares it.
ListFileRead prepareAndRead(const QString& path, CatalogueGrid& grid, CatalogueState& state) {
    // A foreign file changes nothing: the table that was there is not lost to a wrong pick.
    if (!hasHeaderLine(path))
        return ListFileRead::NotAListFile;
    const QByteArray bytes = readListFileBytes(path);
    ListFileLayout layout = readLayout(bytes);
    if (!layout.isListFile) // it changed since its first line was read
        return ListFileRead::NotAListFile;
    prepareForListFile(grid, state);
    readCells(layout, grid);
    readRowFiles(layout.cells, grid);
    return ListFileRead::Loaded;
}

} // namespace

ListFileRead openListFileInMainWindow(const QString& path, CatalogueGrid& grid,
                                      CatalogueState& state) {
    const ListFileRead result = prepareAndRead(path, grid, state);
    if (result == ListFileRead::Loaded)
        copyBackToStores(grid, state);
    return result;
}

ListFileRead openListFileInStartWindow(const QString& path, CatalogueGrid& grid,
                                       CatalogueState& state) {
    const ListFileRead result = prepareAndRead(path, grid, state);
    if (result == ListFileRead::Loaded)
        state.loadedInStartWindow = true;
    return result;
}

} // namespace songwick
