#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace songwick {

// The Office Open XML word-processing document holding one paragraph per entry, tabs as
// tab characters of the document; characters XML cannot carry (control codes other than the
// tab) are left out. Returns the zipped package.
QByteArray docxPackage(const QStringList& paragraphs);

// Its main part, word/document.xml.
QByteArray docxDocumentXml(const QStringList& paragraphs);

// Writes the package atomically. Throws songwick::Error when it cannot be written.
void writeDocx(const QStringList& paragraphs, const QString& path);

} // namespace songwick
