#include "catalogue/catalogue_table.h"
#include "catalogue/ui/catalogue_table_model.h"
#include "office/sheet_reader.h"
#include "office/ui/office_actions.h"
#include "office_windows_fixture.h"

#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>

namespace songwick::testing {
namespace {

using SpreadsheetActions = OfficeWindowsFixture;

const QList<QStringList> kThreeSongs = {
    {u"ночь.kar"_s, u"/караоке/"_s, u"Кино - Ночь"_s, u"Цой"_s, u"Цой"_s, u"Вася"_s},
    {u"лето.kar"_s, u"/караоке/"_s, u"Лето"_s, QString(), QString(), QString()},
    {u"осень.kar"_s, u"/караоке/старое/"_s, u"ДДТ - Осень"_s, u"Шевчук"_s, u"Шевчук"_s, u"Петя"_s},
};

TEST_F(SpreadsheetActions, ExportWritesTheTableIntoTheDocumentsFolderAndOpensIt) {
    showMainWindowWith(kThreeSongs);
    exportTableToSpreadsheet(*registry, *mainWindow);

    EXPECT_TRUE(platform.messages.shown.isEmpty())
        << platform.messages.shown.join(u'\n').toStdString();
    ASSERT_EQ(desktop.opened.size(), 1);
    const QString path = desktop.opened.front();
    EXPECT_EQ(newExportFiles(), QStringList{path});
    EXPECT_EQ(QFileInfo(path).absolutePath(), QDir(exportFolder).absolutePath());
    EXPECT_TRUE(path.endsWith(u".xlsx"_s));
    EXPECT_EQ(QFileInfo(path).absolutePath(), root.filePath(u"home/Documents/Songwick"_s));
    EXPECT_EQ(mainWindow->Label3->text(), u"Файл записан: "_s + path);

    const SheetValues sheet = readFirstSheet(path);
    EXPECT_EQ(sheet.text(1, 1), u"№"_s);
    EXPECT_EQ(sheet.text(1, 2), u"Имя файла"_s);
    EXPECT_EQ(sheet.text(2, 2), u"ночь.kar"_s);
    EXPECT_EQ(sheet.text(4, 1), u"3"_s);
    EXPECT_EQ(sheet.text(4, 4), u"ДДТ - Осень"_s);
    EXPECT_TRUE(showsDefaultCursor(mainWindow->StringGrid1));
}

TEST_F(SpreadsheetActions, ExportCarriesTheCellBeingEdited) {
    showMainWindowWith(kThreeSongs);
    const QModelIndex cell = mainWindow->tableModel->index(1, 3); // data row 2, column 3
    mainWindow->StringGrid1->setCurrentIndex(cell);
    mainWindow->StringGrid1->edit(cell);
    QWidget* editor = mainWindow->StringGrid1->indexWidget(cell);
    ASSERT_NE(editor, nullptr);
    QTest::keyClicks(editor, u"!"_s);

    exportTableToSpreadsheet(*registry, *mainWindow);
    ASSERT_EQ(desktop.opened.size(), 1);
    EXPECT_TRUE(readFirstSheet(desktop.opened.front()).text(3, 4).endsWith(u"!"_s));
}

TEST_F(SpreadsheetActions, ExportOfATableWithoutDataRowsStartsNothing) {
    activate(mainWindow);
    mainWindow->changeTable([](CatalogueGrid& grid) { prepareGrid(grid, 0); });
    exportTableToSpreadsheet(*registry, *mainWindow);
    EXPECT_TRUE(desktop.opened.isEmpty());
    EXPECT_TRUE(newExportFiles().isEmpty());
    EXPECT_TRUE(platform.messages.shown.isEmpty());
}

TEST_F(SpreadsheetActions, ExportWithoutASpreadsheetProgramSaysWhereTheFileIsAndOffersItsFolder) {
    showMainWindowWith(kThreeSongs);
    desktop.installed = false;
    platform.messages.answers.push_back(MessageBoxes::Answer::Yes);
    exportTableToSpreadsheet(*registry, *mainWindow);
    EXPECT_TRUE(platform.messages.shown.isEmpty());
    ASSERT_EQ(platform.messages.asked.size(), 1);
    const QStringList written = newExportFiles();
    ASSERT_EQ(written.size(), 1);
    const QString question = platform.messages.asked.front();
    EXPECT_TRUE(question.contains(QDir::toNativeSeparators(written.front())));
    EXPECT_TRUE(question.contains(u"Открыть папку"_s));
    EXPECT_EQ(desktop.asked.back(), exportFolder);
    EXPECT_TRUE(showsDefaultCursor(mainWindow->StringGrid1));
}

TEST_F(SpreadsheetActions, MainWindowImportFillsTableStoreAndStatusLine) {
    showMainWindowWith(kThreeSongs);
    registry->settings().ColumnWidthMode = WidestTextColumnWidths;
    const QString longTitle = u"Очень длинное название песни, которое шире любой колонки"_s;
    platform.dialogs.opens.push_back(
        writeWorkbook(u"импорт.xlsx"_s, {{u"#"_s, u"Файл"_s, u"Папка"_s, u"Песня"_s},
                                         {u"V 7"_s, u"a.kar"_s, u"/a/"_s, longTitle},
                                         {u"8"_s, u"b.kar"_s, u"/b/"_s, u"Вторая"_s}}));
    const int titleWidthBefore = mainWindow->StringGrid1->horizontalHeader()->sectionSize(3);

    importSpreadsheetInMainWindow(*registry, *mainWindow);

    EXPECT_TRUE(platform.messages.shown.isEmpty())
        << platform.messages.shown.join(u'\n').toStdString();
    EXPECT_EQ(platform.dialogs.openFilters, QStringList{u"Файлы Excel|*.xls;*.xlsx|"_s});
    const CatalogueGrid& grid = mainWindow->table();
    ASSERT_EQ(grid.rowCount(), 3);
    EXPECT_EQ(grid.columnCount(), 7) << "the main window keeps its columns";
    EXPECT_EQ(grid.cell(0, 0), u"№"_s);
    EXPECT_EQ(grid.cell(1, 0), u"Файл"_s);
    EXPECT_EQ(grid.cell(0, 1), u"1"_s) << "renumbered, the mark does not come back";
    EXPECT_EQ(grid.cell(3, 1), longTitle);
    EXPECT_EQ(grid.cell(6, 2), QString()) << "cells the sheet does not reach are kept";
    EXPECT_EQ(mainWindow->tableModel->rowCount(), 2) << "the view shows the new rows";

    const CatalogueState& catalogue = registry->catalogue();
    EXPECT_EQ(catalogue.tableSource, TableSource::MainWindowStore);
    EXPECT_EQ(catalogue.mainWindowStore.record(2)[FileNameField], u"b.kar"_s);

    EXPECT_EQ(mainWindow->Label3->text(), u"Импортировано в таблицу 2 запись(и)"_s);
    EXPECT_EQ(mainWindow->Label3->geometry().right() + 1,
              mainWindow->centralWidget()->width() - 10);
    EXPECT_GT(mainWindow->StringGrid1->horizontalHeader()->sectionSize(3), titleWidthBefore);
    EXPECT_EQ(catalogue.mainTable.columnMeasures[3], longTitle.size());
    EXPECT_TRUE(showsDefaultCursor(mainWindow->StringGrid1));
    EXPECT_TRUE(mainWindow->Label1->text().isEmpty());
}

TEST_F(SpreadsheetActions, CancelledImportDialogChangesNothing) {
    showMainWindowWith(kThreeSongs);
    const QString statusBefore = mainWindow->Label3->text();
    importSpreadsheetInMainWindow(*registry, *mainWindow);
    EXPECT_EQ(platform.dialogs.openFilters.size(), 1);
    EXPECT_EQ(mainWindow->table().cell(1, 1), u"ночь.kar"_s);
    EXPECT_EQ(mainWindow->Label3->text(), statusBefore);
    EXPECT_TRUE(platform.messages.shown.isEmpty());
}

TEST_F(SpreadsheetActions, ImportOverUnsavedChangesAsksFirstAsOpeningAListDoes) {
    showMainWindowWith(kThreeSongs);
    registry->catalogue().mainTable.modified = true;
    const QString workbook =
        writeWorkbook(u"новый.xlsx"_s, {{u"№"_s, u"Файл"_s}, {u"1"_s, u"x.kar"_s}});
    platform.dialogs.opens.push_back(workbook);

    platform.messages.answers.push_back(MessageBoxes::Answer::Cancel);
    mainWindow->N7->trigger(); // Отмена: no dialog, the table stays
    EXPECT_EQ(platform.messages.asked, QStringList{u"Сохранить изменения в таблице?"_s});
    EXPECT_TRUE(platform.dialogs.openFilters.isEmpty());
    EXPECT_EQ(mainWindow->table().cell(1, 1), u"ночь.kar"_s);

    platform.messages.answers.push_back(MessageBoxes::Answer::No);
    mainWindow->N7->trigger(); // Нет: the workbook replaces the table
    EXPECT_EQ(platform.messages.asked.size(), 2);
    EXPECT_EQ(mainWindow->table().cell(1, 1), u"x.kar"_s);
    EXPECT_TRUE(platform.messages.shown.isEmpty())
        << platform.messages.shown.join(u'\n').toStdString();
}

TEST_F(SpreadsheetActions, TinySheetsImportWithoutTrouble) {
    showMainWindowWith(kThreeSongs);
    platform.dialogs.opens.push_back(writeWorkbook(u"cell.xlsx"_s, {{u"x"_s}}));
    importSpreadsheetInMainWindow(*registry, *mainWindow);
    EXPECT_TRUE(platform.messages.shown.isEmpty())
        << platform.messages.shown.join(u'\n').toStdString();
    EXPECT_EQ(mainWindow->table().rowCount(), 1);
    EXPECT_EQ(mainWindow->table().cell(1, 0), u"x"_s);
    EXPECT_EQ(mainWindow->Label3->text(), u"Импортировано в таблицу 0 запись(и)"_s);

    platform.dialogs.opens.push_back(
        writeWorkbook(u"row.xlsx"_s, {{u"№"_s, u"Файл"_s, u"Папка"_s}}));
    importSpreadsheetInMainWindow(*registry, *mainWindow);
    EXPECT_TRUE(platform.messages.shown.isEmpty());
    EXPECT_EQ(mainWindow->table().cell(2, 0), u"Папка"_s);
}

TEST_F(SpreadsheetActions, FileThatIsNotAWorkbookIsReportedAndTheWaitEnds) {
    showMainWindowWith(kThreeSongs);
    mainWindow->Label1->setText(u"Ошибка!!!!"_s);
    const QString path = root.filePath(u"список.xlsx"_s);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not a workbook at all");
    file.close();
    platform.dialogs.opens.push_back(path);

    importSpreadsheetInMainWindow(*registry, *mainWindow);

    ASSERT_EQ(platform.messages.shown.size(), 1);
    EXPECT_FALSE(platform.messages.shown.front().isEmpty());
    EXPECT_TRUE(showsDefaultCursor(mainWindow->StringGrid1));
    EXPECT_EQ(mainWindow->Label1->text(), u"Ошибка!!!!"_s);
    EXPECT_EQ(mainWindow->table().cell(1, 1), u"ночь.kar"_s) << "the table stays as it was";
}

TEST_F(SpreadsheetActions, StartWindowImportHandsOverWithTheImportedTable) {
    activate(startWindow);
    platform.dialogs.opens.push_back(
        writeWorkbook(u"start.xlsx"_s, {{u"№"_s, u"Файл"_s, u"Папка"_s, u"Песня"_s},
                                        {u"1"_s, u"a.kar"_s, u"/a/"_s, u"Первая"_s},
                                        {u"2"_s, u"b.kar"_s, u"/b/"_s, u"Вторая"_s},
                                        {u"3"_s, u"c.kar"_s, u"/c/"_s, u"Третья"_s}}));

    importSpreadsheetInStartWindow(*registry, *startWindow);
    ASSERT_TRUE(QTest::qWaitForWindowActive(mainWindow));
    settle();

    EXPECT_TRUE(platform.messages.shown.isEmpty())
        << platform.messages.shown.join(u'\n').toStdString();
    EXPECT_EQ(platform.dialogs.openFilters, QStringList{u"Файлы Excel|*.xls;*.xlsx|"_s});
    EXPECT_FALSE(startWindow->isVisible());
    EXPECT_TRUE(mainWindow->isVisible());
    // The main window kept the imported table instead of rebuilding it from a store.
    const CatalogueGrid& grid = mainWindow->table();
    ASSERT_EQ(grid.rowCount(), 4);
    EXPECT_EQ(grid.columnCount(), 4);
    EXPECT_EQ(grid.cell(1, 0), u"Файл"_s);
    EXPECT_EQ(grid.cell(3, 3), u"Третья"_s);
    EXPECT_EQ(registry->catalogue().tableSource, TableSource::MainWindowStore);
    EXPECT_EQ(registry->catalogue().mainWindowStore.record(1)[PerformerTitleField], u"Первая"_s);
    EXPECT_TRUE(showsDefaultCursor(mainWindow->StringGrid1));
    EXPECT_TRUE(showsDefaultCursor(startWindow));
}

TEST_F(SpreadsheetActions, FailedStartWindowImportStaysInTheStartWindow) {
    activate(startWindow);
    platform.dialogs.opens.push_back(root.filePath(u"missing.xls"_s));
    importSpreadsheetInStartWindow(*registry, *startWindow);
    settle();
    EXPECT_EQ(platform.messages.shown.size(), 1);
    EXPECT_TRUE(startWindow->isVisible());
    EXPECT_FALSE(mainWindow->isVisible());
    EXPECT_FALSE(registry->catalogue().loadedInStartWindow);
    EXPECT_TRUE(showsDefaultCursor(startWindow));
}

} // namespace
} // namespace songwick::testing
