#pragma once

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QString>
#include <QStringList>

class QLabel;
class QTableView;
class QTimer;

namespace songwick {

class CellHint;
class RandomSource;
class WindowRegistry;

// The catalogue table's own tooltip: cyan, at most 120 pixels wide, shown half the table's
// width to the right of the mouse for 3 seconds. It switches itself off for the rest of the run
// after its third showing, unless a 1-in-70 draw at that showing picks one of four joke texts,
// which is then shown instead. Now and then its text gains "!!".
class TableTooltip : public QObject {
    Q_OBJECT

public:
    TableTooltip(QTableView& view, RandomSource& random);

    // The application is about to show the table's tooltip at globalPos: decides what shows.
    void aboutToShow(QPoint globalPos);

    // Times the tooltip has been shown (or the joke's number after a joke).
    int hintCount() const { return hintCount_; }
    bool switchedOff() const { return switchedOff_; }
    // The tooltip window (for tests).
    const QLabel* tipWindow() const { return tip_; }
    void hideTip();

    // The table's own tooltip text.
    static QString tableHintText();
    // The four joke texts, numbered 4 to 7 in this order.
    static QStringList jokeTexts();

    static constexpr int kHideDelayMilliseconds = 3000;
    static constexpr int kMostWidth = 120;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QTableView& view_;
    // Taken when the filter is installed: while the view is destroyed, its events still come
    // here, and the view can no longer be asked for its viewport then.
    QPointer<QWidget> viewport_;
    RandomSource& random_;
    QLabel* tip_;
    QTimer* hideTimer_;
    unsigned char hintCount_ = 0;
    bool switchedOff_ = false;
};

// The two hint behaviours of the catalogue table, owned by the view.
struct TableHints {
    CellHint* cellHint;
    TableTooltip* tooltip;
};

// Installs the cell hint and the table's own tooltip on the catalogue table, with the table's
// hint text. Call once, when the main window is created.
TableHints installTableHints(QTableView& view, WindowRegistry& registry);

} // namespace songwick
