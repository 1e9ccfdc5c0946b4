#pragma once

#include "catalogue/catalogue_grid.h"

#include <QHash>
#include <QString>
#include <QStringView>
#include <vector>

namespace songwick {

// Reading performer and title out of a row's texts, for the songbook and for repeats alike.

// What a leading label says its text is.
enum class SongLabel { None, Title, Performer };

struct LabelledText {
    QString text; // without the label, trimmed
    SongLabel label = SongLabel::None;
};

// The text without a leading label that names what it is ("Title:", "Artist:", "Исполнитель:",
// "as performed by"), trimmed, and what the label said.
LabelledText withSongLabel(QStringView text);
QString withoutSongLabel(QStringView text);
// A performer's text without its label, and without a leading "by" ("by Linkin Park").
QString performerWithoutLabel(QStringView text);

// A file name as a person writes it: without its extension, "%20"-style escapes decoded, "_"
// and "+" as blanks, a trailing credit ("(c)krawczyk", "[kar by Someone]") left out, blanks
// collapsed.
QString fileNameAsWritten(const QString& fileName);

// Old 8.3 file names squash a title into at most this many letters ("DONTKNOW").
inline constexpr qsizetype kSquashedLength = 8;
// Whether a title (and its folded form) looks squashed: one word of capitals, four to eight
// letters.
bool isSquashedTitle(const QString& title, const QString& folded);
// Whether a folded squashed title is made of a leading part of each word of a folded spaced
// title in turn ("littlsis" of "little sister"), of two words at least, the last words left out
// only when the squashed title is cut off at kSquashedLength letters.
bool abbreviatesTitle(QStringView squashed, QStringView spaced);

// The text is a format marker that editors put in place of a title ("Soft Karaoke",
// "untitled", "@KMIDI KARAOKE FILE").
bool isFormatMarker(QStringView text);

// The text names no performer or title: empty, a format marker, a credit (a role such as
// "Слова:" or "Music by", a copyright, a program's mark) or a generic word ("Vocal",
// "Melody", "Piano", "Pop").
bool isCreditOrMarker(QStringView text);

// A performer or title as compared: bracketed notes and "feat." parts dropped, folded as the
// find line folds (case, "ё", punctuation), a leading "The" dropped.
QString foldedSongName(QStringView text);

struct RowSong {
    QString performer; // empty: the row names no performer
    QString title;     // empty: the row names no song
};

// Reads the songs of a table. The performer is column 4 when it names one; otherwise the title
// column (or, without a title, the file name) is split at a dash with a blank beside it, and
// the side that is a performer elsewhere in the table, or that the file name's "Artist -
// Title" puts first, is the performer; failing both, the left side.
class SongReader {
public:
    explicit SongReader(const CatalogueGrid& grid);
    RowSong song(int row) const;

private:
    const CatalogueGrid& grid_;
    QHash<QString, char> performers_;  // folded performers of column 4
    std::vector<QString> performerOf_; // by grid row: column 4 when it names a performer
};

} // namespace songwick
