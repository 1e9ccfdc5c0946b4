// The command line of songwick, run as the desktop and a user run it. SONGWICK_TEST_REPORT
// makes the program write its messages and, once started, its open windows and its table to
// standard output, and end.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using namespace Qt::StringLiterals;

struct ProgramRun {
    int exitCode = -1;
    QString out;
    QString err;
};

class SongwickCommandLine : public ::testing::Test {
protected:
    // Runs songwick with no display at all; withWindows gives it the offscreen platform and
    // the report that ends it once it has started.
    ProgramRun run(const QStringList& arguments, bool withWindows) const {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            environment.remove(QString::fromLatin1(name));
        environment.insert(QStringLiteral("HOME"), home.path());
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(u".config"_s));
        environment.insert(QStringLiteral("XDG_CACHE_HOME"), home.filePath(u".cache"_s));
        environment.insert(QStringLiteral("XDG_DATA_HOME"), home.filePath(u".local/share"_s));
        if (withWindows) {
            environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
            environment.insert(QStringLiteral("SONGWICK_TEST_REPORT"), QStringLiteral("1"));
        }
        QProcess process;
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(home.path());
        process.start(QStringLiteral(SONGWICK_PROGRAM_PATH), arguments);
        EXPECT_TRUE(process.waitForFinished(60000)) << arguments.join(u' ').toStdString();
        return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
                QString::fromUtf8(process.readAllStandardError())};
    }

    void writeFile(const QString& name, const QByteArray& bytes) const {
        QFile file(home.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    QString settingsFile() const { return home.filePath(u".config/songwick/prop.dat"_s); }

    QTemporaryDir home;
};

// Two rows: number, file name, folder, title and three empty cells each.
const QByteArray kListFile = "Songwick file..\r\n3\r\n7\r\n"
                             "1\r\nkalinka.kar\r\n/music/\r\nKalinka\r\n\r\n\r\n\r\n\r\n"
                             "2\r\nyesterday.kar\r\n/music/\r\nYesterday\r\n\r\n\r\n\r\n\r\n"
                             "Russia\r\n";

TEST_F(SongwickCommandLine, AListFileGivenStartsWithItInTheMainWindow) {
    // A name as the file manager hands it over, relative to the working folder.
    writeFile(u"мой список.swk"_s, kListFile);
    const ProgramRun run = this->run({u"мой список.swk"_s}, true);
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, u"windows: Form4\n"
                       "row: 1 | kalinka.kar | /music/ | Kalinka |  |  | \n"
                       "row: 2 | yesterday.kar | /music/ | Yesterday |  |  | \n"_s);
}

TEST_F(SongwickCommandLine, AFileThatIsNotAListFileIsReportedAndTheStartWindowComesUp) {
    writeFile(u"notes.swk"_s, "Shopping list\r\nmilk\r\n");
    const ProgramRun run = this->run({u"notes.swk"_s}, true);
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.startsWith(u"message: Данный файл не является файлом Songwick. Либо файл "
                                   "поврежден.\nwindows: Form1\n"_s))
        << run.out.toStdString();
    EXPECT_FALSE(QFileInfo::exists(settingsFile()));
}

TEST_F(SongwickCommandLine, HelpAndVersionNeedNoDisplayAndAWrongLineIsRefused) {
    const ProgramRun version = run({u"--version"_s}, false);
    EXPECT_EQ(version.exitCode, 0) << version.err.toStdString();
    QProcess cli;
    cli.start(QStringLiteral(SONGWICK_CLI_PATH), {u"--version"_s});
    ASSERT_TRUE(cli.waitForFinished(60000));
    EXPECT_EQ(u"songwick-cli "_s + version.out.section(u' ', 1),
              QString::fromUtf8(cli.readAllStandardOutput()))
        << "the program and the tool have one version";

    const ProgramRun help = run({u"--help"_s}, false);
    EXPECT_EQ(help.exitCode, 0) << help.err.toStdString();
    EXPECT_TRUE(help.out.startsWith(u"Usage: songwick [LIST.swk]\n"_s)) << help.out.toStdString();
    EXPECT_TRUE(help.err.isEmpty()) << help.err.toStdString();

    const ProgramRun twoFiles = run({u"a.swk"_s, u"b.swk"_s}, true);
    EXPECT_EQ(twoFiles.exitCode, 2);
    EXPECT_TRUE(twoFiles.out.isEmpty()) << "no window was opened";
    EXPECT_TRUE(twoFiles.err.contains(u"songwick --help"_s));
}

} // namespace
