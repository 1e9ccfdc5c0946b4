#include "catalogue/ui/catalogue_table_model.h"

#include "catalogue/catalogue_table.h"
#include "common/file_name_codec.h"

#include <QBrush>
#include <QColor>
#include <QGuiApplication>
#include <QPalette>

namespace songwick {

CatalogueTableModel::CatalogueTableModel(CatalogueGrid& grid, QObject* parent)
    : QAbstractTableModel(parent), grid_(grid) {}

void CatalogueTableModel::setFilters(FindFilters filters) {
    beginResetModel();
    filters_ = std::move(filters);
    refilter();
    endResetModel();
}

void CatalogueTableModel::refilter() {
    filtered_ = filters_.isActive();
    if (filtered_)
        shownRows_ = finder_.shownRows(grid_, filters_);
    else
        shownRows_.clear();
}

void CatalogueTableModel::rowsChanged(int firstGridRow, int lastGridRow) {
    if (filtered_) {
        // Marks decide what "только отмеченные" shows.
        if (filters_.markedOnly) {
            setFilters(filters_);
            return;
        }
        if (!shownRows_.empty())
            emit dataChanged(index(0, 0), index(rowCount() - 1, grid_.columnCount() - 1),
                             {Qt::DisplayRole, Qt::EditRole, Qt::BackgroundRole});
        return;
    }
    const int first = std::max(firstGridRow, 1) - 1;
    const int last = std::min(lastGridRow, grid_.dataRowCount()) - 1;
    if (first > last || grid_.columnCount() == 0)
        return;
    emit dataChanged(index(first, 0), index(last, grid_.columnCount() - 1),
                     {Qt::DisplayRole, Qt::EditRole, Qt::BackgroundRole});
}

int CatalogueTableModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid())
        return 0;
    return filtered_ ? int(shownRows_.size()) : grid_.dataRowCount();
}

int CatalogueTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : grid_.columnCount();
}

bool CatalogueTableModel::isCell(const QModelIndex& index) const {
    return index.isValid() && index.model() == this && index.row() < rowCount() &&
           grid_.contains(index.column(), gridRow(index)) && gridRow(index) >= 1;
}

QVariant CatalogueTableModel::data(const QModelIndex& index, int role) const {
    if (!isCell(index))
        return {};
    if (role == Qt::DisplayRole && (index.column() == 1 || index.column() == 2))
        return displayFileName(grid_.cell(index.column(), gridRow(index)));
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        return grid_.cell(index.column(), gridRow(index));
    if (role == Qt::BackgroundRole && isMarked(grid_, gridRow(index)))
        return markedRowBackground();
    return {};
}

QBrush markedRowBackground() {
    // A quarter of the selection colour over the cells' own: marked rows stand out in any
    // style, light or dark, and stay apart from the selected ones.
    const QPalette palette = QGuiApplication::palette();
    const QColor base = palette.color(QPalette::Active, QPalette::Base);
    const QColor highlight = palette.color(QPalette::Active, QPalette::Highlight);
    constexpr int kHighlightShare = 25; // per cent
    const auto mixed = [](int from, int to) {
        return (from * (100 - kHighlightShare) + to * kHighlightShare) / 100;
    };
    return QBrush(QColor(mixed(base.red(), highlight.red()), mixed(base.green(), highlight.green()),
                         mixed(base.blue(), highlight.blue())));
}

bool CatalogueTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !isCell(index) || !(flags(index) & Qt::ItemIsEditable))
        return false;
    // The in-place editor gives single-line texts only; a pasted line break becomes a blank.
    QString text = value.toString();
    text.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    text.replace(u'\n', u' ');
    text.replace(u'\r', u' ');
    if (text == grid_.cell(index.column(), gridRow(index)))
        return true;
    grid_.setCell(index.column(), gridRow(index), std::move(text));
    finder_.forgetRow(gridRow(index));
    emit dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
    if (edited_)
        edited_();
    return true;
}

QVariant CatalogueTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal)
        return grid_.contains(section, 0) ? QVariant(grid_.cell(section, 0)) : QVariant();
    return section >= 0 && section < rowCount() ? QVariant(gridRowOf(section)) : QVariant();
}

Qt::ItemFlags CatalogueTableModel::flags(const QModelIndex& index) const {
    if (!isCell(index))
        return Qt::NoItemFlags;
    Qt::ItemFlags result = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    if (index.column() > 0)
        result |= Qt::ItemIsEditable;
    return result;
}

} // namespace songwick
