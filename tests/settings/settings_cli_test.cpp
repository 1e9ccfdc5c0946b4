#include "settings/settings_file.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace songwick;

namespace {

class FirstDraw final : public RandomSource {
public:
    int below(int) override { return 0; }
};

struct CliRun {
    int exitCode = -1;
    QString out;
    QString err;
};

CliRun runSettingsCommand(const QString& path) {
    QProcess process;
    process.start(QStringLiteral(SONGWICK_CLI_PATH), {QStringLiteral("settings"), path});
    process.waitForFinished(30000);
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

TEST(SettingsCommand, PrintsEveryStoredValueByName) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("prop.dat"));
    ProgramSettings settings;
    restoreDefaults(settings, QStringLiteral("/home/певец/karaoke"));
    settings.ManyFilesScan = true;
    settings.ExcelList2Choice = 1;
    FirstDraw random;
    writeFile(path, settingsFileBytes(settings, {46000.5, 1.0 + 3661.0 / 86400.0}, random));

    const CliRun run = runSettingsCommand(path);
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QStringList lines = run.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (const QString& expected : {
             QStringLiteral("ManyFilesScan = true"),
             QStringLiteral("TextAddDateTime = true"),
             QStringLiteral("RenamePartsChecked = false, true, false, false, false, false, "
                            "false, false"),
             QStringLiteral("RenameAddGroupIndex = -1"),
             QStringLiteral("RenameListChoice = 16"),
             QStringLiteral("RewriteWhichFiles = 1"),
             QStringLiteral("ExcelList2Choice = 1"),
             QStringLiteral("ColumnWidths = 60, 60, 75, 60, 60, 60, 60"),
             QStringLiteral("RenameOwnText = \"Напишите здесь чего-нибудь\""),
             QStringLiteral("LastFolder = \"/home/певец/karaoke\""),
             QStringLiteral("LastShutdownTime = 46000.5 (09.12.2025  12.00.00)"),
             QStringLiteral("TotalRunTime = 1.0423726851851851 (25:01:01)"),
             QStringLiteral("ExcelList2Text = \"Made in Russia\""),
         })
        EXPECT_TRUE(lines.contains(expected)) << expected.toStdString() << "\n"
                                              << run.out.toStdString();
    EXPECT_EQ(lines.size(), 43);
}

TEST(SettingsCommand, BadFilesEndWithTheirMessage) {
    QTemporaryDir folder;
    const QString foreign = folder.filePath(QStringLiteral("foreign.dat"));
    writeFile(foreign, QByteArray(180, 'x'));
    CliRun run = runSettingsCommand(foreign);
    EXPECT_NE(run.exitCode, 0);
    EXPECT_TRUE(run.err.contains(QStringLiteral("Ошибка загрузки настроек")))
        << run.err.toStdString();
    EXPECT_TRUE(run.out.isEmpty());

    const QString cut = folder.filePath(QStringLiteral("cut.dat"));
    FirstDraw random;
    writeFile(cut, settingsFileBytes(ProgramSettings{}, {}, random).first(120));
    run = runSettingsCommand(cut);
    EXPECT_NE(run.exitCode, 0);
    EXPECT_TRUE(run.err.contains(settingsShortFileMessage())) << run.err.toStdString();

    run = runSettingsCommand(folder.filePath(QStringLiteral("missing.dat")));
    EXPECT_NE(run.exitCode, 0);
    EXPECT_FALSE(run.err.isEmpty());
}
