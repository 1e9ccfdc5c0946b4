#pragma once

#include <QString>
#include <QStringList>

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

// The file name cleaned for matching: without its extension, "%27"-style escapes decoded,
// "_" and "+" read as blanks, blanks collapsed and trimmed.
QString cleanedFileName(const QString& fileName);

// The first pattern that matches the cleaned file name gives the texts. A placeholder takes
// at least one character and never digits alone (a track number is not a performer);
// blanks around the pattern's literal parts are optional.
FileNameTexts matchFileName(const QString& fileName, const QStringList& patterns);

} // namespace songwick
