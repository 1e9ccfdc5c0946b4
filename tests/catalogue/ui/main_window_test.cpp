#include "app/ui/close_question_window.h"
#include "app/ui/karaoke_folder.h"
#include "app/ui/program_fixture.h"
#include "catalogue/catalogue_table.h"
#include "catalogue/list_file.h"
#include "catalogue/ui/catalogue_table_model.h"
#include "catalogue/ui/catalogue_table_view.h"
#include "catalogue/ui/songbook_options_window.h"
#include "settings/options_file.h"

#include <QAction>
#include <QBrush>
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTimer>
#include <gtest/gtest.h>

namespace songwick::testing {
namespace {

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(program.start());
        program.platform.dialogs.folders.push_back(makeKaraokeFolder(root, QStringLiteral("s")));
        QTest::mouseClick(program.startWindow()->Button1, Qt::LeftButton);
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
        ProgramUnderTest::settle();
    }

    QString cell(int column, int row) const { return window->table().cell(column, row); }
    void doubleClickRow(int row) {
        window->StringGrid1->setCurrentIndex(window->tableModel->index(row - 1, 1));
        window->StringGrid1DblClick();
    }

    QTemporaryDir root;
    ProgramUnderTest program{root.filePath(QStringLiteral("prop.dat"))};
    TForm4* window = program.mainWindow();
};

TEST_F(MainWindowTest, DoubleClickTogglesTheMarkOfTheCurrentRow) {
    doubleClickRow(2);
    EXPECT_EQ(cell(0, 2), QStringLiteral("V 2"));
    doubleClickRow(2);
    EXPECT_EQ(cell(0, 2), QStringLiteral("2"));
}

TEST_F(MainWindowTest, DoubleClickWithMarkAllCheckedLeavesOnlyThatRowMarked) {
    window->CheckBox1->click();
    EXPECT_EQ(cell(0, 1), QStringLiteral("V 1"));
    EXPECT_EQ(cell(0, 3), QStringLiteral("V 3"));
    EXPECT_EQ(window->Label2->text(), program.registry->settings().LastFolder);
    doubleClickRow(3);
    EXPECT_FALSE(window->CheckBox1->isChecked());
    EXPECT_EQ(cell(0, 1), QStringLiteral("1"));
    EXPECT_EQ(cell(0, 2), QStringLiteral("2"));
    EXPECT_EQ(cell(0, 3), QStringLiteral("V 3"));
}

TEST_F(MainWindowTest, DoubleClickDoesNotOpenTheEditor) {
    const QRect cellRect = window->StringGrid1->visualRect(window->tableModel->index(0, 2));
    QSignalSpy doubleClicks(window->StringGrid1, &CatalogueTableView::tableDoubleClicked);
    QTest::mouseDClick(window->StringGrid1->viewport(), Qt::LeftButton, {}, cellRect.center());
    EXPECT_EQ(doubleClicks.count(), 1);
    EXPECT_EQ(window->StringGrid1->currentIndex().row(), 0);
    EXPECT_FALSE(window->StringGrid1->isEditing());
    EXPECT_EQ(cell(0, 1), QStringLiteral("V 1"));
}

// Warnings of the item views while it lives.
class ViewWarnings {
public:
    ViewWarnings() { previous_ = qInstallMessageHandler(&ViewWarnings::record); }
    ~ViewWarnings() { qInstallMessageHandler(previous_); }
    static QStringList& recorded() {
        static QStringList warnings;
        return warnings;
    }

private:
    static void record(QtMsgType type, const QMessageLogContext&, const QString& text) {
        if (type == QtWarningMsg && text.contains(QStringLiteral("QAbstractItemView")))
            recorded() << text;
    }
    QtMessageHandler previous_ = nullptr;
};

TEST_F(MainWindowTest, TypingIntoTheTableEditsTheCellAndMarksTheTableModified) {
    const ViewWarnings warnings;
    ViewWarnings::recorded().clear();
    program.registry->catalogue().mainTable.modified = false;
    window->StringGrid1->setFocus(Qt::OtherFocusReason);
    window->StringGrid1->setCurrentIndex(window->tableModel->index(0, 4));
    QTest::keyClick(window->StringGrid1, Qt::Key_L, Qt::ShiftModifier);
    ASSERT_TRUE(window->StringGrid1->isEditing());
    QWidget* editor = window->StringGrid1->indexWidget(window->StringGrid1->currentIndex());
    ASSERT_NE(editor, nullptr);
    QTest::keyClicks(editor, QStringLiteral("yricist"));
    QTest::keyClick(editor, Qt::Key_Tab); // the delegate commits and closes the editor
    EXPECT_EQ(cell(4, 1), QStringLiteral("lyricist"));
    EXPECT_TRUE(program.registry->catalogue().mainTable.modified);
    EXPECT_TRUE(ViewWarnings::recorded().isEmpty()) << "each editor is closed by its own view";
}

TEST_F(MainWindowTest, InsertionAtTheFirstRowMovesEveryRecordDown) {
    const QString first = cell(1, 1);
    const QString last = cell(1, 3);
    window->StringGrid1->setCurrentIndex(window->tableModel->index(0, 1));
    window->N17->trigger();
    EXPECT_EQ(window->tableModel->rowCount(), 4);
    EXPECT_EQ(cell(1, 1), QString());
    EXPECT_EQ(cell(1, 2), first);
    EXPECT_EQ(cell(1, 4), last);
    for (int row = 1; row <= 4; ++row)
        EXPECT_EQ(cell(0, row), QString::number(row));
}

TEST_F(MainWindowTest, AMarkMovesWithItsRowWhenARowIsInsertedAboveIt) {
    ASSERT_EQ(cell(1, 3), QStringLiteral("twinkle.kar"));
    doubleClickRow(3);
    window->StringGrid1->setCurrentIndex(window->tableModel->index(2, 1));
    window->N17->trigger(); // the new row comes in at row 3, above the marked one
    EXPECT_EQ(cell(0, 3), QStringLiteral("3"));
    EXPECT_EQ(cell(0, 4), QStringLiteral("V 4"));

    program.platform.messages.answers.push_back(MessageBoxes::Answer::Yes);
    window->DeleteMarked->trigger();
    ASSERT_EQ(window->tableModel->rowCount(), 3);
    EXPECT_EQ(cell(1, 1), QStringLiteral("MIDIOkFormat1-lyrics-kar.mid"));
    EXPECT_EQ(cell(1, 2), QStringLiteral("Negra_Sombra.kar"));
    EXPECT_EQ(cell(1, 3), QString()) << "the inserted row stays, the marked song is gone";
}

TEST_F(MainWindowTest, AnUndoneRenameLeavesTheTableToSaveBeforeTheProgramEnds) {
    const QDir folder(root.filePath(QStringLiteral("s")));
    window->tableModel->setData(window->tableModel->index(2, 1), QStringLiteral("star.kar"));
    window->N9->trigger();
    ASSERT_TRUE(folder.exists(QStringLiteral("star.kar")));
    program.platform.dialogs.saves.push_back(root.filePath(QStringLiteral("list.swk")));
    window->N5->trigger(); // the saved list names star.kar
    ASSERT_FALSE(program.registry->catalogue().mainTable.modified);

    window->N30->trigger();
    ASSERT_TRUE(folder.exists(QStringLiteral("twinkle.kar")));
    EXPECT_EQ(cell(1, 3), QStringLiteral("twinkle.kar"));
    window->N12->trigger();
    EXPECT_TRUE(program.registry->form12()->isVisible()) << "closing asks about the changes";
    EXPECT_EQ(program.endCount, 0);
}

TEST_F(MainWindowTest, WidestTextWidthsNeverCutTheHeader) {
    ASSERT_EQ(program.registry->settings().ColumnWidthMode, WidestTextColumnWidths);
    const QFontMetrics metrics(window->StringGrid1->font());
    const QHeaderView* header = window->StringGrid1->horizontalHeader();
    for (int column = 1; column < 7; ++column) {
        const int headerText = metrics.horizontalAdvance(cell(column, 0));
        EXPECT_GE(header->sectionSize(column), headerText + 4) << column;
    }
    EXPECT_GT(program.registry->catalogue().mainTable.columnMeasures[1], 0);
}

TEST_F(MainWindowTest, CancelledNewScanKeepsTheTableWithItsEdits) {
    program.registry->catalogue().mainTable.modified = false;
    window->tableModel->setData(window->tableModel->index(1, 3), QStringLiteral("Правка"));
    program.registry->catalogue().mainTable.modified = false;
    window->N2->trigger(); // the chooser is cancelled
    ProgramUnderTest::settle();
    EXPECT_EQ(window->tableModel->rowCount(), 3);
    EXPECT_EQ(cell(3, 2), QStringLiteral("Правка"));
    EXPECT_EQ(program.platform.dialogs.folderStarts.size(), 2);
    EXPECT_FALSE(program.registry->form12()->isVisible());
}

TEST_F(MainWindowTest, OpeningOverUnsavedEditsAsksAndAForeignFileChangesNothing) {
    const QString path = root.filePath(QStringLiteral("foreign.swk"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArrayLiteral(" Songwick file..\r\n"));
    file.close();
    window->tableModel->setData(window->tableModel->index(1, 3), QStringLiteral("Правка"));
    ASSERT_TRUE(program.registry->catalogue().mainTable.modified);
    const int widthBefore = window->StringGrid1->horizontalHeader()->sectionSize(2);
    using Answer = MessageBoxes::Answer;

    program.platform.dialogs.opens.push_back(path);
    program.platform.messages.answers.push_back(Answer::Cancel);
    window->N3->trigger(); // Отмена: no dialog, nothing changes
    EXPECT_EQ(program.platform.messages.asked,
              QStringList{QStringLiteral("Сохранить изменения в таблице?")});
    EXPECT_EQ(program.platform.dialogs.opens.size(), 1u);

    program.platform.messages.answers.push_back(Answer::No);
    window->N3->trigger(); // Нет: the file is opened, and is not a list
    EXPECT_EQ(program.platform.messages.shown, QStringList{notAListFileMessage()});
    EXPECT_EQ(window->tableModel->rowCount(), 3);
    EXPECT_EQ(cell(3, 2), QStringLiteral("Правка"));
    EXPECT_FALSE(cell(1, 1).isEmpty());
    EXPECT_TRUE(program.registry->catalogue().mainTable.modified);
    EXPECT_EQ(program.registry->catalogue().startWindowStore.record(1)[FileNameField], cell(1, 1));
    EXPECT_EQ(window->StringGrid1->horizontalHeader()->sectionSize(2), widthBefore);
}

TEST_F(MainWindowTest, SaveAfterSaveAsWritesWithoutADialog) {
    const QString path = root.filePath(QStringLiteral("list.swk"));
    program.platform.dialogs.saves.push_back(path);
    window->N5->trigger();
    EXPECT_TRUE(QFile::exists(path));
    program.registry->catalogue().mainTable.modified = true;
    window->N4->trigger();
    EXPECT_EQ(program.platform.dialogs.saveFilters.size(), 1);
    EXPECT_FALSE(program.registry->catalogue().mainTable.modified);
}

TEST_F(MainWindowTest, MenusCarryTheProgramsCaptions) {
    EXPECT_EQ(window->N2->text(), QStringLiteral("&Новое сканирование..."));
    EXPECT_EQ(window->N17->text(), QStringLiteral("&Добавить строку"));
    EXPECT_EQ(window->N27->text(), QStringLiteral("&Новое сканирование"));
    EXPECT_FALSE(window->N11->isVisible());
    EXPECT_EQ(window->CheckBox1->text(), QStringLiteral("Отметить все"));
    EXPECT_EQ(window->StringGrid1->verticalHeader()->defaultSectionSize(), 18);

    // The entries added since have accelerators, the frequent ones keys shown in the menu.
    for (const QAction* entry : {window->SortAction, window->RepeatsAction, window->DeleteMarked,
                                 window->SongbookAction, window->N30, window->N34})
        EXPECT_TRUE(entry->text().contains(u'&')) << entry->text().toStdString();
    EXPECT_EQ(window->SortAction->shortcut(), QKeySequence(QStringLiteral("Ctrl+Alt+S")));
    program.platform.messages.answers.push_back(MessageBoxes::Answer::No);
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    doubleClickRow(1);
    QTest::keyClick(window->StringGrid1, Qt::Key_Delete, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(program.platform.messages.asked.last(),
              QStringLiteral("Удалить из таблицы отмеченные строки (1)?"));
}

} // namespace
} // namespace songwick::testing

namespace songwick::testing {
namespace {

TEST_F(MainWindowTest, NumberColumnStaysInPlaceWhenTheTableScrollsSideways) {
    CatalogueTableView* view = window->StringGrid1;
    view->horizontalScrollBar()->setValue(view->horizontalScrollBar()->maximum());
    const auto* numbers = view->findChild<QTableView*>(QStringLiteral("NumberColumn"));
    ASSERT_NE(numbers, nullptr);
    EXPECT_TRUE(numbers->isVisible());
    EXPECT_EQ(numbers->x(), view->frameWidth());
    EXPECT_EQ(numbers->width(), view->columnWidth(0));
    EXPECT_EQ(numbers->model(), view->model());
    view->horizontalHeader()->resizeSection(0, 77);
    EXPECT_EQ(numbers->width(), 77);
    EXPECT_FALSE(numbers->isColumnHidden(0));
    EXPECT_TRUE(numbers->isColumnHidden(1));
}

} // namespace
} // namespace songwick::testing

namespace songwick::testing {
namespace {

// The find line, sort, repeats, removal and the songbook, through the window's own controls.
TEST_F(MainWindowTest, FindSortRepeatsRemovalAndSongbookWorkOnTheWholeTable) {
    window->changeTable([](CatalogueGrid& grid) {
        prepareGrid(grid, 3);
        const QString titles[] = {QStringLiteral("ABBA - Waterloo"),
                                  QStringLiteral("Алла Пугачёва - Миллион роз"),
                                  QStringLiteral("abba - waterloo (XG)")};
        for (int row = 1; row <= 3; ++row) {
            grid.setCell(1, row, QStringLiteral("%1.kar").arg(row));
            grid.setCell(2, row, QStringLiteral("/songs/"));
            grid.setCell(3, row, titles[row - 1]);
        }
    });
    QTest::keyClicks(window->FindEdit, QStringLiteral("abba"));
    EXPECT_EQ(window->tableModel->rowCount(), 2);
    EXPECT_EQ(window->Label3->text(), QStringLiteral("Показано 2 из 3"));
    EXPECT_EQ(window->tableModel->data(window->tableModel->index(1, 1)), QStringLiteral("3.kar"));
    QTest::keyClick(window->FindEdit, Qt::Key_Escape);
    EXPECT_EQ(window->tableModel->rowCount(), 3);

    program.registry->catalogue().mainTable.modified = false;
    doubleClickRow(1);
    window->StringGrid1->setCurrentIndex(window->tableModel->index(0, 3));
    window->SortAction->trigger();
    EXPECT_EQ(cell(3, 1), QStringLiteral("Алла Пугачёва - Миллион роз"));
    EXPECT_EQ(cell(0, 2), QStringLiteral("V 2")) << "the mark moves with its row";
    EXPECT_TRUE(program.registry->catalogue().mainTable.modified);

    window->RepeatsAction->trigger();
    EXPECT_EQ(program.platform.messages.shown.last(),
              QStringLiteral("Найдено повторов: 1 в 1 группах"));
    program.platform.messages.answers.push_back(MessageBoxes::Answer::Yes);
    window->DeleteMarked->trigger();
    EXPECT_EQ(program.platform.messages.asked.last(),
              QStringLiteral("Удалить из таблицы отмеченные строки (1)?"));
    EXPECT_EQ(window->tableModel->rowCount(), 2);
    EXPECT_EQ(cell(0, 2), QStringLiteral("2"));

    const QString pdf = root.filePath(QStringLiteral("book.pdf"));
    program.platform.dialogs.saves.push_back(pdf);
    // The options come first: a title line, song numbers and the index, kept for next time.
    QTimer::singleShot(0, window, [] {
        auto* options = qobject_cast<SongbookOptionsWindow*>(QApplication::activeModalWidget());
        ASSERT_NE(options, nullptr);
        QTest::keyClicks(options->TitleEdit, QStringLiteral("Karaoke Bar"));
        QTest::mouseClick(options->NumbersBox, Qt::LeftButton);
        QTest::mouseClick(options->IndexBox, Qt::LeftButton);
        QTest::mouseClick(options->MakeButton, Qt::LeftButton);
    });
    window->SongbookAction->trigger();
    ASSERT_TRUE(QFileInfo::exists(pdf));
    const SongbookOptions kept = songbookOptionsFrom(
        *openOptionsFile(optionsFilePathBeside(program.registry->settingsPath())));
    EXPECT_EQ(kept.title, QStringLiteral("Karaoke Bar"));
    EXPECT_TRUE(kept.numbers && kept.index);
    const QFileInfo proposed(program.platform.dialogs.saveStartFolders.last());
    EXPECT_EQ(proposed.fileName(), QStringLiteral("песенник.pdf"));
    EXPECT_TRUE(proposed.dir().exists()) << "the documents folder is made when missing";
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    if (!text.waitForFinished())
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    const QString pages = QString::fromUtf8(text.readAllStandardOutput());
    EXPECT_LT(pages.indexOf(QStringLiteral("Алла Пугачёва")), pages.indexOf(QStringLiteral("ABBA")))
        << pages.toStdString();
    EXPECT_TRUE(pages.contains(QStringLiteral("Миллион роз")));
    EXPECT_TRUE(pages.contains(QStringLiteral("Karaoke Bar")));
    EXPECT_TRUE(pages.contains(QStringLiteral("Указатель песен")));
}

TEST_F(MainWindowTest, MarkedRowsStandOutAndTheStatusLineCountsThem) {
    doubleClickRow(2);
    const QVariant marked =
        window->tableModel->data(window->tableModel->index(1, 3), Qt::BackgroundRole);
    EXPECT_EQ(marked.value<QBrush>(), markedRowBackground());
    EXPECT_FALSE(
        window->tableModel->data(window->tableModel->index(0, 3), Qt::BackgroundRole).isValid());
    EXPECT_TRUE(window->Label3->text().endsWith(QStringLiteral("Отмечено: 1")))
        << window->Label3->text().toStdString();
    EXPECT_GE(window->StringGrid1->columnWidth(0),
              window->StringGrid1->fontMetrics().horizontalAdvance(QStringLiteral("V 0")) + 4);
}

TEST_F(MainWindowTest, EachCommandLeavesItsOwnStatusLine) {
    window->tableModel->setData(window->tableModel->index(2, 1), QStringLiteral("star.kar"));
    window->N9->trigger();
    EXPECT_EQ(window->Label3->text(), QStringLiteral("Переименовано 1 файла(ов)"));
    window->N30->trigger();
    EXPECT_EQ(window->Label3->text(), QStringLiteral("Отменено переименований: 1"));
    window->FormActivate();
    EXPECT_EQ(window->Label3->text(), QStringLiteral("Отменено переименований: 1"));

    window->StringGrid1->setCurrentIndex(window->tableModel->index(0, 1));
    window->N17->trigger();
    EXPECT_EQ(window->Label3->text(), processedStatusText(3)) << "an empty row is no file";

    doubleClickRow(2);
    program.platform.messages.answers.push_back(MessageBoxes::Answer::Yes);
    window->DeleteMarked->trigger();
    EXPECT_EQ(window->Label3->text(), QStringLiteral("Удалено из таблицы строк: 1"));
}

TEST_F(MainWindowTest, ANewScanStartsWithNothingMarkedTheNewFolderAndTheFirstRow) {
    window->CheckBox1->click();
    window->StringGrid1->setCurrentIndex(window->tableModel->index(2, 3));
    program.registry->catalogue().mainTable.modified = false;
    const QString second = makeKaraokeFolder(root, QStringLiteral("t"));
    program.platform.dialogs.folders.push_back(second);
    window->N2->trigger();
    ASSERT_EQ(program.registry->settings().LastFolder, second);
    EXPECT_FALSE(window->CheckBox1->isChecked());
    EXPECT_EQ(cell(0, 1), QStringLiteral("1"));
    EXPECT_EQ(window->Label2->text(), second);
    EXPECT_EQ(window->StringGrid1->currentIndex().row(), 0);
    EXPECT_EQ(window->StringGrid1->verticalScrollBar()->value(), 0);
}

TEST_F(MainWindowTest, CtrlClickOnAHeaderSortsPastLeadingMarksShowsTheArrowKeepsTheWidths) {
    window->changeTable([](CatalogueGrid& grid) {
        prepareGrid(grid, 3);
        const QString titles[] = {QStringLiteral(">>> Буря"), QStringLiteral("Вальс"),
                                  QStringLiteral("\"Ария\"")};
        for (int row = 1; row <= 3; ++row) {
            grid.setCell(1, row, QStringLiteral("%1.kar").arg(row));
            grid.setCell(3, row, titles[row - 1]);
        }
    });
    QHeaderView* header = window->StringGrid1->horizontalHeader();
    header->resizeSection(3, 321);
    const QPoint title(header->sectionViewportPosition(3) + 20, header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::ControlModifier, title);

    EXPECT_EQ(cell(3, 1), QStringLiteral("\"Ария\""));
    EXPECT_EQ(cell(3, 2), QStringLiteral(">>> Буря"));
    EXPECT_EQ(cell(3, 3), QStringLiteral("Вальс"));
    EXPECT_EQ(header->sortIndicatorSection(), 3);
    EXPECT_EQ(header->sortIndicatorOrder(), Qt::AscendingOrder);
    EXPECT_EQ(header->sectionSize(3), 321);

    // A plain click selects the column and leaves the arrow where the sort put it.
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(1) + 10, header->height() / 2));
    EXPECT_EQ(header->sortIndicatorSection(), 3);
    EXPECT_EQ(cell(3, 1), QStringLiteral("\"Ария\""));

    // Ctrl+click on "№" puts the rows back in the order the table was made in.
    QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::ControlModifier,
                      QPoint(header->sectionViewportPosition(0) + 5, header->height() / 2));
    EXPECT_EQ(cell(3, 1), QStringLiteral(">>> Буря"));
    EXPECT_EQ(cell(1, 3), QStringLiteral("3.kar"));
    EXPECT_EQ(header->sortIndicatorSection(), 0);
}

} // namespace
} // namespace songwick::testing
