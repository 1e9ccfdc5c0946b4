#include "catalogue/catalogue_grid.h"
#include "catalogue/catalogue_state.h"
#include "catalogue/catalogue_table.h"
#include "catalogue/list_file.h"
#include "cli/cli_support.h"
#include "cli/commands.h"
#include "common/date_time.h"
#include "common/error.h"
#include "common/file_name_codec.h"
#include "office/document.h"
#include "office/excel_export.h"
#include "office/excel_import.h"
#include "office/word_output.h"
#include "office/xlsx_writer.h"
#include "settings/program_settings.h"
#include "settings/settings_file.h"

#include <QCoreApplication>
namespace songwick::cli {
namespace {

// The settings file's name in front of a failure to read it: the terminal has no dialog
// around it, and the settings reader's messages do not name the file. The other readers and
// the writers name their files themselves.
template <typename Action> auto withFileName(const QString& path, Action action) {
    try {
        return action();
    } catch (const Error& error) {
        throw Error(path + QStringLiteral(": ") + error.message());
    }
}

// The list's table with the main window's header row, which the list file does not store.
CatalogueGrid readList(const QString& path) {
    CatalogueGrid grid;
    prepareGrid(grid, 0);
    readListFileAt(path, grid);
    return grid;
}

ImportWindow parseWindow(const std::optional<QString>& value) {
    if (!value || *value == u"main")
        return ImportWindow::Main;
    if (*value == u"start")
        return ImportWindow::Start;
    throw UsageError("--window takes start or main");
}

} // namespace

// Writes the list's table as the formatted spreadsheet "Ms &Excel" shows. Without a display
// there is no table font: the column text-length measures count characters.
int runExportXlsx(const QStringList& arguments) {
    const Arguments parsed(arguments, {QStringLiteral("settings")});
    if (parsed.positional().size() != 2)
        throw UsageError("export-xlsx takes a list file and an output file");
    const std::optional<QString> settingsPath = parsed.option(QStringLiteral("settings"));
    const ProgramSettings settings =
        settingsPath ? withFileName(*settingsPath, [&] { return readSettingsFile(*settingsPath); })
                     : ProgramSettings{};
    const QString& listPath = parsed.positional()[0];
    const QString& outputPath = parsed.positional()[1];
    const CatalogueGrid grid = readList(listPath);
    const ColumnValues measures = columnTextMeasures(
        grid, ColumnValues{}, [](const QString& text) { return int(text.size()); });
    const std::optional<Workbook> workbook =
        buildExcelExport(grid, measures, settings, SystemClock());
    if (!workbook)
        throw Error(displayFileName(listPath) +
                    QStringLiteral(": the table has no data rows, nothing to export"));
    const int cutCells = writeXlsx(*workbook, outputPath);
    if (cutCells > 0)
        printOut(cutCellsMessage(cutCells) + u'\n');
    return 0;
}

// Reads the first sheet of an .xlsx or .xls into a table as the chosen window's import does
// and writes the table as a list file.
int runImportXlsx(const QStringList& arguments) {
    const Arguments parsed(arguments, {QStringLiteral("window")});
    if (parsed.positional().size() != 2)
        throw UsageError("import-xlsx takes a workbook and an output list file");
    const ImportWindow window = parseWindow(parsed.option(QStringLiteral("window")));
    const QString& inputPath = parsed.positional()[0];
    const QString& listPath = parsed.positional()[1];
    CatalogueGrid grid;
    CatalogueState state;
    if (window == ImportWindow::Main)
        prepareGrid(grid, 0); // the main window's table has its seven columns
    const SpreadsheetImport imported = importSpreadsheet(inputPath, window, grid, state);
    writeListFile(listPath, grid);
    printOut(QCoreApplication::translate("songwick::Cli", "Импортировано в таблицу %1 запись(и)\n")
                 .arg(imported.dataRowCount));
    return 0;
}

// Writes the list's table, rendered as the text view shows it, as a Word document.
int runExportDocx(const QStringList& arguments) {
    const Arguments parsed(arguments, {});
    if (parsed.positional().size() != 2)
        throw UsageError("export-docx takes a list file and an output file");
    const QString& outputPath = parsed.positional()[1];
    const CatalogueGrid grid = readList(parsed.positional()[0]);
    const Document document = tableDocument(grid, ProgramSettings{}, SystemClock().now());
    document.saveAs(outputPath);
    return 0;
}

} // namespace songwick::cli
