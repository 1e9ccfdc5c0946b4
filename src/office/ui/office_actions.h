#pragma once

class QWidget;

namespace songwick {

class Document;
class TForm1;
class TForm4;
class TForm8;
class WindowRegistry;

// What the menu entries of the spreadsheet and word-processor exchange do. Each runs through
// the general error report, with the window it was chosen in as the report's owner, and ends
// any wait indication it started however it ends.

// Main window, "Ms &Excel" (Excel3Click): the table as a formatted workbook, opened in the
// desktop's spreadsheet program. A table without data rows starts nothing.
void exportTableToSpreadsheet(WindowRegistry& registry, TForm4& mainWindow);

// Main window, "&Импорт из файла MS Excel" (Excel2Click): a workbook chosen in the open
// dialog becomes the table; the status line counts the imported rows. Unsaved changes are
// asked about first, as opening a list file does.
void importSpreadsheetInMainWindow(WindowRegistry& registry, TForm4& mainWindow);

// Start window, "&Импорт из Файла Excel" (Excel1Click): as in the main window, then the start
// window hands over to the main window, which keeps the imported table.
void importSpreadsheetInStartWindow(WindowRegistry& registry, TForm1& startWindow);

// Main window, "Ms &Word" (Word1Click): a fresh text rendering of the table, opened in the
// desktop's word processor.
void exportTableToWordProcessor(WindowRegistry& registry, TForm4& mainWindow);

// Main window, "Со&хранить в Ms Word..." (Word2Click): a fresh text rendering of the table,
// saved as a Word document under the name chosen in the save dialog.
void saveTableAsWordDocument(WindowRegistry& registry, TForm4& mainWindow);

// Main window, "&Печать из Ms Word (текст)" (N28Click): a fresh text rendering of the table
// on the default printer.
void printTableAsWordDocument(WindowRegistry& registry, TForm4& mainWindow);

// Text view, "Со&хранить в Word" (Word1Click): the view's text as it stands, edits included,
// saved as a Word document.
void saveTextViewAsWordDocument(WindowRegistry& registry, TForm8& textView);

// Text view, "Печать &из Word" (Word2Click): the view's text as it stands on the default
// printer; the view comes to the front and stays shown.
void printTextViewAsWordDocument(WindowRegistry& registry, TForm8& textView);

// Prints a document's paragraphs as one job, or offers them as a PDF file when there is no
// printer (printPages). Throws songwick::Error when the job cannot start or the file cannot be
// written.
void printWordDocument(WindowRegistry& registry, QWidget* parent, const Document& document);

} // namespace songwick
