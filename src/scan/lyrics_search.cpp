#include "scan/lyrics_search.h"

#include "common/error.h"
#include "common/file_name_codec.h"
#include "common/file_path.h"
#include "common/system_error.h"

#include <QCoreApplication>
#include <algorithm>
#include <cerrno>
#include <sys/stat.h>
#include <unordered_map>

namespace songwick {
namespace {

// No more rows than this are named in the message; the rest are counted.
constexpr int kRowsNamed = 10;

} // namespace

QString unknownRowsMessage(const LyricsCoverage& coverage) {
    if (coverage.unknown.empty())
        return {};
    QStringList lines{
        coverage.interrupted
            ? QCoreApplication::translate("songwick::LyricsSearch",
                                          "Чтение слов песен прервано. Слова пока не известны "
                                          "для строк: %1.")
                  .arg(coverage.unknown.size())
            : QCoreApplication::translate(
                  "songwick::LyricsSearch",
                  "Слова песен пока не известны для строк: %1. Их файлы не найдены там, "
                  "где указано в таблице (перемещены или удалены), или не читаются.")
                  .arg(coverage.unknown.size())};
    for (std::size_t i = 0; i < coverage.unknown.size() && i < std::size_t(kRowsNamed); ++i)
        lines << QCoreApplication::translate("songwick::LyricsSearch", "Строка %1: %2")
                     .arg(coverage.unknown[i].row)
                     .arg(coverage.unknown[i].reason);
    if (coverage.unknown.size() > std::size_t(kRowsNamed))
        lines << QCoreApplication::translate("songwick::LyricsSearch", "И ещё строк: %1.")
                     .arg(coverage.unknown.size() - std::size_t(kRowsNamed));
    return lines.join(u'\n');
}

LyricsSearch::LyricsSearch(const QString& indexPath, StructuredReadingOptions options)
    : index_(indexPath), reader_(std::move(options)), generation_(index_.generation()) {}

bool LyricsSearch::documentsValid() {
    if (index_.generation() == generation_)
        return true;
    documents_.clear();
    unreadable_.clear();
    generation_ = index_.generation();
    return false;
}

LyricsCoverage LyricsSearch::fill(const CatalogueGrid& grid,
                                  const std::function<void(int, int)>& progress,
                                  const std::function<bool()>& stopRequested) {
    documentsValid();
    LyricsCoverage coverage;
    // An index that was built anew or replaced while filling is filled once more.
    for (int pass = 0; pass < 3; ++pass) {
        coverage = {};
        if (fillOnce(grid, progress, stopRequested, coverage))
            break;
    }
    return coverage;
}

bool LyricsSearch::mayRead(const CatalogueGrid& grid) const {
    if (index_.generation() != generation_)
        return true;
    for (int row = 1; row < grid.rowCount(); ++row) {
        const std::optional<RowFile>& file = grid.rowFile(row);
        if (!file || !isAbsoluteFolderPath(file->folder))
            continue;
        const QString path = file->path();
        if (!documents_.contains(path) && !unreadable_.contains(path))
            return true;
    }
    return false;
}

bool LyricsSearch::fillOnce(const CatalogueGrid& grid,
                            const std::function<void(int, int)>& progress,
                            const std::function<bool()>& stopRequested, LyricsCoverage& coverage) {
    struct FileToRead {
        QString path;
        QString name;
        FileIdentity identity;
    };
    std::vector<FileToRead> toRead;
    QHash<QString, QString> failures; // why a row file's words are not known, by its path
    const auto failed = [&failures](const QString& path, int error) {
        failures.insert(path, systemErrorMessage(QCoreApplication::translate(
                                                     "songwick::LyricsSearch", "прочитать файл"),
                                                 displayFileName(path), error));
    };
    for (int row = 1; row < grid.rowCount(); ++row) {
        const std::optional<RowFile>& file = grid.rowFile(row);
        if (!file || !isAbsoluteFolderPath(file->folder))
            continue;
        const QString path = file->path();
        if (documents_.contains(path) || failures.contains(path))
            continue;
        struct stat status {};
        if (::stat(encodeFileName(path).constData(), &status) != 0) {
            failed(path, errno);
            continue;
        }
        if (!S_ISREG(status.st_mode)) {
            failed(path, EINVAL);
            continue;
        }
        const FileIdentity identity = fileIdentityOfStatus(status);
        if (const auto indexed = index_.documentOf(identity)) {
            documents_.insert(path, {indexed->document, indexed->sings});
        } else {
            failures.insert(path, {}); // until it is read
            toRead.push_back({path, file->name, identity});
        }
    }
    if (!documentsValid())
        return false;
    for (std::size_t i = 0; i < toRead.size(); ++i) {
        const FileToRead& file = toRead[i];
        if (stopRequested && stopRequested()) {
            coverage.interrupted = true;
            const QString notRead = QCoreApplication::translate("songwick::LyricsSearch",
                                                                "чтение слов песен было прервано.");
            for (std::size_t rest = i; rest < toRead.size(); ++rest)
                failures.insert(toRead[rest].path, notRead);
            break;
        }
        try {
            const QStringList lines =
                reader_.read(encodeFileName(file.path), file.identity.size, file.name);
            const qint64 document = index_.add(file.identity, lines);
            if (!documentsValid())
                return false;
            if (document >= 0) {
                documents_.insert(file.path, {document, !lines.isEmpty()});
                failures.remove(file.path);
            }
        } catch (const Error& error) {
            failures.insert(file.path, error.message());
        }
        ++coverage.filesRead;
        if (progress)
            progress(int(i) + 1, int(toRead.size()));
    }
    index_.commit();
    if (!documentsValid())
        return false;
    unreadable_ = QSet<QString>(failures.keyBegin(), failures.keyEnd());
    coverage.rows = grid.dataRowCount();
    for (int row = 1; row < grid.rowCount(); ++row) {
        if (const std::optional<RowDocument> document = documentOfRow(grid, row)) {
            ++(document->sings ? coverage.withWords : coverage.withoutWords);
            continue;
        }
        const std::optional<RowFile>& file = grid.rowFile(row);
        QString reason;
        if (!file || !isAbsoluteFolderPath(file->folder))
            reason = QCoreApplication::translate(
                         "songwick::LyricsSearch",
                         "неизвестно, какой файл на диске представляет строка \"%1\".")
                         .arg(displayFileName(grid.cell(FileNameField + 1, row)));
        else
            reason = failures.value(file->path());
        if (reason.isEmpty()) // the index could not keep it
            reason = systemErrorMessage(
                QCoreApplication::translate("songwick::LyricsSearch", "прочитать файл"),
                displayFileName(file->path()), EIO);
        coverage.unknown.push_back({row, reason});
    }
    return true;
}

std::optional<LyricsSearch::RowDocument> LyricsSearch::documentOfRow(const CatalogueGrid& grid,
                                                                     int row) const {
    const std::optional<RowFile>& file = grid.rowFile(row);
    if (!file)
        return std::nullopt;
    const auto found = documents_.constFind(file->path());
    if (found == documents_.constEnd())
        return std::nullopt;
    return *found;
}

std::vector<int> LyricsSearch::rankedRows(const CatalogueGrid& grid, const LyricsQuery& query) {
    if (query.isEmpty() || !documentsValid())
        return {};
    const LyricsIndex::Hits found = index_.search(query.indexExpression());
    const std::vector<LyricsIndex::Hit>& hits = found.hits;
    if (!documentsValid() || hits.empty())
        return {};
    std::unordered_map<qint64, double> rankOf;
    rankOf.reserve(hits.size());
    for (const LyricsIndex::Hit& hit : hits)
        rankOf.emplace(hit.document, hit.rank);
    std::vector<std::pair<double, int>> ranked;
    for (int row = 1; row < grid.rowCount(); ++row) {
        const std::optional<RowDocument> document = documentOfRow(grid, row);
        if (!document || !document->sings)
            continue;
        if (const auto rank = rankOf.find(document->document); rank != rankOf.end())
            ranked.emplace_back(rank->second, row);
    }
    if (found.ranked)
        std::stable_sort(ranked.begin(), ranked.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<int> rows;
    rows.reserve(ranked.size());
    for (const auto& entry : ranked)
        rows.push_back(entry.second);
    return rows;
}

QStringList LyricsSearch::lines(const CatalogueGrid& grid, int row) {
    if (!documentsValid())
        return {};
    const std::optional<RowDocument> document = documentOfRow(grid, row);
    if (!document || !document->sings)
        return {};
    return index_.lines(document->document);
}

std::optional<MatchedLine> LyricsSearch::matchingLine(const CatalogueGrid& grid, int row,
                                                      const LyricsQuery& query) {
    if (query.isEmpty())
        return std::nullopt;
    return bestMatchingLine(lines(grid, row), query);
}

} // namespace songwick
