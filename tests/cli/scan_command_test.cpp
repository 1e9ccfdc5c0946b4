#include "../scan/kar_builder.h"
#include "catalogue/list_file.h"
#include "common/cp1251_codec.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace songwick;
using songwick::test::cp1251;
using songwick::test::KarBuilder;

namespace {

struct CliRun {
    int exitCode = -1;
    QString out;
    QString err;
};

// The scan cache of the runs lives in a folder of the test run, never the user's.
const QTemporaryDir& cacheHome() {
    static const QTemporaryDir folder;
    return folder;
}

CliRun runCli(const QStringList& arguments) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CACHE_HOME"), cacheHome().path());
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(SONGWICK_CLI_PATH), arguments);
    EXPECT_TRUE(process.waitForFinished(60000));
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

TEST(ScanCommand, WritesTheListFileOfTheFolder) {
    QTemporaryDir root;
    writeFile(root.filePath(QStringLiteral("songs/b.kar")),
              KarBuilder().trackName(cp1251(u"Песня")).text("Artist").bytes());
    writeFile(root.filePath(QStringLiteral("songs/a.kar")),
              KarBuilder().trackName("<Intro>").bytes());
    writeFile(root.filePath(QStringLiteral("songs/readme.txt")), "not karaoke");
    const QString list = root.filePath(QStringLiteral("out.swk"));

    const CliRun run = runCli({QStringLiteral("scan"), root.filePath(QStringLiteral("songs")),
                               QStringLiteral("--output"), list});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.err.endsWith(QStringLiteral("2 files in 1 folders, 0 unreadable\n")));

    QFile file(list);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray folder = QFile::encodeName(root.filePath(QStringLiteral("songs/")));
    const QByteArray expected = "Songwick file..\r\n3\r\n7\r\n"
                                "1\r\na.kar\r\n" +
                                folder +
                                "\r\n<Intro>\r\n\r\n\r\n\r\n\r\n"
                                "2\r\nb.kar\r\n" +
                                folder + "\r\n" + cp1251(u"Песня") +
                                "\r\nArtist\r\n\r\n\r\n\r\nRussia\r\n";
    EXPECT_EQ(file.readAll(), expected);
}

TEST(ScanCommand, MainWindowNamesLeaveOutAngleBrackets) {
    QTemporaryDir root;
    writeFile(root.filePath(QStringLiteral("a.kar")), KarBuilder().trackName("<Intro>").bytes());
    const CliRun run = runCli(
        {QStringLiteral("scan"), root.path(), QStringLiteral("--window"), QStringLiteral("main")});
    ASSERT_EQ(run.exitCode, 0);
    EXPECT_TRUE(
        run.out.contains(QStringLiteral("1 | a.kar | ") + root.path() + QStringLiteral("/ |  |")));
}

TEST(ScanCommand, MissingFolderAndBadArgumentsFail) {
    const CliRun missing = runCli({QStringLiteral("scan"), QStringLiteral("/no/such/folder")});
    EXPECT_NE(missing.exitCode, 0);
    EXPECT_TRUE(missing.err.contains(QStringLiteral("/no/such/folder")));
    EXPECT_NE(runCli({QStringLiteral("scan")}).exitCode, 0);
    EXPECT_NE(runCli({QStringLiteral("scan"), QStringLiteral("."), QStringLiteral("--window"),
                      QStringLiteral("side")})
                  .exitCode,
              0);
}
