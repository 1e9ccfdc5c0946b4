#pragma once

#include <QModelIndex>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QString>

class QLabel;
class QTableView;
class QWidget;

namespace songwick {

// The whole text of a cell too narrow for it, shown next to the cell under the mouse and
// following the mouse from cell to cell. Never for the number column, an empty cell or a text
// that fits. Lives as long as the view it watches.
class CellHint : public QObject {
    Q_OBJECT

public:
    explicit CellHint(QTableView& view);

    // The text the hint shows for the cell at pos of the view's viewport: the cell's whole text
    // when its box, laid out as a hint in the view's font, does not fit the cell; else empty.
    QString hintTextAt(QPoint pos) const;

    // Hides the hint; the mouse must move to another cell to show it again.
    void hide();
    // The hint window (for tests).
    const QLabel* hintWindow() const { return window_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void mouseMovedTo(QPoint pos);
    void mouseLeft();
    static bool pointerIsOver(const QWidget& widget);
    void passPointerThroughHint();

    QTableView& view_;
    // Taken when the filter is installed: while the view is destroyed, its events still come
    // here, and the view can no longer be asked for its viewport then.
    QPointer<QWidget> viewport_;
    QLabel* window_;
    QPoint lastPos_{-1, -1};
    QModelIndex lastCell_;
    bool lastCellKnown_ = false;
};

} // namespace songwick
