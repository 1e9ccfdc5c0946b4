#include "cli/cli_support.h"
#include "cli/commands.h"

#include <QCoreApplication>
#include <exception>
#include <functional>
#include <map>

namespace {

const char kUsage[] =
    "usage: songwick-cli COMMAND ...\n"
    "  scan FOLDER [--window start|main] [--settings PROP.DAT] [--output FILE.swk]\n"
    "  settings PROP.DAT\n"
    "  text LIST.swk [--layout A|B] [--settings PROP.DAT]\n"
    "  export-xlsx LIST.swk OUT.xlsx [--settings PROP.DAT]\n"
    "  import-xlsx IN.xlsx OUT.swk [--window start|main]\n"
    "  export-docx LIST.swk OUT.docx\n";

} // namespace

int main(int argc, char** argv) {
    using namespace songwick::cli;
    QCoreApplication application(argc, argv);
    QStringList arguments = QCoreApplication::arguments().mid(1);
    const std::map<QString, std::function<int(const QStringList&)>> commands = {
        {QStringLiteral("scan"), runScan},
        {QStringLiteral("settings"), runSettings},
        {QStringLiteral("text"), runText},
        {QStringLiteral("export-xlsx"), runExportXlsx},
        {QStringLiteral("import-xlsx"), runImportXlsx},
        {QStringLiteral("export-docx"), runExportDocx},
    };
    if (arguments.isEmpty() || !commands.contains(arguments.first())) {
        printError(QString::fromLatin1(kUsage));
        return 2;
    }
    const QString name = arguments.takeFirst();
    try {
        return commands.at(name)(arguments);
    } catch (const UsageError& error) {
        printError(
            QStringLiteral("songwick-cli %1: %2\n").arg(name, QString::fromUtf8(error.what())));
        printError(QString::fromLatin1(kUsage));
        return 2;
    } catch (const std::exception& error) {
        printError(
            QStringLiteral("songwick-cli %1: %2\n").arg(name, QString::fromUtf8(error.what())));
        return 1;
    }
}
