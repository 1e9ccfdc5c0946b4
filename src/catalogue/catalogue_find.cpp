#include "catalogue/catalogue_find.h"

#include "catalogue/catalogue_duplicates.h"
#include "catalogue/catalogue_record.h"
#include "catalogue/catalogue_table.h"
#include "catalogue/song_words.h"

#include <QCoreApplication>
#include <QList>
#include <array>

namespace songwick {
namespace {

constexpr int kFirstTextColumn = 1;
constexpr int kTextColumnEnd = kFirstTextColumn + kRecordFieldCount;
constexpr int kTitleColumn = 1 + PerformerTitleField;

const std::array<QStringView, 3> kConjunctions = {u"&", u"and", u"и"};

bool isConjunction(QStringView word) {
    for (const QStringView conjunction : kConjunctions)
        if (word == conjunction)
            return true;
    return false;
}

bool isWordBoundary(QStringView text, qsizetype at) {
    return at < 0 || at >= text.size() || text[at] == u' ' || text[at] == u'\n';
}

// The word stands in the text on its own, not as part of a longer word.
bool containsWholeWord(QStringView text, QStringView word) {
    for (qsizetype at = text.indexOf(word); at >= 0; at = text.indexOf(word, at + 1))
        if (isWordBoundary(text, at - 1) && isWordBoundary(text, at + word.size()))
            return true;
    return false;
}

} // namespace

namespace {

// How the find line folds one UTF-16 unit: a letter or number becomes its lower case ("ё" as
// "е"), a blank parts words, "&" is a word of its own, anything else is dropped.
enum class FoldKind : char { Drop, Blank, Ampersand, Keep };

struct FoldedUnit {
    FoldKind kind = FoldKind::Drop;
    char16_t folded = 0;
};

FoldedUnit foldUnit(QChar c) {
    if (c.isLetterOrNumber()) {
        const QChar lower = c.toLower();
        return {FoldKind::Keep, lower == u'ё' ? u'е' : lower.unicode()};
    }
    if (c == u'&')
        return {FoldKind::Ampersand, u'&'};
    if (c.isSpace())
        return {FoldKind::Blank, u' '};
    return {};
}

// Latin and Cyrillic, which nearly every text is made of, are looked up in a table made once
// from foldUnit; the rest asks foldUnit each time.
constexpr char16_t kFoldTableEnd = 0x0530;

const std::array<FoldedUnit, kFoldTableEnd>& foldTable() {
    static const std::array<FoldedUnit, kFoldTableEnd> table = [] {
        std::array<FoldedUnit, kFoldTableEnd> units{};
        for (char16_t c = 0; c < kFoldTableEnd; ++c)
            units[c] = foldUnit(QChar(c));
        return units;
    }();
    return table;
}

// Appends the folded text to out; words are parted by one blank, none at either end. Written
// in place: the folded text is no longer than the text but for a blank on either side of each
// "&" (any other blank stands for one that was there).
void appendFolded(QString& out, QStringView text) {
    const auto& table = foldTable();
    const qsizetype start = out.size();
    out.resize(start + text.size() + 2 * text.count(u'&'));
    QChar* const first = out.data() + start;
    QChar* at = first;
    bool blankPending = false;
    for (const QChar c : text) {
        const FoldedUnit unit = c.unicode() < kFoldTableEnd ? table[c.unicode()] : foldUnit(c);
        switch (unit.kind) {
        case FoldKind::Keep:
            if (blankPending && at != first)
                *at++ = u' ';
            blankPending = false;
            *at++ = QChar(unit.folded);
            break;
        case FoldKind::Ampersand:
            if (at != first)
                *at++ = u' ';
            *at++ = u'&';
            blankPending = true;
            break;
        case FoldKind::Blank:
            blankPending = true;
            break;
        case FoldKind::Drop:
            break; // punctuation joins what stands on either side
        }
    }
    out.truncate(start + (at - first));
}

} // namespace

QString foldedForFind(QStringView text) {
    QString out;
    appendFolded(out, text);
    return out;
}

FindQuery::FindQuery(QStringView typed) {
    const QString folded = foldedForFind(typed);
    for (const QStringView word : QStringView(folded).split(u' ', Qt::SkipEmptyParts))
        words_.push_back({word.toString(), isConjunction(word)});
}

bool FindQuery::matches(QStringView rowText) const {
    for (const Word& word : words_) {
        if (rowText.contains(word.text))
            continue;
        if (!word.conjunction)
            return false;
        bool found = false;
        for (const QStringView conjunction : kConjunctions)
            found = found || containsWholeWord(rowText, conjunction);
        if (!found)
            return false;
    }
    return true;
}

bool FindQuery::narrows(const FindQuery& wider) const {
    // Each word of the wider query must be found in every row this one matches: it is
    // part of one of this query's plain words.
    for (const Word& widerWord : wider.words_) {
        bool covered = false;
        for (const Word& word : words_)
            covered = covered || (!word.conjunction && word.text.contains(widerWord.text));
        if (!covered)
            return false;
    }
    return true;
}

QString foldedRowText(const CatalogueGrid& grid, int row) {
    const int end = std::min(kTextColumnEnd, grid.columnCount());
    qsizetype length = 0;
    for (int column = kFirstTextColumn; column < end; ++column)
        length += grid.cell(column, row).size() + 1;
    QString text;
    text.reserve(length);
    for (int column = kFirstTextColumn; column < end; ++column) {
        if (column > kFirstTextColumn)
            text += u'\n';
        appendFolded(text, grid.cell(column, row));
    }
    return text;
}

bool isUntitled(QStringView title) {
    return title.trimmed().isEmpty() || isFormatMarker(title);
}

bool FindFilters::isActive() const {
    return markedOnly || untitledOnly || duplicatesOnly || chosenRows || !FindQuery(text).isEmpty();
}

QString shownRowsStatusText(int shown, int total) {
    return QCoreApplication::translate("songwick::Catalogue", "Показано %1 из %2")
        .arg(shown)
        .arg(total);
}

void RowFinder::forgetAll() {
    allStale_ = true;
    duplicatesValid_ = false;
    lastTextValid_ = false;
}

void RowFinder::forgetRow(int row) {
    if (row >= 0 && std::size_t(row) < stale_.size())
        stale_[std::size_t(row)] = 1;
    duplicatesValid_ = false;
    lastTextValid_ = false;
}

void RowFinder::bringUpToDate(const CatalogueGrid& grid) {
    const std::size_t rows = std::size_t(grid.rowCount());
    if (allStale_ || rowTexts_.size() != rows) {
        rowTexts_.assign(rows, QString());
        stale_.assign(rows, 1);
        allStale_ = false;
    }
    for (std::size_t row = 1; row < rows; ++row) {
        if (!stale_[row])
            continue;
        rowTexts_[row] = foldedRowText(grid, int(row));
        stale_[row] = 0;
    }
}

std::vector<int> RowFinder::shownRows(const CatalogueGrid& grid, const FindFilters& filters) {
    bringUpToDate(grid);
    const FindQuery query(filters.text);
    std::vector<int> candidates;
    if (filters.chosenRows) {
        for (const int row : filters.chosenRows(grid))
            if (row >= 1 && row < grid.rowCount())
                candidates.push_back(row);
        lastTextValid_ = false;
    } else if (lastTextValid_ && query.narrows(FindQuery(lastText_))) {
        candidates = lastTextRows_;
    } else {
        candidates.resize(std::size_t(grid.dataRowCount()));
        for (std::size_t i = 0; i < candidates.size(); ++i)
            candidates[i] = int(i) + 1;
    }
    std::vector<int> textRows;
    if (query.isEmpty() || filters.chosenRows) {
        textRows = std::move(candidates);
    } else {
        for (const int row : candidates)
            if (query.matches(rowTexts_[std::size_t(row)]))
                textRows.push_back(row);
    }
    if (!filters.chosenRows) {
        lastText_ = filters.text;
        lastTextRows_ = textRows;
        lastTextValid_ = true;
    }

    if (filters.duplicatesOnly && !duplicatesValid_) {
        duplicate_ = rowsNamingSharedSongs(grid);
        duplicatesValid_ = true;
    }
    std::vector<int> shown;
    shown.reserve(textRows.size());
    for (const int row : textRows) {
        if (filters.markedOnly && !isMarked(grid, row))
            continue;
        if (filters.untitledOnly &&
            !(kTitleColumn >= grid.columnCount() || isUntitled(grid.cell(kTitleColumn, row))))
            continue;
        if (filters.duplicatesOnly && !duplicate_[std::size_t(row)])
            continue;
        shown.push_back(row);
    }
    return shown;
}

} // namespace songwick
