#include "textview/rtf_reader.h"

#include "common/cp1251_codec.h"

#include <QByteArray>
#include <QHash>
#include <QStringDecoder>
#include <algorithm>
#include <array>
#include <climits>
#include <memory>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace songwick {
namespace {

using namespace std::string_view_literals;

constexpr int kDefaultCodePage = 1252;

// Code page 1252, bytes 0x80 to 0x9F; the rest of the upper half is Latin-1. The five
// unassigned bytes stand for the C1 control of the same number.
constexpr std::array<char16_t, 32> kCp1252Controls = {
    u'\u20AC', u'\u0081', u'\u201A', u'\u0192', u'\u201E', u'\u2026', u'\u2020', u'\u2021',
    u'\u02C6', u'\u2030', u'\u0160', u'\u2039', u'\u0152', u'\u008D', u'\u017D', u'\u008F',
    u'\u0090', u'\u2018', u'\u2019', u'\u201C', u'\u201D', u'\u2022', u'\u2013', u'\u2014',
    u'\u02DC', u'\u2122', u'\u0161', u'\u203A', u'\u0153', u'\u009D', u'\u017E', u'\u0178',
};

QString decodeCp1252(QByteArrayView bytes) {
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        *out++ = QChar(byte >= 0x80 && byte < 0xA0 ? kCp1252Controls[byte - 0x80] : char16_t(byte));
    }
    return text;
}

// The code page a font's \fcharset stands for; 0 for "the document's code page".
int codePageOfCharset(int charset) {
    switch (charset) {
    case 77:
        return 10000;
    case 128:
        return 932;
    case 129:
        return 949;
    case 130:
        return 1361;
    case 134:
        return 936;
    case 136:
        return 950;
    case 161:
        return 1253;
    case 162:
        return 1254;
    case 163:
        return 1258;
    case 177:
        return 1255;
    case 178:
        return 1256;
    case 186:
        return 1257;
    case 204:
        return 1251;
    case 222:
        return 874;
    case 238:
        return 1250;
    case 254:
        return 437;
    case 255:
        return 850;
    default:
        return 0;
    }
}

// Decoders of the code pages a document uses, made once each. Pages the platform does not
// know are read as 1252.
class CodePageDecoders {
public:
    QString decode(int codePage, QByteArrayView bytes) {
        if (codePage == 1251)
            return decodeCp1251(bytes);
        if (codePage == 1252)
            return decodeCp1252(bytes);
        auto found = decoders_.find(codePage);
        if (found == decoders_.end())
            found = decoders_.emplace(codePage, makeDecoder(codePage)).first;
        if (!found->second)
            return decodeCp1252(bytes);
        return found->second->decode(bytes);
    }

private:
    static std::unique_ptr<QStringDecoder> makeDecoder(int codePage) {
        const QByteArray number = QByteArray::number(codePage);
        QByteArrayList names = {"windows-" + number, "cp" + number, "IBM" + number};
        if (codePage == 10000)
            names.prepend("macintosh");
        for (const QByteArray& name : names) {
            auto decoder = std::make_unique<QStringDecoder>(name.constData(),
                                                            QStringConverter::Flag::Stateless);
            if (decoder->isValid())
                return decoder;
        }
        return nullptr;
    }

    std::unordered_map<int, std::unique_ptr<QStringDecoder>> decoders_;
};

// Destinations whose text is not part of the document's body, sorted.
// clang-format off
constexpr std::array kSkippedDestinations = {
    "aftncn"sv, "aftnsep"sv, "aftnsepc"sv, "annotation"sv, "atnauthor"sv, "atndate"sv,
    "atnicn"sv, "atnid"sv, "atnparent"sv, "atnref"sv, "atntime"sv, "atrfend"sv, "atrfstart"sv,
    "author"sv, "bkmkend"sv, "bkmkstart"sv, "blipuid"sv, "buptim"sv, "category"sv,
    "colorschememapping"sv, "colortbl"sv, "comment"sv, "company"sv, "creatim"sv, "datafield"sv,
    "datastore"sv, "defchp"sv, "defpap"sv, "do"sv, "doccomm"sv, "docvar"sv, "dptxbxtext"sv,
    "falt"sv, "fchars"sv, "ffdeftext"sv, "ffentrymcr"sv, "ffexitmcr"sv, "ffformat"sv,
    "ffhelptext"sv, "ffl"sv, "ffname"sv, "ffstattext"sv, "filetbl"sv, "fldinst"sv, "fontemb"sv,
    "fontfile"sv, "fonttbl"sv, "footer"sv, "footerf"sv, "footerl"sv, "footerr"sv, "footnote"sv,
    "formfield"sv, "ftncn"sv, "ftnsep"sv, "ftnsepc"sv, "generator"sv, "header"sv, "headerf"sv,
    "headerl"sv, "headerr"sv, "hlinkbase"sv, "info"sv, "keywords"sv, "latentstyles"sv,
    "lchars"sv, "listname"sv, "listoverridetable"sv, "listpicture"sv, "listtable"sv,
    "listtext"sv, "manager"sv, "mmathPr"sv, "nonshppict"sv, "objalias"sv, "objclass"sv,
    "objdata"sv, "object"sv, "objname"sv, "objsect"sv, "objtime"sv, "oldcprops"sv,
    "oldpprops"sv, "oldsprops"sv, "oldtprops"sv, "operator"sv, "panose"sv, "password"sv,
    "passwordhash"sv, "pgdsctbl"sv, "pict"sv, "pn"sv, "pnseclvl"sv, "pntext"sv, "pntxta"sv,
    "pntxtb"sv, "printim"sv, "private"sv, "propname"sv, "protusertbl"sv, "revtbl"sv, "revtim"sv,
    "rsidtbl"sv, "rxe"sv, "shp"sv, "shpinst"sv, "shprslt"sv, "stylesheet"sv, "subject"sv,
    "tc"sv, "template"sv, "themedata"sv, "title"sv, "txe"sv, "userprops"sv, "wgrffmtfilter"sv,
    "windowcaption"sv, "writereservation"sv, "writereservhash"sv, "xe"sv, "xform"sv,
    "xmlattrname"sv, "xmlattrvalue"sv, "xmlclose"sv, "xmlname"sv, "xmlnstbl"sv, "xmlopen"sv,
};
// clang-format on
static_assert(std::is_sorted(kSkippedDestinations.begin(), kSkippedDestinations.end()));

std::string_view asStringView(QByteArrayView word) {
    return {word.data(), static_cast<size_t>(word.size())};
}

bool isSkippedDestination(QByteArrayView word) {
    return std::binary_search(kSkippedDestinations.begin(), kSkippedDestinations.end(),
                              asStringView(word));
}

// What each group keeps of the state around it.
struct GroupState {
    bool skipped = false;   // inside a destination that is not body text
    bool fontTable = false; // inside the font table
    int unicodeSkip = 1;    // \ucN: characters that stand in for each \uN
    int font = -1;          // \fN; -1 for the document's default font
};

class RtfParser {
public:
    explicit RtfParser(QByteArrayView rtf) : rtf_(rtf) {}

    QStringList run() {
        while (at_ < rtf_.size() && !finished_) {
            const char c = rtf_[at_++];
            if (c == '{')
                openGroup();
            else if (c == '}')
                closeGroup();
            else if (c == '\\')
                readControl();
            else if (c != '\r' && c != '\n')
                takeByte(c);
        }
        flushBytes();
        if (!line_.isEmpty())
            lines_.append(line_);
        return lines_;
    }

private:
    void openGroup() {
        flushBytes();
        skipPending_ = 0;
        groups_.push_back(state_);
    }

    void closeGroup() {
        flushBytes();
        skipPending_ = 0;
        if (groups_.empty()) {
            finished_ = true; // the document's own closing brace
            return;
        }
        state_ = groups_.back();
        groups_.pop_back();
        if (groups_.empty())
            finished_ = true;
    }

    void readControl() {
        if (at_ >= rtf_.size())
            return;
        const char c = rtf_[at_];
        if (isLetter(c)) {
            readControlWord();
            return;
        }
        ++at_;
        if (c == '\'') {
            readHexByte();
            return;
        }
        flushBytes();
        if (consumeSkippedCharacter())
            return;
        switch (c) {
        case '\\':
        case '{':
        case '}':
            appendText(QChar(char16_t(c)));
            break;
        case '~':
            appendText(QChar(u'\u00A0'));
            break;
        case '_':
            appendText(QChar(u'-'));
            break;
        case '*':
            state_.skipped = true;
            break;
        case '\r':
        case '\n':
            endLine();
            break;
        case '\t':
            appendText(QChar(u'\t'));
            break;
        default:
            break; // \- optional hyphen, \: index entry, \| formula
        }
    }

    void readHexByte() {
        int value = 0;
        int digits = 0;
        while (digits < 2 && at_ < rtf_.size()) {
            const int digit = hexValue(rtf_[at_]);
            if (digit < 0)
                break;
            value = value * 16 + digit;
            ++digits;
            ++at_;
        }
        if (digits < 2)
            return; // a damaged escape stands for nothing
        takeByte(static_cast<char>(value));
    }

    void readControlWord() {
        const qsizetype wordStart = at_;
        while (at_ < rtf_.size() && isLetter(rtf_[at_]) && at_ - wordStart < 32)
            ++at_;
        const QByteArrayView word = rtf_.sliced(wordStart, at_ - wordStart);
        bool negative = false;
        if (at_ < rtf_.size() && rtf_[at_] == '-') {
            negative = true;
            ++at_;
        }
        const qsizetype digitsStart = at_;
        long long value = 0;
        while (at_ < rtf_.size() && isDigit(rtf_[at_])) {
            if (at_ - digitsStart < 10)
                value = value * 10 + (rtf_[at_] - '0');
            ++at_;
        }
        const bool hasParameter = at_ > digitsStart;
        if (!hasParameter && negative)
            --at_; // a lone '-' is text
        if (at_ < rtf_.size() && rtf_[at_] == ' ')
            ++at_;
        const long long parameter = negative ? -value : value;
        flushBytes();
        if (word == "bin") {
            skipBinary(hasParameter ? parameter : 0);
            return;
        }
        if (consumeSkippedCharacter())
            return;
        applyControlWord(word, hasParameter, parameter);
    }

    void applyControlWord(QByteArrayView word, bool hasParameter, long long parameter) {
        const int intParameter =
            static_cast<int>(std::clamp<long long>(parameter, INT_MIN, INT_MAX));
        if (word == "fonttbl") {
            state_.skipped = true;
            state_.fontTable = true;
            return;
        }
        if (state_.fontTable) {
            readFontTableWord(word, hasParameter, intParameter);
            return;
        }
        if (isSkippedDestination(word)) {
            state_.skipped = true;
            return;
        }
        if (word == "u" && hasParameter) {
            appendUnicode(parameter);
            return;
        }
        if (word == "uc") {
            state_.unicodeSkip = std::max(0, intParameter);
        } else if (word == "f") {
            state_.font = intParameter;
        } else if (word == "plain") {
            state_.font = -1;
        } else if (word == "ansicpg") {
            if (intParameter > 0)
                setDocumentCodePage(intParameter);
        } else if (word == "ansi") {
            setDocumentCodePage(1252);
        } else if (word == "mac") {
            setDocumentCodePage(10000);
        } else if (word == "pc") {
            setDocumentCodePage(437);
        } else if (word == "pca") {
            setDocumentCodePage(850);
        } else if (word == "deff") {
            defaultFont_ = intParameter;
            cacheValid_ = false;
        } else if (word == "par" || word == "line" || word == "sect" || word == "row") {
            endLine();
        } else if (word == "tab" || word == "cell" || word == "nestcell") {
            appendText(QChar(u'\t'));
        } else {
            appendSymbol(word);
        }
    }

    void readFontTableWord(QByteArrayView word, bool hasParameter, int parameter) {
        if (!hasParameter)
            return;
        if (word == "f") {
            definingFont_ = parameter;
        } else if (word == "fcharset") {
            fontCharsets_[definingFont_] = parameter;
            cacheValid_ = false;
        } else if (word == "cpg") {
            fontCodePages_[definingFont_] = parameter;
            cacheValid_ = false;
        }
    }

    void appendSymbol(QByteArrayView word) {
        static constexpr std::pair<std::string_view, char16_t> kSymbols[] = {
            {"emdash", u'\u2014'},    {"endash", u'\u2013'},  {"emspace", u'\u2003'},
            {"enspace", u'\u2002'},   {"qmspace", u'\u2005'}, {"bullet", u'\u2022'},
            {"lquote", u'\u2018'},    {"rquote", u'\u2019'},  {"ldblquote", u'\u201C'},
            {"rdblquote", u'\u201D'}, {"zwj", u'\u200D'},     {"zwnj", u'\u200C'},
            {"ltrmark", u'\u200E'},   {"rtlmark", u'\u200F'},
        };
        for (const auto& [name, symbol] : kSymbols) {
            if (asStringView(word) == name) {
                appendText(QChar(symbol));
                return;
            }
        }
    }

    void appendUnicode(long long parameter) {
        const long long code = parameter < 0 ? parameter + 0x10000 : parameter;
        if (code > 0 && code <= 0x10FFFF) // QString::fromUcs4 would drop a byte order mark
            appendText(QStringView(QChar::fromUcs4(static_cast<char32_t>(code))));
        skipPending_ = state_.unicodeSkip;
    }

    void skipBinary(long long length) {
        if (length > 0)
            at_ = std::min<qsizetype>(rtf_.size(), at_ + static_cast<qsizetype>(length));
        consumeSkippedCharacter();
    }

    // A character that stands in for the \uN before it is dropped.
    bool consumeSkippedCharacter() {
        if (skipPending_ == 0)
            return false;
        --skipPending_;
        return true;
    }

    void takeByte(char byte) {
        if (consumeSkippedCharacter() || state_.skipped)
            return;
        if (static_cast<unsigned char>(byte) < 0x20 && byte != '\t')
            return; // control bytes are never text of an RTF file
        const int codePage = currentCodePage();
        if (!bytes_.isEmpty() && codePage != bytesCodePage_)
            flushBytes();
        bytesCodePage_ = codePage;
        bytes_.append(byte);
    }

    void setDocumentCodePage(int codePage) {
        documentCodePage_ = codePage;
        cacheValid_ = false;
    }

    // Looked up once per change of font: text is taken byte by byte.
    int currentCodePage() {
        const int font = state_.font >= 0 ? state_.font : defaultFont_;
        if (font != cachedFont_ || !cacheValid_) {
            cachedFont_ = font;
            cachedCodePage_ = codePageOfFont(font);
            cacheValid_ = true;
        }
        return cachedCodePage_;
    }

    int codePageOfFont(int font) const {
        if (const auto page = fontCodePages_.constFind(font); page != fontCodePages_.constEnd())
            return page.value();
        if (const auto charset = fontCharsets_.constFind(font);
            charset != fontCharsets_.constEnd()) {
            if (const int page = codePageOfCharset(charset.value()); page != 0)
                return page;
        }
        return documentCodePage_;
    }

    // Bytes are decoded together so that a double-byte code page sees its pairs whole.
    void flushBytes() {
        if (bytes_.isEmpty())
            return;
        appendWithoutControls(decoders_.decode(bytesCodePage_, bytes_));
        bytes_.clear();
    }

    // Control characters other than the tab are never text of a line, however they are
    // written (raw, \'xx or \uN).
    void appendText(QStringView text) {
        if (!state_.skipped)
            appendWithoutControls(text);
    }

    void appendWithoutControls(QStringView text) {
        for (const QChar c : text) {
            if (c.unicode() >= 0x20 || c == u'\t')
                line_ += c;
        }
    }

    void appendText(QChar character) { appendText(QStringView(&character, 1)); }

    void endLine() {
        if (state_.skipped)
            return;
        lines_.append(line_);
        line_.clear();
    }

    static bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
    static bool isDigit(char c) { return c >= '0' && c <= '9'; }

    static int hexValue(char c) {
        if (c >= '0' && c <= '9')
            return c - '0';
        if (c >= 'a' && c <= 'f')
            return c - 'a' + 10;
        if (c >= 'A' && c <= 'F')
            return c - 'A' + 10;
        return -1;
    }

    QByteArrayView rtf_;
    qsizetype at_ = 0;
    bool finished_ = false;

    GroupState state_;
    std::vector<GroupState> groups_;
    int skipPending_ = 0;

    int documentCodePage_ = kDefaultCodePage;
    bool cacheValid_ = false;
    int cachedFont_ = 0;
    int cachedCodePage_ = kDefaultCodePage;
    int defaultFont_ = 0;
    int definingFont_ = -1;
    QHash<int, int> fontCharsets_;
    QHash<int, int> fontCodePages_;
    CodePageDecoders decoders_;

    QByteArray bytes_;
    int bytesCodePage_ = kDefaultCodePage;
    QString line_;
    QStringList lines_;
};

} // namespace

bool RtfReader::isRtf(QByteArrayView bytes) {
    return bytes.startsWith(QByteArrayView("{\\rtf"));
}

QStringList RtfReader::toLines(QByteArrayView rtf) {
    return RtfParser(rtf).run();
}

} // namespace songwick
