#pragma once

#include <QString>
#include <QStringList>

namespace songwick {

// A word-processor document as the Word output uses it: a new empty document (Documents.Add)
// that receives text after the end of its whole range. Line breaks (CR LF, CR or LF) end
// paragraphs; tabs stay tabs.
class Document {
public:
    // InsertAfter on the whole range.
    void insertAfter(const QString& text) { text_ += text; }

    const QString& text() const { return text_; }
    // The paragraphs as the word processor holds them: text after the last line break is the
    // last paragraph, empty when the text ends with a line break.
    QStringList paragraphs() const;

    // SaveAs: writes a Word document (.docx). Throws songwick::Error when it cannot be written.
    void saveAs(const QString& path) const;

    // PrintOut: what goes to the printer, one line per paragraph.
    QString printText() const { return paragraphs().join(u'\n'); }

private:
    QString text_;
};

} // namespace songwick
