#include "catalogue/catalogue_table.h"
#include "catalogue/list_file.h"
#include "common/cp1251_codec.h"
#include "common/error.h"
#include "common/file_name_codec.h"

#include <QDir>
#include <QFile>
#include <QFileDevice>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace songwick;
using namespace Qt::StringLiterals;

namespace {

CatalogueRecord recordFor(int i) {
    const QString n = QString::number(i);
    return {u"песня "_s + n + u".kar"_s,
            u"/музыка/"_s + n + u"/"_s,
            u"Исполнитель — Песня "_s + n,
            u"Слова "_s + n,
            QString(),
            u"Сделал Ёжик №"_s + n};
}

CatalogueState stateWithStore(int count) {
    CatalogueState state;
    for (int i = 1; i <= count; ++i)
        state.startWindowStore.append(recordFor(i));
    return state;
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray listOf(const QByteArray& body) {
    return "Songwick file..\r\n" + body;
}

void expectSameCells(const CatalogueGrid& actual, const CatalogueGrid& expected) {
    ASSERT_EQ(actual.rowCount(), expected.rowCount());
    ASSERT_EQ(actual.columnCount(), expected.columnCount());
    for (int row = 0; row < expected.rowCount(); ++row)
        for (int column = 0; column < expected.columnCount(); ++column)
            ASSERT_EQ(actual.cell(column, row), expected.cell(column, row))
                << "cell " << column << ", " << row;
}

QString errorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const Error& error) {
        return error.message();
    }
    return {};
}

} // namespace

TEST(ListFile, OneRowIsTwelveLinesByteForByte) {
    CatalogueGrid grid;
    prepareGrid(grid, 1);
    grid.setCell(1, 1, u"a.kar"_s);
    grid.setCell(2, 1, u"/songs/"_s);
    grid.setCell(3, 1, u"Title"_s);
    grid.setCell(6, 1, u"Maker"_s);
    grid.setRowFile(1, RowFile{u"/songs/"_s, u"a.kar"_s}); // as the scan found it

    EXPECT_EQ(listFileBytes(grid),
              QByteArray("Songwick file..\r\n2\r\n7\r\n1\r\na.kar\r\n/songs/\r\n"
                         "Title\r\n\r\n\r\nMaker\r\n\r\nRussia\r\n"));
}

TEST(ListFile, EmptyTableAndCyrillicInWindows1251) {
    CatalogueGrid grid;
    prepareGrid(grid, 0);
    EXPECT_EQ(listFileBytes(grid), QByteArray("Songwick file..\r\n1\r\n7\r\nRussia\r\n"));

    CatalogueGrid narrow(1, 2);
    narrow.setCell(0, 1, u"V Ёж №"_s);
    EXPECT_EQ(listFileBytes(narrow),
              QByteArray("Songwick file..\r\n2\r\n1\r\nV \xA8\xE6 \xB9\r\n\r\nRussia\r\n"));
}

TEST(ListFile, WrittenAndReadBackKeepsEveryCellAndMark) {
    CatalogueState state = stateWithStore(250);
    CatalogueGrid grid;
    rebuildFromStore(grid, state.startWindowStore);
    toggleMark(grid, 1);
    toggleMark(grid, 250);
    grid.setCell(5, 7, QString(QChar(0x98)) + u"\u00A0…"_s); // odd bytes of the code page
    QTemporaryDir dir;
    const QString path = dir.filePath(u"список.swk"_s);

    writeListFile(path, grid);
    CatalogueGrid loaded;
    prepareGrid(loaded, 3);
    ASSERT_EQ(readListFile(readListFileBytes(path), loaded), ListFileRead::Loaded);

    expectSameCells(loaded, grid);
    EXPECT_TRUE(isMarked(loaded, 250));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{u"список.swk"_s});
}

TEST(ListFile, CellsBeyondWindows1251AreWrittenAsUtf8AndReadBack) {
    CatalogueGrid grid;
    prepareGrid(grid, 2);
    grid.setCell(3, 1, u"Café Olé"_s); // "é" is not in Windows-1251
    grid.setCell(3, 2, u"Подмосковные 夜"_s);
    const QByteArray bytes = listFileBytes(grid);
    ASSERT_TRUE(bytes.startsWith("\xEF\xBB\xBFSongwick file..\r\n3\r\n7\r\n"));
    EXPECT_TRUE(bytes.contains(u"Café Olé\r\n"_s.toUtf8()));
    EXPECT_TRUE(bytes.endsWith("\r\nRussia\r\n"));

    QTemporaryDir dir;
    const QString path = dir.filePath(u"utf8.swk"_s);
    writeListFile(path, grid);
    CatalogueState state = stateWithStore(2);
    CatalogueGrid opened;
    ASSERT_EQ(openListFileInMainWindow(path, opened, state), ListFileRead::Loaded);
    expectSameCells(opened, grid);
}

TEST(ListFile, LineBreaksInACellAreWrittenAsBlanks) {
    CatalogueGrid grid;
    prepareGrid(grid, 2);
    grid.setCell(3, 1, u"раз\r\nдва\nтри\rчетыре"_s);
    grid.setCell(4, 2, u"после"_s);

    const QByteArray bytes = listFileBytes(grid);
    CatalogueGrid loaded;
    ASSERT_EQ(readListFile(bytes, loaded), ListFileRead::Loaded);

    EXPECT_EQ(loaded.cell(3, 1), u"раз два три четыре"_s);
    EXPECT_EQ(loaded.cell(4, 2), u"после"_s);
    EXPECT_EQ(bytes.count("\r\n"), 3 + 2 * 8 + 1);
}

TEST(ListFile, CountsBelowOneEarlyEndAndMissingTrailer) {
    CatalogueGrid grid;
    prepareGrid(grid, 5);
    ASSERT_EQ(readListFile(listOf("0\r\n7\r\n"), grid), ListFileRead::Loaded);
    EXPECT_EQ(grid.rowCount(), 1);
    EXPECT_EQ(grid.columnCount(), 7);
    EXPECT_EQ(grid.cell(3, 0), u"Исполнитель и/или название песни"_s); // header row kept

    ASSERT_EQ(readListFile(listOf("-5\r\n-1\r\n"), grid), ListFileRead::Loaded);
    EXPECT_EQ(grid.rowCount(), 1);
    EXPECT_EQ(grid.columnCount(), 1);

    // Three rows promised, one and a half given, no trailer; LF-only line ends read too.
    ASSERT_EQ(readListFile(listOf("4\r\n3\r\n1\r\na\r\nb\r\n\r\n2\nc"), grid),
              ListFileRead::Loaded);
    ASSERT_EQ(grid.rowCount(), 4);
    EXPECT_EQ(grid.cell(2, 1), u"b"_s);
    EXPECT_EQ(grid.cell(0, 2), u"2"_s);
    EXPECT_EQ(grid.cell(1, 2), u"c"_s);
    EXPECT_TRUE(grid.cell(2, 2).isEmpty());
    EXPECT_TRUE(grid.cell(0, 3).isEmpty());

    ASSERT_EQ(readListFile(listOf("+2\r\n2\r\n1\r\nx\r\n\r\nRussland\r\n"), grid),
              ListFileRead::Loaded);
    EXPECT_EQ(grid.cell(1, 1), u"x"_s);
}

TEST(ListFile, ForeignFilesAreToldApartAndChangeNothing) {
    const QByteArray foreign[] = {"songwick file..\r\n2\r\n7\r\n",
                                  " Songwick file..\r\n",
                                  "Songwick file.. \r\n",
                                  "Songwick file.",
                                  "",
                                  "\xEF\xBB\xBFsongwick file..\r\n"};
    for (const QByteArray& bytes : foreign) {
        CatalogueGrid grid(3, 2);
        grid.setCell(1, 1, u"keep"_s);
        EXPECT_EQ(readListFile(bytes, grid), ListFileRead::NotAListFile) << bytes.constData();
        EXPECT_EQ(grid.rowCount(), 2);
        EXPECT_EQ(grid.cell(1, 1), u"keep"_s);
    }
    EXPECT_EQ(notAListFileMessage(),
              u"Данный файл не является файлом Songwick.\n\rЛибо файл поврежден."_s);
}

TEST(ListFile, CountLinesMustBeDecimalIntegers) {
    const std::pair<QByteArray, QString> cases[] = {
        {"x7\r\n7\r\n", u"'x7' is not a valid integer value"_s},
        {"2\r\n 7\r\n", u"' 7' is not a valid integer value"_s},
        {"2\r\n$7\r\n", u"'$7' is not a valid integer value"_s},
        {"\r\n7\r\n", u"'' is not a valid integer value"_s},
        {"2\r\n-\r\n", u"'-' is not a valid integer value"_s},
        {"99999999999\r\n7\r\n", u"'99999999999' is not a valid integer value"_s},
        {"\xD2\xF0\xE8\r\n", u"'Три' is not a valid integer value"_s},
    };
    for (const auto& [body, message] : cases) {
        CatalogueGrid grid(7, 3);
        grid.setCell(0, 2, u"keep"_s);
        EXPECT_EQ(errorOf([&] { readListFile(listOf(body), grid); }), message);
        EXPECT_EQ(grid.rowCount(), 3);
        EXPECT_EQ(grid.cell(0, 2), u"keep"_s);
    }
}

TEST(ListFile, MoreRowsThanAStoreHoldsAreRefused) {
    CatalogueGrid grid;
    prepareGrid(grid, 2);
    EXPECT_EQ(readListFile(listOf("45003\r\n7\r\n"), grid), ListFileRead::Loaded);
    EXPECT_EQ(grid.dataRowCount(), 45002);

    prepareGrid(grid, 2);
    const QString message = errorOf([&] { readListFile(listOf("45004\r\n7\r\n"), grid); });
    EXPECT_TRUE(message.contains(u"45003"_s)) << message.toStdString();
    EXPECT_EQ(grid.dataRowCount(), 2);
    EXPECT_FALSE(errorOf([&] { readListFile(listOf("3\r\n2000000000\r\n"), grid); }).isEmpty());
    EXPECT_EQ(grid.columnCount(), 7);

    // A few bytes that claim a full store of 16 columns load as that many empty cells; one
    // column more is refused before anything is allocated for it.
    EXPECT_EQ(readListFile(listOf("45003\r\n16\r\nfirst\r\n"), grid), ListFileRead::Loaded);
    EXPECT_EQ(grid.dataRowCount(), 45002);
    EXPECT_EQ(grid.columnCount(), 16);
    EXPECT_EQ(grid.cell(0, 1), u"first"_s);
    EXPECT_TRUE(grid.cell(15, 45002).isEmpty());
    EXPECT_EQ(errorOf([&] { readListFile(listOf("45003\r\n17\r\n"), grid); }),
              u"Файл списка описывает таблицу из 45002 строк и 17 столбцов, слишком большую для "
              u"программы. Файл не загружен."_s);
    EXPECT_EQ(grid.columnCount(), 16);
}

TEST(ListFile, SavingSetsTheNameAndFlagsOnlyWhenTheWriteSucceeds) {
    QTemporaryDir dir;
    CatalogueGrid grid;
    prepareGrid(grid, 1);
    MainTableState state;
    EXPECT_FALSE(saveListFile(grid, state));
    EXPECT_TRUE(state.modified);

    const QString missingFolder = dir.filePath(u"нет/a.swk"_s);
    EXPECT_FALSE(errorOf([&] { saveListFileAs(missingFolder, grid, state); }).isEmpty());
    EXPECT_TRUE(state.modified);
    EXPECT_FALSE(state.hasSavedName);

    const QString path = dir.filePath(u"a.swk"_s);
    saveListFileAs(path, grid, state);
    EXPECT_FALSE(state.modified);
    EXPECT_TRUE(state.hasSavedName);
    EXPECT_EQ(state.currentListFileName, path);

    state.modified = true;
    grid.setCell(1, 1, u"b.kar"_s);
    EXPECT_TRUE(saveListFile(grid, state));
    EXPECT_FALSE(state.modified);
    EXPECT_EQ(readListFileBytes(path), listFileBytes(grid));
}

TEST(ListFile, AFailedWriteKeepsThePreviousFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath(u"a.swk"_s);
    CatalogueGrid grid;
    prepareGrid(grid, 1);
    writeListFile(path, grid);
    const QByteArray before = readListFileBytes(path);

    QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    grid.setCell(1, 1, u"b.kar"_s);
    const QString message = errorOf([&] { writeListFile(path, grid); });
    QFile::setPermissions(dir.path(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);

    if (message.isEmpty())
        GTEST_SKIP() << "running with rights that ignore folder permissions";
    EXPECT_EQ(readListFileBytes(path), before);
}

TEST(ListFile, OpenInMainWindowLoadsAndCopiesBack) {
    QTemporaryDir dir;
    const QString path = dir.filePath(u"a.swk"_s);
    CatalogueGrid saved;
    rebuildFromStore(saved, stateWithStore(3).startWindowStore);
    toggleMark(saved, 2);
    writeListFile(path, saved);

    CatalogueState state = stateWithStore(10);
    state.tableSource = TableSource::MainWindowStore;
    state.mainWindowStore.setCount(10);
    state.mainTable.modified = false;
    CatalogueGrid grid;

    ASSERT_EQ(openListFileInMainWindow(path, grid, state), ListFileRead::Loaded);

    expectSameCells(grid, saved);
    EXPECT_TRUE(state.mainTable.firstInsertion);
    EXPECT_FALSE(state.mainTable.modified);
    EXPECT_FALSE(state.mainTable.hasSavedName);
    EXPECT_FALSE(state.loadedInStartWindow);
    EXPECT_EQ(state.mainWindowStore.count(), 3);
    EXPECT_EQ(state.mainWindowStore.record(2)[MadeByField], recordFor(2)[MadeByField]);
    EXPECT_EQ(state.startWindowStore.record(3)[FolderField], recordFor(3)[FolderField]);
}

TEST(ListFile, ForeignFileInMainWindowChangesNothing) {
    QTemporaryDir dir;
    writeBytes(dir.filePath(u"c.swk"_s), "Not Songwick\r\n");

    CatalogueState state = stateWithStore(4);
    CatalogueGrid grid;
    rebuildFromStore(grid, state.startWindowStore);
    ASSERT_EQ(openListFileInMainWindow(dir.filePath(u"c.swk"_s), grid, state),
              ListFileRead::NotAListFile);

    EXPECT_EQ(grid.dataRowCount(), 4);
    EXPECT_EQ(grid.cell(1, 1), recordFor(1)[FileNameField]);
    EXPECT_EQ(state.startWindowStore.record(1)[FileNameField], recordFor(1)[FileNameField]);
    EXPECT_FALSE(state.mainTable.firstInsertion);
}

TEST(ListFile, FailedOpensChangeNothing) {
    QTemporaryDir dir;
    writeBytes(dir.filePath(u"bad.swk"_s), listOf("7\r\nseven\r\n"));
    writeBytes(dir.filePath(u"big.swk"_s), listOf("50000\r\n7\r\n"));
    for (const QString& name : {u"bad.swk"_s, u"big.swk"_s, u"missing.swk"_s}) {
        CatalogueState state = stateWithStore(2);
        CatalogueGrid grid;
        rebuildFromStore(grid, state.startWindowStore);
        const QString path = dir.filePath(name);
        EXPECT_FALSE(errorOf([&] { openListFileInMainWindow(path, grid, state); }).isEmpty());
        EXPECT_FALSE(errorOf([&] { openListFileInStartWindow(path, grid, state); }).isEmpty());
        EXPECT_EQ(grid.cell(1, 2), recordFor(2)[FileNameField]) << name.toStdString();
        EXPECT_FALSE(state.mainTable.firstInsertion);
        EXPECT_FALSE(state.loadedInStartWindow);
    }
}

TEST(ListFile, OpenInStartWindowLeavesTheStoresAlone) {
    QTemporaryDir dir;
    const QString path = dir.filePath(u"a.swk"_s);
    writeBytes(path, listOf("2\r\n7\r\n1\r\nx.kar\r\n/x/\r\n\r\n\r\n\r\n\r\n\r\n"));
    writeBytes(dir.filePath(u"foreign.swk"_s), "?");

    CatalogueState state = stateWithStore(5);
    CatalogueGrid grid;
    ASSERT_EQ(openListFileInStartWindow(path, grid, state), ListFileRead::Loaded);
    EXPECT_EQ(grid.dataRowCount(), 1);
    EXPECT_EQ(grid.cell(1, 1), u"x.kar"_s);
    EXPECT_TRUE(state.loadedInStartWindow);
    EXPECT_EQ(state.startWindowStore.count(), 5);
    EXPECT_EQ(state.startWindowStore.record(1)[FileNameField], recordFor(1)[FileNameField]);
    EXPECT_FALSE(refillOnActivation(grid, state)); // the main window shows it as loaded

    state.loadedInStartWindow = false;
    ASSERT_EQ(openListFileInStartWindow(dir.filePath(u"foreign.swk"_s), grid, state),
              ListFileRead::NotAListFile);
    EXPECT_FALSE(state.loadedInStartWindow);
    EXPECT_EQ(grid.dataRowCount(), 1);
    EXPECT_EQ(grid.cell(1, 1), u"x.kar"_s);
    EXPECT_EQ(grid.rowFile(1), (RowFile{u"/x/"_s, u"x.kar"_s})); // as the file names it
}

TEST(ListFile, EditedNamesAndRowsWithoutFilesKeepWhatTheyStandForThroughSaveAndLoad) {
    CatalogueGrid grid;
    prepareGrid(grid, 4);
    const QString folder = u"/песни/"_s;
    const QString names[] = {u"a.kar"_s, u"b.kar"_s, u"c.kar"_s, u"what?.kar"_s};
    for (int row = 1; row <= 4; ++row) {
        grid.setCell(1, row, names[row - 1]);
        grid.setCell(2, row, folder);
        grid.setRowFile(row, RowFile{folder, names[row - 1]});
    }
    grid.setCell(1, 1, u"new.kar"_s); // edited, not yet renamed
    grid.setCell(1, 2, u"c.kar"_s);   // typed into a row that stands for no file
    grid.setRowFile(2, std::nullopt);

    const QByteArray bytes = listFileBytes(grid);
    EXPECT_TRUE(bytes.endsWith("Russia\r\nSongwick files..\r\n"
                               "1\t/%D0%BF%D0%B5%D1%81%D0%BD%D0%B8/\ta.kar\r\n"
                               "2\t-\r\n"
                               "4\t/%D0%BF%D0%B5%D1%81%D0%BD%D0%B8/\twhat?.kar\r\n"
                               "Songwick files end..\r\n"))
        << bytes.constData();
    CatalogueGrid loaded;
    prepareGrid(loaded, 0);
    ASSERT_EQ(readListFile(bytes, loaded), ListFileRead::Loaded);
    expectSameCells(loaded, grid);
    for (int row = 1; row <= 4; ++row)
        EXPECT_EQ(loaded.rowFile(row), grid.rowFile(row)) << row;
}

TEST(ListFile, ALargeTableIsWrittenRowAfterRowAndFallsBackWhereverACellIsNotPlain) {
    constexpr int kRows = 9000; // large enough to be encoded in parts
    CatalogueGrid grid;
    prepareGrid(grid, kRows);
    const QString folder = u"/песни/"_s;
    for (int row = 1; row <= kRows; ++row) {
        const QString name = u"s"_s + QString::number(row) + u".kar"_s;
        grid.setCell(1, row, name);
        grid.setCell(2, row, folder);
        grid.setCell(3, row, u"Исполнитель — Песня "_s + QString::number(row));
        grid.setRowFile(row, RowFile{folder, name});
    }
    // Edited names, not yet renamed, near either end: their files are recorded in row order.
    grid.setCell(1, 2, u"новое.kar"_s);
    grid.setCell(1, kRows - 1, u"другое.kar"_s);

    QByteArray expected = "Songwick file..\r\n9001\r\n7\r\n";
    for (int row = 1; row <= kRows; ++row) {
        for (const QString& cell : grid.rowCells(row))
            expected += encodeCp1251(cell) + "\r\n";
        expected += "\r\n";
    }
    expected += "Russia\r\nSongwick files..\r\n"
                "2\t/%D0%BF%D0%B5%D1%81%D0%BD%D0%B8/\ts2.kar\r\n"
                "8999\t/%D0%BF%D0%B5%D1%81%D0%BD%D0%B8/\ts8999.kar\r\n"
                "Songwick files end..\r\n";
    EXPECT_TRUE(listFileBytes(grid) == expected);

    for (const int row : {1, kRows}) {
        CatalogueGrid withForeignCell = grid;
        withForeignCell.setCell(4, row, u"Подмосковные 夜"_s);
        const QByteArray bytes = listFileBytes(withForeignCell);
        EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBFSongwick file..")) << row;
        CatalogueGrid loaded;
        prepareGrid(loaded, 0);
        ASSERT_EQ(readListFile(bytes, loaded), ListFileRead::Loaded);
        expectSameCells(loaded, withForeignCell);
        EXPECT_EQ(loaded.rowFile(2), (RowFile{folder, u"s2.kar"_s}));
        EXPECT_EQ(loaded.rowFile(kRows - 1), (RowFile{folder, u"s8999.kar"_s}));
    }
}

TEST(ListFile, CellsThatMayHaveLostABytePointToNoFile) {
    // A list of another program: "?" and U+FFFD stand where a byte could not be written.
    CatalogueGrid grid;
    ASSERT_EQ(readListFile(listOf("4\r\n3\r\n1\r\n?.kar\r\n/m/\r\n\r\n"
                                  "2\r\nb.kar\r\n/m?/\r\n\r\n"
                                  "3\r\nc.kar\r\n/m/\r\n\r\nRussia\r\n"),
                           grid),
              ListFileRead::Loaded);
    EXPECT_EQ(grid.rowFile(1), std::nullopt);
    EXPECT_EQ(grid.rowFile(2), std::nullopt);
    EXPECT_EQ(grid.rowFile(3), (RowFile{u"/m/"_s, u"c.kar"_s}));
    ASSERT_EQ(
        readListFile("\xEF\xBB\xBF" + listOf("2\r\n3\r\n1\r\n\xEF\xBF\xBD.kar\r\n/m/\r\n"), grid),
        ListFileRead::Loaded);
    EXPECT_EQ(grid.rowFile(1), std::nullopt);

    // A damaged record keeps the entries that read; every other row stands for no file.
    const QByteArray rows = "3\r\n3\r\n1\r\na.kar\r\n/m/\r\n\r\n2\r\nb.kar\r\n/m/\r\n\r\n"
                            "Russia\r\nSongwick files..\r\n1\t/m/\tz%FF.kar\r\n";
    for (const QByteArray& rest : {QByteArray("2\t/m/\tb%G1.kar\r\nSongwick files end..\r\n"),
                                   QByteArray("9\t-\r\nSongwick files end..\r\n"), QByteArray()}) {
        ASSERT_EQ(readListFile(listOf(rows + rest), grid), ListFileRead::Loaded);
        EXPECT_EQ(grid.rowFile(1), (RowFile{u"/m/"_s, decodeFileName("z\xFF.kar")}));
        EXPECT_EQ(grid.cell(1, 1), u"a.kar"_s);
        EXPECT_EQ(grid.rowFile(2), std::nullopt) << rest.constData();
    }
    ASSERT_EQ(readListFile(listOf(rows + "1\t-\r\nSongwick files end..\r\n"), grid),
              ListFileRead::Loaded);
    EXPECT_EQ(grid.rowFile(1), std::nullopt) << "recorded twice";
}
