#include "common/file_name_codec.h"
#include "rename/ui/composite_rename_window.h"
#include "rename/ui/rename_preview_window.h"
#include "rename_window_fixture.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTimer>

namespace songwick::testing {
namespace {

class CompositeRenameWindowTest : public RenameWindowTest {
protected:
    void SetUp() override {
        RenameWindowTest::SetUp();
        form6 = std::make_unique<TForm6>(*program->registry);
    }

    void TearDown() override {
        if (form6)
            form6->hide();
        form6.reset();
        RenameWindowTest::TearDown();
    }

    // Opens the window as the main window's menu entry does.
    void openWindow() {
        WindowRegistry::showWindow(form6.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(form6.get()));
        ProgramUnderTest::settle();
    }

    QListWidgetItem* item(int row) const { return form6->viberi->item(row); }

    void selectPart(int row) const {
        QListWidget* list = form6->viberi;
        list->scrollToItem(item(row));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(item(row)).center());
    }

    // Selects the part and toggles its check mark with the space bar.
    void togglePart(int row) const {
        selectPart(row);
        QTest::keyClick(form6->viberi, Qt::Key_Space);
    }

    void clickStart() const { QTest::mouseClick(form6->Button3, Qt::LeftButton); }

    // A radio button takes clicks on its circle and its text only.
    static void clickRadio(QRadioButton* button) {
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
    }

    // Marks a row of the main window's table by double-clicking it.
    void markRow(int row) const {
        CatalogueTableView* view = mainWindow()->StringGrid1;
        const QPoint centre =
            view->visualRect(mainWindow()->tableModel->index(row - 1, 1)).center();
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, centre);
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, centre);
    }

    std::unique_ptr<TForm6> form6;
};

TEST_F(CompositeRenameWindowTest, RenamesInTheChosenOrderAndHandsBackToTheUnrebuiltTable) {
    // A file keeps its own extension; the texts lose theirs before they are joined.
    showTable({QStringLiteral("one.kar"), QStringLiteral("two.mid")},
              {QStringLiteral("Alpha"), QStringLiteral("Beta.kar")});
    // A mark is lost when the table is rebuilt, so it shows whether the activation did.
    markRow(1);
    ASSERT_EQ(cell(0, 1), QStringLiteral("V 1"));
    openWindow();

    EXPECT_EQ(form6->windowTitle(),
              QStringLiteral("Сложное переименование всех файлов из таблицы"));
    togglePart(0); // "Первоначальное название файла"
    togglePart(1); // "3-я колонка Вашей таблицы"
    ASSERT_EQ(item(0)->checkState(), Qt::Checked);
    ASSERT_EQ(item(1)->checkState(), Qt::Checked);

    selectPart(0);
    EXPECT_FALSE(form6->Button1->isEnabled());
    QTest::mouseClick(form6->Button2, Qt::LeftButton); // "Вниз"
    EXPECT_EQ(item(0)->text(), QStringLiteral("3-я колонка Вашей таблицы"));
    EXPECT_EQ(item(1)->text(), QStringLiteral("Первоначальное название файла"));
    EXPECT_EQ(form6->viberi->currentRow(), 1);
    EXPECT_TRUE(form6->Button1->isEnabled());
    // Up and down again: the order comes back, the moved item stays selected.
    QTest::mouseClick(form6->Button1, Qt::LeftButton);
    EXPECT_EQ(item(0)->text(), QStringLiteral("Первоначальное название файла"));
    EXPECT_EQ(form6->viberi->currentRow(), 0);
    QTest::mouseClick(form6->Button2, Qt::LeftButton);
    EXPECT_EQ(item(1)->checkState(), Qt::Checked);

    form6->ComboBox2->setCurrentIndex(3); // Тире (один дефис) "-"
    clickStart();

    EXPECT_EQ(filesOnDisk(),
              (QStringList{QStringLiteral("Alpha-one.kar"), QStringLiteral("Beta-two.mid")}));
    EXPECT_TRUE(messagesShown().isEmpty());
    EXPECT_EQ(catalogue().mainTable.renameCount, 2);
    EXPECT_TRUE(catalogue().mainTable.renameResult);
    EXPECT_EQ(catalogue().startWindowStore.record(2)[FileNameField],
              QStringLiteral("Beta-two.mid"));

    ASSERT_TRUE(QTest::qWaitForWindowActive(mainWindow()));
    ProgramUnderTest::settle();
    EXPECT_FALSE(form6->isVisible());
    EXPECT_EQ(cell(1, 1), QStringLiteral("Alpha-one.kar"));
    EXPECT_EQ(cell(1, 2), QStringLiteral("Beta-two.mid"));
    EXPECT_EQ(mainWindow()->tableModel->data(mainWindow()->tableModel->index(1, 1)),
              QStringLiteral("Beta-two.mid"));
    EXPECT_EQ(cell(0, 1), QStringLiteral("V 1"));  // not rebuilt
    EXPECT_FALSE(catalogue().compositeRenameDone); // used up by that activation
    EXPECT_EQ(mainWindow()->Label3->text(),
              QStringLiteral("Переименовано 2 файла(ов).   Отмечено: 1"));
}

TEST_F(CompositeRenameWindowTest, SeveralFilesShowTheirPlanWithTheFolderByDefault) {
    ASSERT_TRUE(QFile::remove(optionsPath())); // the options as a new user has them
    showTable({QStringLiteral("one.kar"), QStringLiteral("two.kar")},
              {QStringLiteral("Alpha"), QStringLiteral("Beta")});
    openWindow();
    EXPECT_TRUE(form6->PreviewCheckBox->isChecked());
    togglePart(1); // "3-я колонка Вашей таблицы"
    clickStart();

    auto* preview = form6->findChild<RenamePreviewWindow*>();
    ASSERT_NE(preview, nullptr);
    EXPECT_EQ(filesOnDisk(), (QStringList{QStringLiteral("one.kar"), QStringLiteral("two.kar")}));
    QTableWidget* rows = preview->StringGrid1;
    ASSERT_EQ(rows->rowCount(), 2);
    EXPECT_EQ(rows->horizontalHeaderItem(0)->text(), QStringLiteral("Папка"));
    EXPECT_EQ(rows->item(1, 0)->text(), displayFileName(folder + u'/'));
    EXPECT_EQ(rows->item(1, 2)->text(), QStringLiteral("Beta.kar"));

    QTest::mouseClick(preview->Button1, Qt::LeftButton);
    ProgramUnderTest::settle();
    EXPECT_EQ(filesOnDisk(),
              (QStringList{QStringLiteral("Alpha.kar"), QStringLiteral("Beta.kar")}));
    EXPECT_TRUE(messagesShown().isEmpty());
}

TEST_F(CompositeRenameWindowTest, RenameRunSetsTheConditionsForTheMainWindow) {
    showTable({QStringLiteral("one.kar"), QStringLiteral("two.kar")},
              {QStringLiteral("Alpha"), QStringLiteral("Beta")});
    settings().RenamePartsChecked[1] = true; // column 3
    form6->showSettings();
    catalogue().mainTable.renameCount = 7;

    const RenameRunResult run = form6->renameTableFiles();

    EXPECT_EQ(run.statusText(), QStringLiteral("Переименовано 2 файла(ов)."));
    EXPECT_EQ(catalogue().mainTable.renameCount, 2);
    EXPECT_TRUE(catalogue().mainTable.renameResult);
    EXPECT_TRUE(catalogue().compositeRenameDone);
    EXPECT_EQ(mainWindow()->Label3->text(), run.statusText());
    EXPECT_EQ(cell(1, 1), QStringLiteral("Alpha.kar"));
    EXPECT_EQ(filesOnDisk(),
              (QStringList{QStringLiteral("Alpha.kar"), QStringLiteral("Beta.kar")}));
}

TEST_F(CompositeRenameWindowTest, OnlyMarkedRowsAreRenamedWhenChosen) {
    showTable({QStringLiteral("one.kar"), QStringLiteral("two.kar"), QStringLiteral("three.kar")},
              {QStringLiteral("Alpha"), QStringLiteral("Beta"), QStringLiteral("Gamma")});
    QTest::mouseClick(
        mainWindow()->StringGrid1->viewport(), Qt::LeftButton, {},
        mainWindow()->StringGrid1->visualRect(mainWindow()->tableModel->index(1, 1)).center());
    mainWindow()->StringGrid1DblClick();
    ASSERT_EQ(cell(0, 2), QStringLiteral("V 2"));
    openWindow();
    togglePart(1);
    clickRadio(form6->RadioGroup1Marked);
    EXPECT_EQ(settings().RenameWhichFiles, 1);

    clickStart();

    EXPECT_EQ(filesOnDisk(), (QStringList{QStringLiteral("Beta.kar"), QStringLiteral("one.kar"),
                                          QStringLiteral("three.kar")}));
    EXPECT_EQ(catalogue().mainTable.renameCount, 1);
}

TEST_F(CompositeRenameWindowTest, RefusedRowsAreReportedOnlyWhileErrorMessagesAreOn) {
    showTable({QStringLiteral("one.kar"), QStringLiteral("two.kar"), QStringLiteral("three.kar")},
              {QStringLiteral("Alpha"), QStringLiteral("Beta"), QString()});
    makeFile(QStringLiteral("Alpha.kar")); // row 1's new name is taken
    openWindow();
    togglePart(1);

    clickStart();

    const QString folderPath = folder + u'/';
    EXPECT_EQ(messagesShown(),
              (QStringList{targetExistsRefusal(folderPath + QStringLiteral("one.kar"),
                                               folderPath + QStringLiteral("Alpha.kar")),
                           compositeEmptyNameRefusal(folderPath + QStringLiteral("three.kar"),
                                                     TableSource::StartWindowStore)}));
    EXPECT_TRUE(messagesShown().constLast().endsWith(QStringLiteral(":)")));
    EXPECT_EQ(catalogue().mainTable.renameCount, 1);
    EXPECT_TRUE(QFile::exists(folderPath + QStringLiteral("one.kar")));
    EXPECT_TRUE(QFile::exists(folderPath + QStringLiteral("Alpha.kar")));

    // The same refusals again, silent this time.
    ASSERT_TRUE(QTest::qWaitForWindowActive(mainWindow()));
    messagesShown().clear();
    settings().RenameErrorMessages = false;
    openWindow();
    clickStart();
    EXPECT_TRUE(messagesShown().isEmpty());
    EXPECT_EQ(catalogue().mainTable.renameCount, 1); // "Beta.kar" already has its name
}

TEST_F(CompositeRenameWindowTest, NothingCheckedIsRefusedAndTheWindowStays) {
    showTable({QStringLiteral("one.kar")}, {QStringLiteral("Alpha")});
    openWindow();

    clickStart();

    EXPECT_EQ(messagesShown(), QStringList{QString::fromUtf8(kNoPartCheckedMessage)});
    EXPECT_TRUE(form6->isVisible());
    EXPECT_EQ(filesOnDisk(), QStringList{QStringLiteral("one.kar")});
    EXPECT_FALSE(catalogue().mainTable.renameResult);
}

TEST_F(CompositeRenameWindowTest, SelectedPartShowsItsDescriptionAndItsExtraControl) {
    showTable({QStringLiteral("one.kar")}, {QStringLiteral("Alpha")});
    openWindow();

    EXPECT_EQ(form6->viberi->currentRow(), 0);
    EXPECT_EQ(form6->Label2->text(), renamePartInfo(RenamePart::OriginalFileName).description);
    EXPECT_FALSE(form6->Button1->isEnabled());
    EXPECT_TRUE(form6->Button2->isEnabled());
    EXPECT_FALSE(form6->Edit1->isVisible());
    EXPECT_FALSE(form6->ComboBox1->isVisible());
    EXPECT_FALSE(form6->rg1->isVisible());

    selectPart(5); // "Своя строка", not checked
    EXPECT_TRUE(form6->Edit1->isVisible());
    EXPECT_FALSE(form6->Edit1->isEnabled());
    QTest::keyClick(form6->viberi, Qt::Key_Space);
    EXPECT_TRUE(form6->Edit1->isEnabled());
    EXPECT_TRUE(form6->Edit1->hasFocus());

    selectPart(6); // "Выбор из списка"
    EXPECT_FALSE(form6->Edit1->isVisible());
    EXPECT_TRUE(form6->ComboBox1->isVisible());
    EXPECT_FALSE(form6->ComboBox1->isEnabled());
    EXPECT_EQ(form6->ComboBox1->currentText(), QStringLiteral("Избранное"));

    togglePart(7); // "Дата и время", the last one
    EXPECT_FALSE(form6->ComboBox1->isVisible());
    EXPECT_TRUE(form6->rg1->isVisible());
    EXPECT_TRUE(form6->r1->isEnabled());
    EXPECT_TRUE(form6->r3->isChecked());
    EXPECT_FALSE(form6->Button2->isEnabled());
    EXPECT_EQ(form6->Label2->text(), renamePartInfo(RenamePart::DateTime).description);

    // The next activation starts again at the first item with the extras hidden.
    form6->FormActivate();
    EXPECT_EQ(form6->viberi->currentRow(), 0);
    EXPECT_FALSE(form6->rg1->isVisible());
}

TEST_F(CompositeRenameWindowTest, ControlsWriteTheSettingsAndCheckMarksStayByPosition) {
    showTable({QStringLiteral("one.kar")}, {QStringLiteral("Alpha")});
    openWindow();
    togglePart(2);
    selectPart(2);
    QTest::mouseClick(form6->Button1, Qt::LeftButton);
    EXPECT_EQ(settings().RenamePartsChecked,
              (std::array<bool, 8>{false, true, false, false, false, false, false, false}));
    EXPECT_EQ(form6->partOrder()[1], RenamePart::Column4);

    togglePart(7);
    clickRadio(form6->r1);
    EXPECT_TRUE(settings().RenameAddDate);
    EXPECT_FALSE(settings().RenameAddDateAndTime);
    form6->ComboBox1->setCurrentIndex(0);
    EXPECT_EQ(settings().RenameListChoice, 0);
    form6->ComboBox2->setCurrentIndex(6);
    EXPECT_EQ(settings().RenameSeparator, 6);

    const CompositeRenameOptions options = form6->currentOptions();
    EXPECT_EQ(options.dateTime, DateTimeChoice::Date);
    EXPECT_EQ(options.listChoice, QStringLiteral(";-)"));
    EXPECT_EQ(options.separator, QStringLiteral("_"));
    EXPECT_TRUE(options.parts[1].checked);
    EXPECT_EQ(options.parts[1].part, RenamePart::Column4);

    // Settings loaded elsewhere show in the controls, the order of the parts stays.
    settings().RenamePartsChecked = {true, false, false, false, false, false, false, false};
    settings().RenameSeparator = 0;
    settings().RenameWhichFiles = 1;
    emit program->registry->settingsLoaded();
    EXPECT_TRUE(form6->RadioGroup1Marked->isChecked());
    EXPECT_FALSE(form6->RadioGroup1All->isChecked());
    EXPECT_EQ(item(0)->checkState(), Qt::Checked);
    EXPECT_EQ(item(1)->checkState(), Qt::Unchecked);
    EXPECT_EQ(item(1)->text(), QStringLiteral("4-я колонка Вашей таблицы"));
    EXPECT_EQ(form6->ComboBox2->currentText(), separatorEntries()[0].entryText);
}

TEST_F(CompositeRenameWindowTest, ForbiddenCharacterIsRemovedWithARedWarningThatGoesAway) {
    showTable({QStringLiteral("one.kar")}, {QStringLiteral("Alpha")});
    openWindow();
    QGuiApplication::clipboard()->setText(QStringLiteral("the user's"));
    togglePart(5);
    form6->Edit1->setText(QStringLiteral("abcd"));
    form6->Edit1->setCursorPosition(2);

    QTest::keyClicks(form6->Edit1, QStringLiteral(":"));

    EXPECT_EQ(form6->Edit1->text(), QStringLiteral("abcd"));
    EXPECT_EQ(form6->Edit1->cursorPosition(), 2);
    EXPECT_EQ(settings().RenameOwnText, QStringLiteral("abcd"));
    EXPECT_EQ(form6->Label5->text(), QString::fromUtf8(kForbiddenCharactersWarning));
    EXPECT_EQ(form6->Label5->palette().color(QPalette::Window), QColor(Qt::red));
    EXPECT_EQ(form6->Label5->palette().color(QPalette::WindowText), QColor(Qt::yellow));
    EXPECT_TRUE(form6->Timer1->isActive());
    EXPECT_TRUE(form6->Timer1->isSingleShot());
    EXPECT_EQ(form6->Timer1->interval(), kForbiddenCharactersWarningMs);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("the user's"));

    QTest::keyClicks(form6->Edit1, QStringLiteral("x"));
    EXPECT_EQ(form6->Edit1->text(), QStringLiteral("abxcd"));

    form6->Timer1Timer();
    EXPECT_TRUE(form6->Label5->text().isEmpty());
    EXPECT_NE(form6->Label5->palette().color(QPalette::Window), QColor(Qt::red));
}

TEST_F(CompositeRenameWindowTest, CancelGoesBackToTheMainWindowAndChangesNothing) {
    showTable({QStringLiteral("one.kar")}, {QStringLiteral("Alpha")});
    openWindow();
    togglePart(1);

    QTest::mouseClick(form6->Button4, Qt::LeftButton);

    ASSERT_TRUE(QTest::qWaitForWindowActive(mainWindow()));
    EXPECT_FALSE(form6->isVisible());
    EXPECT_EQ(filesOnDisk(), QStringList{QStringLiteral("one.kar")});
    EXPECT_FALSE(catalogue().mainTable.renameResult);
    EXPECT_TRUE(messagesShown().isEmpty());

    // Closed by its border, it goes back to the main window the same way.
    openWindow();
    form6->close();
    ASSERT_TRUE(QTest::qWaitForWindowActive(mainWindow()));
    EXPECT_FALSE(form6->isVisible());
    EXPECT_EQ(filesOnDisk(), QStringList{QStringLiteral("one.kar")});
}

} // namespace
} // namespace songwick::testing
