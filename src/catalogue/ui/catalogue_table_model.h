#pragma once

#include "catalogue/catalogue_find.h"
#include "catalogue/catalogue_grid.h"

#include <QAbstractTableModel>
#include <QBrush>
#include <functional>

namespace songwick {

// The background of a marked row's cells, derived from the application's palette.
QBrush markedRowBackground();

// The catalogue grid as a table model: model row r is data row r + 1 of the grid, model
// column c is grid column c (column 0 holds the numbers and is not edited in place), and the
// horizontal header shows the grid's header row. The grid stays the one copy of the texts.
// The cells of a marked row have a background of their own (markedRowBackground).
class CatalogueTableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    explicit CatalogueTableModel(CatalogueGrid& grid, QObject* parent = nullptr);

    const CatalogueGrid& grid() const { return grid_; }

    // Runs a change of the grid's shape or of many cells and tells the views afterwards.
    template <typename Change> void changeGrid(Change&& change) {
        beginResetModel();
        struct EndReset {
            CatalogueTableModel* model;
            ~EndReset() { model->endResetModel(); }
        } endReset{this};
        change(grid_);
        finder_.forgetAll();
        refilter();
    }
    // Tells the views that the cell texts of data rows first..last (grid rows) changed.
    void rowsChanged(int firstGridRow, int lastGridRow);

    // Runs after every cell text the user changed in place.
    void setEditedHandler(std::function<void()> handler) { edited_ = std::move(handler); }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // The grid row a model row shows: the same row plus one, or while a filter is on, the
    // row's place among the rows that pass it.
    int gridRow(const QModelIndex& index) const { return gridRowOf(index.row()); }
    int gridRowOf(int modelRow) const {
        return filtered_ ? shownRows_[std::size_t(modelRow)] : modelRow + 1;
    }

    // Shows only the rows that pass the filters; inactive filters show every row. The grid
    // itself is never copied or changed.
    void setFilters(FindFilters filters);
    const FindFilters& filters() const { return filters_; }
    bool isFiltered() const { return filtered_; }
    int shownRowCount() const { return rowCount(); }

private:
    bool isCell(const QModelIndex& index) const;
    void refilter();

    CatalogueGrid& grid_;
    std::function<void()> edited_;
    FindFilters filters_;
    RowFinder finder_;
    bool filtered_ = false;
    std::vector<int> shownRows_; // grid rows shown, while filtered_
};

} // namespace songwick
