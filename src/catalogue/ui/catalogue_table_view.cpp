#include "catalogue/ui/catalogue_table_view.h"

#include "catalogue/catalogue_table.h"
#include "catalogue/ui/catalogue_cell_delegate.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <QScrollBar>

namespace songwick {

CatalogueTableView::CatalogueTableView(QWidget* parent) : QTableView(parent) {
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::EditKeyPressed);
    setFocusPolicy(Qt::ClickFocus);
    setWordWrap(false);
    setItemDelegate(new CatalogueCellDelegate(this));
    setShowGrid(true);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setMinimumSectionSize(kMinimumColumnWidth);
    verticalHeader()->setDefaultSectionSize(18);
    verticalHeader()->setMinimumSectionSize(18);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    // The number column is the table's first column; the row header would repeat it.
    verticalHeader()->hide();
    horizontalScrollBar()->setTracking(true);
    verticalScrollBar()->setTracking(true);

    frozenView_ = new QTableView(this);
    frozenView_->setObjectName(QStringLiteral("NumberColumn"));
    // A delegate of its own: a shared one would hand the editors of the main view to this
    // view too, which knows none of them.
    frozenView_->setItemDelegate(new CatalogueCellDelegate(frozenView_));
    frozenView_->setFocusPolicy(Qt::NoFocus);
    frozenView_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    frozenView_->setSelectionMode(QAbstractItemView::ContiguousSelection);
    frozenView_->setWordWrap(false);
    frozenView_->verticalHeader()->hide();
    frozenView_->verticalHeader()->setDefaultSectionSize(18);
    frozenView_->verticalHeader()->setMinimumSectionSize(18);
    frozenView_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    frozenView_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    frozenView_->horizontalHeader()->setHighlightSections(false);
    frozenView_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    frozenView_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    frozenView_->setFrameShape(QFrame::NoFrame);
    frozenView_->setVerticalScrollMode(verticalScrollMode());
    viewport()->stackUnder(frozenView_);

    connect(horizontalHeader(), &QHeaderView::sectionResized, this,
            [this](int section, int, int newSize) {
                if (section != 0)
                    return;
                frozenView_->setColumnWidth(0, newSize);
                placeFrozenView();
            });
    connect(frozenView_->verticalScrollBar(), &QAbstractSlider::valueChanged, verticalScrollBar(),
            &QAbstractSlider::setValue);
    connect(verticalScrollBar(), &QAbstractSlider::valueChanged, frozenView_->verticalScrollBar(),
            &QAbstractSlider::setValue);
    connect(frozenView_, &QTableView::doubleClicked, this, &CatalogueTableView::tableDoubleClicked);
}

void CatalogueTableView::setModel(QAbstractItemModel* model) {
    QTableView::setModel(model);
    frozenView_->setModel(model);
    frozenView_->setSelectionModel(selectionModel());
    if (model != nullptr) {
        connect(model, &QAbstractItemModel::modelReset, this,
                &CatalogueTableView::showOnlyNumberColumnInFrozenView);
        connect(model, &QAbstractItemModel::columnsInserted, this,
                &CatalogueTableView::showOnlyNumberColumnInFrozenView);
    }
    showOnlyNumberColumnInFrozenView();
}

void CatalogueTableView::showOnlyNumberColumnInFrozenView() {
    if (frozenView_ == nullptr)
        return;
    const QAbstractItemModel* shown = model();
    const int columns = shown != nullptr ? shown->columnCount() : 0;
    for (int column = 0; column < columns; ++column)
        frozenView_->setColumnHidden(column, column != 0);
    if (columns > 0)
        frozenView_->setColumnWidth(0, columnWidth(0));
    placeFrozenView();
}

void CatalogueTableView::placeFrozenView() {
    if (frozenView_ == nullptr)
        return;
    const bool hasNumberColumn = model() != nullptr && model()->columnCount() > 0;
    frozenView_->setVisible(hasNumberColumn);
    if (!hasNumberColumn)
        return;
    frozenView_->setGeometry(frameWidth(), frameWidth(), columnWidth(0),
                             viewport()->height() + horizontalHeader()->height());
    frozenView_->verticalScrollBar()->setValue(verticalScrollBar()->value());
}

void CatalogueTableView::resizeEvent(QResizeEvent* event) {
    QTableView::resizeEvent(event);
    placeFrozenView();
}

void CatalogueTableView::updateGeometries() {
    QTableView::updateGeometries();
    placeFrozenView();
}

QModelIndex CatalogueTableView::moveCursor(CursorAction cursorAction,
                                           Qt::KeyboardModifiers modifiers) {
    const QModelIndex current = QTableView::moveCursor(cursorAction, modifiers);
    // Keep the cell the cursor moves to out from under the number column.
    const int left = visualRect(current).left();
    if (cursorAction == MoveLeft && current.column() > 0 && left < columnWidth(0))
        horizontalScrollBar()->setValue(horizontalScrollBar()->value() + left - columnWidth(0));
    return current;
}

void CatalogueTableView::scrollTo(const QModelIndex& index, ScrollHint hint) {
    if (index.column() > 0)
        QTableView::scrollTo(index, hint);
}

void CatalogueTableView::commitPendingEdit() {
    if (state() != QAbstractItemView::EditingState)
        return;
    if (QWidget* editor = indexWidget(currentIndex()))
        commitData(editor);
}

void CatalogueTableView::mouseDoubleClickEvent(QMouseEvent* event) {
    // The row under the pointer is the one the double-click acts on.
    const QModelIndex index = indexAt(event->position().toPoint());
    if (index.isValid() && index != currentIndex())
        selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    event->accept();
    emit tableDoubleClicked();
}

} // namespace songwick
