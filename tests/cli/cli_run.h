#pragma once

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <grp.h>
#include <gtest/gtest.h>
#include <unistd.h>

namespace songwick::test {

// What one run of songwick-cli gave.
struct CliRun {
    int exitCode = -1;
    QString out;
    QString err;
};

// Runs songwick-cli with its cache folder (scan cache, lyrics index) in cacheHome, never the
// user's. unprivileged: the tool runs as the user "nobody" when the test runs as root, who
// reads any folder whatever its mode.
inline CliRun runCliWithCache(const QString& cacheHome, const QStringList& arguments,
                              bool unprivileged = false) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CACHE_HOME"), cacheHome);
    process.setProcessEnvironment(environment);
    if (unprivileged && ::geteuid() == 0)
        process.setChildProcessModifier([] {
            constexpr uid_t kNobody = 65534;
            if (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)
                ::_exit(125);
        });
    process.start(QStringLiteral(SONGWICK_CLI_PATH), arguments);
    EXPECT_TRUE(process.waitForFinished(60000));
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

// Writes the bytes to a new file, making its folder.
inline void writeTestFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace songwick::test
