#include "catalogue/catalogue_duplicates.h"
#include "catalogue/catalogue_table.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace songwick {
namespace {

// Files of one size are read once each, every byte counting (a difference in
// the last byte of a file longer than one read), and the search can be stopped between files.
TEST(CatalogueDuplicates, FilesOfASharedSizeAreHashedWholeOnceEachAndTheSearchCanStop) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    QByteArray large(700 * 1024, '\x40');
    large.prepend("MThd");
    QByteArray largeChangedAtTheEnd = large;
    largeChangedAtTheEnd.back() = '\x41';
    const std::vector<std::pair<QString, QByteArray>> files = {
        {QStringLiteral("a.kar"), "MThd same bytes"},
        {QStringLiteral("b.kar"), "MThd other byte"},
        {QStringLiteral("c.kar"), "MThd same bytes"},
        {QStringLiteral("d.kar"), "MThd alone"},
        {QStringLiteral("e.kar"), large},
        {QStringLiteral("f.kar"), largeChangedAtTheEnd},
        {QStringLiteral("g.kar"), large},
    };
    const QString kTitles[] = {QStringLiteral("Первая"), QStringLiteral("Вторая"),
                               QStringLiteral("Третья"), QStringLiteral("Четвёртая"),
                               QStringLiteral("Пятая"),  QStringLiteral("Шестая"),
                               QStringLiteral("Седьмая")};
    CatalogueGrid grid;
    prepareGrid(grid, int(files.size()));
    for (std::size_t i = 0; i < files.size(); ++i) {
        QFile file(folder.filePath(files[i].first));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(files[i].second);
        grid.setCell(1, int(i) + 1, files[i].first);
        grid.setCell(3, int(i) + 1, kTitles[i]);
    }
    std::vector<std::pair<int, int>> reports;
    DuplicateSearch search;
    search.compareContents = true;
    search.filePath = [&](int row) { return folder.filePath(grid.cell(1, row)); };
    search.fileRead = [&](int read, int toRead) { reports.emplace_back(read, toRead); };
    EXPECT_EQ(duplicateGroups(grid, search), std::vector<std::vector<int>>({{1, 3}, {5, 7}}));
    const std::vector<std::pair<int, int>> everyFileOnce = {{1, 6}, {2, 6}, {3, 6},
                                                            {4, 6}, {5, 6}, {6, 6}};
    EXPECT_EQ(reports, everyFileOnce) << "d.kar has a size of its own and is never read";

    reports.clear();
    search.interruptRequested = [&] { return reports.size() == 2; };
    EXPECT_EQ(interruptibleDuplicateGroups(grid, search), std::nullopt);
    EXPECT_EQ(reports.size(), 2u) << "no file is read after the stop";
}

} // namespace
} // namespace songwick
