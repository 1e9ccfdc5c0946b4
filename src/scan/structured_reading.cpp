#include "scan/structured_reading.h"

#include "scan/kar_extractor.h"

#include <algorithm>
#include <deque>
#include <unordered_set>

namespace songwick {
namespace {

// A title is a line, not a block of text.
constexpr qsizetype kTitleByteLimit = 255;
// How many texts before the first note are looked at, and how many further texts are kept.
constexpr int kLeadingTextLimit = 12;
constexpr int kFurtherTextLimit = 3;
// Tracks whose names may name the song.
constexpr int kNamedTrackLimit = 4;

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

// Words that make a name generic when every word of it is one of these and at least one is a
// strong one (an instrument, a track or format word); "Rock Organ" is generic, "Rock Music" is
// not.
const WordSet& strongGenericWords() {
    static const WordSet words = [] {
        WordSet set;
        for (const char* word :
             {"untitled",   "noname",  "unnamed",      "karaoke",       "kar",         "words",
              "lyrics",     "lyric",   "track",        "trk",           "midi",        "gm",
              "gs",         "xg",      "sequence",     "melody",        "vocal",       "vocals",
              "vox",        "voice",   "piano",        "pianos",        "harpsichord", "clavinet",
              "clav",       "celesta", "glockenspiel", "vibraphone",    "vibes",       "marimba",
              "xylophone",  "bells",   "dulcimer",     "organ",         "accordion",   "harmonica",
              "bandoneon",  "guitar",  "guitars",      "gtr",           "bass",        "violin",
              "violins",    "viola",   "cello",        "contrabass",    "harp",        "timpani",
              "strings",    "string",  "choir",        "orchestra",     "trumpet",     "trumpets",
              "trombone",   "tuba",    "horn",         "horns",         "brass",       "sax",
              "saxophone",  "oboe",    "bassoon",      "clarinet",      "piccolo",     "flute",
              "recorder",   "whistle", "ocarina",      "synth",         "synthesizer", "pad",
              "sitar",      "banjo",   "shamisen",     "koto",          "kalimba",     "bagpipe",
              "fiddle",     "shanai",  "drums",        "drum",          "percussion",  "perc",
              "kit",        "cymbal",  "cymbals",      "tom",           "toms",        "woodblock",
              "taiko",      "chords",  "accomp",       "accompaniment", "backing",     "conductor",
              "metronome",  "click",   "tempo",        "sysex",         "setup",       "instrument",
              "instruments"})
            set.insert(QString::fromLatin1(word));
        for (const char16_t* word :
             {u"трек",     u"дорожка",    u"мелодия",    u"вокал",         u"голос",  u"слова",
              u"текст",    u"караоке",    u"фортепиано", u"пианино",       u"бас",    u"гитара",
              u"ударные",  u"барабаны",   u"струнные",   u"скрипка",       u"орган",  u"аккордеон",
              u"баян",     u"синтезатор", u"партия",     u"аккомпанемент", u"флейта", u"труба",
              u"саксофон", u"хор"})
            set.insert(QString::fromUtf16(word));
        return set;
    }();
    return words;
}

const WordSet& weakGenericWords() {
    static const WordSet words = [] {
        WordSet set;
        for (const char* word :
             {"soft",       "general",   "standard", "file",      "format",     "acoustic",
              "electric",   "grand",     "bright",   "honky",     "tonk",       "rhodes",
              "chorused",   "music",     "box",      "tubular",   "drawbar",    "percussive",
              "rock",       "church",    "reed",     "tango",     "nylon",      "steel",
              "jazz",       "clean",     "muted",    "mute",      "overdriven", "overdrive",
              "distortion", "distorted", "dist",     "harmonics", "fingered",   "finger",
              "picked",     "pick",      "fretless", "slap",      "tremolo",    "pizzicato",
              "orchestral", "ensemble",  "slow",     "aahs",      "oohs",       "hit",
              "french",     "section",   "soprano",  "alto",      "tenor",      "baritone",
              "english",    "pan",       "blown",    "bottle",    "shakuhachi", "lead",
              "square",     "sawtooth",  "saw",      "calliope",  "chiff",      "charang",
              "fifths",     "new",       "age",      "warm",      "polysynth",  "bowed",
              "metallic",   "halo",      "sweep",    "fx",        "sci",        "fi",
              "tinkle",     "bell",      "agogo",    "melodic",   "reverse",    "fret",
              "noise",      "breath",    "rhythm",   "harmony",   "left",       "right",
              "hand",       "l",         "r",        "lh",        "rh",         "channel",
              "ch",         "part",      "main",     "solo",      "intro",      "system",
              "exclusive",  "empty",     "control",  "reset",     "mixer",      "master",
              "timing",     "marker",    "cue",      "mono",      "stereo",     "high",
              "low",        "hi",        "lo",       "ac",        "el",         "st",
              "upright",    "double",    "and",      "the",       "of",         "by",
              "name",       "no",        "set",      "up"})
            set.insert(QString::fromLatin1(word));
        for (const char16_t* word : {u"соло", u"и", u"левая", u"правая", u"рука"})
            set.insert(QString::fromUtf16(word));
        return set;
    }();
    return words;
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

    // The Soft Karaoke lines: "@T" title lines, "@I" information lines; "@K" (format) and
    // "@L" (language) name no song.
    bool softKaraokeLines(std::vector<Candidate>& titleLines,
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
        return any;
    }

    // Track names of the first tracks, then the text events before the first note, then
    // the copyright: the places other editors name the song in.
    std::vector<Candidate> plainCandidates(bool softKaraoke) const {
        std::vector<Candidate> trackNames;
        std::vector<Candidate> leading;
        std::vector<Candidate> copyright;
        std::int64_t firstNote = structure_.firstNoteTick();
        if (firstNote < 0)
            firstNote = 0;
        for (const MidiMetaEvent& event : structure_.metaEvents) {
            if (event.type == kMetaTrackName && event.track < kNamedTrackLimit &&
                !event.afterTrackNote)
                trackNames.push_back({&event, textOf(event)});
            else if (event.type == kMetaCopyright)
                copyright.push_back({&event, textOf(event)});
            else if (event.type == kMetaText && !softKaraoke &&
                     int(leading.size()) < kLeadingTextLimit && !event.afterTrackNote &&
                     event.tick <= firstNote)
                leading.push_back({&event, textOf(event)});
        }
        std::stable_sort(
            trackNames.begin(), trackNames.end(),
            [](const Candidate& a, const Candidate& b) { return a.event->track < b.event->track; });
        std::vector<Candidate> all = std::move(trackNames);
        all.insert(all.end(), leading.begin(), leading.end());
        all.insert(all.end(), copyright.begin(), copyright.end());
        return all;
    }

private:
    const MidiStructure& structure_;
    CodePageDetector& detector_;
    const QString& codePage_;
};

// isGenericName() of a case-folded text.
bool isFoldedGenericName(const QString& text, qsizetype byteSize) {
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
        if (strongGenericWords().contains(folded)) {
            strong = true;
            return true;
        }
        return weakGenericWords().contains(folded);
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
    return !anyWord || strong;
}

// isMakerCredit() of a case-folded text.
bool isFoldedMakerCredit(const QString& folded) {
    // Kept case-folded, as the text is compared.
    static const QStringList openings = [] {
        QStringList list;
        for (const char* opening :
             {"sequenced by", "sequence by",   "sequenced:", "sequencer:",   "seq by",
              "seq.",         "kar by",        "karaoke by", "kar:",         "made by",
              "&copy;",       "maked by",      "created by", "created with", "arranged by",
              "midi by",      "programmed by", "(c)",        "copyright",    "encoded by",
              "converted by", "transcribed by"})
            list << QString::fromLatin1(opening);
        for (const char16_t* opening : {u"©", u"сделан", u"набрал", u"набор", u"аранжировка",
                                        u"подготовил", u"автор файла", u"файл сделал"})
            list << QString::fromUtf16(opening);
        list << QString::fromLatin1(kKarMakerCredit).left(20)
             << QString::fromLatin1(kSecondCredit).left(9);
        for (QString& opening : list)
            opening = opening.toCaseFolded();
        return list;
    }();
    if (folded.isEmpty())
        return false;
    const QChar first = folded.front();
    return std::any_of(openings.begin(), openings.end(), [&](const QString& opening) {
        return opening.front() == first && folded.startsWith(opening);
    });
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

// Sorts the candidates, in order, into the song's texts and the makers.
void assignTexts(const std::vector<Candidate>& candidates, StructuredTexts& out) {
    std::vector<const Candidate*> taken;
    std::vector<const Candidate*> makers;
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
            makers.push_back(&candidate);
            continue;
        }
        if (isFoldedGenericName(folded, candidate.event->data.size()))
            continue;
        seen.push_back(std::move(folded));
        taken.push_back(&candidate);
    }
    QStringList further;
    int named = 0; // title and performer found so far
    for (const Candidate* candidate : taken) {
        if (named < 2 && !candidate->furtherOnly) {
            out.texts[named] = candidate->text;
            out.used.push_back(usedText(
                named == 0 ? UsedText::Role::Title : UsedText::Role::Performer, *candidate));
            ++named;
        } else if (further.size() < kFurtherTextLimit) {
            further << candidate->text;
            out.used.push_back(usedText(UsedText::Role::Further, *candidate));
        }
    }
    out.texts[2] = further.join(QStringLiteral("; "));
    QStringList madeBy;
    for (const Candidate* maker : makers) {
        madeBy << maker->text;
        out.used.push_back(usedText(UsedText::Role::Maker, *maker));
    }
    out.texts[3] = madeBy.join(QStringLiteral("; "));
}

void applyFileName(const QString& fileName, const QStringList& patterns, StructuredTexts& out) {
    if (!out.texts[0].isEmpty())
        return;
    const FileNameTexts named = matchFileName(fileName, patterns);
    if (named.pattern < 0)
        return;
    auto use = [&](UsedText::Role role, const QString& text) {
        UsedText used;
        used.role = role;
        used.fromFileName = true;
        used.text = text;
        out.used.push_back(used);
    };
    if (!named.title.isEmpty()) {
        out.texts[0] = named.title;
        use(UsedText::Role::Title, named.title);
    }
    if (!named.performer.isEmpty() && out.texts[1].isEmpty()) {
        out.texts[1] = named.performer;
        use(UsedText::Role::Performer, named.performer);
    }
}

} // namespace

bool isGenericName(const QString& text, qsizetype byteSize) {
    return isFoldedGenericName(caseFolded(text), byteSize);
}

bool isMakerCredit(const QString& text) {
    return isFoldedMakerCredit(caseFolded(text));
}

StructuredReader::StructuredReader(StructuredReadingOptions options)
    : options_(std::move(options)) {}

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
    out.softKaraoke = reading.softKaraokeLines(titleLines, infoLines);
    std::vector<Candidate> candidates;
    if (!titleLines.empty()) {
        candidates = std::move(titleLines);
        candidates.insert(candidates.end(), infoLines.begin(), infoLines.end());
        // The copyright may still name the maker.
        for (const Candidate& other : reading.plainCandidates(true)) {
            if (other.event->type == kMetaCopyright)
                candidates.push_back(other);
        }
    } else {
        candidates = reading.plainCandidates(out.softKaraoke);
        candidates.insert(candidates.end(), infoLines.begin(), infoLines.end());
    }
    assignTexts(candidates, out);
    applyFileName(fileName, options_.fileNamePatterns, out);
    return out;
}

CatalogueRecord makeStructuredRecord(const QString& folder, const QString& fileName,
                                     const StructuredTexts& texts) {
    return {fileName, folder, texts.texts[0], texts.texts[1], texts.texts[2], texts.texts[3]};
}

} // namespace songwick
