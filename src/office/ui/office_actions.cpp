#include "office/ui/office_actions.h"

#include "app/ui/printing.h"
#include "app/ui/start_window.h"
#include "app/ui/window_registry.h"
#include "catalogue/catalogue_table.h"
#include "catalogue/ui/catalogue_table_view.h"
#include "catalogue/ui/main_window.h"
#include "common/error.h"
#include "office/desktop_opener.h"
#include "office/document.h"
#include "office/excel_export.h"
#include "office/excel_import.h"
#include "office/sheet_reader.h"
#include "office/ui/wait_indication.h"
#include "office/word_output.h"
#include "office/xlsx_writer.h"
#include "textview/table_text.h"
#include "textview/ui/text_view_window.h"

#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QStandardPaths>
#include <QTextDocument>
#include <QTextEdit>
#include <functional>
#include <optional>

namespace songwick {
namespace {

QString waitText() {
    return QCoreApplication::translate("songwick::Office", "Подождите...");
}

// The hourglass over the main window's table (and over the window the command came from,
// when that is another one) and the wait text in the label under the table.
WaitIndication waitInMainWindow(TForm4& mainWindow, QWidget* commandWindow = nullptr) {
    QList<QWidget*> controls{mainWindow.StringGrid1};
    if (commandWindow != nullptr && commandWindow != &mainWindow)
        controls.append(commandWindow);
    return WaitIndication(controls, mainWindow.Label1, waitText());
}

// Where shown spreadsheets and documents are written: "Songwick" in the user's documents
// folder, made when missing.
QString exportFolder() {
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString folder = QDir(documents).filePath(QStringLiteral("Songwick"));
    if (documents.isEmpty() || !QDir().mkpath(folder))
        throw Error(
            QCoreApplication::translate("songwick::Office", "Не удалось создать папку \"%1\"")
                .arg(QDir::toNativeSeparators(folder)));
    return folder;
}

// Hands a written file to the desktop and remembers whether a program took it.
class RecordingOpener final : public DesktopOpener {
public:
    explicit RecordingOpener(DesktopLauncher& launcher) : launcher_(launcher) {}
    void open(const QString& path) override { opened_ = launcher_.openInDesktopProgram(path); }
    bool opened() const { return opened_; }

private:
    DesktopLauncher& launcher_;
    bool opened_ = false;
};

// Writes a spreadsheet or document through show (which returns the file written) into the
// export folder, says in the status line where it is, and when no program opens it offers to
// open its folder.
void showExportedFile(
    WindowRegistry& registry, TForm4& mainWindow,
    const std::function<std::optional<QString>(DesktopOpener&, const QString&)>& show) {
    const QString folder = exportFolder();
    RecordingOpener opener(registry.services().desktop);
    const std::optional<QString> path = show(opener, folder);
    if (!path)
        return;
    const QString shown = QDir::toNativeSeparators(*path);
    mainWindow.showStatusText(QCoreApplication::translate("songwick::Office", "Файл записан: ") +
                              shown);
    if (opener.opened())
        return;
    const QString question =
        QCoreApplication::translate(
            "songwick::Office",
            "Не удалось открыть файл \"%1\": на этом компьютере не найдена программа "
            "для файлов такого вида. Файл сохранён и его можно открыть вручную.\n"
            "Открыть папку \"%2\"?")
            .arg(shown, QDir::toNativeSeparators(folder));
    if (registry.services().messages.askYesNoCancel(&mainWindow, question) ==
        MessageBoxes::Answer::Yes)
        registry.services().desktop.openInDesktopProgram(folder);
}

std::optional<QString> chooseSpreadsheet(WindowRegistry& registry, QWidget* parent) {
    FileDialogRequest request;
    request.filter = spreadsheetImportFilter();
    return registry.services().dialogs.openFileName(parent, request, true);
}

// The name to save a Word document under, with ".docx" added to a name typed without an
// extension; nothing when the user cancels.
std::optional<QString> chooseWordDocumentName(WindowRegistry& registry, QWidget* parent) {
    FileDialogRequest request;
    request.filter = wordDocumentFilter();
    request.defaultExtension = QString::fromUtf16(kWordDocumentExtension);
    const std::optional<QString> chosen = registry.services().dialogs.saveFileName(parent, request);
    if (!chosen)
        return std::nullopt;
    return withDefaultExtension(*chosen, request.defaultExtension);
}

// Column widths and text measures follow the widest texts when the width setting asks for it.
void applyWidestTextWidths(WindowRegistry& registry, TForm4& mainWindow) {
    if (registry.settings().ColumnWidthMode == WidestTextColumnWidths)
        mainWindow.applyColumnLayout();
}

// Reads the workbook and puts its first sheet into the main window's table.
SpreadsheetImport importIntoMainWindow(WindowRegistry& registry, TForm4& mainWindow,
                                       const QString& path, ImportWindow importWindow) {
    // The file is read before the table is touched, so that a file that cannot be read leaves
    // the table as it was.
    const SheetValues values = readFirstSheet(path, importLimits(importWindow, registry.grid()));
    SpreadsheetImport result;
    mainWindow.changeTable([&](CatalogueGrid& grid) {
        result = importSheet(values, importWindow, grid, registry.catalogue());
    });
    applyWidestTextWidths(registry, mainWindow);
    return result;
}

// The table as the main window's Word entries carry it: rendered afresh, edits in progress
// included.
Document freshTableDocument(WindowRegistry& registry, TForm4& mainWindow) {
    mainWindow.StringGrid1->commitPendingEdit();
    return tableDocument(registry.grid(), registry.settings(), registry.services().clock.now());
}

Document textViewDocument(const TForm8& textView) {
    return documentWithText(viewText(textView.contentLines()));
}

} // namespace

void exportTableToSpreadsheet(WindowRegistry& registry, TForm4& mainWindow) {
    registry.runReportingErrors(&mainWindow, [&] {
        mainWindow.StringGrid1->commitPendingEdit();
        const WaitIndication wait({mainWindow.StringGrid1});
        int cutCells = 0;
        showExportedFile(
            registry, mainWindow,
            [&](DesktopOpener& opener, const QString& folder) -> std::optional<QString> {
                const std::optional<ShownWorkbook> shown = exportToSpreadsheetProgram(
                    registry.grid(), registry.catalogue().mainTable.columnMeasures,
                    registry.settings(), registry.services().clock, opener, folder);
                if (!shown)
                    return std::nullopt;
                cutCells = shown->cutCells;
                return shown->path;
            });
        if (cutCells > 0)
            registry.services().messages.showMessage(&mainWindow, cutCellsMessage(cutCells));
    });
}

void importSpreadsheetInMainWindow(WindowRegistry& registry, TForm4& mainWindow) {
    registry.runReportingErrors(&mainWindow, [&] {
        if (!mainWindow.mayReplaceTable())
            return;
        const std::optional<QString> path = chooseSpreadsheet(registry, &mainWindow);
        if (!path)
            return;
        mainWindow.StringGrid1->commitPendingEdit();
        WaitIndication wait = waitInMainWindow(mainWindow);
        const SpreadsheetImport result =
            importIntoMainWindow(registry, mainWindow, *path, ImportWindow::Main);
        wait.end();
        mainWindow.showStatusText(result.statusText);
    });
}

void importSpreadsheetInStartWindow(WindowRegistry& registry, TForm1& startWindow) {
    registry.runReportingErrors(&startWindow, [&] {
        TForm4* mainWindow = registry.form4();
        if (mainWindow == nullptr)
            return;
        const std::optional<QString> path = chooseSpreadsheet(registry, &startWindow);
        if (!path)
            return;
        WaitIndication wait = waitInMainWindow(*mainWindow, &startWindow);
        importIntoMainWindow(registry, *mainWindow, *path, ImportWindow::Start);
        wait.end();
        registry.handOverToMainWindow();
    });
}

void exportTableToWordProcessor(WindowRegistry& registry, TForm4& mainWindow) {
    registry.runReportingErrors(&mainWindow, [&] {
        const WaitIndication wait({mainWindow.StringGrid1});
        const Document document = freshTableDocument(registry, mainWindow);
        showExportedFile(registry, mainWindow, [&](DesktopOpener& opener, const QString& folder) {
            return std::optional<QString>(
                showDocument(document, registry.services().clock, opener, folder));
        });
    });
}

void saveTableAsWordDocument(WindowRegistry& registry, TForm4& mainWindow) {
    registry.runReportingErrors(&mainWindow, [&] {
        const std::optional<QString> path = chooseWordDocumentName(registry, &mainWindow);
        if (!path)
            return;
        const WaitIndication wait({mainWindow.StringGrid1});
        freshTableDocument(registry, mainWindow).saveAs(*path);
    });
}

void printTableAsWordDocument(WindowRegistry& registry, TForm4& mainWindow) {
    registry.runReportingErrors(&mainWindow, [&] {
        const WaitIndication wait({mainWindow.StringGrid1});
        printWordDocument(registry, &mainWindow, freshTableDocument(registry, mainWindow));
    });
}

void saveTextViewAsWordDocument(WindowRegistry& registry, TForm8& textView) {
    registry.runReportingErrors(&textView, [&] {
        const std::optional<QString> path = chooseWordDocumentName(registry, &textView);
        if (!path)
            return;
        const WaitIndication wait({textView.RichEdit1});
        textViewDocument(textView).saveAs(*path);
    });
}

void printTextViewAsWordDocument(WindowRegistry& registry, TForm8& textView) {
    registry.runReportingErrors(&textView, [&] {
        textView.raise();
        const WaitIndication wait({textView.RichEdit1});
        printWordDocument(registry, &textView, textViewDocument(textView));
    });
}

void printWordDocument(WindowRegistry& registry, QWidget* parent, const Document& document) {
    QTextDocument printed;
    printed.setPlainText(document.printText());
    PlatformServices& services = registry.services();
    printPages(services, parent, printed, printJobTitle(services.clock.now()));
}

} // namespace songwick
