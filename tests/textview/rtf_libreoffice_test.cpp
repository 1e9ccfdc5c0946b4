// Our RTF as another program reads it: LibreOffice converts it to plain text and back to RTF.
// Skipped where LibreOffice is not installed (it is not a build dependency).
#include "textview/rtf_reader.h"
#include "textview/rtf_writer.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace songwick {
namespace {

const QStringList kLines = {
    QStringLiteral("1\tКатюша.kar\t/песни/\tКатюша\tИсаковский М.\tБлантер М.\t"),
    QStringLiteral("V 2\tYesterday.kar\t/songs/\t{Live} \\ [2004]\t\t\t"),
    QStringLiteral("Ёлка, ёжик, №5 — «ура»"),
};

// Converts a file with LibreOffice; false when it could not.
bool convert(const QString& office, const QString& file, const QString& to, const QString& outDir,
             const QString& profile) {
    QProcess process;
    process.start(office, {QStringLiteral("-env:UserInstallation=file://") + profile,
                           QStringLiteral("--headless"), QStringLiteral("--convert-to"), to,
                           QStringLiteral("--outdir"), outDir, file});
    return process.waitForFinished(180000) && process.exitCode() == 0;
}

QString readUtf8Lines(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

TEST(RtfWithLibreOffice, OurFileReadsAsTheSameTextAndItsRtfReadsBack) {
    const QString office = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (office.isEmpty())
        GTEST_SKIP() << "LibreOffice is not installed";
    QTemporaryDir folder;
    const QString ours = folder.filePath(QStringLiteral("ours.rtf"));
    RtfWriter::writeFile(ours, kLines);
    const QString profile = folder.filePath(QStringLiteral("profile"));

    const QString textDir = folder.filePath(QStringLiteral("text"));
    ASSERT_TRUE(convert(office, ours, QStringLiteral("txt:Text (encoded):UTF8"), textDir, profile));
    QString text = readUtf8Lines(textDir + QStringLiteral("/ours.txt"));
    text.remove(QChar(0xFEFF));
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    EXPECT_EQ(text.trimmed().split(u'\n'), kLines);

    // And LibreOffice's own RTF of the same text reads back with our reader.
    const QString rtfDir = folder.filePath(QStringLiteral("rtf"));
    ASSERT_TRUE(convert(office, ours, QStringLiteral("rtf"), rtfDir, profile));
    QFile theirs(rtfDir + QStringLiteral("/ours.rtf"));
    ASSERT_TRUE(theirs.open(QIODevice::ReadOnly));
    QStringList lines = RtfReader::toLines(theirs.readAll());
    while (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    EXPECT_EQ(lines, kLines);
}

} // namespace
} // namespace songwick
