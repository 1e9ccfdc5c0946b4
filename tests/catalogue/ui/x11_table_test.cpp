#include "app/ui/close_question_window.h"
#include "app/ui/karaoke_folder.h"
#include "app/ui/program_fixture.h"
#include "app/ui/start_window.h"
#include "catalogue/catalogue_table.h"
#include "catalogue/ui/catalogue_table_model.h"
#include "catalogue/ui/catalogue_table_view.h"
#include "catalogue/ui/cell_hint.h"
#include "catalogue/ui/table_tooltip.h"
#include "catalogue/ui/x11_session.h"
#include "scan/ui/scan_options_window.h"
#include "settings/ui/general_settings_window.h"
#include "textview/ui/text_view_window.h"

#include <QCheckBox>
#include <QCursor>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QToolTip>
#include <gtest/gtest.h>
#include <utility>

namespace songwick::testing {
namespace {

const QString kLongText = QStringLiteral("Wolfgang Amadeus Mozart -- Лунная соната, ") +
                          QStringLiteral("AVAVAV ffi Te Ty Yo ") + QString(40, u'i');

// Counts the times a window is shown and the mouse moves it is given.
class ShowCounter : public QObject {
public:
    int shows = 0;
    int mouseMoves = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show)
            ++shows;
        if (event->type() == QEvent::MouseMove)
            ++mouseMoves;
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

TEST_F(X11TableTest, TheCellHintFollowsTheMouseToTheNextCutOffCellAndHidesElsewhere) {
    const QString otherLongText = QStringLiteral("Другая длинная строка, ") + QString(40, u'w');
    window->changeTable([&](CatalogueGrid& grid) {
        grid.setCell(3, 1, kLongText);
        grid.setCell(3, 2, QStringLiteral("ок"));
        grid.setCell(3, 3, otherLongText);
    });
    view()->horizontalHeader()->resizeSection(3, 80);
    window->resize(window->width(), 200); // a few rows: a hint reaches below the table
    ProgramUnderTest::settle();
    const CellHint* hint = view()->findChild<CellHint*>();
    ASSERT_NE(hint, nullptr);
    ShowCounter counter;
    const_cast<QLabel*>(hint->hintWindow())->installEventFilter(&counter);
    const auto inCell = [this](int row) {
        return view()->visualRect(window->tableModel->index(row - 1, 3)).topLeft() + QPoint(30, 9);
    };
    const auto shows = [hint](const QString& text) {
        return QTest::qWaitFor(
            [&] { return hint->hintWindow()->isVisible() && hint->hintWindow()->text() == text; },
            2000);
    };

    movePointer(view()->viewport(), inCell(1));
    ASSERT_TRUE(shows(kLongText));
    movePointer(view()->viewport(), inCell(2)); // the short text fits
    EXPECT_TRUE(QTest::qWaitFor([&] { return !hint->hintWindow()->isVisible(); }, 2000));
    movePointer(view()->viewport(), inCell(3));
    EXPECT_TRUE(shows(otherLongText));
    movePointer(view()->viewport(), inCell(1)); // straight from one cut-off cell to another
    EXPECT_TRUE(shows(kLongText));

    // Out of the table where the hint reaches past its bottom edge: the pointer is over the
    // hint, but no longer over the table.
    const QRect table(view()->viewport()->mapToGlobal(QPoint(0, 0)), view()->viewport()->size());
    const QRect shown = hint->hintWindow()->geometry();
    ASSERT_GT(shown.bottom(), table.bottom() + 10);
    QCursor::setPos(shown.left() + 5, table.bottom() + 8); // in one jump, over no other cell
    EXPECT_TRUE(QTest::qWaitFor([&] { return !hint->hintWindow()->isVisible(); }, 2000));
    // The pointer passed through the hint to the table every time it was shown.
    EXPECT_EQ(counter.mouseMoves, 0);
}

// A window that is closed and opened again comes back where it was, under a window manager
// that frames it again each time it is shown. Where the window manager puts a window it maps
// again varies by a few pixels; never by a title bar, and never more with each opening.
TEST_F(X11TableTest, WindowsOpenedAgainKeepTheirPlace) {
    WindowRegistry& registry = *program.registry;
    for (QWidget* reopened :
         {static_cast<QWidget*>(registry.form3()), static_cast<QWidget*>(registry.form10()),
          static_cast<QWidget*>(registry.form12()), static_cast<QWidget*>(registry.form8())}) {
        std::vector<QPoint> places;
        QTest::qWait(300);
        for (int time = 0; time < 3; ++time) {
            reopened->show();
            ASSERT_TRUE(QTest::qWaitForWindowExposed(reopened));
            // The client area, which the window manager's frame surrounds the same way each
            // time, once the window manager has stopped moving it.
            QPoint settled;
            for (int same = 0, tries = 0; same < 3 && tries < 30; ++tries) {
                QTest::qWait(100);
                const QPoint now = reopened->geometry().topLeft();
                same = std::exchange(settled, now) == now ? same + 1 : 0;
            }
            places.push_back(settled);
            reopened->hide();
            ProgramUnderTest::settle();
        }
        const char* name = reopened->metaObject()->className();
        const int titleBar = window->geometry().top() - window->frameGeometry().top();
        for (const QPoint place : places)
            EXPECT_LT((place - places[0]).manhattanLength(), titleBar)
                << name << " first at " << places[0].y() << ", then at " << place.y();
    }
}

} // namespace
} // namespace songwick::testing
