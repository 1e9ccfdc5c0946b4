#include "scan/file_name_patterns.h"

#include "catalogue/song_words.h"

#include <QRegularExpression>
#include <algorithm>

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

} // namespace

QStringList defaultFileNamePatterns() {
    return {kPerformerPlaceholder + QStringLiteral(" - ") + kTitlePlaceholder, kTitlePlaceholder};
}

QString cleanedFileName(const QString& fileName) {
    return fileNameAsWritten(fileName);
}

FileNamePatterns::FileNamePatterns(const QStringList& patterns) {
    for (const QString& pattern : patterns)
        if (pattern.contains(kTitlePlaceholder) || pattern.contains(kPerformerPlaceholder))
            expressions_.push_back(patternExpression(pattern));
        else
            expressions_.emplace_back(); // names nothing: never matched
}

FileNameTexts FileNamePatterns::match(const QString& fileName) const {
    const QString name = cleanedFileName(fileName);
    if (name.isEmpty())
        return {};
    for (int i = 0; i < int(expressions_.size()); ++i) {
        if (expressions_[std::size_t(i)].pattern().isEmpty())
            continue;
        const QRegularExpressionMatch match = expressions_[std::size_t(i)].match(name);
        if (!match.hasMatch())
            continue;
        const QString title = match.captured(QStringLiteral("title")).trimmed();
        const QString performer = match.captured(QStringLiteral("performer")).trimmed();
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
