#pragma once

#include <QTableView>

namespace songwick {

// The view of the catalogue table: in-place editing started by typing (a double-click marks
// the row instead), columns the user can resize, rows 18 pixels high. The number column stays
// in place while the other columns scroll sideways: a second view showing only that column
// lies over the first one, sharing its model, selection and vertical scrolling.
class CatalogueTableView : public QTableView {
    Q_OBJECT

public:
    explicit CatalogueTableView(QWidget* parent = nullptr);

    void setModel(QAbstractItemModel* model) override;
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;

    // Writes the text of an open in-place editor into the table.
    void commitPendingEdit();
    bool isEditing() const { return state() == QAbstractItemView::EditingState; }

signals:
    // A double-click anywhere on the table; it never opens the in-place editor.
    void tableDoubleClicked();

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void updateGeometries() override;
    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;

private:
    void showOnlyNumberColumnInFrozenView();
    void placeFrozenView();

    QTableView* frozenView_ = nullptr;
};

} // namespace songwick
