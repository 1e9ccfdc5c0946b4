#include "scan/code_page.h"

#include "common/cp1251_codec.h"
#include "scan/byte_search.h"

#include <QCoreApplication>
#include <array>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <iconv.h>
#include <string_view>
#include <uchardet/uchardet.h>

namespace songwick {
namespace {

constexpr QByteArrayView kUtf8Bom = "\xEF\xBB\xBF";
// The detector takes about a quarter of a microsecond a byte and gives its answer from the
// first kilobyte of a file's texts that are not ASCII, in file order, as from all of them:
// lyrics beyond that only cost time. (Fed the longest texts first, it answers otherwise.)
constexpr qsizetype kDetectorInputLimit = 1024;
const QString kAscii = QStringLiteral("ascii");

// Compared byte by byte: asked of every text of every file.
bool startsWithBom(QByteArrayView text) {
    return text.size() >= 3 && text[0] == '\xEF' && text[1] == '\xBB' && text[2] == '\xBF';
}

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool isValidUtf8(QByteArrayView text) {
    const auto* at = reinterpret_cast<const unsigned char*>(text.data());
    const auto* end = at + text.size();
    while (at < end) {
        const unsigned char b = *at;
        if (b < 0x80) {
            ++at;
            continue;
        }
        int length = 0;
        unsigned int lowest = 0;
        if (b >= 0xC2 && b <= 0xDF) {
            length = 2;
            lowest = 0x80;
        } else if (b >= 0xE0 && b <= 0xEF) {
            length = 3;
            lowest = 0x800;
        } else if (b >= 0xF0 && b <= 0xF4) {
            length = 4;
            lowest = 0x10000;
        } else {
            return false;
        }
        if (end - at < length)
            return false;
        unsigned int code = b & (0xFF >> (length + 1));
        for (int i = 1; i < length; ++i) {
            if ((at[i] & 0xC0) != 0x80)
                return false;
            code = (code << 6) | (at[i] & 0x3F);
        }
        if (code < lowest || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return false;
        at += length;
    }
    return true;
}

// Bytes that are the same sign in Windows-1251 and Windows-1252 ("…", "«", "–", "©"...):
// they separate words and tell nothing of the code page.
constexpr std::array<bool, 256> sharedPunctuationBytes() {
    std::array<bool, 256> shared{};
    for (int b :
         {0x82, 0x84, 0x85, 0x86, 0x87, 0x89, 0x8B, 0x91, 0x92, 0x93, 0x94, 0x95, 0x96, 0x97, 0x99,
          0x9B, 0xA0, 0xA6, 0xA7, 0xA9, 0xAB, 0xAC, 0xAD, 0xAE, 0xB0, 0xB1, 0xB5, 0xB6, 0xB7, 0xBB})
        shared[b] = true;
    return shared;
}
constexpr auto kSharedPunctuation = sharedPunctuationBytes();

// How the bytes at and above 0x80 sit in words: inside Latin words ("Café"), as in Western
// languages, or forming words of their own ("Песня"), as in Cyrillic, Greek or Asian texts.
// A word of one such byte alone tells neither: "à" and "è" read as the Russian words "а" and
// "и" in Windows-1251.
struct WordShapes {
    int mixed = 0;
    int pure = 0;

    void count(QByteArrayView text) {
        int length = 0;
        bool hasLatin = false;
        bool hasHigh = false;
        auto endWord = [&] {
            if (hasHigh && (hasLatin || length > 1))
                ++(hasLatin ? mixed : pure);
            length = 0;
            hasLatin = hasHigh = false;
        };
        for (char c : text) {
            const auto b = static_cast<unsigned char>(c);
            const bool latin = (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z');
            if (latin || (b >= 0x80 && !kSharedPunctuation[b])) {
                ++length;
                hasLatin = hasLatin || latin;
                hasHigh = hasHigh || b >= 0x80;
            } else if (length > 0) {
                endWord();
            }
        }
        endWord();
    }
    bool none() const { return mixed + pure == 0; }
    bool latinShaped() const { return mixed > pure; }
    double agreement() const {
        const int total = mixed + pure;
        return total == 0 ? 0.0 : double(std::max(mixed, pure)) / total;
    }
};

// What a byte is when read in Windows-1251.
enum class Cp1251Byte : unsigned char { Separator, Latin, Capital, Small, Punctuation, Foreign };

constexpr std::array<Cp1251Byte, 256> cp1251ByteKinds() {
    std::array<Cp1251Byte, 256> kinds{};
    for (int b = 0; b < 256; ++b) {
        if ((b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z'))
            kinds[b] = Cp1251Byte::Latin;
        else if (b < 0x80)
            kinds[b] = Cp1251Byte::Separator;
        else if ((b >= 0xC0 && b <= 0xDF) || b == 0xA8) // А to Я, Ё
            kinds[b] = Cp1251Byte::Capital;
        else if (b >= 0xE0 || b == 0xB8) // а to я, ё
            kinds[b] = Cp1251Byte::Small;
        else
            kinds[b] = Cp1251Byte::Foreign;
    }
    // … ‘ ’ “ ” – — and the no-break space; not « » №, which are letters in ISO-8859-5.
    for (int b : {0x85, 0x91, 0x92, 0x93, 0x94, 0x96, 0x97, 0xA0})
        kinds[b] = Cp1251Byte::Punctuation;
    return kinds;
}

// The small form of a Windows-1251 letter: capitals differ from small letters by 0x20, Ё and ё
// by 0x10.
constexpr unsigned char smallLetter(unsigned char letter) {
    return letter == 0xA8 ? 0xB8 : letter | 0x20;
}

// Which bytes are, in either case, one of the letters given in small form.
constexpr std::array<bool, 256> letterSet(std::string_view smallLetters) {
    std::array<bool, 256> set{};
    for (int b = 0x80; b < 256; ++b)
        set[b] = smallLetters.find(char(smallLetter(static_cast<unsigned char>(b)))) !=
                 std::string_view::npos;
    return set;
}

constexpr auto kRussianVowels =
    letterSet("\xE0\xE5\xE8\xEE\xF3\xFB\xFD\xFE\xFF\xB8"); // а е и о у ы э ю я ё

bool isRussianVowel(unsigned char letter) {
    return kRussianVowels[letter];
}

// Letter pairs Russian spelling never or hardly ever has, which Greek read in Windows-1251 has
// often (ι, the third commonest Greek letter, becomes "й"; ό and ύ become "ь" and "э"): "й"
// or "э" after a consonant ("мэр" is left to the detector), a soft or hard sign at the start of
// a word or after a vowel, "й" or a sign, "ы" at the start of a word.
// `previous` is 0 at the start of a word.
bool breaksRussianSpelling(unsigned char previous, unsigned char letter) {
    const unsigned char small = smallLetter(letter);
    const unsigned char before = smallLetter(previous);
    const bool sign = small == 0xFA || small == 0xFC; // ъ ь
    if (previous == 0)
        return sign || small == 0xFB; // ы
    const bool beforeSign = before == 0xFA || before == 0xFC;
    if (small == 0xE9 || small == 0xFD) // й, э
        return !isRussianVowel(previous) && !beforeSign;
    return sign && (isRussianVowel(previous) || before == 0xE9 || beforeSign);
}

// б з й п ф х щ: rare in Russian (about 9% of letters), but where the commonest Greek letters
// (α η ι ο τ υ ω, about half of a Greek text) fall when Greek is read in Windows-1251.
constexpr auto kGreekPositions = letterSet("\xE1\xE7\xE9\xEF\xF4\xF5\xF9");

bool isGreekPosition(unsigned char letter) {
    return kGreekPositions[letter];
}

// Whether texts read in Windows-1251 as Russian words do, so certainly that the detector need
// not be asked: every byte above 0x7F a Cyrillic letter or the code page's punctuation, no
// word mixing them with Latin letters, every word cased as words are (capitalised, all small
// or all capitals; a small letter before a capital is how KOI8-R and Greek texts look in
// Windows-1251), no pair of letters Russian spelling does not have, a vowel in every word of three
// letters or more that is not an abbreviation, at least one capitalised word, and the letters in
// Russian proportions: two thirds small (ISO-8859-5 reads mostly as capitals), a quarter vowels, at
// most a quarter where Greek falls. KOI8-R, CP866, ISO-8859-5 and Greek texts do not pass;
// all-capital texts, which read as small letters in KOI8-R, are left to the detector.
class RussianWords {
public:
    void count(QByteArrayView text) {
        static constexpr std::array<Cp1251Byte, 256> kinds = cp1251ByteKinds();
        for (char c : text) {
            const auto b = static_cast<unsigned char>(c);
            const Cp1251Byte kind = kinds[b];
            if (kind == Cp1251Byte::Capital || kind == Cp1251Byte::Small) {
                if (kind == Cp1251Byte::Capital) {
                    wrongCase_ = wrongCase_ || small_ > 0;
                    ++capitals_;
                } else {
                    ++small_;
                }
                ++letters_;
                misspelt_ = misspelt_ || breaksRussianSpelling(previous_, b);
                previous_ = b;
                vowels_ += isRussianVowel(b) ? 1 : 0;
                greekPositions_ += isGreekPosition(b) ? 1 : 0;
                continue;
            }
            if (kind == Cp1251Byte::Latin) {
                latin_ = true;
                continue;
            }
            endWord();
            foreign_ = foreign_ || kind == Cp1251Byte::Foreign;
        }
        endWord();
    }

    bool certain() const {
        return !foreign_ && !failed_ && capitalised_ > 0 && allSmall_ * 3 >= allLetters_ * 2 &&
               allVowels_ * 4 >= allLetters_ && allGreekPositions_ * 4 <= allLetters_;
    }

private:
    void endWord() {
        if (letters_ > 0) {
            failed_ = failed_ || latin_ || wrongCase_ || misspelt_ ||
                      (letters_ >= 3 && small_ > 0 && vowels_ == 0);
            if (capitals_ == 1 && small_ > 0)
                ++capitalised_;
            if (letters_ > 1) { // initials say nothing of proportions
                allLetters_ += letters_;
                allSmall_ += small_;
                allVowels_ += vowels_;
                allGreekPositions_ += greekPositions_;
            }
        }
        letters_ = capitals_ = small_ = vowels_ = greekPositions_ = 0;
        latin_ = wrongCase_ = misspelt_ = false;
        previous_ = 0;
    }

    int letters_ = 0, capitals_ = 0, small_ = 0, vowels_ = 0, greekPositions_ = 0; // of the word
    bool latin_ = false, wrongCase_ = false, misspelt_ = false;
    unsigned char previous_ = 0;
    int capitalised_ = 0;
    int allLetters_ = 0, allSmall_ = 0, allVowels_ = 0, allGreekPositions_ = 0;
    bool foreign_ = false;
    bool failed_ = false;
};

enum class Script { Latin, Other, Unknown };

// The key of knownCodePages() that a detector's answer stands for, and its script. Latin
// answers on short texts scatter over many code pages (ISO-8859-2, -13, IBM852 for one
// "é"); karaoke files in Latin script are written in Windows-1252, so they all read as it.
std::pair<QString, Script> restrictAnswer(const QByteArray& answer) {
    static const std::map<QByteArray, QString> other = {
        {"WINDOWS-1251", QStringLiteral("cp1251")},
        {"KOI8-R", QStringLiteral("koi8-r")},
        {"IBM866", QStringLiteral("cp866")},
        {"ISO-8859-5", QStringLiteral("iso-8859-5")},
        {"ISO-8859-7", QStringLiteral("iso-8859-7")},
        {"WINDOWS-1253", QStringLiteral("iso-8859-7")},
        {"SHIFT_JIS", QStringLiteral("shift_jis")},
        {"BIG5", QStringLiteral("big5")},
        {"EUC-KR", QStringLiteral("euc-kr")},
    };
    if (const auto found = other.find(answer); found != other.end())
        return {found->second, Script::Other};
    static const QByteArrayList latin = {
        "WINDOWS-1252", "WINDOWS-1250", "WINDOWS-1254", "WINDOWS-1257", "ISO-8859-1",
        "ISO-8859-2",   "ISO-8859-3",   "ISO-8859-4",   "ISO-8859-9",   "ISO-8859-10",
        "ISO-8859-13",  "ISO-8859-15",  "ISO-8859-16",  "IBM852",       "MAC-CENTRALEUROPE"};
    if (latin.contains(answer))
        return {QStringLiteral("cp1252"), Script::Latin};
    return {QString(), Script::Unknown};
}

} // namespace

const std::vector<CodePageChoice>& knownCodePages() {
    static const std::vector<CodePageChoice> pages = {
        {QStringLiteral("cp1251"),
         QString::fromUtf8(QT_TRANSLATE_NOOP("songwick::Scan", "Windows-1251 (кириллица)")),
         "WINDOWS-1251"},
        {QStringLiteral("utf-8"), QStringLiteral("UTF-8"), "UTF-8"},
        {QStringLiteral("cp1252"),
         QString::fromUtf8(
             QT_TRANSLATE_NOOP("songwick::Scan", "Windows-1252 (западноевропейская)")),
         "WINDOWS-1252"},
        {QStringLiteral("koi8-r"), QStringLiteral("KOI8-R"), "KOI8-R"},
        {QStringLiteral("cp866"), QStringLiteral("CP866 (DOS)"), "CP866"},
        {QStringLiteral("iso-8859-1"), QStringLiteral("ISO-8859-1"), "ISO-8859-1"},
        {QStringLiteral("iso-8859-2"), QStringLiteral("ISO-8859-2"), "ISO-8859-2"},
        {QStringLiteral("iso-8859-5"), QStringLiteral("ISO-8859-5"), "ISO-8859-5"},
        {QStringLiteral("iso-8859-7"), QStringLiteral("ISO-8859-7"), "ISO-8859-7"},
        {QStringLiteral("iso-8859-9"), QStringLiteral("ISO-8859-9"), "ISO-8859-9"},
        {QStringLiteral("iso-8859-15"), QStringLiteral("ISO-8859-15"), "ISO-8859-15"},
        {QStringLiteral("shift_jis"), QStringLiteral("Shift-JIS"), "SHIFT_JIS"},
        {QStringLiteral("big5"), QStringLiteral("Big5"), "BIG5"},
        {QStringLiteral("euc-kr"), QStringLiteral("EUC-KR"), "EUC-KR"},
    };
    return pages;
}

const CodePageChoice* findCodePage(const QString& key) {
    for (const CodePageChoice& page : knownCodePages()) {
        if (page.key == key)
            return &page;
    }
    return nullptr;
}

QStringList knownCodePageKeys() {
    QStringList keys;
    for (const CodePageChoice& page : knownCodePages())
        keys << page.key;
    return keys;
}

struct CodePageDetector::Detector {
    uchardet_t handle = uchardet_new();
    std::vector<QByteArrayView> notAscii; // of the current file; the memory is kept for the next
    QByteArray input; // what the detector is given; the memory is kept for the next file
    ~Detector() { uchardet_delete(handle); }

    // Asks the detector about the texts in notAscii, a line each, up to kDetectorInputLimit
    // bytes. They are given in one call: each call costs the detector as much as some hundred
    // bytes, and sung words are a few bytes each.
    QByteArray answer() {
        uchardet_reset(handle);
        input.clear();
        for (QByteArrayView text : notAscii) {
            if (input.size() >= kDetectorInputLimit)
                break;
            input.append(text.first(std::min(text.size(), kDetectorInputLimit - input.size())));
            input.append('\n');
        }
        uchardet_handle_data(handle, input.constData(), size_t(input.size()));
        uchardet_data_end(handle);
        const char* charset = uchardet_get_charset(handle);
        return QByteArray(charset ? charset : "").toUpper();
    }
};

struct CodePageDetector::Converter {
    iconv_t handle;
    explicit Converter(const QByteArray& from) : handle(iconv_open("UTF-8", from.constData())) {}
    ~Converter() {
        if (valid())
            iconv_close(handle);
    }
    bool valid() const { return handle != iconv_t(-1); }

    QString convert(QByteArrayView text) {
        iconv(handle, nullptr, nullptr, nullptr, nullptr);
        QByteArray out(text.size() * 4 + 16, Qt::Uninitialized);
        char* in = const_cast<char*>(text.data());
        size_t inLeft = size_t(text.size());
        char* outAt = out.data();
        size_t outLeft = size_t(out.size());
        while (inLeft > 0) {
            if (iconv(handle, &in, &inLeft, &outAt, &outLeft) != size_t(-1))
                break;
            if (errno == E2BIG)
                break; // cannot happen with four bytes per input byte
            // A byte the code page does not define, or a cut multibyte character.
            ++in;
            --inLeft;
            if (outLeft >= 3) {
                std::memcpy(outAt, "\xEF\xBF\xBD", 3);
                outAt += 3;
                outLeft -= 3;
            }
            iconv(handle, nullptr, nullptr, nullptr, nullptr);
        }
        out.truncate(outAt - out.data());
        return QString::fromUtf8(out);
    }
};

CodePageDetector::CodePageDetector() : detector_(std::make_unique<Detector>()) {}
CodePageDetector::~CodePageDetector() = default;

CodePageGuess CodePageDetector::detect(const std::vector<QByteArrayView>& texts) {
    // Most texts are lyrics in ASCII, which tell nothing of the code page: the others are
    // picked out once. A byte order mark is never ASCII.
    std::vector<QByteArrayView>& notAscii = detector_->notAscii;
    notAscii.clear();
    for (QByteArrayView text : texts) {
        if (!isAscii(text))
            notAscii.push_back(text);
    }
    if (notAscii.empty())
        return {kAscii, 1.0, QStringLiteral("ascii")};
    bool utf8 = true;
    for (QByteArrayView text : notAscii) {
        if (startsWithBom(text))
            return {QStringLiteral("utf-8"), 1.0, QStringLiteral("bom")};
        utf8 = utf8 && isValidUtf8(text);
    }
    if (utf8)
        return {QStringLiteral("utf-8"), 1.0, QStringLiteral("utf-8")};

    WordShapes shapes;
    RussianWords russian;
    for (QByteArrayView text : notAscii) {
        shapes.count(text);
        russian.count(text);
    }
    // The cases the detector could not change are decided without it: Russian words, and
    // words of Latin letters with a few others, which read as Windows-1252 whatever it says.
    if (russian.certain())
        return {QStringLiteral("cp1251"), 1.0, QStringLiteral("letters")};
    const Script shapeScript = shapes.latinShaped() ? Script::Latin : Script::Other;
    if (shapeScript == Script::Latin && shapes.agreement() >= 0.8)
        return {QStringLiteral("cp1252"), shapes.agreement(), QStringLiteral("words")};
    const auto [answer, answerScript] = restrictAnswer(detector_->answer());
    if (answerScript == shapeScript || (shapes.none() && answerScript != Script::Unknown))
        return {answer, shapes.agreement(), QStringLiteral("detector")};
    // The detector named nothing we read, or a script the words do not have: the words
    // decide when they clearly agree among themselves.
    if (shapes.agreement() >= 0.8)
        return {shapeScript == Script::Latin ? QStringLiteral("cp1252") : QStringLiteral("cp1251"),
                shapes.agreement() * 0.75, QStringLiteral("words")};
    return {QStringLiteral("cp1251"), 0.0, QStringLiteral("unsure")};
}

QString CodePageDetector::decode(QByteArrayView text, const QString& key) {
    if (startsWithBom(text))
        text = text.sliced(kUtf8Bom.size());
    if (key == QStringLiteral("cp1251") || key == kAscii || isAscii(text))
        return decodeCp1251(text);
    if (key == QStringLiteral("utf-8"))
        return QString::fromUtf8(text);
    const CodePageChoice* page = findCodePage(key);
    if (!page)
        return decodeCp1251(text);
    auto& converter = converters_[key];
    if (!converter)
        converter = std::make_unique<Converter>(page->iconvName);
    if (!converter->valid())
        return decodeCp1251(text);
    return converter->convert(text);
}

} // namespace songwick
