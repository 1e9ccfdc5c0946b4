#include "../scan/kar_builder.h"
#include "catalogue/list_file.h"
#include "common/file_name_codec.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <set>
#include <unistd.h>

using namespace songwick;
using songwick::test::KarBuilder;

namespace {

// Creates a file under a name given as bytes, which need not be text.
void writeNamedFile(const QByteArray& path, const QByteArray& bytes) {
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    ASSERT_GE(fd, 0) << path.constData();
    ASSERT_EQ(::write(fd, bytes.constData(), std::size_t(bytes.size())), bytes.size());
    ::close(fd);
}

int runCli(const QStringList& arguments) {
    QProcess process;
    process.start(QStringLiteral(SONGWICK_CLI_PATH), arguments);
    EXPECT_TRUE(process.waitForFinished(60000));
    return process.exitCode();
}

} // namespace

// Two names that one cell text would give alike: a byte that is not text beside a real "?",
// a line break beside a blank. After a scan to a list file, and after that list is written
// again by a command that reads it, each row stands for its own file, byte for byte.
TEST(ListFileNames, EachRowKeepsItsOwnFileThroughTheListFile) {
    QTemporaryDir root;
    const QString songs = root.filePath(QStringLiteral("songs/"));
    ASSERT_TRUE(QDir().mkpath(songs));
    const std::set<QByteArray> names = {"\xFF.kar", "?.kar", "x\ny.kar", "x y.kar"};
    for (const QByteArray& name : names)
        writeNamedFile(encodeFileName(songs) + name, KarBuilder().trackName("Song").bytes());
    const QString scanned = root.filePath(QStringLiteral("scan.swk"));
    const QString sorted = root.filePath(QStringLiteral("sorted.swk"));
    ASSERT_EQ(runCli({QStringLiteral("scan"), songs, QStringLiteral("--output"), scanned,
                      QStringLiteral("--no-cache")}),
              0);
    ASSERT_EQ(
        runCli({QStringLiteral("sort"), scanned, QStringLiteral("--column"), QStringLiteral("1"),
                QStringLiteral("--descending"), QStringLiteral("--output"), sorted}),
        0);

    for (const QString& list : {scanned, sorted}) {
        CatalogueGrid grid;
        readListFileAt(list, grid);
        ASSERT_EQ(grid.dataRowCount(), 4);
        std::set<QByteArray> found;
        for (int row = 1; row <= 4; ++row) {
            const std::optional<RowFile>& file = grid.rowFile(row);
            ASSERT_TRUE(file) << row;
            EXPECT_EQ(encodeFileName(file->folder), encodeFileName(songs));
            found.insert(encodeFileName(file->name));
            // The cells show the file as it is, so the row does not look renamed.
            EXPECT_EQ(grid.cell(1, row), file->name);
        }
        EXPECT_EQ(found, names) << list.toStdString();
    }
}
