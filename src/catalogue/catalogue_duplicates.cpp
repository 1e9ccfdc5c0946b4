#include "catalogue/catalogue_duplicates.h"

#include "catalogue/catalogue_find.h"
#include "catalogue/catalogue_order.h"
#include "catalogue/catalogue_record.h"
#include "catalogue/catalogue_table.h"
#include "common/error.h"
#include "common/file_name_codec.h"
#include "common/system_error.h"

#include <QCryptographicHash>
#include <QHash>
#include <QRegularExpression>
#include <algorithm>
#include <numeric>
#include <optional>
#include <sys/stat.h>

namespace songwick {
namespace {

constexpr int kFileNameColumn = 1 + FileNameField;
constexpr int kTitleColumn = 1 + PerformerTitleField;

QString withoutBracketedNotes(QStringView text) {
    QString out;
    out.reserve(text.size());
    int depth = 0;
    for (const QChar c : text) {
        if (c == u'(' || c == u'[' || c == u'{') {
            ++depth;
            out += u' ';
        } else if (c == u')' || c == u']' || c == u'}') {
            depth = std::max(depth - 1, 0);
        } else if (depth == 0) {
            out += c;
        }
    }
    return out;
}

QString withoutFeaturing(QString part) {
    static const QRegularExpression featuring(
        QStringLiteral("(^|[\\s,;&])(feat\\.|ft\\.|(feat|ft|featuring)(\\s|$)).*$"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::UseUnicodePropertiesOption);
    return part.remove(featuring);
}

QString foldedPart(const QString& part) {
    QString folded = foldedForFind(withoutFeaturing(part));
    if (folded.startsWith(QStringLiteral("the ")))
        folded.remove(0, 4);
    return folded;
}

QString baseName(const QString& fileName) {
    const qsizetype dot = fileName.lastIndexOf(u'.');
    return dot > 0 ? fileName.left(dot) : fileName;
}

// Union of row sets, by the smallest row of each set.
class RowSets {
public:
    explicit RowSets(int rows) : parent_(std::size_t(rows) + 1) {
        std::iota(parent_.begin(), parent_.end(), 0);
    }
    int find(int row) {
        while (parent_[std::size_t(row)] != row)
            row = parent_[std::size_t(row)] = parent_[std::size_t(parent_[std::size_t(row)])];
        return row;
    }
    void join(int a, int b) {
        a = find(a);
        b = find(b);
        if (a != b)
            parent_[std::size_t(std::max(a, b))] = std::min(a, b);
    }

private:
    std::vector<int> parent_;
};

// Empty for a file that cannot be read: it is compared with none.
QByteArray contentHash(const QString& path) {
    try {
        return QCryptographicHash::hash(readWholeFile(path), QCryptographicHash::Sha256);
    } catch (const Error&) {
        return {};
    }
}

// The size of a plain file at an absolute path; none for anything else.
std::optional<qint64> plainFileSize(const QString& path) {
    struct stat status {};
    if (!path.startsWith(u'/') || ::stat(encodeFileName(path).constData(), &status) != 0 ||
        !S_ISREG(status.st_mode))
        return std::nullopt;
    return qint64(status.st_size);
}

void joinIdenticalFiles(const CatalogueGrid& grid, const DuplicateSearch& search, RowSets& sets) {
    const int rows = grid.dataRowCount();
    std::vector<QString> paths(std::size_t(rows) + 1);
    QHash<qint64, std::vector<int>> bySize;
    for (int row = 1; row <= rows; ++row) {
        paths[std::size_t(row)] = search.filePath ? search.filePath(row) : rowFilePath(grid, row);
        if (const std::optional<qint64> size = plainFileSize(paths[std::size_t(row)]))
            bySize[*size].push_back(row);
    }
    for (const std::vector<int>& sameSize : std::as_const(bySize)) {
        if (sameSize.size() < 2)
            continue;
        QHash<QByteArray, int> firstByHash;
        for (const int row : sameSize) {
            const QByteArray hash = contentHash(paths[std::size_t(row)]);
            if (hash.isEmpty())
                continue;
            const auto found = firstByHash.constFind(hash);
            if (found == firstByHash.constEnd())
                firstByHash.insert(hash, row);
            else
                sets.join(*found, row);
        }
    }
}

} // namespace

QString rowFilePath(const CatalogueGrid& grid, int row) {
    const std::optional<RowFile>& file = grid.rowFile(row);
    if (!file || !isAbsoluteFolderPath(file->folder) || !isFileName(file->name))
        return {};
    return file->path();
}

qsizetype performerTitleDash(QStringView text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c != u'-' && c != u'\u2013' && c != u'\u2014')
            continue;
        const bool blankBefore = i > 0 && text[i - 1].isSpace();
        const bool blankAfter = i + 1 < text.size() && text[i + 1].isSpace();
        if (blankBefore || blankAfter)
            return i;
    }
    return -1;
}

QString songKey(QStringView performerTitle) {
    const QString text = withoutBracketedNotes(performerTitle);
    const qsizetype dash = performerTitleDash(text);
    if (dash < 0)
        return foldedPart(text);
    const QString performer = foldedPart(text.left(dash));
    const QString title = foldedPart(text.mid(dash + 1));
    if (performer.isEmpty() || title.isEmpty())
        return performer + title;
    return performer + u'\n' + title;
}

QString rowSongKey(const CatalogueGrid& grid, int row) {
    if (kTitleColumn < grid.columnCount() && !isUntitled(grid.cell(kTitleColumn, row)))
        return songKey(grid.cell(kTitleColumn, row));
    if (kFileNameColumn < grid.columnCount())
        return songKey(baseName(grid.cell(kFileNameColumn, row)));
    return {};
}

std::vector<std::vector<int>> duplicateGroups(const CatalogueGrid& grid,
                                              const DuplicateSearch& search) {
    const int rows = grid.dataRowCount();
    RowSets sets(rows);
    QHash<QString, int> firstByKey;
    firstByKey.reserve(rows);
    for (int row = 1; row <= rows; ++row) {
        const QString key = rowSongKey(grid, row);
        if (key.isEmpty())
            continue;
        const auto found = firstByKey.constFind(key);
        if (found == firstByKey.constEnd())
            firstByKey.insert(key, row);
        else
            sets.join(*found, row);
    }
    if (search.compareContents)
        joinIdenticalFiles(grid, search, sets);

    std::vector<int> groupOf(std::size_t(rows) + 1, -1);
    std::vector<std::vector<int>> groups;
    std::vector<int> sizes(std::size_t(rows) + 1, 0);
    for (int row = 1; row <= rows; ++row)
        ++sizes[std::size_t(sets.find(row))];
    for (int row = 1; row <= rows; ++row) {
        const int root = sets.find(row);
        if (sizes[std::size_t(root)] < 2)
            continue;
        if (groupOf[std::size_t(root)] < 0) {
            groupOf[std::size_t(root)] = int(groups.size());
            groups.emplace_back();
        }
        groups[std::size_t(groupOf[std::size_t(root)])].push_back(row);
    }
    return groups;
}

std::vector<char> rowsNamingSharedSongs(const CatalogueGrid& grid) {
    const int rows = grid.dataRowCount();
    std::vector<char> shared(std::size_t(rows) + 1, 0);
    for (const std::vector<int>& group : duplicateGroups(grid, {}))
        for (const int row : group)
            shared[std::size_t(row)] = 1;
    return shared;
}

std::vector<int> groupedRowOrder(int dataRowCount, const std::vector<std::vector<int>>& groups) {
    std::vector<int> anchor(std::size_t(std::max(dataRowCount, 0)) + 1);
    std::iota(anchor.begin(), anchor.end(), 0);
    for (const std::vector<int>& group : groups) {
        const int first = *std::min_element(group.begin(), group.end());
        for (const int row : group)
            anchor[std::size_t(row)] = first;
    }
    std::vector<int> order(std::size_t(std::max(dataRowCount, 0)));
    std::iota(order.begin(), order.end(), 1);
    std::stable_sort(order.begin(), order.end(), [&anchor](int a, int b) {
        return anchor[std::size_t(a)] < anchor[std::size_t(b)];
    });
    return order;
}

DuplicatesFound arrangeDuplicateGroups(CatalogueGrid& grid,
                                       const std::vector<std::vector<int>>& groups) {
    DuplicatesFound found;
    if (groups.empty())
        return found;
    const std::vector<int> order = groupedRowOrder(grid.dataRowCount(), groups);
    std::vector<int> newRowOf(order.size() + 1);
    for (std::size_t i = 0; i < order.size(); ++i)
        newRowOf[std::size_t(order[i])] = int(i) + 1;
    arrangeRows(grid, order);
    for (const std::vector<int>& group : groups) {
        std::vector<int> rows;
        for (const int row : group)
            rows.push_back(newRowOf[std::size_t(row)]);
        std::sort(rows.begin(), rows.end());
        if (isMarked(grid, rows.front()))
            toggleMark(grid, rows.front());
        for (std::size_t i = 1; i < rows.size(); ++i) {
            if (!isMarked(grid, rows[i]))
                toggleMark(grid, rows[i]);
            ++found.duplicateRows;
        }
        ++found.groupCount;
    }
    return found;
}

QString duplicatesFoundMessage(const DuplicatesFound& found) {
    return QStringLiteral("Найдено повторов: %1 в %2 группах")
        .arg(found.duplicateRows)
        .arg(found.groupCount);
}

} // namespace songwick
