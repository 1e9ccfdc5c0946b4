#pragma once

#include "catalogue/catalogue_grid.h"

#include <QString>
#include <QStringView>
#include <functional>
#include <vector>

namespace songwick {

// Finding rows of the catalogue table as the user types.

// A text as the find line compares it: lower case, "ё" as "е", punctuation dropped (so
// "AC/DC" reads "acdc"), "&" kept as a word of its own, runs of blanks as one blank.
QString foldedForFind(QStringView text);

// The typed words. A row matches when every word occurs in one of its six text columns;
// the words "&", "and" and "и" also match each other as whole words.
class FindQuery {
public:
    explicit FindQuery(QStringView typed);

    bool isEmpty() const { return words_.empty(); }
    // rowText: the row's columns folded and joined with line feeds (foldedRowText).
    bool matches(QStringView rowText) const;
    // Every row this query matches also matches `wider` (so a search can start from the rows
    // the wider query found).
    bool narrows(const FindQuery& wider) const;

private:
    struct Word {
        QString text;
        bool conjunction = false; // "&", "and" or "и"
    };
    std::vector<Word> words_;
};

// Columns 1 to 6 of a data row, each folded, joined with line feeds.
QString foldedRowText(const CatalogueGrid& grid, int row);

// The title column holds no title: it is empty or a format marker that editors put in place
// of one ("Soft Karaoke", "untitled", "@KMIDI KARAOKE FILE").
bool isUntitled(QStringView title);

// What the find bar asks for.
struct FindFilters {
    QString text;
    bool markedOnly = false;     // "только отмеченные"
    bool untitledOnly = false;   // "без названия"
    bool duplicatesOnly = false; // "повторы": rows whose song another row names as well
    // Rows found by another search (the sung words), in the order they are shown, asked again
    // whenever the table changes; the text is then not looked for in the cells.
    std::function<std::vector<int>(const CatalogueGrid&)> chosenRows;
    bool isActive() const;
};

// "Показано N из M": the status line while a filter is on.
QString shownRowsStatusText(int shown, int total);

// Finds the rows the find bar shows, keeping the folded texts of the rows between searches.
// The owner tells it about changed rows; a search after a change folds only what changed.
class RowFinder {
public:
    // Grid rows (1 to N) that pass every filter, in table order.
    std::vector<int> shownRows(const CatalogueGrid& grid, const FindFilters& filters);
    // The grid changed in shape or in many cells.
    void forgetAll();
    // One row's cells changed.
    void forgetRow(int row);

private:
    void bringUpToDate(const CatalogueGrid& grid);

    std::vector<QString> rowTexts_; // by grid row; element 0 unused
    std::vector<char> stale_;
    bool allStale_ = true;
    std::vector<char> duplicate_; // by grid row, valid while duplicatesValid_
    bool duplicatesValid_ = false;
    // The last text search, to narrow the next one while the user types on.
    QString lastText_;
    std::vector<int> lastTextRows_;
    bool lastTextValid_ = false;
};

} // namespace songwick
