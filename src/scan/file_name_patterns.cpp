#include "scan/file_name_patterns.h"

#include "catalogue/song_words.h"

#include <QRegularExpression>
#include <algorithm>
#include <optional>
#include <utility>

namespace songwick {
namespace {

// A pattern as a regular expression, with the placeholders as named groups.
QRegularExpression patternExpression(const QString& pattern) {
    static const QRegularExpression placeholders(
        QStringLiteral("(%1|%2)").arg(kPerformerPlaceholder, kTitlePlaceholder));
    QString expression = QStringLiteral("^\\s*");
    qsizetype at = 0;
    auto literal = [&](QStringView text) {
        for (const QString& part : text.toString().split(u' ', Qt::SkipEmptyParts))
            expression += QRegularExpression::escape(part) + QStringLiteral("\\s*");
        if (text.trimmed().isEmpty() && !text.isEmpty())
            expression += QStringLiteral("\\s+");
    };
    auto matches = placeholders.globalMatch(pattern);
    while (matches.hasNext()) {
        const auto match = matches.next();
        literal(QStringView(pattern).sliced(at, match.capturedStart() - at));
        expression += match.captured() == kPerformerPlaceholder
                          ? QStringLiteral("(?<performer>.+?)")
                          : QStringLiteral("(?<title>.+?)");
        expression += QStringLiteral("\\s*");
        at = match.capturedEnd();
    }
    literal(QStringView(pattern).sliced(at));
    expression += QStringLiteral("$");
    return QRegularExpression(expression, QRegularExpression::CaseInsensitiveOption |
                                              QRegularExpression::UseUnicodePropertiesOption);
}

bool onlyDigits(const QString& text) {
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.isDigit(); });
}

// The title and the performer a pattern gives, each trimmed; none where it does not match.
using PatternTexts = std::optional<std::pair<QString, QString>>;

PatternTexts expressionTexts(const QRegularExpression& expression, const QString& name) {
    const QRegularExpressionMatch match = expression.match(name);
    if (!match.hasMatch())
        return std::nullopt;
    return std::pair{match.captured(QStringLiteral("title")).trimmed(),
                     match.captured(QStringLiteral("performer")).trimmed()};
}

// Whether the expressions' blanks (\s) are a cleaned name's blanks and its text is valid
// UTF-16: true of nearly every name, and where it is, the default patterns need no expression.
bool matchesWithoutExpression(const QString& name) {
    return std::none_of(name.begin(), name.end(),
                        [](QChar c) { return c.isSurrogate() || c == QChar(0x180E); });
}

// "Исполнитель - Название" in a cleaned name, which has one blank at most between its words and
// none at either end: the performer ends at the first "-" after the name's first character
// (and the blank before it), the title is what follows it (after a blank), and there must be one.
PatternTexts performerDashTitle(const QString& name) {
    const qsizetype dash = name.indexOf(u'-', 1);
    if (dash < 0 || dash + 1 >= name.size())
        return std::nullopt;
    const qsizetype performerEnd = name[dash - 1] == u' ' ? dash - 1 : dash;
    const qsizetype titleStart = name[dash + 1] == u' ' ? dash + 2 : dash + 1;
    return std::pair{name.sliced(titleStart).trimmed(), name.first(performerEnd).trimmed()};
}

} // namespace

QStringList defaultFileNamePatterns() {
    return {kPerformerPlaceholder + QStringLiteral(" - ") + kTitlePlaceholder, kTitlePlaceholder};
}

QString cleanedFileName(const QString& fileName) {
    return fileNameAsWritten(fileName);
}

FileNamePatterns::FileNamePatterns(const QStringList& patterns) {
    const QStringList defaults = defaultFileNamePatterns();
    for (const QString& pattern : patterns) {
        if (pattern.contains(kTitlePlaceholder) || pattern.contains(kPerformerPlaceholder))
            expressions_.push_back(patternExpression(pattern));
        else
            expressions_.emplace_back(); // names nothing: never matched
        shapes_.push_back(pattern == defaults[0]   ? Shape::PerformerDashTitle
                          : pattern == defaults[1] ? Shape::TitleOnly
                                                   : Shape::Expression);
    }
}

FileNameTexts FileNamePatterns::match(const QString& fileName) const {
    const QString name = cleanedFileName(fileName);
    if (name.isEmpty())
        return {};
    const bool withoutExpression = matchesWithoutExpression(name);
    for (int i = 0; i < int(expressions_.size()); ++i) {
        const QRegularExpression& expression = expressions_[std::size_t(i)];
        if (expression.pattern().isEmpty())
            continue;
        const Shape shape = withoutExpression ? shapes_[std::size_t(i)] : Shape::Expression;
        const PatternTexts texts = shape == Shape::PerformerDashTitle ? performerDashTitle(name)
                                   : shape == Shape::TitleOnly
                                       ? PatternTexts(std::pair{name, QString()})
                                       : expressionTexts(expression, name);
        if (!texts)
            continue;
        const auto& [title, performer] = *texts;
        if ((!title.isEmpty() && onlyDigits(title)) ||
            (!performer.isEmpty() && onlyDigits(performer)))
            continue;
        return {title, performer, i};
    }
    return {};
}

FileNameTexts matchFileName(const QString& fileName, const QStringList& patterns) {
    return FileNamePatterns(patterns).match(fileName);
}

} // namespace songwick
