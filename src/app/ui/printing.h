#pragma once

#include "app/ui/platform_interfaces.h"

#include <QString>

class QTextDocument;
class QWidget;

namespace songwick {

// Prints the document on the default printer as one job. Without a printer the user is told so
// and offered the same pages as a PDF file, written where the save dialog says. Throws
// songwick::Error when the job cannot be started or the file cannot be written. The PDF file's
// proposed name is pdfName, or "таблица.pdf" in the interface's language when it is empty.
void printPages(PlatformServices& services, QWidget* parent, const QTextDocument& document,
                const QString& jobName, const QString& pdfName = {});

// fileName in the user's documents folder, which is created when it is missing: what a save
// dialog proposes for a new document.
QString proposedDocumentPath(const QString& fileName);

// Writes the document's pages, laid out as for printing, to a PDF file titled jobName.
// Throws songwick::Error when the file cannot be written.
void writePagesAsPdf(const QTextDocument& document, const QString& jobName, const QString& path);

} // namespace songwick
