#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct CliRun {
    int exitCode = -1;
    QString out;
    QString err;
};

CliRun runCli(const QStringList& arguments) {
    QProcess process;
    process.start(QStringLiteral(SONGWICK_CLI_PATH), arguments);
    EXPECT_TRUE(process.waitForFinished(60000));
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

// The command names the overview lists under "Commands:".
QStringList listedCommands(const QString& overview) {
    const QString section =
        overview.section(QStringLiteral("\nCommands:\n"), 1).section(QStringLiteral("\n\n"), 0, 0);
    QStringList names;
    for (const QString& line : section.split(u'\n'))
        names << line.trimmed().section(u' ', 0, 0);
    return names;
}

// The long options a command's help lists, "--help" left out.
QStringList listedOptions(const QString& help) {
    QStringList options;
    const QRegularExpression option(QStringLiteral("^  (?:-\\w, )?(--[\\w-]+)"),
                                    QRegularExpression::MultilineOption);
    for (const QRegularExpressionMatch& match : option.globalMatch(help)) {
        if (match.captured(1) != u"--help")
            options << match.captured(1);
    }
    return options;
}

} // namespace

TEST(CliHelp, OverviewAndEveryCommandHaveTheirHelpAndTheManualDescribesThem) {
    const CliRun overview = runCli({QStringLiteral("--help")});
    ASSERT_EQ(overview.exitCode, 0);
    EXPECT_TRUE(overview.err.isEmpty());
    EXPECT_TRUE(overview.out.startsWith(QStringLiteral("Usage: songwick-cli COMMAND")));
    EXPECT_TRUE(overview.out.contains(QStringLiteral("\nExit status:\n")));
    EXPECT_EQ(runCli({QStringLiteral("-h")}).out, overview.out);
    const QStringList commands = listedCommands(overview.out);
    EXPECT_TRUE(commands.contains(QStringLiteral("scan"))) << overview.out.toStdString();

    QFile manual(QStringLiteral(SONGWICK_SOURCE_DIR "/data/songwick-cli.1"));
    ASSERT_TRUE(manual.open(QIODevice::ReadOnly));
    const QString manualText = QString::fromUtf8(manual.readAll());
    for (const QString& command : commands) {
        const CliRun help = runCli({command, QStringLiteral("--help")});
        EXPECT_EQ(help.exitCode, 0) << command.toStdString();
        EXPECT_TRUE(help.out.startsWith(QStringLiteral("Usage: songwick-cli %1 ").arg(command)))
            << help.out.toStdString();
        EXPECT_TRUE(help.out.contains(QStringLiteral("\n  -h, --help ")));
        EXPECT_TRUE(help.out.contains(QStringLiteral("\nExit status:\n")));

        const QString manualName = QString(command).replace(u'-', QStringLiteral("\\-"));
        const QString section =
            manualText.section(QStringLiteral("\n.SS ") + manualName + u' ', 1)
                .section(QRegularExpression(QStringLiteral("\n\\.S[SH] ")), 0, 0);
        EXPECT_FALSE(section.isEmpty())
            << "songwick-cli.1 does not describe " << command.toStdString();
        for (QString option : listedOptions(help.out)) {
            EXPECT_TRUE(section.contains(option.replace(u'-', QStringLiteral("\\-"))))
                << "songwick-cli.1 does not describe " << command.toStdString() << " "
                << option.toStdString();
        }
    }
}

TEST(CliHelp, VersionIsOneLine) {
    const CliRun version = runCli({QStringLiteral("--version")});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^songwick-cli \\d+\\.\\d+\\.\\d+\n$"))
                    .match(version.out)
                    .hasMatch())
        << version.out.toStdString();
}

TEST(CliHelp, WrongCommandLinesSayWhatIsWrongAndExitWithTwo) {
    QTemporaryDir folder;
    const CliRun unknownOption = runCli(
        {QStringLiteral("scan"), folder.path(), QStringLiteral("--frob"), QStringLiteral("1")});
    EXPECT_EQ(unknownOption.exitCode, 2);
    EXPECT_TRUE(unknownOption.out.isEmpty());
    EXPECT_TRUE(
        unknownOption.err.startsWith(QStringLiteral("songwick-cli scan: unknown option --frob\n")))
        << unknownOption.err.toStdString();
    EXPECT_TRUE(unknownOption.err.contains(
        QStringLiteral("Try 'songwick-cli scan --help' for more information.")));

    const CliRun unknownTopOption = runCli({QStringLiteral("--frob")});
    EXPECT_EQ(unknownTopOption.exitCode, 2);
    EXPECT_TRUE(unknownTopOption.err.startsWith(
        QStringLiteral("songwick-cli: unknown option '--frob'\nTry 'songwick-cli --help'")));

    const CliRun unknownCommand = runCli({QStringLiteral("frob")});
    EXPECT_EQ(unknownCommand.exitCode, 2);
    EXPECT_TRUE(
        unknownCommand.err.startsWith(QStringLiteral("songwick-cli: unknown command 'frob'\n")));

    const CliRun nothing = runCli({});
    EXPECT_EQ(nothing.exitCode, 2);
    EXPECT_TRUE(nothing.out.isEmpty());
    EXPECT_TRUE(nothing.err.startsWith(QStringLiteral("Usage: songwick-cli COMMAND")));
}
