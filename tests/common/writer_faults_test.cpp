// Every writer of the program, through its own code, on a full disk, on a read-only disk and
// with a folder standing where its file should go.
#include "catalogue/catalogue_table.h"
#include "catalogue/list_file.h"
#include "catalogue/songbook_pdf.h"
#include "common/error.h"
#include "common/file_write.h"
#include "common/small_file_system.h"
#include "office/docx_writer.h"
#include "office/workbook.h"
#include "office/xlsx_writer.h"
#include "settings/settings_file.h"
#include "textview/rtf_writer.h"

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <cerrno>
#include <functional>
#include <gtest/gtest.h>

namespace songwick {
namespace {

using testing::SmallFileSystem;

class FixedClock final : public Clock {
public:
    DateTimeValue now() const override { return 46000.5; }
};

class FixedRandom final : public RandomSource {
public:
    int below(int) override { return 0; }
};

// One writer: the name of its file and how it writes `text` into one.
struct Writer {
    const char* fileName;
    std::function<void(const QString& path, const QString& text)> write;
};

std::vector<Writer> writers() {
    return {
        {"list.swk",
         [](const QString& path, const QString& text) {
             CatalogueGrid grid;
             prepareGrid(grid, 1);
             grid.setCell(1, 1, text);
             writeListFile(path, grid);
         }},
        {"prop.dat",
         [](const QString& path, const QString& text) {
             ProgramSettings settings;
             settings.RenameOwnText = text;
             FixedRandom random;
             SaveSettings(settings, path, 46000.0, FixedClock(), random);
         }},
        {"text.txt",
         [](const QString& path, const QString& text) { RtfWriter::writeFile(path, {text}); }},
        {"table.xlsx",
         [](const QString& path, const QString& text) {
             Workbook workbook;
             workbook.worksheet().setValues({{1, 1}, {1, 1}}, {text});
             writeXlsx(workbook, path);
         }},
        {"table.docx", [](const QString& path, const QString& text) { writeDocx({text}, path); }},
        {"songbook.pdf",
         [](const QString& path, const QString& text) {
             writeSongbookPdf(path, {{QStringLiteral("А"), {{QStringLiteral("Артист"), {text}}}}},
                              {});
         }},
    };
}

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString failureOf(const Writer& writer, const QString& path) {
    try {
        writer.write(path, QStringLiteral("второй"));
    } catch (const Error& error) {
        return error.message();
    }
    return {};
}

} // namespace

TEST(WriterFaults, AFailedWriteKeepsThePreviousFileLeavesNoTemporaryAndSaysWhy) {
    int argc = 1;
    char name[] = "test_writer_faults";
    char* argv[] = {name, nullptr};
    const QGuiApplication application(argc, argv); // the songbook's fonts

    for (const Writer& writer : writers()) {
        SCOPED_TRACE(writer.fileName);
        QTemporaryDir folder;
        const QString path = folder.filePath(QString::fromLatin1(writer.fileName));
        ASSERT_TRUE(QDir().mkdir(path));
        EXPECT_TRUE(failureOf(writer, path).contains(writeFailureMessage(path, EISDIR)))
            << failureOf(writer, path).toStdString();
        EXPECT_TRUE(QFileInfo(path).isDir());
        EXPECT_EQ(
            QDir(folder.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
            QStringList(QString::fromLatin1(writer.fileName)));
    }

    if (!SmallFileSystem().mounted())
        GTEST_SKIP() << "a full or read-only file system needs root to mount";
    for (const Writer& writer : writers()) {
        SCOPED_TRACE(writer.fileName);
        const QString fileName = QString::fromLatin1(writer.fileName);
        {
            SmallFileSystem disk("size=1m");
            const QString path = disk.path(fileName);
            writer.write(path, QStringLiteral("первый"));
            const QByteArray before = contents(path);
            disk.fill();
            const QString message = failureOf(writer, path);
            EXPECT_TRUE(message.contains(writeFailureMessage(path, ENOSPC)))
                << message.toStdString();
            EXPECT_EQ(contents(path), before);
            EXPECT_EQ(disk.entries(), QStringList({QStringLiteral("filler"), fileName}));
        }
        {
            SmallFileSystem disk("size=1m");
            const QString path = disk.path(fileName);
            writer.write(path, QStringLiteral("первый"));
            const QByteArray before = contents(path);
            ASSERT_TRUE(disk.makeReadOnly());
            const QString message = failureOf(writer, path);
            EXPECT_TRUE(message.contains(writeFailureMessage(path, EROFS)))
                << message.toStdString();
            EXPECT_EQ(contents(path), before);
            EXPECT_EQ(disk.entries(), QStringList(fileName));
        }
    }
}

} // namespace songwick
