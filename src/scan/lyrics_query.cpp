#include "scan/lyrics_query.h"

#include <algorithm>

namespace songwick {
namespace {

bool isWordCharacter(QChar c) {
    return c.isLetterOrNumber() || c.isMark();
}

struct Token {
    qsizetype start = 0;
    qsizetype length = 0;
};

// The words of a text: runs of letters, numbers and the marks on them.
std::vector<Token> tokensOf(QStringView text) {
    std::vector<Token> tokens;
    qsizetype start = -1;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        const bool inWord = i < text.size() && isWordCharacter(text[i]);
        if (inWord && start < 0)
            start = i;
        else if (!inWord && start >= 0) {
            tokens.push_back({start, i - start});
            start = -1;
        }
    }
    return tokens;
}

// A word as two words are compared: lower case, "ё" as "е", Latin letters without their
// diacritics (Cyrillic keeps them: "й" is not "и").
QString comparedWord(QStringView word) {
    QString out;
    out.reserve(word.size());
    for (const QChar c : word) {
        const QChar lower = c.toLower();
        if (lower == u'ё') {
            out += u'е';
        } else if (lower.unicode() < 0x80 ||
                   (lower.unicode() >= 0x400 && lower.unicode() < 0x530)) {
            out += lower;
        } else if (!lower.isMark()) {
            const QString decomposed = QString(lower).normalized(QString::NormalizationForm_D);
            for (const QChar part : decomposed)
                if (!part.isMark())
                    out += part;
        }
    }
    return out;
}

bool wordMatches(const QString& lineWord, const QString& queryWord, bool prefix) {
    return prefix ? lineWord.startsWith(queryWord) : lineWord == queryWord;
}

} // namespace

QString foldedForLyricsIndex(QString text) {
    for (QChar& c : text) {
        if (c == u'ё')
            c = u'е';
        else if (c == u'Ё')
            c = u'Е';
    }
    return text;
}

LyricsQuery::LyricsQuery(QStringView typed, bool lastWordIsPrefix) {
    const QString folded = foldedForLyricsIndex(typed.toString());
    const auto addPhrase = [this](QStringView text) {
        Phrase phrase;
        for (const Token& token : tokensOf(text))
            phrase.words << text.sliced(token.start, token.length).toString();
        if (!phrase.words.isEmpty())
            phrases_.push_back(std::move(phrase));
    };
    bool quoted = false;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= folded.size(); ++i) {
        const bool end = i == folded.size();
        if (!end && folded[i] != u'"')
            continue;
        const QStringView part = QStringView(folded).sliced(start, i - start);
        if (quoted) {
            addPhrase(part);
        } else {
            for (const Token& token : tokensOf(part))
                addPhrase(part.sliced(token.start, token.length));
        }
        quoted = !quoted;
        start = i + 1;
    }
    if (lastWordIsPrefix && !phrases_.empty() && !folded.isEmpty() &&
        isWordCharacter(folded.back()))
        phrases_.back().prefix = true;
}

QString LyricsQuery::indexExpression() const {
    QStringList parts;
    for (const Phrase& phrase : phrases_)
        parts << QStringLiteral("\"%1\"%2")
                     .arg(phrase.words.join(u' '), phrase.prefix ? QStringLiteral("*") : QString());
    return parts.join(u' ');
}

std::optional<MatchedLine> bestMatchingLine(const QStringList& lines, const LyricsQuery& query) {
    struct ComparedPhrase {
        QStringList words;
        bool prefix = false;
    };
    std::vector<ComparedPhrase> phrases;
    for (const LyricsQuery::Phrase& phrase : query.phrases()) {
        ComparedPhrase compared{{}, phrase.prefix};
        for (const QString& word : phrase.words)
            compared.words << comparedWord(word);
        phrases.push_back(std::move(compared));
    }
    std::optional<MatchedLine> best;
    int bestScore = 0;
    for (int lineIndex = 0; lineIndex < lines.size(); ++lineIndex) {
        const QString& line = lines[lineIndex];
        const std::vector<Token> tokens = tokensOf(line);
        QStringList words;
        for (const Token& token : tokens)
            words << comparedWord(QStringView(line).sliced(token.start, token.length));
        std::vector<char> found(tokens.size(), 0);
        int phrasesFound = 0;
        int wordsFound = 0;
        for (const ComparedPhrase& phrase : phrases) {
            const qsizetype length = phrase.words.size();
            bool phraseFound = false;
            for (qsizetype at = 0; at + length <= words.size(); ++at) {
                bool all = true;
                for (qsizetype k = 0; k < length && all; ++k)
                    all = wordMatches(words[at + k], phrase.words[k],
                                      phrase.prefix && k + 1 == length);
                if (!all)
                    continue;
                phraseFound = true;
                std::fill(found.begin() + at, found.begin() + at + length, 1);
            }
            if (phraseFound) {
                ++phrasesFound;
                continue;
            }
            // A phrase broken over lines: its words show where they stand.
            for (qsizetype k = 0; k < length; ++k)
                for (qsizetype at = 0; at < words.size(); ++at)
                    if (wordMatches(words[at], phrase.words[k], phrase.prefix && k + 1 == length))
                        found[std::size_t(at)] = 1;
        }
        wordsFound = int(std::count(found.begin(), found.end(), 1));
        const int score = phrasesFound * 1000 + wordsFound;
        if (score <= bestScore)
            continue;
        bestScore = score;
        MatchedLine matched{lineIndex, line, {}};
        for (std::size_t i = 0; i < tokens.size(); ++i)
            if (found[i])
                matched.found.emplace_back(tokens[i].start, tokens[i].length);
        best = std::move(matched);
    }
    return best;
}

} // namespace songwick
