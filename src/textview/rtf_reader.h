#pragma once

#include <QByteArrayView>
#include <QStringList>

namespace songwick {

// The plain text of a Rich Text Format document, as WordPad, Word, LibreOffice and our own
// writer produce it: one element per paragraph (\par) or line break (\line); tabs (\tab,
// table cells) as TAB characters; everything that is not body text (font and colour
// tables, style sheets, document information, pictures, headers, footers, fields'
// instructions, every \* group) left out.
//
// \'xx bytes are decoded with the code page of the current font (its \cpg, or the code
// page that its \fcharset stands for, or else the document's \ansicpg; 1252 without one);
// \uN characters are taken as they stand and the \ucN characters after them skipped.
// A final paragraph mark does not start an empty line, so the text of a document that
// RtfWriter wrote comes back as the paragraphs it was given.
class RtfReader {
public:
    // True when the bytes begin as an RTF document does ("{\rtf").
    static bool isRtf(QByteArrayView bytes);

    // Never fails: a damaged document gives the text that could be read.
    static QStringList toLines(QByteArrayView rtf);
};

} // namespace songwick
