#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct CliRun {
    int exitCode = -1;
    QString err;
};

// Runs the tool with the dynamic loader naming every library it loads on standard error.
CliRun runCliNamingLibraries(const QStringList& arguments, const QString& home) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LD_DEBUG"), QStringLiteral("libs"));
    environment.insert(QStringLiteral("HOME"), home);
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/config"));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), home + QStringLiteral("/data"));
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(SONGWICK_CLI_PATH), arguments);
    EXPECT_TRUE(process.waitForFinished(60000));
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardError())};
}

// Commands that draw nothing start without Qt Gui; the songbook loads it with its module and
// writes its PDF.
TEST(CliLibraries, OnlyTheSongbookLoadsQtGui) {
    QTemporaryDir home;
    ASSERT_TRUE(home.isValid());
    const QString songs = home.filePath(QStringLiteral("songs"));
    ASSERT_TRUE(QDir().mkpath(songs));
    const QString gui = QStringLiteral("libQt6Gui.so");

    const CliRun version = runCliNamingLibraries({QStringLiteral("--version")}, home.path());
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_TRUE(version.err.contains(QStringLiteral("libQt6Core.so"))) << "LD_DEBUG works";
    EXPECT_FALSE(version.err.contains(gui));
    const QString list = home.filePath(QStringLiteral("list.swk"));
    const CliRun scan = runCliNamingLibraries(
        {QStringLiteral("scan"), songs, QStringLiteral("--output"), list}, home.path());
    EXPECT_EQ(scan.exitCode, 0) << scan.err.right(2000).toStdString();
    EXPECT_FALSE(scan.err.contains(gui));

    QFile song(songs + QStringLiteral("/song.kar"));
    ASSERT_TRUE(song.open(QIODevice::WriteOnly));
    song.write(QByteArray("MThd\0\0\0\6\0\0\0\1\0\140MTrk\0\0\0\14\0\377\3\4Song\0\377\57\0", 34));
    song.close();
    ASSERT_EQ(runCliNamingLibraries(
                  {QStringLiteral("scan"), songs, QStringLiteral("--output"), list}, home.path())
                  .exitCode,
              0);
    // The songbook starts from the options the window keeps beside the settings file.
    QFile options(home.filePath(QStringLiteral("options.ini")));
    ASSERT_TRUE(options.open(QIODevice::WriteOnly));
    options.write("[songbook]\ntitle=Kept Title\nindex=true\n");
    options.close();
    const QString pdf = home.filePath(QStringLiteral("book.pdf"));
    const CliRun songbook =
        runCliNamingLibraries({QStringLiteral("songbook"), list, pdf, QStringLiteral("--settings"),
                               home.filePath(QStringLiteral("prop.dat"))},
                              home.path());
    EXPECT_EQ(songbook.exitCode, 0) << songbook.err.right(2000).toStdString();
    EXPECT_TRUE(songbook.err.contains(gui));
    QFile book(pdf);
    ASSERT_TRUE(book.open(QIODevice::ReadOnly));
    EXPECT_TRUE(book.read(5) == "%PDF-");
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    if (!text.waitForFinished())
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    const QString pages = QString::fromUtf8(text.readAllStandardOutput());
    EXPECT_TRUE(pages.contains(QStringLiteral("Kept Title"))) << pages.toStdString();
    EXPECT_TRUE(pages.contains(QStringLiteral("Указатель песен"))) << pages.toStdString();
}

} // namespace
