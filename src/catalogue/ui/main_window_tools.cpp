// The main window's find bar and its commands that reorder, group, remove and print rows.
#include "app/ui/printing.h"
#include "app/ui/window_registry.h"
#include "catalogue/catalogue_duplicates.h"
#include "catalogue/catalogue_find.h"
#include "catalogue/catalogue_order.h"
#include "catalogue/songbook_pdf.h"
#include "catalogue/ui/catalogue_table_model.h"
#include "catalogue/ui/catalogue_table_view.h"
#include "catalogue/ui/main_window.h"
#include "common/date_time.h"
#include "settings/options_file.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QHeaderView>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QShortcut>

namespace songwick {
namespace {

const QString kSongbookFilter = QStringLiteral("Документ PDF|*.pdf");

// The songbook's paper, columns, title line, song numbers and index, from the options file's
// "songbook" group.
SongbookOptions songbookOptionsFromFile(const QString& settingsPath) {
    SongbookOptions options;
    const auto file = openOptionsFile(optionsFilePathBeside(settingsPath));
    options.paper = songbookPaperFromName(file->value(QStringLiteral("songbook/paper")).toString())
                        .value_or(SongbookPaper::A4);
    bool ok = false;
    const int columns = file->value(QStringLiteral("songbook/columns")).toInt(&ok);
    if (ok && columns >= 1 && columns <= 3)
        options.columns = columns;
    options.title = file->value(QStringLiteral("songbook/title")).toString();
    options.numbers = file->value(QStringLiteral("songbook/numbers")).toBool();
    options.index = file->value(QStringLiteral("songbook/index")).toBool();
    return options;
}

} // namespace

void TForm4::createFindBar(QWidget* client) {
    FindLabel = new QLabel(QStringLiteral("Найти:"), client);
    FindEdit = new QLineEdit(client);
    FindEdit->setObjectName(QStringLiteral("FindEdit"));
    FindEdit->setPlaceholderText(QStringLiteral("исполнитель, название, имя файла…"));
    FindEdit->setClearButtonEnabled(true);
    FindMarked = new QCheckBox(QStringLiteral("только отмеченные"), client);
    FindUntitled = new QCheckBox(QStringLiteral("без названия"), client);
    FindRepeats = new QCheckBox(QStringLiteral("повторы"), client);
    connect(FindEdit, &QLineEdit::textChanged, this, &TForm4::findChanged);
    for (QCheckBox* box : {FindMarked, FindUntitled, FindRepeats})
        connect(box, &QCheckBox::toggled, this, &TForm4::findChanged);

    auto* focusFind = new QShortcut(QKeySequence::Find, this);
    connect(focusFind, &QShortcut::activated, this, [this] {
        FindEdit->setFocus(Qt::ShortcutFocusReason);
        FindEdit->selectAll();
    });
    auto* clearFind = new QShortcut(QKeySequence(Qt::Key_Escape), FindEdit);
    clearFind->setContext(Qt::WidgetShortcut);
    connect(clearFind, &QShortcut::activated, FindEdit, &QLineEdit::clear);
}

void TForm4::layOutFindBar(int width) {
    FindLabel->adjustSize();
    FindLabel->move(8, (28 - FindLabel->height()) / 2);
    int right = width - 8;
    for (QCheckBox* box : {FindRepeats, FindUntitled, FindMarked}) {
        box->adjustSize();
        right -= box->width();
        box->move(right, (28 - box->height()) / 2);
        right -= 8;
    }
    const int left = 8 + FindLabel->width() + 6;
    FindEdit->setGeometry(left, 3, std::max(right - left, 60), 22);
}

void TForm4::createTableTools() {
    SortAction = new QAction(QStringLiteral("&Сортировать по столбцу"), this);
    RepeatsAction = new QAction(QStringLiteral("&Найти повторы"), this);
    DeleteMarked = new QAction(QStringLiteral("&Удалить отмеченные строки"), this);
    N16->addSeparator();
    N16->addAction(SortAction);
    N16->addAction(RepeatsAction);
    N16->addAction(DeleteMarked);
    SongbookAction = new QAction(QStringLiteral("Песенник в P&DF..."), this);
    N1->insertAction(N7, SongbookAction);

    // The commands a host runs often have keys of their own, shown in the menu.
    SortAction->setShortcut(QKeySequence(QStringLiteral("Ctrl+Alt+S")));
    RepeatsAction->setShortcut(QKeySequence(QStringLiteral("Ctrl+Alt+D")));
    DeleteMarked->setShortcut(QKeySequence(QStringLiteral("Ctrl+Shift+Del")));
    SongbookAction->setShortcut(QKeySequence(QStringLiteral("Ctrl+Alt+P")));

    connect(SortAction, &QAction::triggered, this, &TForm4::SortActionClick);
    connect(RepeatsAction, &QAction::triggered, this, &TForm4::RepeatsActionClick);
    connect(DeleteMarked, &QAction::triggered, this, &TForm4::DeleteMarkedClick);
    connect(SongbookAction, &QAction::triggered, this, &TForm4::SongbookActionClick);
    // A plain header click keeps selecting the column; with Ctrl held it sorts. The arrow
    // stays on the column the table was last sorted by, whatever the click.
    StringGrid1->horizontalHeader()->setSortIndicatorShown(true);
    showSortArrow();
    connect(StringGrid1->horizontalHeader(), &QHeaderView::sectionClicked, this,
            [this](int column) {
                if (QApplication::keyboardModifiers() & Qt::ControlModifier)
                    sortByColumn(column);
                showSortArrow();
            });
}

void TForm4::showSortArrow() {
    StringGrid1->horizontalHeader()->setSortIndicator(
        lastSortColumn_, lastSortDescending_ ? Qt::DescendingOrder : Qt::AscendingOrder);
}

void TForm4::forgetSortOrder() {
    lastSortColumn_ = -1;
    lastSortDescending_ = false;
    showSortArrow();
}

void TForm4::findChanged() {
    StringGrid1->commitPendingEdit();
    FindFilters filters;
    filters.text = FindEdit->text();
    filters.markedOnly = FindMarked->isChecked();
    filters.untitledOnly = FindUntitled->isChecked();
    filters.duplicatesOnly = FindRepeats->isChecked();
    tableModel->setFilters(std::move(filters));
    showStatus();
}

void TForm4::rearrangeTable(const std::function<void(CatalogueGrid&)>& change) {
    StringGrid1->commitPendingEdit();
    changeTable(change);
    registry_.catalogue().mainTable.modified = true;
    forgetCommandStatus();
    showStatus();
}

void TForm4::sortByColumn(int column) {
    registry_.runReportingErrors(this, [this, column] {
        const bool descending = column == lastSortColumn_ && !lastSortDescending_;
        rearrangeTable([&](CatalogueGrid& grid) {
            sortRows(grid, column, descending ? SortOrder::Descending : SortOrder::Ascending);
        });
        lastSortColumn_ = column;
        lastSortDescending_ = descending;
        showSortArrow();
    });
}

void TForm4::SortActionClick() {
    const QModelIndex current = StringGrid1->currentIndex();
    sortByColumn(current.isValid() ? current.column() : 1);
}

void TForm4::RepeatsActionClick() {
    registry_.runReportingErrors(this, [this] {
        StringGrid1->commitPendingEdit();
        const std::vector<std::vector<int>> groups = repeatGroups(registry_.grid());
        DuplicatesFound found;
        if (!groups.empty()) {
            rearrangeTable(
                [&](CatalogueGrid& table) { found = arrangeDuplicateGroups(table, groups); });
            forgetSortOrder();
        }
        registry_.services().messages.showMessage(this, duplicatesFoundMessage(found));
    });
}

void TForm4::DeleteMarkedClick() {
    registry_.runReportingErrors(this, [this] {
        StringGrid1->commitPendingEdit();
        const int marked = markedRowCount(registry_.grid());
        if (marked == 0)
            return;
        const auto answer = registry_.services().messages.askYesNoCancel(
            this, QStringLiteral("Удалить из таблицы отмеченные строки (%1)?").arg(marked));
        if (answer != MessageBoxes::Answer::Yes)
            return;
        if (CheckBox1->isChecked()) {
            const QSignalBlocker blocker(CheckBox1);
            CheckBox1->setChecked(false);
        }
        int removed = 0;
        rearrangeTable([&removed](CatalogueGrid& grid) { removed = removeMarkedRows(grid); });
        showStatusText(QStringLiteral("Удалено из таблицы строк: %1").arg(removed));
    });
}

void TForm4::SongbookActionClick() {
    registry_.runReportingErrors(this, [this] {
        StringGrid1->commitPendingEdit();
        const CatalogueGrid& grid = registry_.grid();
        std::vector<int> rows;
        for (int row = 0; row < tableModel->rowCount(); ++row)
            rows.push_back(tableModel->gridRowOf(row));
        FileDialogRequest request;
        request.filter = kSongbookFilter;
        request.defaultExtension = QStringLiteral("pdf");
        request.startFolder = proposedDocumentPath(QStringLiteral("песенник.pdf"));
        request.caption =
            tableModel->isFiltered()
                ? QStringLiteral("Песенник в PDF: показанные строки (%1 из %2)")
                      .arg(rows.size())
                      .arg(grid.dataRowCount())
                : QStringLiteral("Песенник в PDF: вся таблица (%1 строк)").arg(rows.size());
        const std::optional<QString> path =
            registry_.services().dialogs.saveFileName(this, request);
        if (!path)
            return;
        SongbookOptions options = songbookOptionsFromFile(registry_.settingsPath());
        options.folder = commonFolder(grid, rows);
        options.date = formatDateTime(registry_.services().clock.now(), kPatternDate);
        QApplication::setOverrideCursor(Qt::WaitCursor);
        const struct RestoreCursor {
            ~RestoreCursor() { QApplication::restoreOverrideCursor(); }
        } restore;
        writeSongbookPdf(*path, songbookSections(grid, rows), options);
    });
}

} // namespace songwick
