#include "office/docx_writer.h"

#include "common/error.h"
#include "common/file_write.h"
#include "office/zip_package.h"

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

// A4 with the word processor's usual margins.
const char kDocumentEnd[] =
    "<w:sectPr><w:pgSz w:w=\"11906\" w:h=\"16838\"/>"
    "<w:pgMar w:top=\"1134\" w:right=\"850\" w:bottom=\"1134\" w:left=\"1701\" "
    "w:header=\"708\" w:footer=\"708\" w:gutter=\"0\"/></w:sectPr>"
    "</w:body></w:document>";

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

void appendParagraph(QString& xml, const QString& paragraph) {
    if (paragraph.isEmpty()) {
        xml += QStringLiteral("<w:p/>");
        return;
    }
    xml += QStringLiteral("<w:p><w:r>");
    const QStringList pieces = paragraph.split(u'\t');
    for (qsizetype i = 0; i < pieces.size(); ++i) {
        if (i > 0)
            xml += QStringLiteral("<w:tab/>");
        if (!pieces[i].isEmpty())
            xml += QStringLiteral("<w:t xml:space=\"preserve\">") + xmlText(pieces[i]) +
                   QStringLiteral("</w:t>");
    }
    xml += QStringLiteral("</w:r></w:p>");
}

} // namespace

QByteArray docxDocumentXml(const QStringList& paragraphs) {
    QString xml = QString::fromLatin1(kDocumentStart);
    for (const QString& paragraph : paragraphs)
        appendParagraph(xml, paragraph);
    xml += QString::fromLatin1(kDocumentEnd);
    return xml.toUtf8();
}

QByteArray docxPackage(const QStringList& paragraphs) {
    return zipPackage({
        {QStringLiteral("[Content_Types].xml"), QByteArray(kContentTypes)},
        {QStringLiteral("_rels/.rels"), QByteArray(kPackageRelations)},
        {QStringLiteral("word/document.xml"), docxDocumentXml(paragraphs)},
    });
}

void writeDocx(const QStringList& paragraphs, const QString& path) {
    const QByteArray package = docxPackage(paragraphs);
    writeFileAtomically(path, package);
}

} // namespace songwick
