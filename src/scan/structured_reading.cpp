#include "scan/structured_reading.h"

#include "catalogue/song_words.h"
#include "scan/kar_extractor.h"
#include "scan/reading_word_lists.h"

#include <QRegularExpression>
#include <algorithm>
#include <deque>
#include <unordered_set>

namespace songwick {
namespace {

// A title is a line, not a block of text.
constexpr qsizetype kTitleByteLimit = 255;
// How many further texts are kept.
constexpr int kFurtherTextLimit = 3;
// Tracks whose names may name the song.
constexpr int kNamedTrackLimit = 4;
// Text events a track has at least to carry the sung words in them.
constexpr int kWordsTrackTexts = 8;

// The case-folded text. Latin and Cyrillic letters, signs and punctuation, which make up nearly
// every text here, are folded directly; a text with any other character is folded by Qt.
QString caseFolded(const QString& text) {
    QString folded = text;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        char16_t small = c;
        if (c >= u'A' && c <= u'Z')
            small = c + 0x20;
        else if (c >= 0x410 && c <= 0x42F) // А to Я
            small = c + 0x20;
        else if (c >= 0x400 && c <= 0x40F) // Ѐ to Џ, Ё among them
            small = c + 0x50;
        else if (c >= 0x80 && !(c >= 0x430 && c <= 0x45F) && !QChar(c).isPunct() &&
                 !QChar(c).isSpace() && !(c < 0xC0 && !QChar(c).isLetter()))
            return text.toCaseFolded();
        if (small != c)
            folded[i] = QChar(small);
    }
    return folded;
}

// A fixed set of case-folded words, looked up without copying the word.
class WordSet {
public:
    void insert(const QString& word) {
        storage_.push_back(word.toCaseFolded());
        words_.insert(storage_.back());
    }
    bool contains(QStringView word) const { return words_.count(word) > 0; }

private:
    struct Hash {
        size_t operator()(QStringView word) const { return qHash(word); }
    };
    std::deque<QString> storage_; // the texts the set's views refer to; never moved
    std::unordered_set<QStringView, Hash> words_;
};

// The set of one of the word tables, made once.
template <const auto& table> const WordSet& wordSet() {
    static const WordSet words = [] {
        WordSet set;
        for (const std::u16string_view word : table)
            set.insert(QString::fromUtf16(word.data(), qsizetype(word.size())));
        return set;
    }();
    return words;
}

// Whether a case-folded text is a credit by its label: the words before its colon are all words
// of a credit's label ("sequence and score: ...").
bool hasCreditLabel(const QString& folded) {
    constexpr qsizetype kLongestLabel = 40;
    const qsizetype colon = folded.indexOf(u':');
    if (colon <= 0 || colon > kLongestLabel)
        return false;
    static const QRegularExpression separators(QStringLiteral("[\\s&+/,]+"));
    const QStringList words = folded.left(colon).split(separators, Qt::SkipEmptyParts);
    return !words.isEmpty() && std::all_of(words.begin(), words.end(), [](const QString& word) {
        return wordSet<reading_words::kCreditLabelWords>().contains(word);
    });
}

// Case-folded openings of a table, which compare as the text is compared.
template <std::size_t N> QStringList openingsOf(const std::u16string_view (&openings)[N]) {
    QStringList list;
    for (const std::u16string_view opening : openings)
        list << QString::fromUtf16(opening.data(), qsizetype(opening.size())).toCaseFolded();
    return list;
}

// Whether a case-folded text starts with one of the openings.
bool startsWithAny(const QString& folded, const QStringList& openings) {
    if (folded.isEmpty())
        return false;
    const QChar first = folded.front();
    return std::any_of(openings.begin(), openings.end(), [&](const QString& opening) {
        return opening.front() == first && folded.startsWith(opening);
    });
}

// Whether a text holds an e-mail address ("name@host.org").
bool containsMailAddress(QStringView text) {
    for (qsizetype at = text.indexOf(u'@', 1); at > 0; at = text.indexOf(u'@', at + 1)) {
        if (!text[at - 1].isLetterOrNumber())
            continue;
        const QStringView host = text.mid(at + 1);
        const qsizetype dot = host.indexOf(u'.');
        if (dot > 0 && dot + 1 < host.size() && host[dot + 1].isLetter() &&
            std::none_of(host.begin(), host.begin() + dot, [](QChar c) { return c.isSpace(); }))
            return true;
    }
    return false;
}

// Whether a case-folded text is a path or a file name.
bool looksLikePath(const QString& folded) {
    if (folded.startsWith(u'/') || folded.contains(u'\\') || folded.contains(u":/"))
        return true;
    const qsizetype dot = folded.lastIndexOf(u'.');
    if (dot < 0)
        return false;
    static const QStringList extensions = {QStringLiteral("mid"),  QStringLiteral("kar"),
                                           QStringLiteral("midi"), QStringLiteral("rmi"),
                                           QStringLiteral("wrk"),  QStringLiteral("sng"),
                                           QStringLiteral("seq"),  QStringLiteral("cwp")};
    return extensions.contains(QStringView(folded).sliced(dot + 1));
}

// A Soft Karaoke line's text without its "@T", "@I", "@K" or "@L" mark, whose letter would
// otherwise join the text's first word.
QByteArrayView withoutSoftKaraokeMark(const MidiMetaEvent& event) {
    const QByteArrayView data = event.data;
    if (event.type == kMetaText && data.size() >= 2 && data[0] == '@' &&
        (data[1] == 'T' || data[1] == 'I' || data[1] == 'K' || data[1] == 'L'))
        return data.sliced(2);
    return data;
}

// Control characters and undecodable bytes out, blanks collapsed, trimmed: in one pass.
QString cleanText(const QString& text) {
    QString clean(text.size(), Qt::Uninitialized);
    QChar* out = clean.data();
    QChar* const start = out;
    bool blank = false; // a blank is owed before the next character
    for (QChar c : text) {
        if (c == QChar::ReplacementCharacter)
            continue;
        if (c.unicode() < 0x20 || c.unicode() == 0x7F || c.isSpace()) {
            blank = out != start;
            continue;
        }
        if (blank)
            *out++ = u' ';
        blank = false;
        *out++ = c;
    }
    clean.truncate(out - start);
    return clean;
}

struct Candidate {
    const MidiMetaEvent* event = nullptr;
    QString text;
    bool furtherOnly = false; // an information line: never the title or the performer
};

class Reading {
public:
    Reading(const MidiStructure& structure, CodePageDetector& detector, const QString& codePage)
        : structure_(structure), detector_(detector), codePage_(codePage) {}

    QString textOf(const MidiMetaEvent& event) const {
        return cleanText(detector_.decode(event.data, codePage_));
    }

    // The Soft Karaoke lines: "@T" title lines, those of the words track first, "@I"
    // information lines; "@K" (format) and "@L" (language) name no song.
    bool softKaraokeLines(int wordsTrack, std::vector<Candidate>& titleLines,
                          std::vector<Candidate>& infoLines) const {
        bool any = false;
        for (const MidiMetaEvent& event : structure_.metaEvents) {
            if (event.type != kMetaText || event.data.size() < 2 || event.data[0] != '@')
                continue;
            const char kind = event.data[1];
            if (kind != 'T' && kind != 'I' && kind != 'K' && kind != 'L')
                continue;
            any = true;
            MidiMetaEvent line = event;
            line.data = event.data.sliced(2);
            line.offset += 2;
            if (kind == 'T')
                titleLines.push_back({&event, textOf(line)});
            else if (kind == 'I')
                infoLines.push_back({&event, textOf(line), true});
        }
        // "@T" lines elsewhere are credits more often than titles.
        std::stable_partition(titleLines.begin(), titleLines.end(), [&](const Candidate& line) {
            return line.event->track == wordsTrack;
        });
        return any;
    }

    // The track whose texts carry the sung words: the one with the most lyric events or, without
    // any, the most text events that are no "@" lines; -1 when no track has words.
    int wordsTrack() const {
        const std::vector<MidiTrack>& tracks = structure_.tracks;
        const bool anyLyrics =
            std::any_of(tracks.begin(), tracks.end(),
                        [](const MidiTrack& track) { return track.lyricEvents > 0; });
        const auto count = [anyLyrics](const MidiTrack& track) {
            return anyLyrics ? track.lyricEvents : track.plainTexts;
        };
        const auto most = std::max_element(
            tracks.begin(), tracks.end(),
            [&](const MidiTrack& a, const MidiTrack& b) { return count(a) < count(b); });
        if (most == tracks.end() || (count(*most) < kWordsTrackTexts && !anyLyrics))
            return -1;
        return int(most - tracks.begin());
    }

    // The copyright events, which may name the maker.
    std::vector<Candidate> copyrights() const {
        std::vector<Candidate> copyright;
        for (const MidiMetaEvent& event : structure_.metaEvents) {
            if (event.type == kMetaCopyright)
                copyright.push_back({&event, textOf(event)});
        }
        return copyright;
    }

    // Track names of the first tracks, then the text events before the first note, then
    // the copyright: the places other editors name the song in.
    std::vector<Candidate> plainCandidates(bool softKaraoke) const {
        std::vector<Candidate> trackNames;
        std::vector<Candidate> leading;
        std::int64_t firstNote = structure_.firstNoteTick();
        if (firstNote < 0)
            firstNote = 0;
        for (const MidiMetaEvent& event : structure_.metaEvents) {
            if (event.type == kMetaTrackName && event.track < kNamedTrackLimit &&
                !event.afterTrackNote)
                trackNames.push_back({&event, textOf(event)});
            else if (event.type == kMetaText && !softKaraoke &&
                     int(leading.size()) < kMidiLeadingTexts && !event.afterTrackNote &&
                     event.tick <= firstNote)
                leading.push_back({&event, textOf(event)});
        }
        std::stable_sort(
            trackNames.begin(), trackNames.end(),
            [](const Candidate& a, const Candidate& b) { return a.event->track < b.event->track; });
        std::vector<Candidate> all = std::move(trackNames);
        all.insert(all.end(), leading.begin(), leading.end());
        for (Candidate& copyright : copyrights())
            all.push_back(std::move(copyright));
        return all;
    }

private:
    const MidiStructure& structure_;
    CodePageDetector& detector_;
    const QString& codePage_;
};

// isGenericName() of a case-folded text. In an ordinary MIDI file (no words are sung in it),
// texts made of part names and the words that go with them ("Allegro", "Left Hand", "Solo")
// are generic too.
bool isFoldedGenericName(const QString& text, qsizetype byteSize, bool partNamesAreGeneric) {
    if (byteSize > kTitleByteLimit || text.startsWith(u'@') || looksLikePath(text))
        return true;
    bool strong = false;
    bool anyWord = false;
    qsizetype wordStart = -1;
    // Whether the word that ends at `wordEnd` keeps the text generic.
    auto endWord = [&](qsizetype wordEnd) {
        if (wordStart < 0)
            return true;
        anyWord = true;
        const QStringView folded = QStringView(text).sliced(wordStart, wordEnd - wordStart);
        wordStart = -1;
        if (wordSet<reading_words::kStrong>().contains(folded) ||
            (partNamesAreGeneric && wordSet<reading_words::kPartNames>().contains(folded))) {
            strong = true;
            return true;
        }
        return wordSet<reading_words::kWeak>().contains(folded);
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].isLetter()) {
            if (wordStart < 0)
                wordStart = i;
        } else if (!endWord(i)) {
            return false;
        }
    }
    if (!endWord(text.size()))
        return false;
    return !anyWord || strong || partNamesAreGeneric;
}

// isMakerCredit() of a case-folded text.
bool isFoldedMakerCredit(const QString& folded) {
    static const QStringList openings = [] {
        QStringList list = openingsOf(reading_words::kMakerOpenings);
        list << QString::fromLatin1(kKarMakerCredit).left(20).toCaseFolded()
             << QString::fromLatin1(kSecondCredit).left(9).toCaseFolded();
        return list;
    }();
    return startsWithAny(folded, openings) || containsMailAddress(folded);
}

UsedText usedText(UsedText::Role role, const Candidate& candidate) {
    UsedText used;
    used.role = role;
    used.type = candidate.event->type;
    used.track = candidate.event->track;
    used.tick = candidate.event->tick;
    used.offset = candidate.event->offset;
    used.text = candidate.text;
    return used;
}

// What a text that is neither generic nor the maker's says.
enum class TextKind {
    Song,     // may be the title or the performer
    Genre,    // "Rap": the title only where the file name names none
    Credit,   // "Words: ...", "Lyrics by ...": a further text
    Composer, // "Music: ...": the performer where the file names none
};

struct SortedText {
    const Candidate* candidate = nullptr;
    TextKind kind = TextKind::Song;
    SongLabel label = SongLabel::None;
    QString name; // without its label: the text as a title or performer column shows it
};

// The length of the first of the openings a case-folded text starts with; 0 for none.
qsizetype openingLength(const QString& folded, const QStringList& openings) {
    for (const QString& opening : openings)
        if (folded.startsWith(opening))
            return opening.size();
    return 0;
}

SortedText sortedText(const Candidate& candidate, const QString& folded) {
    static const QStringList composerLabels = openingsOf(reading_words::kComposerLabels);
    static const QStringList creditOpenings = openingsOf(reading_words::kCreditOpenings);
    SortedText sorted{&candidate, TextKind::Song, SongLabel::None, candidate.text};
    if (wordSet<reading_words::kGenres>().contains(folded)) {
        sorted.kind = TextKind::Genre;
    } else if (const qsizetype label = openingLength(folded, composerLabels); label > 0) {
        sorted.name = candidate.text.mid(label).trimmed();
        const bool named = std::any_of(sorted.name.begin(), sorted.name.end(),
                                       [](QChar c) { return c.isLetter(); });
        sorted.kind = named ? TextKind::Composer : TextKind::Credit;
    } else if (startsWithAny(folded, creditOpenings) || hasCreditLabel(folded)) {
        sorted.kind = TextKind::Credit;
    } else {
        LabelledText labelled = withSongLabel(candidate.text);
        sorted.label = labelled.label;
        sorted.name = std::move(labelled.text);
    }
    return sorted;
}

// A column's text and where it came from.
struct ColumnText {
    QString text;
    const SortedText* from = nullptr; // none: from the file name
    bool isEmpty() const { return text.isEmpty(); }
};

// The song's texts as the file's events give them, before the file name is looked at.
struct EventTexts {
    std::vector<SortedText> sorted; // in the candidates' order
    std::vector<const Candidate*> makers;
    ColumnText title;
    ColumnText performer;
    const SortedText* genre = nullptr;    // the first genre text
    const SortedText* squashed = nullptr; // a title the file name's spelled out
};

// The first of the song's texts with the label, other than `other`; a performer is never a
// credit, a format marker or a generic word ("Vocal", "Pop").
const SortedText* firstSongText(const std::vector<SortedText>& sorted, SongLabel label,
                                const SortedText* other = nullptr, bool performer = false) {
    for (const SortedText& text : sorted)
        if (text.kind == TextKind::Song && text.label == label && !text.candidate->furtherOnly &&
            &text != other &&
            (!performer || !isCreditOrMarker(performerWithoutLabel(text.candidate->text))))
            return &text;
    return nullptr;
}

// Sorts the candidates, in order, into the song's texts and the makers, and takes the title
// and the performer: the texts labelled so, otherwise the first two of the song's texts; a
// composer performs where no text names a performer. The performer is never a credit.
EventTexts eventTexts(const std::vector<Candidate>& candidates, bool ordinaryMidi) {
    EventTexts out;
    std::vector<QString> seen; // case-folded; a file has a few dozen candidates at most
    for (const Candidate& candidate : candidates) {
        const QString& text = candidate.text;
        if (text.size() < 2 ||
            !std::any_of(text.begin(), text.end(), [](QChar c) { return c.isLetterOrNumber(); }))
            continue;
        QString folded = caseFolded(text);
        if (std::find(seen.begin(), seen.end(), folded) != seen.end())
            continue;
        if (isFoldedMakerCredit(folded)) {
            seen.push_back(std::move(folded));
            out.makers.push_back(&candidate);
            continue;
        }
        if (isFoldedGenericName(folded, candidate.event->data.size(), ordinaryMidi))
            continue;
        out.sorted.push_back(sortedText(candidate, folded));
        seen.push_back(std::move(folded));
    }
    const SortedText* title = firstSongText(out.sorted, SongLabel::Title);
    if (!title)
        title = firstSongText(out.sorted, SongLabel::None);
    const SortedText* performer = firstSongText(out.sorted, SongLabel::Performer, title, true);
    if (!performer)
        performer = firstSongText(out.sorted, SongLabel::None, title, true);
    for (const SortedText& text : out.sorted) {
        if (!performer && text.kind == TextKind::Composer)
            performer = &text;
        if (!out.genre && text.kind == TextKind::Genre)
            out.genre = &text;
    }
    if (title)
        out.title = {title->name, title};
    if (performer)
        out.performer = {performer->kind == TextKind::Composer
                             ? performer->name
                             : performerWithoutLabel(performer->candidate->text),
                         performer};
    return out;
}

// "ABBA Dancing Queen": the performer in capitals before a title that is not.
FileNameTexts capitalsFirst(const QString& name) {
    const QStringList words = name.split(u' ', Qt::SkipEmptyParts);
    qsizetype performerWords = 0;
    qsizetype letters = 0;
    for (const QString& word : words) {
        if (std::any_of(word.begin(), word.end(), [](QChar c) { return c.isLower(); }))
            break;
        letters += std::count_if(word.begin(), word.end(), [](QChar c) { return c.isLetter(); });
        ++performerWords;
    }
    if (performerWords == 0 || performerWords == words.size() || letters < 2)
        return {};
    return {words.mid(performerWords).join(u' '), words.first(performerWords).join(u' '), 0};
}

// A performer from a file name without the collection's number before it ("00527 ABBA"): a
// number with a leading zero or of three digits at least, so that "50 Cent" keeps its own, then
// "." or ")" and blanks before the name. Digits and blanks as in ASCII.
QString withoutFileNumber(const QString& performer) {
    const auto isDigit = [](QChar c) { return c >= u'0' && c <= u'9'; };
    const auto isBlank = [](QChar c) { return c == u' ' || (c >= u'\t' && c <= u'\r'); };
    const qsizetype size = performer.size();
    qsizetype at = 0;
    while (at < size && isDigit(performer[at]))
        ++at;
    if (at == 0 || (at < 3 && performer[0] != u'0'))
        return performer;
    if (at < size && (performer[at] == u'.' || performer[at] == u')'))
        ++at;
    const qsizetype blanksStart = at;
    while (at < size && isBlank(performer[at]))
        ++at;
    if (at == blanksStart || at == size)
        return performer;
    return performer.sliced(at);
}

// The texts the file name gives: by the patterns, and where only the plain title pattern
// matched, by the shape real collections name files in ("ABBA Dancing Queen").
FileNameTexts fileNameTexts(const QString& fileName, const FileNamePatterns& matcher,
                            const QStringList& patterns) {
    FileNameTexts named = matcher.match(fileName);
    if (named.pattern >= 0 && named.performer.isEmpty() &&
        patterns[named.pattern].trimmed() == kTitlePlaceholder)
        if (FileNameTexts split = capitalsFirst(named.title); !split.performer.isEmpty())
            named = {split.title, split.performer, named.pattern};
    named.performer = withoutFileNumber(named.performer);
    return named;
}

// Where the file name names the song better than the file's events: their title is missing, a
// genre, or a squashed 8.3 form of the file name's title, or it is the performer the file name
// puts first. The file name's performer fills an empty performer where the title is its.
void preferFileName(const FileNameTexts& named, EventTexts& texts) {
    if (named.pattern < 0 || named.title.isEmpty()) {
        if (texts.title.isEmpty() && texts.genre)
            texts.title = {texts.genre->name, texts.genre};
        return;
    }
    const QString fileTitle = foldedSongName(named.title);
    const QString filePerformer = foldedSongName(named.performer);
    bool titleIsTheFileName = texts.title.isEmpty();
    if (!titleIsTheFileName) {
        const QString title = foldedSongName(texts.title.text);
        if (title == fileTitle) {
            titleIsTheFileName = true;
        } else if (isSquashedTitle(texts.title.text, title) && fileTitle.size() > title.size() &&
                   abbreviatesTitle(title, fileTitle)) {
            texts.squashed = texts.title.from;
            texts.title = {named.title};
            titleIsTheFileName = true;
        } else if (!filePerformer.isEmpty() && title == filePerformer &&
                   (texts.performer.isEmpty() ||
                    foldedSongName(texts.performer.text) == fileTitle)) {
            // "Eminem" where "Eminem - Lose Yourself" names the file: the file's title
            // is the performer.
            ColumnText performer = texts.title;
            performer.text = performerWithoutLabel(performer.text);
            texts.title = texts.performer.isEmpty() ? ColumnText{named.title} : texts.performer;
            texts.performer = performer;
            return;
        }
    }
    if (texts.title.isEmpty())
        texts.title = {named.title};
    if (titleIsTheFileName && texts.performer.isEmpty() && !named.performer.isEmpty())
        texts.performer = {named.performer};
}

// The record's columns: title, performer, up to kFurtherTextLimit further texts, the makers.
void putTexts(const EventTexts& texts, StructuredTexts& out) {
    auto use = [&](UsedText::Role role, const ColumnText& column) {
        if (column.isEmpty())
            return;
        UsedText used;
        if (column.from) {
            used = usedText(role, *column.from->candidate);
            used.text = column.text;
        } else {
            used.role = role;
            used.fromFileName = true;
            used.text = column.text;
        }
        out.used.push_back(std::move(used));
    };
    out.texts[0] = texts.title.text;
    use(UsedText::Role::Title, texts.title);
    out.texts[1] = texts.performer.text;
    use(UsedText::Role::Performer, texts.performer);
    QStringList further;
    for (const SortedText& text : texts.sorted) {
        if (&text == texts.title.from || &text == texts.performer.from || &text == texts.squashed ||
            further.size() >= kFurtherTextLimit)
            continue;
        further << text.candidate->text;
        out.used.push_back(usedText(UsedText::Role::Further, *text.candidate));
    }
    out.texts[2] = further.join(QStringLiteral("; "));
    QStringList madeBy;
    for (const Candidate* maker : texts.makers) {
        madeBy << maker->text;
        out.used.push_back(usedText(UsedText::Role::Maker, *maker));
    }
    out.texts[3] = madeBy.join(QStringLiteral("; "));
}

} // namespace

bool isGenericName(const QString& text, qsizetype byteSize) {
    return isFoldedGenericName(caseFolded(text), byteSize, false);
}

bool isMakerCredit(const QString& text) {
    return isFoldedMakerCredit(caseFolded(text));
}

StructuredReader::StructuredReader(StructuredReadingOptions options)
    : options_(std::move(options)), fileNamePatterns_(options_.fileNamePatterns) {}

StructuredTexts StructuredReader::read(QByteArrayView fileBytes, const QString& fileName) {
    return read(readMidiStructure(fileBytes), fileName);
}

StructuredTexts StructuredReader::read(const MidiStructure& structure, const QString& fileName) {
    StructuredTexts out;
    if (options_.codePage != kAutomaticCodePage && findCodePage(options_.codePage)) {
        out.codePage = {options_.codePage, 1.0, QStringLiteral("forced")};
    } else {
        std::vector<QByteArrayView> texts;
        texts.reserve(structure.metaEvents.size());
        for (const MidiMetaEvent& event : structure.metaEvents) {
            if (event.type >= 0x01 && event.type <= 0x07 && !event.data.isEmpty())
                texts.push_back(withoutSoftKaraokeMark(event));
        }
        out.codePage = detector_.detect(texts);
    }
    const Reading reading(structure, detector_, out.codePage.key);
    std::vector<Candidate> titleLines;
    std::vector<Candidate> infoLines;
    const int wordsTrack = reading.wordsTrack();
    out.softKaraoke = reading.softKaraokeLines(wordsTrack, titleLines, infoLines);
    std::vector<Candidate> candidates;
    if (!titleLines.empty()) {
        candidates = std::move(titleLines);
        candidates.insert(candidates.end(), infoLines.begin(), infoLines.end());
        // The copyright may still name the maker.
        for (Candidate& copyright : reading.copyrights())
            candidates.push_back(std::move(copyright));
    } else {
        candidates = reading.plainCandidates(out.softKaraoke);
        candidates.insert(candidates.end(), infoLines.begin(), infoLines.end());
    }
    // An ordinary MIDI file: no words are sung in it.
    const bool ordinaryMidi = !out.softKaraoke && wordsTrack < 0;
    EventTexts texts = eventTexts(candidates, ordinaryMidi);
    preferFileName(fileNameTexts(fileName, fileNamePatterns_, options_.fileNamePatterns), texts);
    putTexts(texts, out);
    return out;
}

CatalogueRecord makeStructuredRecord(const QString& folder, const QString& fileName,
                                     const StructuredTexts& texts) {
    return {fileName, folder, texts.texts[0], texts.texts[1], texts.texts[2], texts.texts[3]};
}

} // namespace songwick
