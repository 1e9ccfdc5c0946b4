#include "scan/file_name_patterns.h"

#include <QRegularExpression>
#include <QUrl>
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
    QString stem = fileName;
    const qsizetype dot = stem.lastIndexOf(u'.');
    if (dot > 0)
        stem.truncate(dot);
    if (stem.contains(u'%'))
        stem = QUrl::fromPercentEncoding(stem.toUtf8());
    stem.replace(u'_', u' ').replace(u'+', u' ');
    return stem.simplified();
}

FileNameTexts matchFileName(const QString& fileName, const QStringList& patterns) {
    const QString name = cleanedFileName(fileName);
    if (name.isEmpty())
        return {};
    for (int i = 0; i < patterns.size(); ++i) {
        if (!patterns[i].contains(kTitlePlaceholder) &&
            !patterns[i].contains(kPerformerPlaceholder))
            continue;
        const QRegularExpressionMatch match = patternExpression(patterns[i]).match(name);
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

} // namespace songwick
