#include "catalogue/ui/catalogue_cell_delegate.h"

#include <QApplication>
#include <QPainter>

namespace songwick {

QString withVisibleLineBreaks(QString text) {
    // One line, as the list file keeps the cell; each break shows as a sign of its own.
    static const QString kBreakSign = QStringLiteral("\u21B5");
    text.replace(QStringLiteral("\r\n"), kBreakSign);
    text.replace(u'\r', kBreakSign);
    text.replace(u'\n', kBreakSign);
    return text;
}

void CatalogueCellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                  const QModelIndex& index) const {
    QStyleOptionViewItem cell(option);
    initStyleOption(&cell, index);
    const QString text = withVisibleLineBreaks(cell.text);
    cell.text.clear();
    const QWidget* view = cell.widget;
    QStyle* style = view != nullptr ? view->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &cell, painter, view);

    const bool selected = cell.state & QStyle::State_Selected;
    painter->save();
    painter->setClipRect(cell.rect);
    painter->setFont(cell.font);
    painter->setPen(cell.palette.color(QPalette::Normal,
                                       selected ? QPalette::HighlightedText : QPalette::Text));
    painter->drawText(cell.rect.adjusted(2, 0, 0, 0),
                      Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text);
    painter->restore();
}

} // namespace songwick
