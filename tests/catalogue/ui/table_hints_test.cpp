#include "app/ui/fake_platform.h"
#include "app/ui/hint_switch.h"
#include "app/ui/window_registry.h"
#include "catalogue/ui/catalogue_table_model.h"
#include "catalogue/ui/catalogue_table_view.h"
#include "catalogue/ui/cell_hint.h"
#include "catalogue/ui/table_tooltip.h"

#include <QApplication>
#include <QHeaderView>
#include <QHelpEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>
#include <QToolTip>
#include <deque>
#include <gtest/gtest.h>

namespace songwick {
namespace {

// Draws the numbers it was given, then zeros.
class ScriptedRandom final : public RandomSource {
public:
    int below(int limit) override {
        limits.push_back(limit);
        if (values.empty())
            return 0;
        const int value = values.front();
        values.pop_front();
        return value;
    }
    std::deque<int> values;
    std::vector<int> limits;
};

const QString kLongText =
    QStringLiteral("Очень длинное название песни, которое никак не помещается в узкую колонку");

// A table of three data rows: column 2 narrow with a long text, column 3 wide with a short one.
class TableHintsTest : public ::testing::Test {
protected:
    TableHintsTest() : grid(7, 4), model(grid), registry(platform.services(), QString()) {
        grid.setCell(0, 1, QStringLiteral("1") + kLongText);
        grid.setCell(1, 1, QStringLiteral("song.kar"));
        grid.setCell(2, 1, kLongText);
        grid.setCell(3, 1, QStringLiteral("Хит"));
        grid.setCell(2, 0, QStringLiteral("Заголовок, который шире своей колонки"));
        view.setModel(&model);
        view.resize(600, 200);
        for (int column = 0; column < 7; ++column)
            view.setColumnWidth(column, column == 2 ? 60 : 150);
        view.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&view));
    }

    QPoint cellCentre(int modelRow, int column) const {
        return view.visualRect(model.index(modelRow, column)).center();
    }

    static void moveMouse(QWidget* widget, QPoint pos) {
        QMouseEvent move(QEvent::MouseMove, QPointF(pos), QPointF(widget->mapToGlobal(pos)),
                         Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(widget, &move);
    }

    // The application asks the table for its tooltip with the mouse resting at pos.
    void askForTooltip(QPoint pos) {
        QHelpEvent help(QEvent::ToolTip, pos, view.viewport()->mapToGlobal(pos));
        QApplication::sendEvent(view.viewport(), &help);
    }

    testing::FakePlatform platform;
    CatalogueGrid grid;
    CatalogueTableModel model;
    CatalogueTableView view;
    WindowRegistry registry;
};

TEST_F(TableHintsTest, OnlyATextThatDoesNotFitItsDataCellIsHinted) {
    CellHint hint(view);
    EXPECT_EQ(hint.hintTextAt(cellCentre(0, 2)), kLongText);
    EXPECT_TRUE(hint.hintTextAt(cellCentre(0, 3)).isEmpty()) << "fits its cell";
    EXPECT_TRUE(hint.hintTextAt(cellCentre(0, 0)).isEmpty()) << "number column";
    EXPECT_TRUE(hint.hintTextAt(cellCentre(1, 2)).isEmpty()) << "empty cell";
    EXPECT_TRUE(hint.hintTextAt(QPoint(590, 190)).isEmpty()) << "no cell";

    view.setColumnWidth(3, 8);
    EXPECT_EQ(hint.hintTextAt(cellCentre(0, 3)), QStringLiteral("Хит"));
}

TEST_F(TableHintsTest, TheHintFollowsTheMouseFromCellToCell) {
    CellHint hint(view);
    moveMouse(view.viewport(), cellCentre(0, 2));
    ASSERT_TRUE(hint.hintWindow()->isVisible());
    EXPECT_EQ(hint.hintWindow()->text(), kLongText);
    const QPoint cellCorner =
        view.viewport()->mapToGlobal(view.visualRect(model.index(0, 2)).topLeft());
    EXPECT_EQ(hint.hintWindow()->pos(), cellCorner + QPoint(2, 2));
    // Wrapped at the column's width (a word longer than that keeps its length), so much
    // narrower than the text in one line and taller than the row.
    EXPECT_LT(hint.hintWindow()->width(), view.fontMetrics().horizontalAdvance(kLongText) / 3);
    EXPECT_GT(hint.hintWindow()->height(), 3 * view.rowHeight(0));

    moveMouse(view.viewport(), cellCentre(0, 3));
    EXPECT_FALSE(hint.hintWindow()->isVisible());
    moveMouse(view.viewport(), cellCentre(0, 0));
    EXPECT_FALSE(hint.hintWindow()->isVisible());

    moveMouse(view.viewport(), cellCentre(0, 2));
    EXPECT_TRUE(hint.hintWindow()->isVisible());
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(view.viewport(), &leave);
    EXPECT_FALSE(hint.hintWindow()->isVisible());
    // After leaving, coming back to the same cell shows it again.
    moveMouse(view.viewport(), cellCentre(0, 2));
    EXPECT_TRUE(hint.hintWindow()->isVisible());
}

TEST_F(TableHintsTest, TheHeaderRowNeverShowsTheHint) {
    CellHint hint(view);
    QHeaderView* header = view.horizontalHeader();
    const QPoint overHeader(header->sectionViewportPosition(2) + 10, header->height() / 2);
    moveMouse(header->viewport(), overHeader);
    moveMouse(header, overHeader);
    EXPECT_FALSE(hint.hintWindow()->isVisible());
    EXPECT_TRUE(
        hint.hintTextAt(view.viewport()->mapFromGlobal(header->mapToGlobal(overHeader))).isEmpty());
}

TEST_F(TableHintsTest, ADoubleClickHidesTheHintUntilTheMouseReachesAnotherCell) {
    CellHint hint(view);
    moveMouse(view.viewport(), cellCentre(0, 2));
    ASSERT_TRUE(hint.hintWindow()->isVisible());
    QMouseEvent doubleClick(QEvent::MouseButtonDblClick, QPointF(cellCentre(0, 2)),
                            QPointF(view.viewport()->mapToGlobal(cellCentre(0, 2))), Qt::LeftButton,
                            Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view.viewport(), &doubleClick);
    EXPECT_FALSE(hint.hintWindow()->isVisible());
    moveMouse(view.viewport(), cellCentre(0, 2) + QPoint(1, 0));
    EXPECT_FALSE(hint.hintWindow()->isVisible());
}

TEST_F(TableHintsTest, TheTooltipSwitchesItselfOffAfterItsThirdShowing) {
    ScriptedRandom random;
    TableTooltip tooltip(view, random);
    view.setToolTip(TableTooltip::tableHintText());
    for (int showing = 1; showing <= 3; ++showing) {
        SCOPED_TRACE(showing);
        tooltip.hideTip();
        askForTooltip(cellCentre(0, 1));
        EXPECT_TRUE(tooltip.tipWindow()->isVisible());
        EXPECT_EQ(tooltip.tipWindow()->text(), TableTooltip::tableHintText());
    }
    EXPECT_TRUE(tooltip.switchedOff());
    // Only the third showing draws for a joke (1 in 70); every showing draws for the "!!".
    EXPECT_EQ(random.limits, (std::vector<int>{2, 2, 70, 2}));

    tooltip.hideTip();
    askForTooltip(cellCentre(0, 1));
    EXPECT_FALSE(tooltip.tipWindow()->isVisible());
    EXPECT_EQ(tooltip.hintCount(), 3);
}

TEST_F(TableHintsTest, TheHeaderAndTheNumberColumnShowTheTablesTooltipOnly) {
    ScriptedRandom random;
    TableTooltip tooltip(view, random);
    view.setToolTip(TableTooltip::tableHintText());
    QWidget* header = view.horizontalHeader()->viewport();
    auto* numbers = view.findChild<QTableView*>(QStringLiteral("NumberColumn"));
    ASSERT_NE(numbers, nullptr);
    const auto askAt = [](QWidget* widget, QPoint pos) {
        QHelpEvent help(QEvent::ToolTip, pos, widget->mapToGlobal(pos));
        QApplication::sendEvent(widget, &help);
    };
    for (QWidget* widget : {header, numbers->viewport(), header, header}) {
        tooltip.hideTip();
        askAt(widget, QPoint(10, 5));
        EXPECT_FALSE(QToolTip::isVisible()) << widget->objectName().toStdString();
    }
    EXPECT_TRUE(tooltip.switchedOff());
    EXPECT_EQ(tooltip.hintCount(), 3);
    EXPECT_FALSE(tooltip.tipWindow()->isVisible());
}

TEST_F(TableHintsTest, AJokeDrawnAtTheThirdShowingKeepsTheTooltipOn) {
    ScriptedRandom random;
    random.values = {0, 0, 65, 2, 0};
    TableTooltip tooltip(view, random);
    view.setToolTip(TableTooltip::tableHintText());
    askForTooltip(cellCentre(0, 1));
    askForTooltip(cellCentre(0, 1));
    askForTooltip(cellCentre(0, 1));
    EXPECT_EQ(tooltip.tipWindow()->text(), QStringLiteral("Хелллоу!!!! Don't worry, be happy!"));
    EXPECT_EQ(tooltip.hintCount(), 6);
    EXPECT_FALSE(tooltip.switchedOff());

    // The next showing draws again, misses and is the last.
    askForTooltip(cellCentre(0, 1));
    EXPECT_EQ(tooltip.tipWindow()->text(), TableTooltip::tableHintText());
    EXPECT_TRUE(tooltip.switchedOff());
}

TEST_F(TableHintsTest, TheTooltipIsCyanNarrowShiftedAndSometimesGainsExclamations) {
    ScriptedRandom random;
    random.values = {1};
    TableTooltip tooltip(view, random);
    view.setToolTip(TableTooltip::tableHintText());
    const QPoint at = cellCentre(1, 3);
    askForTooltip(at);
    const QLabel* tip = tooltip.tipWindow();
    EXPECT_EQ(tip->text(), TableTooltip::tableHintText()); // this one as it was
    EXPECT_EQ(view.toolTip(), TableTooltip::tableHintText() + QStringLiteral("!!"));
    EXPECT_EQ(tip->palette().color(QPalette::Window), QColor(0, 255, 255));
    EXPECT_LE(tip->width(), TableTooltip::kMostWidth);
    EXPECT_EQ(tip->x(), view.viewport()->mapToGlobal(at).x() + view.width() / 2);
    askForTooltip(at);
    EXPECT_EQ(tip->text(), TableTooltip::tableHintText() + QStringLiteral("!!"));
}

TEST_F(TableHintsTest, InstalledTogetherAndSilencedByTheProgramsHintSwitch) {
    const TableHints hints = installTableHints(view, registry);
    EXPECT_TRUE(view.toolTip().startsWith(TableTooltip::tableHintText()));
    registry.hints().setHintsShown(false);
    askForTooltip(cellCentre(0, 1));
    EXPECT_FALSE(hints.tooltip->tipWindow()->isVisible());
    EXPECT_EQ(hints.tooltip->hintCount(), 0);
    registry.hints().setHintsShown(true);
    askForTooltip(cellCentre(0, 1));
    EXPECT_TRUE(hints.tooltip->tipWindow()->isVisible());
    EXPECT_EQ(hints.tooltip->hintCount(), 1);
    moveMouse(view.viewport(), cellCentre(0, 2));
    EXPECT_TRUE(hints.cellHint->hintWindow()->isVisible());
}

} // namespace
} // namespace songwick
