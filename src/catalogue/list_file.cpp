#include "catalogue/list_file.h"

#include "catalogue/catalogue_table.h"
#include "common/cp1251_codec.h"
#include "common/error.h"
#include "common/file_write.h"

#include <QFile>
#include <algorithm>
#include <charconv>
#include <limits>

namespace songwick {
namespace {

constexpr QByteArrayView kHeaderLine = "Songwick file..";
constexpr QByteArrayView kTrailerLine = "Russia";
constexpr QByteArrayView kLineEnd = "\r\n";
// A list file whose cells hold characters Windows-1251 has not is written as UTF-8 behind a
// byte order mark, so that nothing is lost; every other one is Windows-1251 as always.
constexpr QByteArrayView kUtf8Bom = "\xEF\xBB\xBF";

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
        throw Error(QStringLiteral("Файл списка содержит %1 строк, а таблица вмещает не больше "
                                   "%2. Файл не загружен.")
                        .arg(dataRows)
                        .arg(RecordStore::kCapacity));
    if (qint64(layout.rowCount) * layout.columnCount > kMaxCellCount)
        throw Error(QStringLiteral("Файл списка описывает таблицу из %1 строк и %2 столбцов, "
                                   "слишком большую для программы. Файл не загружен.")
                        .arg(dataRows)
                        .arg(layout.columnCount));
    return layout;
}

// A list file names each row's file in columns 2 (folder) and 1 (name).
std::optional<RowFile> rowFileFromCells(const CatalogueGrid& grid, int row) {
    CatalogueRecord record;
    if (grid.columnCount() > 1)
        record[FileNameField] = grid.cell(1, row);
    if (grid.columnCount() > 2)
        record[FolderField] = grid.cell(2, row);
    return rowFileOf(record);
}

void readCells(ListFileLayout& layout, CatalogueGrid& grid) {
    grid.resize(layout.columnCount, layout.rowCount);
    for (int row = 1; row < layout.rowCount; ++row) {
        for (int column = 0; column < layout.columnCount; ++column)
            grid.setCell(column, row,
                         layout.utf8 ? QString::fromUtf8(layout.cells.next())
                                     : decodeCp1251(layout.cells.next()));
        layout.cells.next(); // the empty line that ends a row
        grid.setRowFile(row, rowFileFromCells(grid, row));
    }
}

void appendCell(QString& text, const QString& cell) {
    if (!cell.contains(u'\r') && !cell.contains(u'\n')) {
        text += cell;
        return;
    }
    for (qsizetype i = 0; i < cell.size(); ++i) {
        const QChar c = cell[i];
        if (c == u'\r' && i + 1 < cell.size() && cell[i + 1] == u'\n')
            continue; // CR LF is one line break
        text += (c == u'\r' || c == u'\n') ? QChar(u' ') : c;
    }
}

} // namespace

QString notAListFileMessage() {
    return QStringLiteral("Данный файл не является файлом Songwick.\n\rЛибо файл поврежден.");
}

QByteArray listFileBytes(const CatalogueGrid& grid) {
    const QString lineEnd = QString::fromLatin1(kLineEnd);
    QString text;
    qsizetype estimate = 64;
    for (int row = 1; row < grid.rowCount(); ++row)
        for (int column = 0; column < grid.columnCount(); ++column)
            estimate += grid.cell(column, row).size() + 2;
    text.reserve(estimate + qsizetype(grid.rowCount()) * 2);

    text += QString::fromLatin1(kHeaderLine) + lineEnd;
    text += QString::number(grid.rowCount()) + lineEnd;
    text += QString::number(grid.columnCount()) + lineEnd;
    for (int row = 1; row < grid.rowCount(); ++row) {
        for (int column = 0; column < grid.columnCount(); ++column) {
            appendCell(text, grid.cell(column, row));
            text += lineEnd;
        }
        text += lineEnd;
    }
    text += QString::fromLatin1(kTrailerLine) + lineEnd;
    bool exact = false;
    QByteArray bytes = encodeCp1251(text, &exact);
    if (!exact)
        bytes = kUtf8Bom.toByteArray() + text.toUtf8();
    return bytes;
}

void writeListFile(const QString& path, const CatalogueGrid& grid) {
    writeFileAtomically(path, listFileBytes(grid));
}

QByteArray readListFileBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Error(file.errorString());
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw Error(file.errorString());
    return bytes;
}

ListFileRead readListFile(QByteArrayView bytes, CatalogueGrid& grid) {
    ListFileLayout layout = readLayout(bytes);
    if (!layout.isListFile)
        return ListFileRead::NotAListFile;
    readCells(layout, grid);
    return ListFileRead::Loaded;
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
bool hasHeaderLine(QFile& file) {
    QByteArray head = file.peek(kUtf8Bom.size() + kHeaderLine.size() + 1);
    if (head.startsWith(kUtf8Bom))
        head.remove(0, kUtf8Bom.size());
    return LineCursor(head).next() == kHeaderLine;
}

// Reads and checks everything that can fail before the table is touched, then prepares it.
ListFileRead prepareAndRead(const QString& path, CatalogueGrid& grid, CatalogueState& state) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Error(file.errorString());
    // A foreign file changes nothing: the table that was there is not lost to a wrong pick.
    if (!hasHeaderLine(file))
        return ListFileRead::NotAListFile;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw Error(file.errorString());
    ListFileLayout layout = readLayout(bytes);
    prepareForListFile(grid, state);
    readCells(layout, grid);
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
