#include "catalogue/ui/cell_hint.h"

#include <QCursor>
#include <QEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QMouseEvent>
#include <QTableView>
#include <QToolTip>
#include <QWindow>
#include <limits>

namespace songwick {
namespace {

// The hint's box around its text, as a tooltip lays it out.
constexpr int kBoxExtraWidth = 6;
constexpr int kBoxExtraHeight = 2;
// The text is wrapped this much narrower than the column.
constexpr int kWrapInset = 4;
// A box this much larger than the cell still counts as fitting.
constexpr int kFitTolerance = 2;
// The hint's top-left corner, from the cell's.
const QPoint kHintOffset(2, 2);

// The size of the hint box for text wrapped at wrapWidth pixels.
QSize hintBox(const QFontMetrics& metrics, const QString& text, int wrapWidth) {
    const QRect extent = metrics.boundingRect(
        QRect(0, 0, std::max(wrapWidth, 1), std::numeric_limits<int>::max() / 4), Qt::TextWordWrap,
        text);
    return extent.size() + QSize(kBoxExtraWidth, kBoxExtraHeight);
}

} // namespace

CellHint::CellHint(QTableView& view)
    // The hint lies over the cell under the mouse: the pointer passes through it, or the table
    // would see the mouse leave, hide the hint and show it again at the next move.
    : QObject(&view), view_(view),
      window_(new QLabel(&view, Qt::ToolTip | Qt::WindowTransparentForInput)) {
    window_->setWordWrap(true);
    window_->setContentsMargins(kBoxExtraWidth / 2, kBoxExtraHeight / 2, kBoxExtraWidth / 2,
                                kBoxExtraHeight / 2);
    window_->setIndent(0);
    window_->setMargin(0);
    window_->setTextFormat(Qt::PlainText);
    window_->setAutoFillBackground(true);
    window_->setPalette(QToolTip::palette());
    window_->setBackgroundRole(QPalette::ToolTipBase);
    window_->setForegroundRole(QPalette::ToolTipText);
    // Where the window system still gives the pointer to the hint, its moves count as moves
    // over the table.
    window_->setMouseTracking(true);
    window_->installEventFilter(this);

    view_.viewport()->setMouseTracking(true);
    viewport_ = view_.viewport();
    viewport_->installEventFilter(this);
    view_.installEventFilter(this);
}

QString CellHint::hintTextAt(QPoint pos) const {
    const QModelIndex cell = view_.indexAt(pos);
    // Every row of the view is a data row (the header row is the view's header); column 0 holds
    // the numbers.
    if (!cell.isValid() || cell.column() < 1)
        return {};
    const int rowHeight = view_.rowHeight(cell.row());
    const int columnWidth = view_.columnWidth(cell.column());
    const QString text = cell.data(Qt::DisplayRole).toString();
    if (rowHeight <= 0 || text.isEmpty())
        return {};
    const QSize box = hintBox(QFontMetrics(view_.window()->font()), text, columnWidth - kWrapInset);
    const bool fits =
        rowHeight >= box.height() - kFitTolerance && columnWidth >= box.width() - kFitTolerance;
    return fits ? QString() : text;
}

bool CellHint::pointerIsOver(const QWidget& widget) {
    // The toolkit may report the mouse leaving the table when the hint appears under it; the
    // pointer itself tells whether it really left, wherever the hint lies.
    return widget.rect().contains(widget.mapFromGlobal(QCursor::pos()));
}

void CellHint::passPointerThroughHint() {
    // Qt's X11 window loses its input transparency each time it is mapped (seen with Qt 6.4
    // under Xvfb and openbox), and the hint then takes the mouse from the cell under it:
    // setting the flag again restores it.
    if (QWindow* handle = window_->windowHandle()) {
        handle->setFlag(Qt::WindowTransparentForInput, false);
        handle->setFlag(Qt::WindowTransparentForInput, true);
    }
}

void CellHint::hide() {
    window_->hide();
}

bool CellHint::eventFilter(QObject* watched, QEvent* event) {
    if (watched == viewport_) {
        switch (event->type()) {
        case QEvent::MouseMove:
            mouseMovedTo(static_cast<QMouseEvent*>(event)->position().toPoint());
            break;
        case QEvent::MouseButtonDblClick:
            hide();
            break;
        case QEvent::Leave:
            if (!pointerIsOver(*view_.viewport()))
                mouseLeft();
            break;
        default:
            break;
        }
    } else if (watched == window_) {
        if (event->type() == QEvent::MouseMove) {
            const auto* move = static_cast<QMouseEvent*>(event);
            mouseMovedTo(view_.viewport()->mapFromGlobal(move->globalPosition().toPoint()));
        }
    } else if (watched == &view_) {
        if ((event->type() == QEvent::Leave && !pointerIsOver(view_)) ||
            event->type() == QEvent::Hide || event->type() == QEvent::WindowDeactivate)
            mouseLeft();
    }
    return QObject::eventFilter(watched, event);
}

void CellHint::mouseMovedTo(QPoint pos) {
    if (pos == lastPos_)
        return;
    lastPos_ = pos;
    const QModelIndex cell = view_.indexAt(pos);
    if (lastCellKnown_ && cell == lastCell_)
        return;
    lastCell_ = cell;
    lastCellKnown_ = true;
    hide();

    const QString text = hintTextAt(pos);
    if (text.isEmpty())
        return;
    const int columnWidth = view_.columnWidth(cell.column());
    const QSize box = hintBox(QFontMetrics(view_.window()->font()), text, columnWidth - kWrapInset);
    window_->setFont(view_.window()->font());
    window_->setText(text);
    window_->setFixedSize(box);
    window_->move(view_.viewport()->mapToGlobal(view_.visualRect(cell).topLeft() + kHintOffset));
    window_->show();
    window_->raise();
    passPointerThroughHint();
}

void CellHint::mouseLeft() {
    hide();
    lastPos_ = QPoint(-1, -1);
    lastCell_ = QModelIndex();
    lastCellKnown_ = false;
}

} // namespace songwick
