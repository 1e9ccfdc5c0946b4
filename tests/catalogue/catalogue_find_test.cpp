#include "catalogue/catalogue_duplicates.h"
#include "catalogue/catalogue_find.h"
#include "catalogue/catalogue_order.h"
#include "catalogue/catalogue_table.h"
#include "catalogue/songbook.h"
#include "common/file_name_codec.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <array>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

namespace songwick {
namespace {

CatalogueGrid tableOf(const std::vector<std::pair<QString, QString>>& fileAndTitle) {
    CatalogueGrid grid;
    prepareGrid(grid, int(fileAndTitle.size()));
    for (std::size_t i = 0; i < fileAndTitle.size(); ++i) {
        grid.setCell(1, int(i) + 1, fileAndTitle[i].first);
        grid.setCell(2, int(i) + 1, QStringLiteral("/k/"));
        grid.setCell(3, int(i) + 1, fileAndTitle[i].second);
    }
    return grid;
}

TEST(CatalogueFind, WordsMatchAcrossColumnsIgnoringCaseYoPunctuationAndConjunctions) {
    CatalogueGrid grid = tableOf({{QStringLiteral("ac_dc.kar"), QStringLiteral("AC/DC - T.N.T.")},
                                  {QStringLiteral("2.kar"), QStringLiteral("Ёлка - Прованс")},
                                  {QStringLiteral("3.kar"), QStringLiteral("Simon & Garfunkel")},
                                  {QStringLiteral("4.kar"), QStringLiteral("Soft Karaoke")}});
    RowFinder finder;
    const auto shown = [&](const QString& text, bool untitled = false) {
        FindFilters filters;
        filters.text = text;
        filters.untitledOnly = untitled;
        return finder.shownRows(grid, filters);
    };
    EXPECT_EQ(shown(QStringLiteral("acdc tnt")), std::vector<int>({1}));
    EXPECT_EQ(shown(QStringLiteral("елка ПРОВ")), std::vector<int>({2}));
    EXPECT_EQ(shown(QStringLiteral("simon and garfunkel")), std::vector<int>({3}));
    EXPECT_EQ(shown(QStringLiteral("simon и")), std::vector<int>({3}));
    EXPECT_EQ(shown(QStringLiteral("kar"), true), std::vector<int>({4}));
    EXPECT_EQ(shown(QStringLiteral("nothing")), std::vector<int>());
    // Typing on narrows; deleting widens again.
    EXPECT_EQ(shown(QStringLiteral("k")).size(), 4u);
    EXPECT_EQ(shown(QStringLiteral("karao")), std::vector<int>({4}));
}

TEST(CatalogueOrder, SortIsStableNumericEmptyLastAndMarksMoveWithRenumbering) {
    CatalogueGrid grid = tableOf({{QStringLiteral("Song 10.kar"), QStringLiteral("x")},
                                  {QString(), QStringLiteral("empty")},
                                  {QStringLiteral("Song 2.kar"), QStringLiteral("y")},
                                  {QStringLiteral("апрель.kar"), QStringLiteral("z")}});
    toggleMark(grid, 3);
    sortRows(grid, 1, SortOrder::Ascending);
    EXPECT_EQ(grid.cell(1, 1), QStringLiteral("апрель.kar")); // Cyrillic before Latin
    EXPECT_EQ(grid.cell(1, 2), QStringLiteral("Song 2.kar"));
    EXPECT_EQ(grid.cell(0, 2), QStringLiteral("V 2"));
    EXPECT_EQ(grid.cell(1, 3), QStringLiteral("Song 10.kar"));
    EXPECT_EQ(grid.cell(3, 4), QStringLiteral("empty"));
    sortRows(grid, 1, SortOrder::Descending);
    EXPECT_EQ(grid.cell(1, 1), QStringLiteral("Song 10.kar"));
    EXPECT_EQ(grid.cell(3, 4), QStringLiteral("empty")) << "empty stays last";
    EXPECT_EQ(removeMarkedRows(grid), 1);
    EXPECT_EQ(grid.dataRowCount(), 3);
    EXPECT_EQ(grid.cell(0, 3), QStringLiteral("3"));
}

TEST(CatalogueDuplicates, GroupsSameSongAfterNormalisingAndMarksAllButFirst) {
    CatalogueGrid grid =
        tableOf({{QStringLiteral("1.kar"), QStringLiteral("The Beatles - Yesterday (XG)")},
                 {QStringLiteral("2.kar"), QStringLiteral("Другая - песня")},
                 {QStringLiteral("3.kar"), QStringLiteral("beatles - yesterday [karaoke]")},
                 {QStringLiteral("4.kar"), QStringLiteral("Beatles feat. X - Yesterday")},
                 {QStringLiteral("5.kar"), QStringLiteral("Soft Karaoke")}});
    const auto groups = duplicateGroups(grid, {});
    ASSERT_EQ(groups.size(), 1u);
    EXPECT_EQ(groups[0], std::vector<int>({1, 3, 4}));
    const DuplicatesFound found = arrangeDuplicateGroups(grid, groups);
    EXPECT_EQ(duplicatesFoundMessage(found), QStringLiteral("Найдено повторов: 2 в 1 группах"));
    EXPECT_EQ(grid.cell(1, 2), QStringLiteral("3.kar"));
    EXPECT_EQ(grid.cell(0, 1), QStringLiteral("1"));
    EXPECT_EQ(grid.cell(0, 2), QStringLiteral("V 2"));
    EXPECT_EQ(grid.cell(0, 3), QStringLiteral("V 3"));
    EXPECT_EQ(grid.cell(1, 4), QStringLiteral("2.kar"));
}

TEST(CatalogueDuplicates, ByteIdenticalFilesGroupOnlyWhenContentsAreCompared) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const auto write = [&](const QString& name, const QByteArray& bytes) {
        QFile file(folder.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    };
    write(QStringLiteral("a.kar"), QByteArray("MThd same bytes"));
    write(QStringLiteral("b.kar"), QByteArray("MThd other byte"));  // same size, other content
    write(QStringLiteral("c.kar"), QByteArray("MThd same bytes"));  // a copy of a.kar
    write(QStringLiteral("d.kar"), QByteArray("MThd same bytes!")); // one byte longer
    CatalogueGrid grid = tableOf({{QStringLiteral("a.kar"), QStringLiteral("Первая - песня")},
                                  {QStringLiteral("b.kar"), QStringLiteral("Вторая - песня")},
                                  {QStringLiteral("c.kar"), QStringLiteral("Soft Karaoke")},
                                  {QStringLiteral("d.kar"), QStringLiteral("Четвёртая")}});
    DuplicateSearch search;
    search.filePath = [&](int row) { return folder.filePath(grid.cell(1, row)); };
    EXPECT_TRUE(duplicateGroups(grid, search).empty()) << "contents are compared only when asked";
    search.compareContents = true;
    const auto groups = duplicateGroups(grid, search);
    ASSERT_EQ(groups.size(), 1u);
    EXPECT_EQ(groups[0], std::vector<int>({1, 3}));
    arrangeDuplicateGroups(grid, groups);
    EXPECT_EQ(grid.cell(1, 2), QStringLiteral("c.kar"));
    EXPECT_EQ(grid.cell(0, 2), QStringLiteral("V 2"));
}

TEST(CatalogueDuplicates, ContentsAreReadFromEachRowsOwnFileAndOnlyThroughAbsoluteFolders) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString songs = folder.path() + u'/';
    for (const QByteArray name : {"\xFF.kar", "\xFE.kar", "c.kar"}) {
        const QByteArray path = encodeFileName(songs) + name;
        const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL, 0644);
        ASSERT_GE(fd, 0) << path.constData();
        ASSERT_EQ(::write(fd, "MThd same", 9), 9);
        ::close(fd);
    }
    CatalogueGrid grid = tableOf({{QStringLiteral("1.kar"), QStringLiteral("Первая")},
                                  {QStringLiteral("2.kar"), QStringLiteral("Вторая")},
                                  {QStringLiteral("3.kar"), QStringLiteral("Третья")}});
    grid.setRowFile(1, RowFile{songs, decodeFileName("\xFF.kar")});
    grid.setRowFile(2, RowFile{songs, decodeFileName("\xFE.kar")});
    // The same file again, through a folder taken from the working folder: never read.
    grid.setRowFile(
        3, RowFile{QDir::current().relativeFilePath(songs) + u'/', QStringLiteral("c.kar")});
    DuplicateSearch search;
    search.compareContents = true;
    EXPECT_EQ(duplicateGroups(grid, search), std::vector<std::vector<int>>({{1, 2}}));
}

// Rows of file name, title column and column 4.
CatalogueGrid songTableOf(const std::vector<std::array<QString, 3>>& rows) {
    CatalogueGrid grid;
    prepareGrid(grid, int(rows.size()));
    for (std::size_t i = 0; i < rows.size(); ++i)
        for (int column = 0; column < 3; ++column)
            grid.setCell(column == 0 ? 1 : column + 2, int(i) + 1, rows[i][std::size_t(column)]);
    return grid;
}

TEST(CatalogueDuplicates, KeyTakesPerformerAndTitleFromBothColumnsAndNeverACredit) {
    const CatalogueGrid grid = songTableOf({
        {QStringLiteral("1.kar"), QStringLiteral("(C) KarMaker - UNREGISTERED VER."), QString()},
        {QStringLiteral("2.kar"), QStringLiteral("(C) KarMaker - UNREGISTERED VER."), QString()},
        {QStringLiteral("3.kar"), QStringLiteral("Vocal"), QString()},
        {QStringLiteral("4.kar"), QStringLiteral("Vocal"), QString()},
        {QStringLiteral("5.kar"), QStringLiteral("Title: In the end"),
         QStringLiteral("Artist: Linkin' Park")},
        {QStringLiteral("6.kar"), QStringLiteral("Linkin Park - In The End"), QString()},
        {QStringLiteral("7.kar"), QStringLiteral("The Scientist"), QStringLiteral("Coldplay")},
        {QStringLiteral("8.kar"), QStringLiteral("Coldplay - The Scientist"), QString()},
        {QStringLiteral("9.kar"), QStringLiteral("DONTKNOW"), QString()},
        {QStringLiteral("10.kar"), QStringLiteral("Don't Know"), QStringLiteral("Norah Jones")},
        {QStringLiteral("11.kar"), QStringLiteral("LITTLSIS"), QStringLiteral("Elvis Presley")},
        {QStringLiteral("12.kar"), QStringLiteral("Little Sister"),
         QStringLiteral("Elvis Presley")},
        {QStringLiteral("13.kar"), QStringLiteral("SHEBANGS"), QStringLiteral("Ricky Martin")},
        {QStringLiteral("14.kar"), QStringLiteral("She Bangs"), QStringLiteral("Shakira")},
    });
    EXPECT_EQ(duplicateGroups(grid, {}),
              std::vector<std::vector<int>>({{5, 6}, {7, 8}, {9, 10}, {11, 12}}));
}

TEST(CatalogueDuplicates, FileNamesNumberingPartsOfOneWorkMakeDifferentPieces) {
    const CatalogueGrid grid = songTableOf({
        {QStringLiteral("Interlude 1.mid"), QStringLiteral("Interlude"), QString()},
        {QStringLiteral("Interlude 2.mid"), QStringLiteral("Interlude"), QString()},
        {QStringLiteral("Interlude 02.mid"), QStringLiteral("Interlude"), QString()},
        {QStringLiteral("Suite part I.mid"), QStringLiteral("Suite"), QString()},
        {QStringLiteral("Suite part II.mid"), QStringLiteral("Suite"), QString()},
        {QStringLiteral("Yesterday.kar"), QStringLiteral("Yesterday"), QString()},
        {QStringLiteral("Yesterday (2).kar"), QStringLiteral("Yesterday"), QString()},
    });
    EXPECT_EQ(duplicateGroups(grid, {}), std::vector<std::vector<int>>({{2, 3}, {6, 7}}));
}

TEST(CatalogueDuplicates, FilterShowsTheRowsTheCommandGroups) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    for (const QString& name : {QStringLiteral("a.kar"), QStringLiteral("b.kar")}) {
        QFile file(folder.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("MThd same bytes");
    }
    CatalogueGrid grid =
        songTableOf({{QStringLiteral("a.kar"), QStringLiteral("Первая"), QString()},
                     {QStringLiteral("b.kar"), QStringLiteral("Вторая"), QString()},
                     {QStringLiteral("c.kar"), QStringLiteral("Третья"), QString()}});
    for (int row = 1; row <= 3; ++row)
        grid.setRowFile(row, RowFile{folder.path() + u'/', grid.cell(1, row)});
    FindFilters filters;
    filters.duplicatesOnly = true;
    RowFinder finder;
    EXPECT_EQ(repeatGroups(grid), std::vector<std::vector<int>>({{1, 2}}));
    EXPECT_EQ(finder.shownRows(grid, filters), std::vector<int>({1, 2}));
}

TEST(Songbook, GroupsByPerformerWithHeadingsAndTheRestUnderNoPerformer) {
    const CatalogueGrid grid =
        tableOf({{QStringLiteral("a.kar"), QStringLiteral("ABBA - Waterloo")},
                 {QStringLiteral("b.kar"), QStringLiteral("Алла Пугачёва - Миллион роз")},
                 {QStringLiteral("Песня.kar"), QString()},
                 {QStringLiteral("c.kar"), QStringLiteral("abba - Chiquitita")}});
    const auto sections = songbookSections(grid, {1, 2, 3, 4});
    ASSERT_EQ(sections.size(), 3u);
    EXPECT_EQ(sections[0].heading, QStringLiteral("А"));
    EXPECT_EQ(sections[1].heading, QStringLiteral("A"));
    EXPECT_EQ(sections[1].performers[0].titles,
              QStringList({QStringLiteral("Chiquitita"), QStringLiteral("Waterloo")}));
    EXPECT_EQ(sections[2].heading, QStringLiteral("Без исполнителя"));
    EXPECT_EQ(sections[2].performers[0].titles, QStringList({QStringLiteral("Песня")}));
    // Two lines to a column: a performer continued in the next column is repeated there.
    const auto pages = layOutSongbook({sections[1]}, 2, 3, [](const SongbookLine&) { return 1.0; });
    ASSERT_EQ(pages.size(), 1u);
    ASSERT_EQ(pages[0].size(), 2u);
    EXPECT_EQ(pages[0][1][0].text, QStringLiteral("ABBA (продолжение)"));
}

} // namespace
} // namespace songwick
