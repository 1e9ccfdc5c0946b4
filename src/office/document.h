#pragma once

#include <QString>
#include <QStringList>
#include <vector>

namespace songwick {

// A table of a document: a header row, repeated at the top of every page the table runs onto,
// and the rows below it, each a list of cell texts (a line break in a cell starts a new line
// in the cell). `lines` is the table's text form, one line per row below the header: what the
// document's paragraphs and its printout show of it.
struct DocumentTable {
    QStringList header;
    std::vector<QStringList> rows;
    QStringList lines;
};

// A word-processor document as the Word output uses it: a new empty document (Documents.Add)
// that receives text, and tables, after the end of its whole range. Line breaks (CR LF, CR or
// LF) end paragraphs; tabs stay tabs.
class Document {
public:
    // InsertAfter on the whole range.
    void insertAfter(const QString& text);
    // A table after the end of the whole range. It takes the place of the last paragraph when
    // that is empty and follows it otherwise; text inserted later starts in the paragraph after
    // the table, which is there (empty) also when no text follows.
    void insertTableAfter(DocumentTable table);

    // One element of the body, in order: a paragraph, or a table when `table` is set.
    struct BodyElement {
        QString paragraph;
        const DocumentTable* table = nullptr;
    };
    // Valid as long as the document is and is not changed.
    std::vector<BodyElement> body() const;

    // The paragraphs as the word processor holds them, a table as the lines of its text form:
    // text after the last line break is the last paragraph, empty when the text ends with a
    // line break.
    QStringList paragraphs() const;

    // SaveAs: writes a Word document (.docx). Throws songwick::Error when it cannot be written.
    void saveAs(const QString& path) const;

    // PrintOut: what goes to the printer, one line per paragraph.
    QString printText() const { return paragraphs().join(u'\n'); }

private:
    // The text before the first table, then for each table the text that follows it.
    struct Part {
        DocumentTable table; // unused in the first part
        QString text;
    };
    std::vector<Part> parts_ = std::vector<Part>(1);
};

} // namespace songwick
