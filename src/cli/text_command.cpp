#include "catalogue/catalogue_grid.h"
#include "catalogue/list_file.h"
#include "cli/cli_support.h"
#include "cli/commands.h"
#include "common/date_time.h"
#include "common/error.h"
#include "settings/program_settings.h"
#include "settings/settings_file.h"
#include "textview/table_text.h"

namespace songwick::cli {
namespace {

TableTextLayout layoutFromArgument(const std::optional<QString>& argument) {
    if (!argument || argument->compare(u"A", Qt::CaseInsensitive) == 0)
        return TableTextLayout::A;
    if (argument->compare(u"B", Qt::CaseInsensitive) == 0)
        return TableTextLayout::B;
    throw UsageError("--layout takes A or B");
}

// The settings file's name in front of a failure to read it: the terminal has no dialog around
// it, and the settings reader's messages do not name the file.
template <typename Read> auto readNamed(const QString& path, Read read) {
    try {
        return read(path);
    } catch (const Error& error) {
        throw Error(path + QStringLiteral(": ") + error.message());
    }
}

} // namespace

// Prints the list file's table as the text view renders it, with the lines under the table
// that the settings ask for (none but the empty line without a settings file).
int runText(const QStringList& arguments) {
    const Arguments parsed(arguments, {QStringLiteral("layout"), QStringLiteral("settings")});
    if (parsed.positional().size() != 1)
        throw UsageError("text takes one list file");
    const TableTextLayout layout = layoutFromArgument(parsed.option(QStringLiteral("layout")));
    const std::optional<QString> settingsPath = parsed.option(QStringLiteral("settings"));
    const ProgramSettings settings =
        settingsPath ? readNamed(*settingsPath, readSettingsFile) : ProgramSettings{};

    const QString& listPath = parsed.positional().first();
    CatalogueGrid grid;
    readListFileAt(listPath, grid);

    QString out;
    for (const QString& line : tableText(grid, layout, settings, SystemClock().now())) {
        out += line;
        out += u'\n';
    }
    printOut(out);
    return 0;
}

} // namespace songwick::cli
