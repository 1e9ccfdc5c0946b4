#pragma once

#include "catalogue/catalogue_grid.h"
#include "scan/lyrics_index.h"
#include "scan/lyrics_indexer.h"
#include "scan/lyrics_query.h"
#include "scan/reading_options.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

namespace songwick {

// What the lyrics index knows of the rows of a table.
struct LyricsCoverage {
    int rows = 0;             // data rows
    int withWords = 0;        // rows whose file sings words
    int withoutWords = 0;     // rows whose file was read and sings none
    int filesRead = 0;        // files read by this fill
    bool interrupted = false; // the fill was stopped before it read every file
    struct UnknownRow {
        int row = 0;
        QString reason; // which file, and why its words are not known
    };
    // Rows whose words are not known yet: they stand for no file, or their file is not where
    // the row says (moved, removed) or cannot be read.
    std::vector<UnknownRow> unknown;
};

// The message that names the rows whose words are not known yet; empty when there are none.
QString unknownRowsMessage(const LyricsCoverage& coverage);

// Finding the rows of a table by the words their songs sing, through the lyrics index.
class LyricsSearch {
public:
    // indexPath: where the index is kept (empty: in memory for this run only).
    LyricsSearch(const QString& indexPath, StructuredReadingOptions options);

    // Reads the words of the rows' files that the index does not hold yet (a file whose
    // version it holds is never read again), and tells progress(done, total) after each file
    // read. Rows whose file was found before are taken as they were, until forgetFiles().
    // Before each file it asks stopRequested: once that says yes, what was read is kept and
    // the rows not read yet are among the unknown ones.
    LyricsCoverage fill(const CatalogueGrid& grid,
                        const std::function<void(int done, int total)>& progress = {},
                        const std::function<bool()>& stopRequested = {});
    // Whether a fill may have files to read: some row's file was not looked at yet.
    bool mayRead(const CatalogueGrid& grid) const;
    // The next fill looks at the file of every row again.
    void forgetFiles() {
        documents_.clear();
        unreadable_.clear();
    }

    // The rows of the grid whose songs sing the query, best first (rank, then table order; in
    // table order when the query finds more than LyricsIndex::kMostRankedHits songs). Rows
    // whose files were not filled in are not among them.
    std::vector<int> rankedRows(const CatalogueGrid& grid, const LyricsQuery& query);
    // The line of the row's song that holds the query best.
    std::optional<MatchedLine> matchingLine(const CatalogueGrid& grid, int row,
                                            const LyricsQuery& query);
    // The sung lines of the row's file, when they are known.
    QStringList lines(const CatalogueGrid& grid, int row);

    // Why the stored index was built anew or replaced by one in memory; empty while all is well.
    const QString& problem() const { return index_.problem(); }
    LyricsIndex& index() { return index_; }

private:
    struct RowDocument {
        qint64 document = 0;
        bool sings = false;
    };
    // One pass of fill(); false when the index changed under it (then documents_ is cleared).
    bool fillOnce(const CatalogueGrid& grid, const std::function<void(int, int)>& progress,
                  const std::function<bool()>& stopRequested, LyricsCoverage& coverage);
    std::optional<RowDocument> documentOfRow(const CatalogueGrid& grid, int row) const;
    bool documentsValid();

    LyricsIndex index_;
    SungWordsReader reader_;
    // The document of each row file found so far, by path, for the index's generation.
    QHash<QString, RowDocument> documents_;
    // The row files the last fill could not read or did not come to.
    QSet<QString> unreadable_;
    int generation_ = 0;
};

} // namespace songwick
