#include "../scan/kar_builder.h"
#include "catalogue/list_file.h"
#include "cli_run.h"
#include "common/cp1251_codec.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace songwick;
using songwick::test::CliRun;
using songwick::test::cp1251;
using songwick::test::KarBuilder;
using songwick::test::runCliWithCache;
using songwick::test::writeTestFile;

namespace {

// The scan cache of the runs lives in a folder of the test run, never the user's.
const QTemporaryDir& cacheHome() {
    static const QTemporaryDir folder;
    return folder;
}

CliRun runCli(const QStringList& arguments, bool unprivileged = false) {
    return runCliWithCache(cacheHome().path(), arguments, unprivileged);
}

} // namespace

TEST(ScanCommand, WritesTheListFileOfTheFolder) {
    QTemporaryDir root;
    writeTestFile(root.filePath(QStringLiteral("songs/b.kar")),
                  KarBuilder().trackName(cp1251(u"Песня")).text("Artist").bytes());
    writeTestFile(root.filePath(QStringLiteral("songs/a.kar")),
                  KarBuilder().trackName("<Intro>").bytes());
    writeTestFile(root.filePath(QStringLiteral("songs/readme.txt")), "not karaoke");
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
    writeTestFile(root.filePath(QStringLiteral("a.kar")),
                  KarBuilder().trackName("<Intro>").bytes());
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

TEST(ScanCommand, FoldersThatCannotBeReadAreCountedAndNamed) {
    QTemporaryDir root;
    // Reachable for the unprivileged run; only the locked folder is shut.
    ASSERT_TRUE(QFile::setPermissions(root.path(), QFile::ReadOwner | QFile::WriteOwner |
                                                       QFile::ExeOwner | QFile::ReadOther |
                                                       QFile::ExeOther));
    writeTestFile(root.filePath(QStringLiteral("songs/a.kar")),
                  KarBuilder().trackName("A").bytes());
    const QString locked = root.filePath(QStringLiteral("songs/locked"));
    ASSERT_TRUE(QDir().mkpath(locked));
    ASSERT_TRUE(QFile::setPermissions(locked, {}));

    const CliRun partly = runCli({QStringLiteral("scan"), root.filePath(QStringLiteral("songs")),
                                  QStringLiteral("--no-cache")},
                                 true);
    ASSERT_NE(partly.exitCode, 125) << "could not run as nobody";
    EXPECT_EQ(partly.exitCode, 0) << partly.err.toStdString();
    EXPECT_TRUE(partly.out.contains(QStringLiteral("a.kar")));
    EXPECT_TRUE(partly.err.contains(QStringLiteral("1 files in 2 folders, 0 unreadable\n1 folders "
                                                   "could not be read: ") +
                                    locked + u'\n'))
        << partly.err.toStdString();
    EXPECT_TRUE(partly.err.contains(
        QStringLiteral("Не удалось прочитать папок: 1. Первая: %1 (Отказано в доступе)")
            .arg(locked)));

    // Nothing at all could be read: a failure.
    const CliRun nothing =
        runCli({QStringLiteral("scan"), locked, QStringLiteral("--no-cache")}, true);
    EXPECT_NE(nothing.exitCode, 0);
    EXPECT_TRUE(nothing.err.contains(locked)) << nothing.err.toStdString();
    EXPECT_TRUE(nothing.out.isEmpty());
    QFile::setPermissions(locked, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

TEST(ScanCommand, ASettingsFileThatIsNoneIsNamed) {
    QTemporaryDir root;
    const QString wrong = root.filePath(QStringLiteral("wrong.dat"));
    writeTestFile(wrong, "not settings");
    const CliRun run =
        runCli({QStringLiteral("scan"), root.path(), QStringLiteral("--settings"), wrong});
    EXPECT_NE(run.exitCode, 0);
    EXPECT_TRUE(run.err.contains(wrong + QStringLiteral(": Ошибка загрузки настроек")))
        << run.err.toStdString();
}
