#pragma once

#include <QStyledItemDelegate>

namespace songwick {

// A cell's text on one line: every line break (CR LF, CR or LF) shown as "↵".
QString withVisibleLineBreaks(QString text);

// Draws a cell's text 2 pixels from its left edge, whole and unelided, as the widths of the
// catalogue table are reckoned: a column as wide as its widest text + 4 shows that text whole.
class CatalogueCellDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
};

} // namespace songwick
