#include "app/ui/karaoke_folder.h"
#include "app/ui/program_fixture.h"
#include "catalogue/catalogue_table.h"
#include "catalogue/ui/catalogue_table_model.h"
#include "catalogue/ui/catalogue_table_view.h"

#include <QAction>
#include <QFile>
#include <QPushButton>
#include <gtest/gtest.h>

namespace songwick::testing {
namespace {

// "Таблица" → "Перечитать отмеченные строки по структуре файла" on the table of a scanned
// folder whose rows all hold texts the user typed.
class RereadStructureWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(program.start());
        folder = makeKaraokeFolder(root, QStringLiteral("s"));
        program.platform.dialogs.folders.push_back(folder);
        QTest::mouseClick(program.startWindow()->Button1, Qt::LeftButton);
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
        ProgramUnderTest::settle();
        window->changeTable([](CatalogueGrid& grid) {
            for (int row = 1; row <= grid.dataRowCount(); ++row) {
                for (int column = PerformerTitleField + 1; column <= MadeByField + 1; ++column)
                    grid.setCell(column, row, QStringLiteral("набрано %1.%2").arg(row).arg(column));
            }
        });
    }

    // The texts of columns 3 to 6 as the view shows them.
    QStringList shownTexts(int row) const {
        QStringList texts;
        for (int column = PerformerTitleField + 1; column <= MadeByField + 1; ++column)
            texts << window->tableModel->index(row - 1, column).data().toString();
        return texts;
    }
    void markByDoubleClick(int row) {
        const QRect cell = window->StringGrid1->visualRect(window->tableModel->index(row - 1, 2));
        QTest::mouseDClick(window->StringGrid1->viewport(), Qt::LeftButton, {}, cell.center());
    }

    QTemporaryDir root;
    QString folder;
    ProgramUnderTest program{root.filePath(QStringLiteral("prop.dat"))};
    TForm4* window = program.mainWindow();
};

TEST_F(RereadStructureWindowTest, MarkedRowsWithTheirFileGetTheStructuredTexts) {
    ASSERT_EQ(window->table().cell(FileNameField + 1, 2), QStringLiteral("Negra_Sombra.kar"));
    ASSERT_EQ(window->table().cell(FileNameField + 1, 3), QStringLiteral("twinkle.kar"));
    markByDoubleClick(2);
    markByDoubleClick(3);
    ASSERT_EQ(window->table().cell(0, 2), QStringLiteral("V 2"));
    ASSERT_EQ(window->table().cell(0, 3), QStringLiteral("V 3"));
    ASSERT_TRUE(QFile::remove(folder + QStringLiteral("/twinkle.kar")));
    const QStringList unmarked = shownTexts(1);
    const QStringList gone = shownTexts(3);
    program.registry->catalogue().mainTable.modified = false;

    window->N34->trigger();

    // The Soft Karaoke file's "@T" line names the song; the other columns have nothing.
    EXPECT_EQ(shownTexts(2), QStringList({QStringLiteral("Negra Sombra"), {}, {}, {}}));
    EXPECT_EQ(shownTexts(1), unmarked);
    EXPECT_EQ(shownTexts(3), gone);
    EXPECT_EQ(window->table().cell(0, 2), QStringLiteral("V 2"));
    EXPECT_TRUE(program.registry->catalogue().mainTable.modified);
}

TEST_F(RereadStructureWindowTest, ARowIsReadFromItsOwnFileAndARowWithoutOneIsNamed) {
    window->StringGrid1->setCurrentIndex(window->tableModel->index(0, 1));
    window->N17->trigger(); // row 1 stands for no file now
    ASSERT_EQ(window->table().cell(FileNameField + 1, 3), QStringLiteral("Negra_Sombra.kar"));
    // The Soft Karaoke file's row gets another file's name typed into it.
    window->tableModel->setData(window->tableModel->index(2, FileNameField + 1),
                                QStringLiteral("twinkle.kar"));
    markByDoubleClick(1);
    markByDoubleClick(3);

    window->N34->trigger();

    EXPECT_EQ(shownTexts(3), QStringList({QStringLiteral("Negra Sombra"), {}, {}, {}}));
    EXPECT_EQ(shownTexts(1), QStringList(4, QString()));
    ASSERT_EQ(program.platform.messages.shown.size(), 1);
    EXPECT_TRUE(program.platform.messages.shown.front().contains(QStringLiteral("Строка 1")))
        << program.platform.messages.shown.front().toStdString();
}

} // namespace
} // namespace songwick::testing
