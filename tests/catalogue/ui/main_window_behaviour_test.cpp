#include "app/ui/close_question_window.h"
#include "app/ui/karaoke_folder.h"
#include "app/ui/program_fixture.h"
#include "app/ui/start_window.h"
#include "catalogue/catalogue_table.h"
#include "catalogue/ui/catalogue_table_model.h"
#include "catalogue/ui/catalogue_table_view.h"
#include "catalogue/ui/text_width_cache.h"
#include "help/ui/help_window.h"
#include "settings/settings_file.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <gtest/gtest.h>

namespace songwick::testing {
namespace {

// The main window after a scan of the shared karaoke files, as the user meets it.
class MainWindowBehaviourTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(program.start());
        program.platform.dialogs.folders.push_back(makeKaraokeFolder(root, QStringLiteral("s")));
        QTest::mouseClick(program.startWindow()->Button1, Qt::LeftButton);
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
        ProgramUnderTest::settle();
    }

    bool modified() const { return program.registry->catalogue().mainTable.modified; }
    QRect cellRect(int row, int column) const {
        return window->StringGrid1->visualRect(window->tableModel->index(row - 1, column));
    }

    QTemporaryDir root;
    ProgramUnderTest program{root.filePath(QStringLiteral("prop.dat"))};
    TForm4* window = program.mainWindow();
};

TEST_F(MainWindowBehaviourTest, WidestTextWidthIsTheWholeTextsWidth) {
    // Long texts whose per-character widths add up to less (or more) than the drawn text.
    const QString longText = QStringLiteral("AVAVAV Wolfgang Amadeus Mozart, Fly me to the Moon ") +
                             QStringLiteral("(ffi fl Te Ty Yo), Лунная соната ") +
                             QString(40, u'i') + QString(40, u'.');
    window->changeTable([&](CatalogueGrid& grid) {
        grid.setCell(3, 2, longText);
        grid.setCell(4, 1, longText.left(70));
    });
    window->applyColumnLayout();
    const QFontMetrics metrics(window->StringGrid1->font());
    TextWidthCache estimate(window->StringGrid1->font());
    ASSERT_NE(estimate.width(longText), metrics.horizontalAdvance(longText)) << "no test";
    const QHeaderView* header = window->StringGrid1->horizontalHeader();
    EXPECT_EQ(header->sectionSize(3), metrics.horizontalAdvance(longText) + 1 + 3);
    EXPECT_EQ(header->sectionSize(4), metrics.horizontalAdvance(longText.left(70)) + 1 + 3);
    EXPECT_EQ(program.registry->catalogue().mainTable.columnMeasures[3], longText.size());
}

TEST_F(MainWindowBehaviourTest, MovingAroundAndCopyingLeaveASavedTableUnmodified) {
    program.platform.dialogs.saves.push_back(root.filePath(QStringLiteral("list.swk")));
    window->N5->trigger();
    ASSERT_FALSE(modified());
    CatalogueTableView* view = window->StringGrid1;
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, cellRect(1, 3).center());
    for (const Qt::Key key : {Qt::Key_Down, Qt::Key_Right, Qt::Key_Up, Qt::Key_Left})
        QTest::keyClick(view, key);
    QTest::keyClick(view, Qt::Key_C, Qt::ControlModifier);
    window->FormDeactivate();
    window->FormActivate();
    EXPECT_FALSE(modified());
    window->N12->trigger();
    EXPECT_EQ(program.endCount, 1);
    EXPECT_FALSE(program.registry->form12()->isVisible());

    // A change of a cell's text and a mark change do count.
    view->setCurrentIndex(window->tableModel->index(0, 4));
    QTest::keyClick(view, Qt::Key_X);
    view->commitPendingEdit();
    EXPECT_TRUE(modified());
    program.registry->catalogue().mainTable.modified = false;
    window->StringGrid1DblClick();
    EXPECT_TRUE(modified());
}

TEST_F(MainWindowBehaviourTest, GoingOverToTheHelpAndBackCopiesTheTableAndReactivates) {
    window->tableModel->setData(window->tableModel->index(0, 3), QStringLiteral("Правка"));
    window->N25->trigger();
    ASSERT_TRUE(QTest::qWaitForWindowActive(program.registry->help()));
    ProgramUnderTest::settle();
    EXPECT_EQ(program.registry->catalogue().startWindowStore.record(1)[PerformerTitleField],
              QStringLiteral("Правка"));
    window->Label3->setText(QString());
    WindowRegistry::showWindow(window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    ProgramUnderTest::settle();
    EXPECT_EQ(window->Label3->text(),
              QStringLiteral("Обработано и помещено в таблицу 3 файла(ов)"));
}

TEST_F(MainWindowBehaviourTest, UserWidthsOfColumnsTheTableLacksAreNeverSavedAsZero) {
    ProgramSettings& settings = program.registry->settings();
    settings.ColumnWidthMode = UserColumnWidths;
    settings.ColumnWidths = {41, 51, 61, 71, 81, 91, 101};
    window->FormActivate();
    window->changeTable([](CatalogueGrid& grid) { grid.setColumnCount(3); });
    window->StringGrid1->horizontalHeader()->resizeSection(1, 0);
    program.registry->saveSettingsAtShutdown();
    ProgramSettings saved;
    ASSERT_TRUE(LoadSettings(saved, program.registry->settingsPath()));
    EXPECT_EQ(saved.ColumnWidths[1], kMinimumColumnWidth);
    for (int column = 3; column < 7; ++column)
        EXPECT_EQ(saved.ColumnWidths[column], settings.ColumnWidths[column]) << column;

    // A width stored as 0 shows as the default width.
    settings.ColumnWidths = {0, 0, 0, 0, 0, 0, 0};
    window->applyColumnLayout();
    EXPECT_EQ(window->StringGrid1->horizontalHeader()->sectionSize(2),
              ProgramSettings::kDefaultColumnWidths[2]);
}

} // namespace
} // namespace songwick::testing
