#include "office/docx_writer.h"

#include "common/error.h"
#include "common/file_write.h"
#include "office/zip_package.h"

#include <QRegularExpression>
#include <algorithm>
#include <numeric>
#include <vector>

namespace songwick {
namespace {

const char kContentTypes[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
    "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
    "<Default Extension=\"rels\" "
    "ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
    "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
    "<Override PartName=\"/word/document.xml\" ContentType=\"application/"
    "vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml\"/>"
    "</Types>";

const char kPackageRelations[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
    "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
    "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/"
    "relationships/officeDocument\" Target=\"word/document.xml\"/>"
    "</Relationships>";

const char kDocumentStart[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
    "<w:document xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\">"
    "<w:body>";

// A4 with the word processor's usual margins, in twentieths of a point.
constexpr int kPaperShortSide = 11906;
constexpr int kPaperLongSide = 16838;
constexpr int kTopMargin = 1134;
constexpr int kBottomMargin = 1134;
constexpr int kLeftMargin = 1701;
constexpr int kRightMargin = 850;
constexpr int kUprightTextWidth = kPaperShortSide - kLeftMargin - kRightMargin;
constexpr int kLandscapeTextWidth = kPaperLongSide - kLeftMargin - kRightMargin;

// Tables are set in 10 points. A character is taken as 130 twentieths of a point wide, as
// wide as a letter or digit of the wider sans-serif fonts a word processor may put in place
// of its default, so that a column sized to its longest text holds it on one line; a bold
// header character a tenth more. A tab counts as four characters.
constexpr int kTableTextHalfPoints = 20;
constexpr int kCharacterWidth = 130;
constexpr int kCellMargin = 108; // left and right, inside every cell
constexpr int kTabCharacters = 4;

bool isXmlCharacter(char32_t c) {
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) ||
           (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
}

// The text with XML's special characters escaped and characters XML cannot hold left out.
QString xmlText(QStringView text) {
    QString escaped;
    escaped.reserve(text.size());
    for (const char32_t c : text.toUcs4()) {
        if (!isXmlCharacter(c))
            continue;
        switch (c) {
        case U'&':
            escaped += QStringLiteral("&amp;");
            break;
        case U'<':
            escaped += QStringLiteral("&lt;");
            break;
        case U'>':
            escaped += QStringLiteral("&gt;");
            break;
        default:
            escaped += QString::fromUcs4(&c, 1);
        }
    }
    return escaped;
}

const QRegularExpression& lineBreak() {
    static const QRegularExpression pattern(QStringLiteral("\r\n|\r|\n"));
    return pattern;
}

// The pieces of one line, tabs between them.
void appendTabbedText(QString& xml, const QString& line) {
    const QStringList pieces = line.split(u'\t');
    for (qsizetype i = 0; i < pieces.size(); ++i) {
        if (i > 0)
            xml += QStringLiteral("<w:tab/>");
        if (!pieces[i].isEmpty())
            xml += QStringLiteral("<w:t xml:space=\"preserve\">") + xmlText(pieces[i]) +
                   QStringLiteral("</w:t>");
    }
}

void appendParagraph(QString& xml, const QString& paragraph) {
    if (paragraph.isEmpty()) {
        xml += QStringLiteral("<w:p/>");
        return;
    }
    xml += QStringLiteral("<w:p><w:r>");
    appendTabbedText(xml, paragraph);
    xml += QStringLiteral("</w:r></w:p>");
}

// How wide a cell's text is: its longest line.
int textWidth(const QString& text, bool bold) {
    qsizetype longest = 0;
    for (const QString& line : text.split(lineBreak())) {
        const qsizetype tabs = line.count(u'\t');
        longest = std::max(longest, line.toUcs4().size() - tabs + tabs * kTabCharacters);
    }
    const qsizetype width = longest * kCharacterWidth * (bold ? 11 : 10) / 10;
    return int(std::min<qsizetype>(width, 10 * kPaperLongSide));
}

int columnCount(const DocumentTable& table) {
    qsizetype columns = table.header.size();
    for (const QStringList& row : table.rows)
        columns = std::max(columns, row.size());
    return int(columns);
}

// Each column as wide as its longest text, header included.
std::vector<int> textWidths(const DocumentTable& table) {
    std::vector<int> widths(std::size_t(columnCount(table)), 2 * kCellMargin + kCharacterWidth);
    const auto measure = [&widths](const QStringList& cells, bool bold) {
        for (qsizetype column = 0; column < cells.size(); ++column) {
            int& width = widths[std::size_t(column)];
            width = std::max(width, 2 * kCellMargin + textWidth(cells[column], bold));
        }
    };
    measure(table.header, true);
    for (const QStringList& row : table.rows)
        measure(row, false);
    return widths;
}

int totalWidth(const std::vector<int>& widths) {
    return std::accumulate(widths.begin(), widths.end(), 0);
}

// Widths that fit `available`: columns narrower than an equal share of what is left keep
// their width, the wider ones share the rest equally and wrap their texts.
std::vector<int> fittedWidths(const std::vector<int>& wanted, int available) {
    if (totalWidth(wanted) <= available)
        return wanted;
    std::vector<std::size_t> narrowestFirst(wanted.size());
    std::iota(narrowestFirst.begin(), narrowestFirst.end(), std::size_t(0));
    std::stable_sort(narrowestFirst.begin(), narrowestFirst.end(),
                     [&wanted](std::size_t a, std::size_t b) { return wanted[a] < wanted[b]; });
    std::vector<int> widths = wanted;
    int left = available;
    for (std::size_t i = 0; i < narrowestFirst.size(); ++i) {
        const int share = left / int(narrowestFirst.size() - i);
        if (wanted[narrowestFirst[i]] <= share) {
            left -= wanted[narrowestFirst[i]];
            continue;
        }
        for (std::size_t j = i; j < narrowestFirst.size(); ++j)
            widths[narrowestFirst[j]] = share;
        break;
    }
    return widths;
}

void appendCell(QString& xml, const QString& text, int width, bool header) {
    xml += QStringLiteral("<w:tc><w:tcPr><w:tcW w:w=\"%1\" w:type=\"dxa\"/>").arg(width);
    if (header)
        xml += QStringLiteral("<w:shd w:val=\"clear\" w:color=\"auto\" w:fill=\"E7E6E6\"/>");
    xml += QStringLiteral("</w:tcPr><w:p><w:pPr><w:spacing w:before=\"0\" w:after=\"0\"/></w:pPr>");
    if (!text.isEmpty()) {
        xml += QStringLiteral("<w:r><w:rPr>");
        if (header)
            xml += QStringLiteral("<w:b/>");
        xml += QStringLiteral("<w:sz w:val=\"%1\"/></w:rPr>").arg(kTableTextHalfPoints);
        const QStringList lines = text.split(lineBreak());
        for (qsizetype i = 0; i < lines.size(); ++i) {
            if (i > 0)
                xml += QStringLiteral("<w:br/>");
            appendTabbedText(xml, lines[i]);
        }
        xml += QStringLiteral("</w:r>");
    }
    xml += QStringLiteral("</w:p></w:tc>");
}

// A row is never split across two pages; the header row is repeated on each of them.
void appendRow(QString& xml, const QStringList& cells, const std::vector<int>& widths,
               bool header) {
    xml += QStringLiteral("<w:tr><w:trPr><w:cantSplit/>");
    if (header)
        xml += QStringLiteral("<w:tblHeader/>");
    xml += QStringLiteral("</w:trPr>");
    for (std::size_t column = 0; column < widths.size(); ++column) {
        const QString& text =
            qsizetype(column) < cells.size() ? cells[qsizetype(column)] : QString();
        appendCell(xml, text, widths[column], header);
    }
    xml += QStringLiteral("</w:tr>");
}

void appendTable(QString& xml, const DocumentTable& table, int textWidth) {
    const std::vector<int> widths = fittedWidths(textWidths(table), textWidth);
    if (widths.empty())
        return;
    xml += QStringLiteral("<w:tbl><w:tblPr><w:tblW w:w=\"%1\" w:type=\"dxa\"/><w:tblBorders>")
               .arg(totalWidth(widths));
    for (const char* edge : {"top", "left", "bottom", "right", "insideH", "insideV"})
        xml += QStringLiteral("<w:%1 w:val=\"single\" w:sz=\"4\" w:space=\"0\" w:color=\"auto\"/>")
                   .arg(QLatin1String(edge));
    xml += QStringLiteral("</w:tblBorders><w:tblLayout w:type=\"fixed\"/><w:tblCellMar>"
                          "<w:left w:w=\"%1\" w:type=\"dxa\"/><w:right w:w=\"%1\" w:type=\"dxa\"/>"
                          "</w:tblCellMar></w:tblPr><w:tblGrid>")
               .arg(kCellMargin);
    for (const int width : widths)
        xml += QStringLiteral("<w:gridCol w:w=\"%1\"/>").arg(width);
    xml += QStringLiteral("</w:tblGrid>");
    if (!table.header.isEmpty())
        appendRow(xml, table.header, widths, true);
    for (const QStringList& row : table.rows)
        appendRow(xml, row, widths, false);
    xml += QStringLiteral("</w:tbl>");
}

// Landscape when a table is wider than the upright page's text.
bool needsLandscape(const std::vector<Document::BodyElement>& body) {
    return std::any_of(body.begin(), body.end(), [](const Document::BodyElement& element) {
        return element.table != nullptr &&
               totalWidth(textWidths(*element.table)) > kUprightTextWidth;
    });
}

QString sectionProperties(bool landscape) {
    const QString size =
        landscape ? QStringLiteral("<w:pgSz w:w=\"%1\" w:h=\"%2\" w:orient=\"landscape\"/>")
                        .arg(kPaperLongSide)
                        .arg(kPaperShortSide)
                  : QStringLiteral("<w:pgSz w:w=\"%1\" w:h=\"%2\"/>")
                        .arg(kPaperShortSide)
                        .arg(kPaperLongSide);
    return QStringLiteral("<w:sectPr>") + size +
           QStringLiteral("<w:pgMar w:top=\"%1\" w:right=\"%2\" w:bottom=\"%3\" w:left=\"%4\" "
                          "w:header=\"708\" w:footer=\"708\" w:gutter=\"0\"/></w:sectPr>")
               .arg(kTopMargin)
               .arg(kRightMargin)
               .arg(kBottomMargin)
               .arg(kLeftMargin);
}

Document documentOf(const QStringList& paragraphs) {
    Document document;
    document.insertAfter(paragraphs.join(u'\n'));
    return document;
}

} // namespace

QByteArray docxDocumentXml(const Document& document) {
    const std::vector<Document::BodyElement> body = document.body();
    const bool landscape = needsLandscape(body);
    QString xml = QString::fromLatin1(kDocumentStart);
    for (const Document::BodyElement& element : body) {
        if (element.table != nullptr)
            appendTable(xml, *element.table, landscape ? kLandscapeTextWidth : kUprightTextWidth);
        else
            appendParagraph(xml, element.paragraph);
    }
    xml += sectionProperties(landscape);
    xml += QStringLiteral("</w:body></w:document>");
    return xml.toUtf8();
}

QByteArray docxPackage(const Document& document) {
    return zipPackage({
        {QStringLiteral("[Content_Types].xml"), QByteArray(kContentTypes)},
        {QStringLiteral("_rels/.rels"), QByteArray(kPackageRelations)},
        {QStringLiteral("word/document.xml"), docxDocumentXml(document)},
    });
}

void writeDocx(const Document& document, const QString& path) {
    writeFileAtomically(path, docxPackage(document));
}

void writeDocx(const QStringList& paragraphs, const QString& path) {
    writeDocx(documentOf(paragraphs), path);
}

} // namespace songwick
