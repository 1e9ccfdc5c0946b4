#pragma once

#include "office/document.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace songwick {

// The Office Open XML word-processing document holding the document's paragraphs and tables;
// tabs are tab characters of the document, characters XML cannot carry (control codes other
// than the tab) are left out. A table is a real table: its header row repeated on every page,
// no row split across two pages, each column as wide as its longest text (as far as the page
// allows). The page is A4, turned to landscape when a table is wider than the upright page.
// Returns the zipped package.
QByteArray docxPackage(const Document& document);

// Its main part, word/document.xml.
QByteArray docxDocumentXml(const Document& document);

// Writes the package atomically. Throws songwick::Error when it cannot be written.
void writeDocx(const Document& document, const QString& path);
// A document of these paragraphs and nothing else.
void writeDocx(const QStringList& paragraphs, const QString& path);

} // namespace songwick
