#pragma once

#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <vector>

namespace songwick {

// File-name patterns name the song when the file itself does not. A pattern is literal text
// with the placeholders "Исполнитель" (the performer) and "Название" (the title), matched
// against the whole file name without its extension.
inline const QString kPerformerPlaceholder = QStringLiteral("Исполнитель");
inline const QString kTitlePlaceholder = QStringLiteral("Название");

// "Исполнитель - Название", then "Название".
QStringList defaultFileNamePatterns();

struct FileNameTexts {
    QString title;
    QString performer;
    int pattern = -1; // index of the pattern that matched; -1 when none did
};

// The file name cleaned for matching, as a person writes it (fileNameAsWritten): without its
// extension and a trailing credit, "%27"-style escapes decoded, "_" and "+" read as blanks.
QString cleanedFileName(const QString& fileName);

// The first pattern that matches the cleaned file name gives the texts. A placeholder takes
// at least one character and never digits alone (a track number is not a performer);
// blanks around the pattern's literal parts are optional.
FileNameTexts matchFileName(const QString& fileName, const QStringList& patterns);

// The patterns made ready once, for matching many file names as matchFileName does.
class FileNamePatterns {
public:
    explicit FileNamePatterns(const QStringList& patterns);
    FileNameTexts match(const QString& fileName) const;

private:
    // The default patterns are matched without their expressions, with the same result.
    enum class Shape { Expression, PerformerDashTitle, TitleOnly };

    std::vector<QRegularExpression> expressions_; // by pattern; empty for one that names nothing
    std::vector<Shape> shapes_;                   // by pattern
};

} // namespace songwick
