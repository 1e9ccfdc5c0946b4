#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>
#include <optional>
#include <utility>
#include <vector>

namespace songwick {

// A text as the lyrics index keeps and looks for it: "ё" as "е", "Ё" as "Е" (the index's own
// folding of case and diacritics leaves them apart).
QString foldedForLyricsIndex(QString text);

// What the user typed to find a song by its words: words in any order, a phrase in quotes.
class LyricsQuery {
public:
    // With lastWordIsPrefix, a last word that the typed text ends in (the user is still typing
    // it) also finds the words that begin with it.
    LyricsQuery(QStringView typed, bool lastWordIsPrefix);

    struct Phrase {
        QStringList words; // as typed, "ё" folded
        bool prefix = false;
    };
    const std::vector<Phrase>& phrases() const { return phrases_; }
    bool isEmpty() const { return phrases_.empty(); }

    // The query as the index's full-text search reads it: each word or phrase quoted, a prefix
    // marked with "*".
    QString indexExpression() const;

private:
    std::vector<Phrase> phrases_;
};

// One line of a song with the places of the words a query found in it.
struct MatchedLine {
    int line = 0; // its index among the song's lines
    QString text;
    std::vector<std::pair<qsizetype, qsizetype>> found; // start and length, in order
};

// The line of the song that holds the most of the query's phrases (then the most of its
// words); none when no line holds any. Words are compared as the index compares them: case,
// "ё" and the diacritics of Latin letters do not count.
std::optional<MatchedLine> bestMatchingLine(const QStringList& lines, const LyricsQuery& query);

} // namespace songwick
