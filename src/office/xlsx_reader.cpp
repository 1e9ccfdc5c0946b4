#include "common/error.h"
#include "office/sheet_reader.h"

#include <QFile>
#include <cstring>
#include <memory>
#include <optional>
#include <pugixml.hpp>
#include <zip.h>

namespace songwick {
namespace {

// Parts bigger than this are refused rather than read into memory.
constexpr zip_uint64_t kMaxPartSize = zip_uint64_t(1) << 30;

Error notAWorkbook(const QString& path) {
    return Error(QStringLiteral("Файл \"%1\" не является книгой Excel").arg(path));
}

struct ArchiveCloser {
    void operator()(zip_t* archive) const { zip_discard(archive); }
};
struct EntryCloser {
    void operator()(zip_file_t* entry) const { zip_fclose(entry); }
};

class Package {
public:
    explicit Package(const QString& path) : path_(path) {
        int error = 0;
        archive_.reset(zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &error));
        if (!archive_)
            throw notAWorkbook(path);
    }

    // Nothing when the package has no such part.
    std::optional<QByteArray> part(const QString& name) const {
        const QByteArray entryName = name.toUtf8();
        zip_stat_t stat;
        zip_stat_init(&stat);
        if (zip_stat(archive_.get(), entryName.constData(), 0, &stat) != 0)
            return std::nullopt;
        if (!(stat.valid & ZIP_STAT_SIZE) || stat.size > kMaxPartSize)
            throw notAWorkbook(path_);
        std::unique_ptr<zip_file_t, EntryCloser> entry(
            zip_fopen(archive_.get(), entryName.constData(), 0));
        if (!entry)
            throw notAWorkbook(path_);
        QByteArray bytes(qsizetype(stat.size), Qt::Uninitialized);
        zip_int64_t done = 0;
        while (done < zip_int64_t(stat.size)) {
            const zip_int64_t got =
                zip_fread(entry.get(), bytes.data() + done, stat.size - zip_uint64_t(done));
            if (got <= 0)
                throw notAWorkbook(path_);
            done += got;
        }
        return bytes;
    }

    QByteArray requiredPart(const QString& name) const {
        std::optional<QByteArray> bytes = part(name);
        if (!bytes)
            throw notAWorkbook(path_);
        return *std::move(bytes);
    }

private:
    QString path_;
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

void parse(pugi::xml_document& document, QByteArray& bytes, const QString& path) {
    const pugi::xml_parse_result result = document.load_buffer_inplace(
        bytes.data(), std::size_t(bytes.size()), pugi::parse_default, pugi::encoding_utf8);
    if (!result)
        throw notAWorkbook(path);
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
};

WorkbookParts findParts(const Package& package, const QString& path) {
    WorkbookParts parts;
    QByteArray workbookBytes = package.requiredPart(QStringLiteral("xl/workbook.xml"));
    pugi::xml_document workbook;
    parse(workbook, workbookBytes, path);
    const pugi::xml_node sheets = child(workbook.document_element(), "sheets");
    const pugi::xml_node firstSheet = child(sheets, "sheet");
    const QString sheetId = QString::fromUtf8(attributeNamed(firstSheet, "id").value());

    std::optional<QByteArray> relationsBytes =
        package.part(QStringLiteral("xl/_rels/workbook.xml.rels"));
    if (!relationsBytes)
        return parts;
    pugi::xml_document relations;
    parse(relations, *relationsBytes, path);
    for (pugi::xml_node relation : relations.document_element().children()) {
        const QString id = QString::fromUtf8(relation.attribute("Id").value());
        const QString type = QString::fromUtf8(relation.attribute("Type").value());
        const QString target = resolveTarget(
            QString::fromUtf8(relation.attribute("Target").value()), QStringLiteral("xl/"));
        if (!sheetId.isEmpty() && id == sheetId)
            parts.firstSheet = target;
        else if (type.endsWith(u"/sharedStrings"))
            parts.sharedStrings = target;
    }
    return parts;
}

// The text of a string item: its own <t>, or the <t> of each run; phonetic hints are left out.
QString itemText(const pugi::xml_node& item) {
    QString text;
    for (pugi::xml_node node : item.children()) {
        if (isNamed(node, "t"))
            text += QString::fromUtf8(node.child_value());
        else if (isNamed(node, "r"))
            text += QString::fromUtf8(child(node, "t").child_value());
    }
    return text;
}

std::vector<QString> readSharedStrings(const Package& package, const QString& part,
                                       const QString& path) {
    std::vector<QString> strings;
    std::optional<QByteArray> bytes = package.part(part);
    if (!bytes)
        return strings;
    pugi::xml_document document;
    parse(document, *bytes, path);
    for (pugi::xml_node item : document.document_element().children()) {
        if (isNamed(item, "si"))
            strings.push_back(itemText(item));
    }
    return strings;
}

// "C12" to row 12, column 3; nothing for anything else.
std::optional<std::pair<int, int>> parseReference(const char* reference) {
    int column = 0;
    const char* p = reference;
    for (; (*p >= 'A' && *p <= 'Z') || (*p >= 'a' && *p <= 'z'); ++p) {
        column = column * 26 + ((*p | 0x20) - 'a' + 1);
        if (column > 16384)
            return std::nullopt;
    }
    long row = 0;
    const char* digits = p;
    for (; *p >= '0' && *p <= '9'; ++p) {
        row = row * 10 + (*p - '0');
        if (row > 1048576)
            return std::nullopt;
    }
    if (column == 0 || p == digits || *p != '\0' || row < 1)
        return std::nullopt;
    return std::pair{int(row), column};
}

QString cellText(const pugi::xml_node& cell, const std::vector<QString>& sharedStrings) {
    const char* type = cell.attribute("t").value();
    const pugi::xml_node valueNode = child(cell, "v");
    const char* value = valueNode.child_value();
    if (std::strcmp(type, "s") == 0) {
        char* end = nullptr;
        const unsigned long index = std::strtoul(value, &end, 10);
        return end != value && index < sharedStrings.size() ? sharedStrings[index] : QString();
    }
    if (std::strcmp(type, "inlineStr") == 0)
        return itemText(child(cell, "is"));
    if (std::strcmp(type, "b") == 0)
        return std::strcmp(value, "0") == 0 ? QStringLiteral("FALSE") : QStringLiteral("TRUE");
    if (std::strcmp(type, "str") == 0 || std::strcmp(type, "e") == 0)
        return QString::fromUtf8(value);
    if (!valueNode)
        return {};
    char* end = nullptr;
    const double number = std::strtod(value, &end);
    return end != value ? numberText(number) : QString::fromUtf8(value);
}

} // namespace

SheetValues readXlsxFirstSheet(const QString& path) {
    const Package package(path);
    const WorkbookParts parts = findParts(package, path);
    const std::vector<QString> sharedStrings =
        readSharedStrings(package, parts.sharedStrings, path);
    QByteArray sheetBytes = package.requiredPart(parts.firstSheet);
    pugi::xml_document sheet;
    parse(sheet, sheetBytes, path);

    SheetValues values;
    const pugi::xml_node data = child(sheet.document_element(), "sheetData");
    int rowNumber = 0;
    for (pugi::xml_node row : data.children()) {
        if (!isNamed(row, "row"))
            continue;
        const int givenRow = row.attribute("r").as_int(0);
        rowNumber = givenRow > 0 ? givenRow : rowNumber + 1;
        int columnNumber = 0;
        for (pugi::xml_node cell : row.children()) {
            if (!isNamed(cell, "c"))
                continue;
            const auto reference = parseReference(cell.attribute("r").value());
            int cellRow = rowNumber;
            if (reference) {
                cellRow = reference->first;
                columnNumber = reference->second;
            } else {
                ++columnNumber;
            }
            values.setText(cellRow, columnNumber, cellText(cell, sharedStrings));
        }
    }
    return values;
}

} // namespace songwick
