#include "app/ui/karaoke_folder.h"
#include "app/ui/program_fixture.h"
#include "app/ui/start_window.h"
#include "catalogue/catalogue_table.h"
#include "catalogue/ui/catalogue_table_model.h"
#include "catalogue/ui/catalogue_table_view.h"
#include "catalogue/ui/cell_hint.h"
#include "catalogue/ui/table_tooltip.h"
#include "catalogue/ui/x11_session.h"

#include <QCursor>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QToolTip>
#include <gtest/gtest.h>

namespace songwick::testing {
namespace {

const QString kLongText = QStringLiteral("Wolfgang Amadeus Mozart -- Лунная соната, ") +
                          QStringLiteral("AVAVAV ffi Te Ty Yo ") + QString(40, u'i');

// Counts the times a window is shown.
class ShowCounter : public QObject {
public:
    int shows = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show)
            ++shows;
        return QObject::eventFilter(watched, event);
    }
};

// The main window on a real X server under a window manager, after a scan.
class X11TableTest : public ::testing::Test {
protected:
    void SetUp() override {
        SONGWICK_REQUIRE_X11_SESSION();
        ASSERT_TRUE(program.start());
        program.platform.dialogs.folders.push_back(makeKaraokeFolder(root, QStringLiteral("s")));
        QTest::mouseClick(program.startWindow()->Button1, Qt::LeftButton);
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
        ProgramUnderTest::settle();
    }

    CatalogueTableView* view() const { return window->StringGrid1; }

    // Moves the real pointer to a point of a widget, in small steps from where it is.
    static void movePointer(QWidget* widget, QPoint to) {
        const QPoint target = widget->mapToGlobal(to);
        const QPoint from = QCursor::pos();
        for (int step = 1; step <= 5; ++step) {
            QCursor::setPos(from + (target - from) * step / 5);
            QTest::qWait(30);
        }
    }

    QTemporaryDir root;
    ProgramUnderTest program{root.filePath(QStringLiteral("prop.dat"))};
    TForm4* window = program.mainWindow();
};

TEST_F(X11TableTest, WidestTextWidthIsTheDrawnWidth) {
    window->changeTable([](CatalogueGrid& grid) { grid.setCell(3, 2, kLongText); });
    window->applyColumnLayout();
    const QFontMetrics metrics(view()->font());
    EXPECT_EQ(view()->horizontalHeader()->sectionSize(3),
              metrics.horizontalAdvance(kLongText) + 1 + 3);
}

TEST_F(X11TableTest, TheHeaderAndTheNumberColumnShowOnlyTheTablesTooltip) {
    const TableTooltip* tooltip = view()->findChild<TableTooltip*>();
    ASSERT_NE(tooltip, nullptr);
    QHeaderView* header = view()->horizontalHeader();
    movePointer(header->viewport(),
                QPoint(header->sectionViewportPosition(2) + 20, header->height() / 2));
    ASSERT_TRUE(QTest::qWaitFor([&] { return tooltip->hintCount() == 1; }, 3000));
    EXPECT_TRUE(tooltip->tipWindow()->isVisible());
    QTest::qWait(300);
    EXPECT_FALSE(QToolTip::isVisible());
}

TEST_F(X11TableTest, TheCellHintStaysWhileTheMouseMovesInsideTheCell) {
    window->changeTable([](CatalogueGrid& grid) { grid.setCell(3, 2, kLongText); });
    view()->horizontalHeader()->resizeSection(3, 80);
    const QRect cell = view()->visualRect(window->tableModel->index(1, 3));
    const CellHint* hint = view()->findChild<CellHint*>();
    ASSERT_NE(hint, nullptr);
    ShowCounter counter;
    const_cast<QLabel*>(hint->hintWindow())->installEventFilter(&counter);

    movePointer(view()->viewport(), cell.topLeft() + QPoint(10, 9));
    ASSERT_TRUE(QTest::qWaitFor([&] { return hint->hintWindow()->isVisible(); }, 2000));
    counter.shows = 0;
    for (int x = 12; x < 60; x += 6) {
        QCursor::setPos(view()->viewport()->mapToGlobal(cell.topLeft() + QPoint(x, 9)));
        QTest::qWait(40);
        EXPECT_TRUE(hint->hintWindow()->isVisible()) << x;
    }
    EXPECT_EQ(counter.shows, 0);
}

} // namespace
} // namespace songwick::testing
