// Our .docx as another program reads it: LibreOffice converts it to plain text. Skipped where
// LibreOffice is not installed (it is not a build dependency).
#include "office/document.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace songwick {
namespace {

TEST(DocxWithLibreOffice, OurDocumentReadsAsTheSameParagraphs) {
    const QString office = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (office.isEmpty())
        GTEST_SKIP() << "LibreOffice is not installed";
    const QStringList lines = {
        QStringLiteral("1\tКатюша.kar\t/песни/\tКатюша\tИсаковский М."),
        QStringLiteral("V 2\tYesterday.kar\t/songs/\t<Live> & \"more\""),
        QString(),
        QStringLiteral("08.дек.2026  12.00.00"),
    };
    QTemporaryDir folder;
    Document document;
    document.insertAfter(lines.join(QStringLiteral("\r\n")));
    const QString path = folder.filePath(QStringLiteral("table.docx"));
    document.saveAs(path);

    QProcess process;
    process.start(office, {QStringLiteral("-env:UserInstallation=file://") +
                               folder.filePath(QStringLiteral("profile")),
                           QStringLiteral("--headless"), QStringLiteral("--convert-to"),
                           QStringLiteral("txt:Text (encoded):UTF8"), QStringLiteral("--outdir"),
                           folder.filePath(QStringLiteral("text")), path});
    ASSERT_TRUE(process.waitForFinished(180000));
    ASSERT_EQ(process.exitCode(), 0);
    QFile text(folder.filePath(QStringLiteral("text/table.txt")));
    ASSERT_TRUE(text.open(QIODevice::ReadOnly));
    QString content = QString::fromUtf8(text.readAll());
    content.remove(QChar(0xFEFF));
    content.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    while (content.endsWith(u'\n'))
        content.chop(1);
    EXPECT_EQ(content.split(u'\n'), lines);
}

} // namespace
} // namespace songwick
