#include "common/error.h"
#include "common/file_name_codec.h"
#include "office/sheet_reader.h"

#include <QCoreApplication>
#include <QXmlStreamReader>
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <map>
#include <memory>
#include <optional>
#include <pugixml.hpp>
#include <zip.h>

namespace songwick {
namespace {

// The small parts (workbook, relationships, styles) are read whole; more than this is not a
// workbook of ours or anyone's.
constexpr zip_uint64_t kMaxSmallPartSize = zip_uint64_t(16) << 20;
// The sheet and its strings are read as a stream; a table of a full record store written
// with long texts stays well below this, and it keeps a small archive that unpacks to
// gigabytes from keeping the import busy.
constexpr zip_uint64_t kMaxStreamedPartSize = zip_uint64_t(128) << 20;

struct ArchiveCloser {
    void operator()(zip_t* archive) const { zip_discard(archive); }
};
struct EntryCloser {
    void operator()(zip_file_t* entry) const { zip_fclose(entry); }
};
struct SourceFreer {
    void operator()(zip_source_t* source) const { zip_source_free(source); }
};

class Package {
public:
    Package(QByteArrayView bytes, const QString& name) : name_(name) {
        zip_error_t error;
        zip_error_init(&error);
        std::unique_ptr<zip_source_t, SourceFreer> source(
            zip_source_buffer_create(bytes.data(), zip_uint64_t(bytes.size()), 0, &error));
        if (!source)
            throw Error(damagedWorkbookMessage(name));
        archive_.reset(zip_open_from_source(source.get(), ZIP_RDONLY, &error));
        zip_error_fini(&error);
        if (!archive_)
            throw Error(damagedWorkbookMessage(name));
        source.release(); // the archive owns it now
    }

    bool has(const QString& part) const {
        zip_stat_t stat;
        zip_stat_init(&stat);
        return zip_stat(archive_.get(), part.toUtf8().constData(), 0, &stat) == 0;
    }

    // Calls consume(chunk) for the part's bytes in order. False when the package has no such
    // part; throws when it is damaged or larger than limit.
    template <typename Consume>
    bool stream(const QString& part, zip_uint64_t limit, Consume&& consume) const {
        const QByteArray entryName = part.toUtf8();
        zip_stat_t stat;
        zip_stat_init(&stat);
        if (zip_stat(archive_.get(), entryName.constData(), 0, &stat) != 0)
            return false;
        if ((stat.valid & ZIP_STAT_SIZE) && stat.size > limit)
            throw tooLarge();
        std::unique_ptr<zip_file_t, EntryCloser> entry(
            zip_fopen(archive_.get(), entryName.constData(), 0));
        if (!entry)
            throw damaged();
        char buffer[65536];
        zip_uint64_t total = 0;
        for (;;) {
            const zip_int64_t got = zip_fread(entry.get(), buffer, sizeof buffer);
            if (got < 0)
                throw damaged();
            if (got == 0)
                return true;
            total += zip_uint64_t(got);
            // The size in the directory may lie; what comes out counts.
            if (total > limit)
                throw tooLarge();
            consume(QByteArrayView(buffer, qsizetype(got)));
        }
    }

    std::optional<QByteArray> part(const QString& name) const {
        QByteArray bytes;
        if (!stream(name, kMaxSmallPartSize, [&](QByteArrayView chunk) { bytes.append(chunk); }))
            return std::nullopt;
        return bytes;
    }

    QByteArray requiredPart(const QString& name) const {
        std::optional<QByteArray> bytes = part(name);
        if (!bytes)
            throw damaged();
        return *std::move(bytes);
    }

    Error damaged() const { return Error(damagedWorkbookMessage(name_)); }
    Error tooLarge() const {
        return Error(
            QCoreApplication::translate(
                "songwick::Office", "Книга \"%1\" слишком велика для таблицы. Файл не загружен.")
                .arg(displayFileName(name_)));
    }

private:
    QString name_;
    std::unique_ptr<zip_t, ArchiveCloser> archive_;
};

// Element names without their namespace prefix ("x:row" is "row").
const char* localName(const pugi::xml_node& node) {
    const char* name = node.name();
    const char* colon = std::strrchr(name, ':');
    return colon ? colon + 1 : name;
}

bool isNamed(const pugi::xml_node& node, const char* name) {
    return std::strcmp(localName(node), name) == 0;
}

pugi::xml_node child(const pugi::xml_node& parent, const char* name) {
    for (pugi::xml_node node : parent.children()) {
        if (isNamed(node, name))
            return node;
    }
    return {};
}

pugi::xml_attribute attributeNamed(const pugi::xml_node& node, const char* name) {
    for (pugi::xml_attribute attribute : node.attributes()) {
        const char* colon = std::strrchr(attribute.name(), ':');
        if (std::strcmp(colon ? colon + 1 : attribute.name(), name) == 0)
            return attribute;
    }
    return {};
}

void parse(pugi::xml_document& document, QByteArray& bytes, const Package& package) {
    const pugi::xml_parse_result result = document.load_buffer_inplace(
        bytes.data(), std::size_t(bytes.size()), pugi::parse_default, pugi::encoding_utf8);
    if (!result)
        throw package.damaged();
}

// Joins a relationship target to the folder of the part that refers to it.
QString resolveTarget(const QString& target, const QString& baseFolder) {
    if (target.startsWith(u'/'))
        return target.mid(1);
    QStringList parts = (baseFolder + target).split(u'/', Qt::SkipEmptyParts);
    QStringList resolved;
    for (const QString& part : parts) {
        if (part == u"..") {
            if (!resolved.isEmpty())
                resolved.removeLast();
        } else if (part != u".") {
            resolved.append(part);
        }
    }
    return resolved.join(u'/');
}

struct WorkbookParts {
    QString firstSheet = QStringLiteral("xl/worksheets/sheet1.xml");
    QString sharedStrings = QStringLiteral("xl/sharedStrings.xml");
    QString styles = QStringLiteral("xl/styles.xml");
    bool dates1904 = false;
};

WorkbookParts findParts(const Package& package) {
    WorkbookParts parts;
    QByteArray workbookBytes = package.requiredPart(QStringLiteral("xl/workbook.xml"));
    pugi::xml_document workbook;
    parse(workbook, workbookBytes, package);
    const pugi::xml_node properties = child(workbook.document_element(), "workbookPr");
    const QByteArray dates1904 = attributeNamed(properties, "date1904").value();
    parts.dates1904 = dates1904 == "1" || dates1904 == "true";
    const pugi::xml_node sheets = child(workbook.document_element(), "sheets");
    const pugi::xml_node firstSheet = child(sheets, "sheet");
    const QString sheetId = QString::fromUtf8(attributeNamed(firstSheet, "id").value());

    std::optional<QByteArray> relationsBytes =
        package.part(QStringLiteral("xl/_rels/workbook.xml.rels"));
    if (!relationsBytes)
        return parts;
    pugi::xml_document relations;
    parse(relations, *relationsBytes, package);
    for (pugi::xml_node relation : relations.document_element().children()) {
        const QString id = QString::fromUtf8(relation.attribute("Id").value());
        const QString type = QString::fromUtf8(relation.attribute("Type").value());
        const QString target = resolveTarget(
            QString::fromUtf8(relation.attribute("Target").value()), QStringLiteral("xl/"));
        if (!sheetId.isEmpty() && id == sheetId)
            parts.firstSheet = target;
        else if (type.endsWith(u"/sharedStrings"))
            parts.sharedStrings = target;
        else if (type.endsWith(u"/styles"))
            parts.styles = target;
    }
    return parts;
}

// --- dates -------------------------------------------------------------------------------

enum class DateStyle : unsigned char { None, Date, DateTime, Time };

DateStyle builtInDateStyle(int id) {
    if (id >= 14 && id <= 17)
        return DateStyle::Date;
    if ((id >= 18 && id <= 21) || (id >= 45 && id <= 47))
        return DateStyle::Time;
    if (id == 22)
        return DateStyle::DateTime;
    return DateStyle::None;
}

// A number format code shows a date when it holds day, month or year tokens outside quoted
// texts, escapes and colour or condition brackets; a time when it holds hours or seconds.
DateStyle formatCodeStyle(const QString& code) {
    bool date = false;
    bool time = false;
    bool month = false;
    for (qsizetype i = 0; i < code.size(); ++i) {
        const QChar c = code[i].toLower();
        if (c == u'"') {
            i = code.indexOf(u'"', i + 1);
            if (i < 0)
                break;
        } else if (c == u'\\' || c == u'_' || c == u'*') {
            ++i;
        } else if (c == u'[') {
            const qsizetype end = code.indexOf(u']', i);
            const QString inside = code.mid(i + 1, end < 0 ? -1 : end - i - 1).toLower();
            if (inside == u"h" || inside == u"hh" || inside == u"s" || inside == u"ss" ||
                inside == u"m" || inside == u"mm")
                time = true;
            if (end < 0)
                break;
            i = end;
        } else if (c == u'd' || c == u'y') {
            date = true;
        } else if (c == u'm') {
            month = true;
        } else if (c == u'h' || c == u's') {
            time = true;
        } else if (c == u';') {
            break; // the first section decides
        }
    }
    date = date || (month && !time);
    if (date && time)
        return DateStyle::DateTime;
    if (date)
        return DateStyle::Date;
    return time ? DateStyle::Time : DateStyle::None;
}

// The date style of each cell format, by its index (the cells' "s").
std::vector<DateStyle> readDateStyles(const Package& package, const QString& part) {
    std::vector<DateStyle> styles;
    std::optional<QByteArray> bytes = package.part(part);
    if (!bytes)
        return styles;
    pugi::xml_document document;
    if (!document.load_buffer_inplace(bytes->data(), std::size_t(bytes->size()),
                                      pugi::parse_default, pugi::encoding_utf8))
        return styles; // a workbook with damaged styles still has its values
    std::map<int, DateStyle> customFormats;
    for (pugi::xml_node format : child(document.document_element(), "numFmts").children()) {
        if (isNamed(format, "numFmt"))
            customFormats[format.attribute("numFmtId").as_int(-1)] =
                formatCodeStyle(QString::fromUtf8(format.attribute("formatCode").value()));
    }
    for (pugi::xml_node format : child(document.document_element(), "cellXfs").children()) {
        if (!isNamed(format, "xf"))
            continue;
        const int id = format.attribute("numFmtId").as_int(0);
        const auto custom = customFormats.find(id);
        styles.push_back(custom != customFormats.end() ? custom->second : builtInDateStyle(id));
    }
    return styles;
}

QString dateStyleText(double value, DateStyle style, bool dates1904) {
    if (dates1904)
        value += 1462;
    if (style == DateStyle::Time && std::isfinite(value) && value >= 0 && value < 1)
        return dateCellText(value, true).mid(11);
    return dateCellText(value, style != DateStyle::Date);
}

// --- texts -------------------------------------------------------------------------------

int hexDigit(QChar c) {
    if (c >= u'0' && c <= u'9')
        return c.unicode() - u'0';
    const char16_t lower = c.toLower().unicode();
    if (lower >= u'a' && lower <= u'f')
        return lower - u'a' + 10;
    return -1;
}

// Characters that XML cannot hold are written as "_xHHHH_" (and an underscore that would read
// as one as "_x005F_").
QString decodeEscapes(QString text) {
    if (!text.contains(QStringLiteral("_x")))
        return text;
    QString decoded;
    decoded.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'_' && i + 6 < text.size() && text[i + 1] == u'x' && text[i + 6] == u'_') {
            int code = 0;
            bool valid = true;
            for (int k = 2; k < 6 && valid; ++k) {
                const int digit = hexDigit(text[i + k]);
                valid = digit >= 0;
                code = code * 16 + digit;
            }
            if (valid) {
                decoded += QChar(char16_t(code));
                i += 6;
                continue;
            }
        }
        decoded += text[i];
    }
    return decoded;
}

// Feeds a part to an XML stream reader chunk by chunk; handle(reader) takes the tokens. A part
// that is not well-formed is damaged, and so is one that ends before its document does (a
// chunk may end anywhere, so only the end of the last one tells): a sheet cut short would
// otherwise read as a shorter table.
template <typename Handle>
bool streamXml(const Package& package, const QString& part, Handle&& handle) {
    QXmlStreamReader reader;
    const bool present = package.stream(part, kMaxStreamedPartSize, [&](QByteArrayView chunk) {
        reader.addData(QByteArray(chunk.data(), chunk.size()));
        while (!reader.atEnd()) {
            reader.readNext();
            if (reader.hasError())
                break;
            handle(reader);
        }
        if (reader.hasError() && reader.error() != QXmlStreamReader::PrematureEndOfDocumentError)
            throw package.damaged();
    });
    if (present && (reader.hasError() || reader.tokenType() != QXmlStreamReader::EndDocument))
        throw package.damaged();
    return present;
}

// "C12" to row 12, column 3; nothing for anything else.
std::optional<std::pair<int, int>> parseReference(QStringView reference) {
    int column = 0;
    qsizetype i = 0;
    for (; i < reference.size() && reference[i].isLetter() && reference[i].unicode() < 128; ++i) {
        column = column * 26 + (reference[i].toLower().unicode() - u'a' + 1);
        if (column > 16384)
            return std::nullopt;
    }
    int row = 0;
    const qsizetype digits = i;
    for (; i < reference.size() && reference[i] >= u'0' && reference[i] <= u'9'; ++i) {
        row = row * 10 + (reference[i].unicode() - u'0');
        if (row > 1048576)
            return std::nullopt;
    }
    if (column == 0 || i == digits || i != reference.size() || row < 1)
        return std::nullopt;
    return std::pair{row, column};
}

// A plain decimal as given, held at 2^31 - 1 when larger; nothing for anything else or 0.
std::optional<int> parseRowNumber(QStringView text) {
    if (text.isEmpty())
        return std::nullopt;
    qint64 row = 0;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        row = std::min<qint64>(row * 10 + (c.unicode() - u'0'), INT_MAX);
    }
    return row >= 1 ? std::optional<int>(int(row)) : std::nullopt;
}

struct SharedStringCell {
    int row;
    int column;
    quint32 index;
};

// Reads the sheet's cells as a stream, checking each place against the limits as it comes.
class SheetParser {
public:
    SheetParser(const SheetLimits& limits, const std::vector<DateStyle>& dateStyles, bool dates1904,
                const QString& name)
        : limits_(limits), dateStyles_(dateStyles), dates1904_(dates1904), name_(name) {}

    void handle(QXmlStreamReader& reader) {
        if (reader.isStartElement())
            start(reader);
        else if (reader.isEndElement())
            end(reader.name());
        else if (reader.isCharacters() && target_)
            target_->append(reader.text());
    }

    SheetValues& values() { return values_; }
    std::vector<SharedStringCell>& sharedStringCells() { return sharedStringCells_; }

private:
    void start(QXmlStreamReader& reader) {
        const QStringView name = reader.name();
        if (name == u"sheetData") {
            inSheetData_ = true;
        } else if (!inSheetData_) {
            return;
        } else if (name == u"row") {
            const std::optional<int> given =
                parseRowNumber(reader.attributes().value(QLatin1String("r")));
            rowNumber_ = given ? *given : rowNumber_ + 1;
            checkRow(rowNumber_);
            columnNumber_ = 0;
        } else if (name == u"c") {
            startCell(reader);
        } else if (inCell_ && name == u"v") {
            target_ = &value_;
        } else if (inCell_ && name == u"rPh") {
            inPhonetic_ = true;
        } else if (inCell_ && name == u"t" && !inPhonetic_) {
            target_ = &inlineText_;
        }
    }

    void startCell(QXmlStreamReader& reader) {
        const QXmlStreamAttributes attributes = reader.attributes();
        const auto reference = parseReference(attributes.value(QLatin1String("r")));
        if (reference) {
            cellRow_ = reference->first;
            columnNumber_ = reference->second;
        } else {
            cellRow_ = rowNumber_;
            ++columnNumber_;
        }
        checkRow(cellRow_);
        if (columnNumber_ > limits_.maxColumn || columnNumber_ > 16384)
            throw Error(tooLargeMessage());
        inCell_ = true;
        type_ = attributes.value(QLatin1String("t")).toString();
        const std::optional<int> style = parseRowNumber(attributes.value(QLatin1String("s")));
        style_ = style ? *style : 0;
        value_.clear();
        inlineText_.clear();
    }

    void end(QStringView name) {
        if (name == u"v" || name == u"t") {
            target_ = nullptr;
        } else if (name == u"rPh") {
            inPhonetic_ = false;
        } else if (name == u"c" && inCell_) {
            inCell_ = false;
            target_ = nullptr;
            finishCell();
        } else if (name == u"sheetData") {
            inSheetData_ = false;
        }
    }

    void finishCell() {
        if (columnNumber_ > limits_.keptColumns)
            return;
        if (type_ == u"s") {
            bool isNumber = false;
            const uint index = value_.trimmed().toUInt(&isNumber);
            if (isNumber) {
                countCell();
                sharedStringCells_.push_back({cellRow_, columnNumber_, index});
            }
            return;
        }
        QString text = cellText();
        if (text.isEmpty())
            return;
        countCell();
        values_.setText(cellRow_, columnNumber_, std::move(text));
    }

    QString cellText() const {
        if (type_ == u"inlineStr")
            return decodeEscapes(inlineText_);
        if (type_ == u"b")
            return value_.trimmed() == u"0" ? QStringLiteral("FALSE") : QStringLiteral("TRUE");
        if (type_ == u"str" || type_ == u"e")
            return decodeEscapes(value_);
        if (type_ == u"d")
            return isoDateText(value_);
        if (value_.isEmpty())
            return {};
        bool isNumber = false;
        const double number = value_.trimmed().toDouble(&isNumber);
        if (!isNumber)
            return value_;
        const DateStyle style =
            style_ < int(dateStyles_.size()) ? dateStyles_[std::size_t(style_)] : DateStyle::None;
        return style == DateStyle::None ? numberText(number)
                                        : dateStyleText(number, style, dates1904_);
    }

    // "2024-03-05T14:30:00" as "05.03.2024 14:30:00"; anything else as it stands.
    static QString isoDateText(const QString& text) {
        if (text.size() < 10 || text[4] != u'-' || text[7] != u'-')
            return text;
        QString shown = text.mid(8, 2) + u'.' + text.mid(5, 2) + u'.' + text.left(4);
        if (text.size() >= 19 && text[10] == u'T')
            shown += u' ' + text.mid(11, 8);
        return shown;
    }

    void checkRow(int row) const {
        if (row > limits_.maxRow)
            throw Error(tooLargeMessage());
    }

    void countCell() {
        if (++cellCount_ > limits_.maxCells)
            throw Error(QCoreApplication::translate(
                            "songwick::Office",
                            "Лист книги \"%1\" содержит больше %2 заполненных ячеек. "
                            "Файл не загружен.")
                            .arg(displayFileName(name_))
                            .arg(limits_.maxCells));
    }

    QString tooLargeMessage() const {
        return QCoreApplication::translate(
                   "songwick::Office",
                   "Лист книги \"%1\" больше, чем может принять таблица (%2 строк, "
                   "%3 столбцов). Файл не загружен.")
            .arg(displayFileName(name_))
            .arg(limits_.maxRow)
            .arg(limits_.maxColumn);
    }

    const SheetLimits& limits_;
    const std::vector<DateStyle>& dateStyles_;
    const bool dates1904_;
    const QString& name_;
    SheetValues values_;
    std::vector<SharedStringCell> sharedStringCells_;
    qsizetype cellCount_ = 0;
    bool inSheetData_ = false;
    bool inCell_ = false;
    bool inPhonetic_ = false;
    int rowNumber_ = 0;
    int columnNumber_ = 0;
    int cellRow_ = 0;
    int style_ = 0;
    QString type_;
    QString value_;
    QString inlineText_;
    QString* target_ = nullptr;
};

// The texts of the string items the sheet refers to, by their index; the others are passed
// over, so that a long table of strings nobody uses takes no memory.
class SharedStringParser {
public:
    explicit SharedStringParser(std::vector<quint32> needed) : needed_(std::move(needed)) {
        std::sort(needed_.begin(), needed_.end());
        needed_.erase(std::unique(needed_.begin(), needed_.end()), needed_.end());
        texts_.resize(needed_.size());
    }

    void handle(QXmlStreamReader& reader) {
        if (reader.isStartElement()) {
            const QStringView name = reader.name();
            if (name == u"si") {
                inItem_ = true;
                current_ = slotOf(index_);
            } else if (name == u"rPh") {
                inPhonetic_ = true;
            } else if (name == u"t" && inItem_ && !inPhonetic_ && current_) {
                inText_ = true;
            }
        } else if (reader.isEndElement()) {
            const QStringView name = reader.name();
            if (name == u"si") {
                inItem_ = false;
                if (current_)
                    *current_ = decodeEscapes(*current_);
                current_ = nullptr;
                ++index_;
            } else if (name == u"rPh") {
                inPhonetic_ = false;
            } else if (name == u"t") {
                inText_ = false;
            }
        } else if (reader.isCharacters() && inText_ && current_) {
            current_->append(reader.text());
        }
    }

    const QString& text(quint32 index) const {
        static const QString empty;
        const auto found = std::lower_bound(needed_.begin(), needed_.end(), index);
        return found != needed_.end() && *found == index
                   ? texts_[std::size_t(found - needed_.begin())]
                   : empty;
    }

private:
    QString* slotOf(quint64 index) {
        const auto found = std::lower_bound(needed_.begin(), needed_.end(), index);
        return found != needed_.end() && *found == index
                   ? &texts_[std::size_t(found - needed_.begin())]
                   : nullptr;
    }

    std::vector<quint32> needed_;
    std::vector<QString> texts_;
    quint64 index_ = 0;
    QString* current_ = nullptr;
    bool inItem_ = false;
    bool inPhonetic_ = false;
    bool inText_ = false;
};

} // namespace

SheetValues readXlsxFirstSheet(QByteArrayView bytes, const QString& name,
                               const SheetLimits& limits) {
    const Package package(bytes, name);
    const WorkbookParts parts = findParts(package);
    const std::vector<DateStyle> dateStyles = readDateStyles(package, parts.styles);

    SheetParser sheet(limits, dateStyles, parts.dates1904, name);
    if (!streamXml(package, parts.firstSheet,
                   [&](QXmlStreamReader& reader) { sheet.handle(reader); }))
        throw package.damaged();
    SheetValues& values = sheet.values();
    std::vector<SharedStringCell>& cells = sheet.sharedStringCells();
    if (cells.empty())
        return std::move(values);

    std::vector<quint32> needed;
    needed.reserve(cells.size());
    for (const SharedStringCell& cell : cells)
        needed.push_back(cell.index);
    SharedStringParser strings(std::move(needed));
    streamXml(package, parts.sharedStrings,
              [&](QXmlStreamReader& reader) { strings.handle(reader); });
    for (const SharedStringCell& cell : cells)
        values.setText(cell.row, cell.column, strings.text(cell.index));
    return std::move(values);
}

} // namespace songwick
