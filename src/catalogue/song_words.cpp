#include "catalogue/song_words.h"

#include "catalogue/catalogue_duplicates.h"
#include "catalogue/catalogue_find.h"
#include "catalogue/catalogue_record.h"

#include <QRegularExpression>
#include <QSet>
#include <QUrl>
#include <algorithm>
#include <array>
#include <optional>

namespace songwick {
namespace {

constexpr int kFileNameColumn = 1 + FileNameField;
constexpr int kTitleColumn = 1 + PerformerTitleField;
constexpr int kPerformerColumn = 1 + FurtherText1Field;

// The word lists. Compared without case.

// Texts editors put in place of a title.
const std::array<QStringView, 6> kFormatMarkers = {u"Soft Karaoke",  u"Soft Kara",
                                                   u"untitled",      u"@KMIDI KARAOKE FILE",
                                                   u"Untitled Song", u"Без названия"};

// Labels before a performer or a title; the longer of two that start alike comes first.
struct Label {
    QStringView text;
    SongLabel names;
};
const std::array<Label, 18> kLabels = {{{u"song title:", SongLabel::Title},
                                        {u"title:", SongLabel::Title},
                                        {u"song:", SongLabel::Title},
                                        {u"name:", SongLabel::Title},
                                        {u"artist:", SongLabel::Performer},
                                        {u"performer:", SongLabel::Performer},
                                        {u"singer:", SongLabel::Performer},
                                        {u"исполнитель:", SongLabel::Performer},
                                        {u"название:", SongLabel::Title},
                                        {u"песня:", SongLabel::Title},
                                        {u"группа:", SongLabel::Performer},
                                        {u"певец:", SongLabel::Performer},
                                        {u"as performed by", SongLabel::Performer},
                                        {u"performed by", SongLabel::Performer},
                                        {u"sung by", SongLabel::Performer},
                                        {u"в исполнении", SongLabel::Performer},
                                        {u"исп.", SongLabel::Performer},
                                        {u"исп:", SongLabel::Performer}}};

// Before a performer only: "By the Way" is a title.
constexpr QStringView kPerformerBy = u"by";

// Roles: a credit when a colon, a dash or "by" follows ("Слова: ...", "Music by ...").
const std::array<QStringView, 24> kRoles = {
    u"words",    u"lyrics",      u"music",     u"composer",  u"composed",  u"written",
    u"arranged", u"arrangement", u"sequenced", u"sequence",  u"sequencer", u"transcribed",
    u"created",  u"midi",        u"karaoke",   u"слова",     u"музыка",    u"муз.",
    u"сл.",      u"аранжировка", u"автор",     u"обработка", u"набор",     u"стихи"};

// Openings that make a credit whatever follows: copyrights, programs' marks, addresses.
const std::array<QStringView, 9> kCreditOpenings = {
    u"(c)", u"©", u"copyright", u"karmaker", u"www.", u"http", u"made by", u"сделано", u"e-mail"};

// Words that occur anywhere in a credit, folded.
const std::array<QStringView, 2> kCreditWords = {u"unregistered", u"registered to"};

// Texts that are a track's role, an instrument or a genre, never a performer or a title.
const std::array<QStringView, 40> kGenericWords = {
    u"vocal", u"vocals",  u"voice", u"melody",     u"lyrics",  u"words", u"karaoke", u"midi",
    u"music", u"song",    u"title", u"artist",     u"unknown", u"solo",  u"lead",    u"intro",
    u"piano", u"guitar",  u"bass",  u"drums",      u"strings", u"organ", u"sax",     u"flute",
    u"pop",   u"rock",    u"jazz",  u"disco",      u"dance",   u"голос", u"вокал",   u"мелодия",
    u"слова", u"караоке", u"текст", u"фортепиано", u"гитара",  u"бас",   u"эстрада", u"шансон"};

// The lists hold lower case: a first letter that differs rules an opening out at once.
bool startsWithWord(QStringView text, QStringView opening) {
    if (text.isEmpty() || text.front().toLower() != opening.front() ||
        !text.startsWith(opening, Qt::CaseInsensitive))
        return false;
    const bool endsInLetter = opening.back().isLetterOrNumber();
    return !endsInLetter || text.size() == opening.size() ||
           !text[opening.size()].isLetterOrNumber();
}

// Whether a word of a folded text starts with `start`; cheaper than a search for the rare
// texts it looks for.
bool containsWordStartingWith(QStringView folded, QStringView start) {
    for (qsizetype at = folded.indexOf(start.front()); at >= 0;
         at = folded.indexOf(start.front(), at + 1))
        if ((at == 0 || folded[at - 1] == u' ') && folded.mid(at).startsWith(start))
            return true;
    return false;
}

QString withoutBracketedNotes(QStringView text) {
    QString out;
    out.reserve(text.size());
    int depth = 0;
    for (const QChar c : text) {
        if (c == u'(' || c == u'[' || c == u'{') {
            ++depth;
            out += u' ';
        } else if (c == u')' || c == u']' || c == u'}') {
            depth = std::max(depth - 1, 0);
        } else if (depth == 0) {
            out += c;
        }
    }
    return out;
}

QString withoutFeaturing(QString part) {
    static const QRegularExpression featuring(
        QStringLiteral("(^|[\\s,;&])(feat\\.|ft\\.|(feat|ft|featuring)(\\s|$)).*$"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::UseUnicodePropertiesOption);
    return part.remove(featuring);
}

// A file name's extension is this long at most; a longer "extension" is part of its words.
constexpr qsizetype kLongestExtension = 4;

bool abbreviates(QStringView squashed, const QStringList& words, bool cutOff, qsizetype word) {
    if (squashed.isEmpty())
        return word >= 2 && (word == words.size() || cutOff);
    if (word == words.size())
        return false;
    const QStringView current = words[word];
    for (qsizetype length = std::min(current.size(), squashed.size()); length > 0; --length)
        if (squashed.left(length) == current.left(length) &&
            abbreviates(squashed.mid(length), words, cutOff, word + 1))
            return true;
    return false;
}

// Where a credit at the end of a file name starts: "(c)krawczyk", "© Someone", "(kar by
// Someone)", "[Karaoke]"; -1 for none.
qsizetype trailingCreditStart(const QString& name) {
    for (qsizetype at = 1; at < name.size(); ++at) {
        const QChar c = name[at];
        if (c == u'©')
            return at;
        if (c != u'(' && c != u'[')
            continue;
        const QStringView rest = QStringView(name).mid(at + 1);
        if (c == u'(' && rest.startsWith(u"c)", Qt::CaseInsensitive))
            return at;
        const qsizetype close = rest.indexOf(c == u'(' ? u')' : u']');
        if (close == rest.size() - 1 && isCreditOrMarker(rest.left(close)))
            return at;
    }
    return -1;
}

struct Sides {
    QString left;
    QString right;
};

// The two sides of a "performer - title" text; none when no dash parts it.
std::optional<Sides> dashSides(const QString& text) {
    const qsizetype dash = performerTitleDash(text);
    if (dash < 0)
        return std::nullopt;
    return Sides{withoutSongLabel(QStringView(text).left(dash)),
                 withoutSongLabel(QStringView(text).mid(dash + 1))};
}

} // namespace

LabelledText withSongLabel(QStringView text) {
    const QStringView rest = text.trimmed();
    for (const Label& label : kLabels)
        if (startsWithWord(rest, label.text) && rest.size() > label.text.size())
            return {rest.mid(label.text.size()).trimmed().toString(), label.names};
    return {rest.toString(), SongLabel::None};
}

QString withoutSongLabel(QStringView text) {
    return withSongLabel(text).text;
}

QString performerWithoutLabel(QStringView text) {
    QString performer = withoutSongLabel(text);
    if (startsWithWord(performer, kPerformerBy) && performer.size() > kPerformerBy.size())
        performer = performer.mid(kPerformerBy.size()).trimmed();
    return performer;
}

QString fileNameAsWritten(const QString& fileName) {
    QString name = fileName;
    const qsizetype dot = name.lastIndexOf(u'.');
    if (dot > 0 && name.size() - dot <= kLongestExtension + 1 &&
        std::none_of(name.begin() + dot, name.end(), [](QChar c) { return c.isSpace(); }))
        name.truncate(dot);
    if (name.contains(u'%'))
        name = QUrl::fromPercentEncoding(name.toUtf8());
    name.replace(u'_', u' ').replace(u'+', u' ');
    name = name.simplified();
    if (const qsizetype credit = trailingCreditStart(name); credit > 0)
        name.truncate(credit);
    name = name.trimmed();
    while (name.endsWith(u'-') || name.endsWith(u','))
        name = name.chopped(1).trimmed();
    return name;
}

bool isSquashedTitle(const QString& title, const QString& folded) {
    if (folded.size() < 4 || folded.size() > kSquashedLength || folded.contains(u' '))
        return false;
    return title.trimmed().size() == folded.size() && title == title.toUpper();
}

bool abbreviatesTitle(QStringView squashed, QStringView spaced) {
    return abbreviates(squashed, spaced.toString().split(u' ', Qt::SkipEmptyParts),
                       squashed.size() == kSquashedLength, 0);
}

bool isFormatMarker(QStringView text) {
    const QStringView trimmed = text.trimmed();
    for (const QStringView marker : kFormatMarkers)
        if (trimmed.compare(marker, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

bool isCreditOrMarker(QStringView text) {
    const QStringView trimmed = text.trimmed();
    if (trimmed.isEmpty() || isFormatMarker(trimmed))
        return true;
    for (const QStringView opening : kCreditOpenings)
        if (startsWithWord(trimmed, opening))
            return true;
    for (const QStringView role : kRoles)
        if (startsWithWord(trimmed, role)) {
            const QStringView rest = trimmed.mid(role.size()).trimmed();
            if (rest.startsWith(u':') || rest.startsWith(u'-') || startsWithWord(rest, u"by"))
                return true;
        }
    static const QSet<QString> genericWords = [] {
        QSet<QString> words;
        for (const QStringView word : kGenericWords)
            words.insert(word.toString());
        return words;
    }();
    const QString folded = foldedForFind(trimmed);
    for (const QStringView word : kCreditWords)
        if (containsWordStartingWith(folded, word))
            return true;
    return folded.isEmpty() || genericWords.contains(folded);
}

QString foldedSongName(QStringView text) {
    const QString bracketless = withoutBracketedNotes(text);
    QString folded = foldedForFind(bracketless);
    if (containsWordStartingWith(folded, u"ft") || containsWordStartingWith(folded, u"feat"))
        folded = foldedForFind(withoutFeaturing(bracketless));
    if (folded.startsWith(QStringLiteral("the ")))
        folded.remove(0, 4);
    return folded;
}

SongReader::SongReader(const CatalogueGrid& grid) : grid_(grid) {
    if (kPerformerColumn >= grid.columnCount())
        return;
    performerOf_.resize(std::size_t(grid.rowCount()));
    for (int row = 1; row <= grid.dataRowCount(); ++row) {
        const QString& cell = grid.cell(kPerformerColumn, row);
        if (cell.isEmpty())
            continue;
        QString performer = performerWithoutLabel(cell);
        if (isCreditOrMarker(performer))
            continue;
        performers_.insert(foldedSongName(performer), 1);
        performerOf_[std::size_t(row)] = std::move(performer);
    }
}

RowSong SongReader::song(int row) const {
    const auto cell = [&](int column) {
        return column < grid_.columnCount() ? grid_.cell(column, row) : QString();
    };
    // Made only for the rows that need it: most rows name their song.
    std::optional<QString> writtenFileName;
    const auto fileBase = [&]() -> const QString& {
        if (!writtenFileName)
            writtenFileName = fileNameAsWritten(cell(kFileNameColumn));
        return *writtenFileName;
    };
    QString text = withoutSongLabel(cell(kTitleColumn));
    if (isCreditOrMarker(text))
        text = fileBase();
    RowSong song;
    const QString performer =
        std::size_t(row) < performerOf_.size() ? performerOf_[std::size_t(row)] : QString();
    const std::optional<Sides> sides = dashSides(text);
    if (!performer.isEmpty()) {
        song.performer = performer;
        song.title = text;
        if (sides) {
            // "Coldplay - The Scientist" beside "Coldplay": the title is the other side.
            const QString key = foldedSongName(performer);
            if (foldedSongName(sides->left) == key)
                song.title = sides->right;
            else if (foldedSongName(sides->right) == key)
                song.title = sides->left;
        }
    } else if (sides) {
        const auto isPerformer = [this](const QString& side) {
            return performers_.contains(foldedSongName(side));
        };
        const bool leftIsPerformer = !performers_.isEmpty() && isPerformer(sides->left);
        bool rightIsPerformer =
            !performers_.isEmpty() && !leftIsPerformer && isPerformer(sides->right);
        if (!rightIsPerformer && !leftIsPerformer) {
            if (const std::optional<Sides> file = dashSides(fileBase()))
                rightIsPerformer = foldedSongName(file->left) == foldedSongName(sides->right) &&
                                   foldedSongName(file->right) != foldedSongName(sides->right);
        }
        song.performer = rightIsPerformer ? sides->right : sides->left;
        song.title = rightIsPerformer ? sides->left : sides->right;
    } else {
        song.title = text;
    }
    if (sides && isCreditOrMarker(song.title))
        song.title.clear();
    if (song.title.isEmpty())
        song.performer.clear();
    return song;
}

} // namespace songwick
