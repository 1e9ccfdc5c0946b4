#include "app/ui/karaoke_folder.h"
#include "app/ui/program_fixture.h"
#include "catalogue/catalogue_table.h"
#include "scan/ui/scan_progress.h"

#include <QAction>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

namespace songwick::testing {
namespace {

// "Найти повторы" reads the files with the scan's bar and "Прервать": an interrupted search
// leaves the table as it was and says so; the next one groups the identical files.
TEST(RepeatsSearchWindow, InterruptedSearchChangesNothingAndTheNextOneGroupsIdenticalFiles) {
    QTemporaryDir root;
    ProgramUnderTest program{root.filePath(QStringLiteral("prop.dat"))};
    ASSERT_TRUE(program.start());
    program.platform.dialogs.folders.push_back(makeKaraokeFolder(root, QStringLiteral("s")));
    QTest::mouseClick(program.startWindow()->Button1, Qt::LeftButton);
    TForm4* window = program.mainWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    ProgramUnderTest::settle();

    const QString folder = root.filePath(QStringLiteral("copies")) + u'/';
    QDir().mkpath(folder);
    const std::pair<QString, QByteArray> files[] = {{QStringLiteral("a.kar"), "MThd same"},
                                                    {QStringLiteral("b.kar"), "MThd else"},
                                                    {QStringLiteral("c.kar"), "MThd same"}};
    const QString titles[] = {QStringLiteral("Первая"), QStringLiteral("Вторая"),
                              QStringLiteral("Третья")};
    window->changeTable([&](CatalogueGrid& grid) {
        prepareGrid(grid, 3);
        for (int row = 1; row <= 3; ++row) {
            const auto& [name, bytes] = files[row - 1];
            QFile file(folder + name);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(bytes);
            grid.setCell(1, row, name);
            grid.setCell(2, row, folder);
            grid.setCell(3, row, titles[row - 1]);
            grid.setRowFile(row, RowFile{folder, name});
        }
    });
    const qsizetype messagesBefore = program.platform.messages.shown.size();

    bool barAndButtonShown = false;
    QTimer::singleShot(0, window, [&] {
        auto* button = window->findChild<QPushButton*>(QLatin1String(kInterruptScanButtonName));
        ASSERT_NE(button, nullptr);
        barAndButtonShown = window->ProgressBar1->isVisible() && button->isVisible() &&
                            button->text() == QStringLiteral("Прервать");
        QTest::mouseClick(button, Qt::LeftButton);
    });
    window->RepeatsAction->trigger();
    EXPECT_TRUE(barAndButtonShown);
    EXPECT_TRUE(window->Label3->text().startsWith(QStringLiteral("Поиск повторов прерван")))
        << window->Label3->text().toStdString();
    EXPECT_EQ(program.platform.messages.shown.size(), messagesBefore);
    EXPECT_EQ(window->table().cell(1, 2), QStringLiteral("b.kar"));
    EXPECT_EQ(window->table().cell(0, 3), QStringLiteral("3"));
    EXPECT_FALSE(window->ProgressBar1->isVisible());
    EXPECT_EQ(window->findChild<QPushButton*>(QLatin1String(kInterruptScanButtonName)), nullptr);

    window->RepeatsAction->trigger();
    ASSERT_EQ(program.platform.messages.shown.size(), messagesBefore + 1);
    EXPECT_EQ(program.platform.messages.shown.last(),
              QStringLiteral("Найдено повторов: 1 в 1 группах"));
    EXPECT_EQ(window->table().cell(1, 2), QStringLiteral("c.kar"));
    EXPECT_EQ(window->table().cell(0, 2), QStringLiteral("V 2"));
    EXPECT_FALSE(window->ProgressBar1->isVisible());
}

} // namespace
} // namespace songwick::testing
