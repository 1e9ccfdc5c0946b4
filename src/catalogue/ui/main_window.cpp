#include "catalogue/ui/main_window.h"

#include "app/ui/close_question_window.h"
#include "app/ui/window_placement.h"
#include "app/ui/window_registry.h"
#include "catalogue/catalogue_find.h"
#include "catalogue/catalogue_order.h"
#include "catalogue/catalogue_table.h"
#include "catalogue/list_file.h"
#include "catalogue/ui/catalogue_table_model.h"
#include "catalogue/ui/catalogue_table_view.h"
#include "catalogue/ui/table_tooltip.h"
#include "catalogue/ui/text_width_cache.h"
#include "help/ui/about_window.h"
#include "help/ui/help_window.h"
#include "help/ui/splash_window.h"
#include "office/ui/office_actions.h"
#include "rename/ui/composite_rename_window.h"
#include "rename/ui/file_name_rename.h"
#include "scan/lyrics_indexer.h"
#include "scan/reread_rows.h"
#include "scan/ui/scan_options_window.h"
#include "scan/ui/scan_progress.h"
#include "settings/options_file.h"
#include "settings/ui/general_settings_window.h"
#include "textview/ui/text_view_window.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QScreen>
#include <QScrollBar>

namespace songwick {
namespace {

constexpr int kClientWidth = 733;
constexpr int kClientHeight = 493;
constexpr int kBottomBandHeight = 48;

QString listFileOpenFilter() {
    return QCoreApplication::translate("songwick::TForm4",
                                       "Файлы списка (Songwick)|*.swk|Все файлы|*.*");
}

QString listFileSaveFilter() {
    return QCoreApplication::translate("songwick::TForm4", "Файлы списка (Songwick)|*.swk|");
}

} // namespace

TForm4::TForm4(WindowRegistry& registry) : registry_(registry) {
    setObjectName(QStringLiteral("Form4"));
    setWindowTitle(QStringLiteral("Songwick"));
    createControls();
    createMenus();
    resize(kClientWidth, kClientHeight + menuBar()->sizeHint().height());
    centreOnScreen(this);
    restoreSavedGeometry();

    // A new main window holds a table that was never saved.
    CatalogueState& catalogue = registry_.catalogue();
    catalogue.mainTable.modified = true;
    catalogue.mainTable.hasSavedName = false;

    connect(StringGrid1, &CatalogueTableView::tableDoubleClicked, this,
            &TForm4::StringGrid1DblClick);
    connect(CheckBox1, &QCheckBox::toggled, this, &TForm4::CheckBox1Click);
    registry_.watchActivation(
        this, [this] { FormActivate(); }, [this] { FormDeactivate(); });
}

TForm4::~TForm4() = default;

void TForm4::createControls() {
    auto* client = new QWidget(this);
    setCentralWidget(client);

    // Lies under the table, where its text is not seen.
    Label1 = new QLabel(client);
    Label1->setGeometry(8, 8, 200, 16);

    tableModel = new CatalogueTableModel(registry_.grid(), this);
    StringGrid1 = new CatalogueTableView(client);
    StringGrid1->setModel(tableModel);
    StringGrid1->setContextMenuPolicy(Qt::NoContextMenu);
    tableModel->setEditedHandler([this] { registry_.catalogue().mainTable.modified = true; });
    // The table as the window creates it: two rows, two columns, editing on.
    tableModel->changeGrid([](CatalogueGrid& grid) { grid.resize(2, 2); });
    installTableHints(*StringGrid1, registry_);
    createFindBar(client);

    CheckBox1 = new QCheckBox(tr("Отметить все"), client);
    CheckBox1->setToolTip(tr("Отметить все файлы"));
    Label2 = new QLabel(client);
    Label3 = new QLabel(client);
    ProgressBar1 = new QProgressBar(client);
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setFixedSize(617, 17);
    ProgressBar1->hide();
}

void TForm4::createMenus() {
    N1 = menuBar()->addMenu(tr("&Файл"));
    N2 = N1->addAction(tr("&Новое сканирование..."));
    N3 = N1->addAction(tr("&Открыть файл списка..."));
    N21 = N1->addAction(tr("О&ткрыть список в текстовом формате..."));
    N1->addSeparator();
    N4 = N1->addAction(tr("&Сохранить список"));
    N5 = N1->addAction(tr("Сохранить список &как..."));
    N22 = N1->addAction(tr("Сохранить в текстовом &формате..."));
    Word2 = N1->addAction(tr("Со&хранить в Ms Word..."));
    N28 = N1->addAction(tr("&Печать из Ms Word (текст)"));
    N1->addSeparator();
    N6 = N1->addMenu(tr("&Экспорт в"));
    Excel1 = N6->addAction(tr("Ms &Excel"));
    N26 = N6->addAction(tr("Текстовый &файл"));
    Word1 = N6->addAction(QStringLiteral("Ms &Word"));
    N7 = N1->addAction(tr("&Импорт из файла MS Excel"));
    N8 = N1->addMenu(tr("&Переименовать файлы"));
    N9 = N8->addAction(tr("Из колонки &названия файла"));
    N10 = N8->addAction(tr("&Сложное переименование..."));
    N8->addSeparator();
    N30 = N8->addAction(tr("&Отменить последнее переименование"));
    N11 = N1->addAction(tr("Изменить заголовки..."));
    N11->setVisible(false);
    N1->addSeparator();
    N12 = N1->addAction(tr("&Выход"));

    N13 = menuBar()->addMenu(tr("&Настройки"));
    N14 = N13->addAction(tr("Параметры &сканирования"));
    N15 = N13->addAction(tr("&Общие настройки"));

    N16 = menuBar()->addMenu(tr("&Таблица"));
    N17 = N16->addAction(tr("&Добавить строку"));
    N20 = N16->addAction(tr("&Перевести в текстовый формат"));
    N34 = N16->addAction(tr("Пе&речитать отмеченные строки по структуре файла"));

    N18 = menuBar()->addMenu(tr("&Помощь"));
    N19 = N18->addMenu(tr("&О программе"));
    N23 = N19->addAction(tr("&Информация"));
    N24 = N19->addAction(tr("&Заставка"));
    N25 = N18->addAction(tr("Songwick &Помощь"));

    // Shown beside their entries; Ctrl+F is the find line's.
    N3->setShortcut(QKeySequence::Open);
    N4->setShortcut(QKeySequence::Save);
    N28->setShortcut(QKeySequence::Print);

    PopupMenu1 = new QMenu(this);
    N27 = PopupMenu1->addAction(tr("&Новое сканирование"));
    N29 = PopupMenu1->addAction(tr("&Помощь"));
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& position) { PopupMenu1->popup(mapToGlobal(position)); });

    connect(N2, &QAction::triggered, this, &TForm4::N2Click);
    connect(N27, &QAction::triggered, this, &TForm4::N2Click);
    connect(N3, &QAction::triggered, this, &TForm4::N3Click);
    connect(N4, &QAction::triggered, this, &TForm4::N4Click);
    connect(N5, &QAction::triggered, this, &TForm4::N5Click);
    connect(N12, &QAction::triggered, this, &TForm4::N12Click);
    connect(N14, &QAction::triggered, this, &TForm4::N14Click);
    connect(N34, &QAction::triggered, this, &TForm4::N34Click);
    connect(N9, &QAction::triggered, this, &TForm4::N9Click);
    connect(N10, &QAction::triggered, this, &TForm4::N10Click);
    connect(N30, &QAction::triggered, this, &TForm4::N30Click);
    connect(Excel1, &QAction::triggered, this, &TForm4::Excel3Click);
    connect(N7, &QAction::triggered, this, &TForm4::Excel2Click);
    connect(Word1, &QAction::triggered, this, &TForm4::Word1Click);
    connect(Word2, &QAction::triggered, this, &TForm4::Word2Click);
    connect(N28, &QAction::triggered, this, &TForm4::N28Click);
    connect(N20, &QAction::triggered, this,
            [this] { openTextView(songwick::TextViewMode::Render); });
    connect(N26, &QAction::triggered, this,
            [this] { openTextView(songwick::TextViewMode::Render); });
    connect(N21, &QAction::triggered, this,
            [this] { openTextView(songwick::TextViewMode::OpenFile); });
    connect(N22, &QAction::triggered, this,
            [this] { openTextView(songwick::TextViewMode::RenderAndSave); });
    const auto showing = [this](auto form) {
        return [this, form] {
            registry_.runReportingErrors(
                this, [this, form] { WindowRegistry::showWindow((registry_.*form)()); });
        };
    };
    connect(N15, &QAction::triggered, this, showing(&WindowRegistry::form10));
    connect(N23, &QAction::triggered, this, showing(&WindowRegistry::form5));
    connect(N24, &QAction::triggered, this, showing(&WindowRegistry::splash));
    connect(N25, &QAction::triggered, this, showing(&WindowRegistry::help));
    connect(N29, &QAction::triggered, this, showing(&WindowRegistry::help));
    connect(N17, &QAction::triggered, this, &TForm4::N17Click);
    createTableTools();
}

void TForm4::N9Click() {
    registry_.runReportingErrors(this, [this] { renameFromFileNameColumn(registry_, this); });
}

void TForm4::N10Click() {
    registry_.runReportingErrors(this, [this] { WindowRegistry::showWindow(registry_.form6()); });
}

void TForm4::N30Click() {
    registry_.runReportingErrors(this, [this] { undoLastRename(registry_, this); });
}

void TForm4::Excel3Click() {
    exportTableToSpreadsheet(registry_, *this);
}

void TForm4::Excel2Click() {
    importSpreadsheetInMainWindow(registry_, *this);
}

void TForm4::Word1Click() {
    exportTableToWordProcessor(registry_, *this);
}

void TForm4::Word2Click() {
    saveTableAsWordDocument(registry_, *this);
}

void TForm4::N28Click() {
    printTableAsWordDocument(registry_, *this);
}

void TForm4::openTextView(songwick::TextViewMode mode) {
    StringGrid1->commitPendingEdit();
    TextViewMode = mode;
    WindowRegistry::showWindow(registry_.form8());
}

void TForm4::layOutControls() {
    QWidget* client = centralWidget();
    const int width = client->width();
    const int height = client->height();
    const int tableHeight = std::max(height - kBottomBandHeight, findBarHeight());
    layOutFindBar(width);
    StringGrid1->setGeometry(0, findBarHeight(), width, tableHeight - findBarHeight());
    CheckBox1->adjustSize();
    CheckBox1->move(8, tableHeight + 4);
    ProgressBar1->move(std::max(8 + CheckBox1->width() + 8, width - 617 - 8), tableHeight + 6);
    Label2->setGeometry(8, tableHeight + 26, std::max(width / 2 - 16, 0), 18);
    Label3->adjustSize();
    Label3->move(statusLabelLeft(width, Label3->width()), tableHeight + 26);
}

void TForm4::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    layOutControls();
}

const CatalogueGrid& TForm4::table() const {
    return tableModel->grid();
}

void TForm4::changeTable(const std::function<void(CatalogueGrid&)>& change) {
    const QModelIndex current = StringGrid1->currentIndex();
    const int verticalScroll = StringGrid1->verticalScrollBar()->value();
    const int horizontalScroll = StringGrid1->horizontalScrollBar()->value();
    // The model's reset would give every column the default width.
    const int columnsBefore = tableModel->columnCount();
    const ColumnValues widths = currentColumnWidths();
    tableModel->changeGrid(change);
    if (tableModel->columnCount() == columnsBefore)
        applyColumnWidths(widths);
    if (current.isValid()) {
        const int row = std::min(current.row(), tableModel->rowCount() - 1);
        const int column = std::min(current.column(), tableModel->columnCount() - 1);
        if (row >= 0 && column >= 0)
            StringGrid1->selectionModel()->setCurrentIndex(tableModel->index(row, column),
                                                           QItemSelectionModel::NoUpdate);
    }
    StringGrid1->verticalScrollBar()->setValue(verticalScroll);
    StringGrid1->horizontalScrollBar()->setValue(horizontalScroll);
}

void TForm4::FormActivate() {
    CatalogueState& catalogue = registry_.catalogue();
    changeTable([&catalogue](CatalogueGrid& grid) { refillOnActivation(grid, catalogue); });
    applyColumnLayout();
    showStatus();
}

void TForm4::FormDeactivate() {
    StringGrid1->commitPendingEdit();
    copyBackToStores(registry_.grid(), registry_.catalogue());
}

void TForm4::applyColumnLayout() {
    TextWidthCache widths(StringGrid1->font());
    const TextWidthFunction estimatedWidth = [&widths](const QString& text) {
        return widths.width(text);
    };
    const TextWidthFunction exactWidth = [&widths](const QString& text) {
        return widths.exactWidth(text);
    };
    CatalogueState& catalogue = registry_.catalogue();
    const ProgramSettings& settings = registry_.settings();
    // A user width stored as 0 (or less) stands for the default width.
    ColumnValues userWidths = settings.ColumnWidths;
    for (std::size_t column = 0; column < userWidths.size(); ++column)
        if (userWidths[column] <= 0)
            userWidths[column] = ProgramSettings::kDefaultColumnWidths[column];
    const ColumnLayout layout =
        columnLayout(registry_.grid(), settings.ColumnWidthMode, currentColumnWidths(), userWidths,
                     catalogue.mainTable.columnMeasures, estimatedWidth, exactWidth);
    applyColumnWidths(layout.widths);
    catalogue.mainTable.columnMeasures = layout.measures;
}

void TForm4::applyColumnWidths(const ColumnValues& widths) {
    QHeaderView* header = StringGrid1->horizontalHeader();
    const int columns = std::min<int>(tableModel->columnCount(), kCatalogueColumnCount);
    for (int column = 0; column < columns; ++column)
        header->resizeSection(column, std::max(widths[column], kMinimumColumnWidth));
    if (columns > 0)
        header->resizeSection(0, std::max(header->sectionSize(0), numberColumnWidth()));
}

ColumnValues TForm4::currentColumnWidths() const {
    ColumnValues widths{};
    const QHeaderView* header = StringGrid1->horizontalHeader();
    const int columns = std::min<int>(tableModel->columnCount(), kCatalogueColumnCount);
    for (int column = 0; column < columns; ++column)
        widths[column] = header->sectionSize(column);
    return widths;
}

void TForm4::showStatus() {
    if (tableModel->isFiltered())
        placeStatusLine(
            shownRowsStatusText(tableModel->shownRowCount(), registry_.grid().dataRowCount()));
    else if (!commandStatus_.isEmpty())
        placeStatusLine(commandStatus_);
    else
        placeStatusLine(statusText(registry_.catalogue().mainTable, registry_.grid()));
}

void TForm4::showStatusText(const QString& text) {
    commandStatus_ = text;
    placeStatusLine(text);
}

void TForm4::forgetCommandStatus() {
    commandStatus_.clear();
    registry_.catalogue().mainTable.renameResult = false;
}

void TForm4::placeStatusLine(const QString& text) {
    Label3->setText(withMarkedCount(text, markedRowCount(registry_.grid())));
    Label3->adjustSize();
    Label3->move(statusLabelLeft(centralWidget()->width(), Label3->width()), Label3->y());
}

int TForm4::numberColumnWidth() const {
    const QString widest =
        QStringLiteral("V ") +
        QString(QString::number(std::max(tableModel->grid().dataRowCount(), 1)).size(),
                QLatin1Char('0'));
    // 2 pixels before the text as the cells draw it, and as many after it
    return StringGrid1->fontMetrics().horizontalAdvance(widest) + 4;
}

void TForm4::N2Click() {
    registry_.runReportingErrors(this, [this] { runNewScan(); });
}

void TForm4::runNewScan() {
    CatalogueState& catalogue = registry_.catalogue();
    ProgramSettings& settings = registry_.settings();
    MainTableState& table = catalogue.mainTable;
    TForm12* question = registry_.form12();

    StringGrid1->commitPendingEdit();
    copyBackToStores(registry_.grid(), catalogue);
    if (table.modified) {
        question->QuestionReason = TForm12::StartingNewScan;
        WindowRegistry::showWindow(question);
        return;
    }
    question->QuestionReason = TForm12::NoReason;
    table.modified = true;
    forgetCommandStatus();
    if (catalogue.tableSource == TableSource::StartWindowStore)
        catalogue.mainWindowStore.setCount(catalogue.startWindowStore.count());
    catalogue.tableSource = TableSource::MainWindowStore;

    ProgressBar1->setValue(0);
    WalkOptions options =
        scanWalkOptions(ScanWindow::Main, settings.ManyFilesScan, registry_.settingsPath());
    table.activated = false;
    QStringList messages;
    bool cutShort = false;
    const std::optional<QString> chosen =
        registry_.services().dialogs.chooseFolder(this, settings.LastFolder);
    if (chosen && ensureFolderExists(*chosen)) {
        table.activated = true;
        catalogue.mainWindowStore.setCount(0);
        ProgressBar1->show();
        settings.LastFolder = *chosen;
        table.hasSavedName = false;
        indexLyricsDuring(options);
        const WalkResult result =
            walkWithProgress(*chosen, catalogue.mainWindowStore, options, ProgressBar1);
        lyricsScanEnded();
        if (result.somethingUnreadable())
            Label1->setText(tr("Ошибка!!!!"));
        messages = messagesAfterWalk(result);
        cutShort = result.end != WalkEnd::Finished;
        // The results of a completed scan always fill the table.
        catalogue.loadedInStartWindow = false;
        catalogue.compositeRenameDone = false;
    }
    for (const QString& message : messages)
        registry_.services().messages.showMessage(this, message);
    ProgressBar1->setValue(ProgressBar1->maximum());
    ProgressBar1->hide();
    catalogue.tableSource = TableSource::MainWindowStore;
    FormActivate();
    if (table.activated)
        showNewScanFromTheStart();
    if (cutShort)
        showStatusText(cutShortScanStatusText(registry_.grid().dataRowCount()));
}

void TForm4::showNewScanFromTheStart() {
    // Nothing of the table before is marked any more, and the folder is the new one.
    if (CheckBox1->isChecked()) {
        const QSignalBlocker blocker(CheckBox1);
        CheckBox1->setChecked(false);
    }
    Label2->setText(registry_.settings().LastFolder);
    forgetSortOrder();
    StringGrid1->verticalScrollBar()->setValue(0);
    StringGrid1->horizontalScrollBar()->setValue(0);
    if (tableModel->rowCount() > 0 && tableModel->columnCount() > 1)
        StringGrid1->selectionModel()->setCurrentIndex(tableModel->index(0, 1),
                                                       QItemSelectionModel::ClearAndSelect);
}

// Unsaved changes are not lost to an open or an import: Да saves first (a cancelled save keeps
// the table), Нет goes on, Отмена keeps everything.
bool TForm4::mayReplaceTable() {
    StringGrid1->commitPendingEdit();
    if (!registry_.catalogue().mainTable.modified)
        return true;
    switch (
        registry_.services().messages.askYesNoCancel(this, tr("Сохранить изменения в таблице?"))) {
    case MessageBoxes::Answer::Yes:
        return saveList();
    case MessageBoxes::Answer::No:
        return true;
    case MessageBoxes::Answer::Cancel:
        break;
    }
    return false;
}

void TForm4::N3Click() {
    registry_.runReportingErrors(this, [this] {
        if (!mayReplaceTable())
            return;
        FileDialogRequest request;
        request.filter = listFileOpenFilter();
        const std::optional<QString> path =
            registry_.services().dialogs.openFileName(this, request, true);
        if (!path)
            return;
        StringGrid1->commitPendingEdit();
        ListFileRead read = ListFileRead::Loaded;
        changeTable([&](CatalogueGrid& grid) {
            read = openListFileInMainWindow(*path, grid, registry_.catalogue());
        });
        if (read == ListFileRead::NotAListFile) {
            registry_.services().messages.showMessage(this, notAListFileMessage());
            return;
        }
        forgetCommandStatus();
        forgetSortOrder();
        applyColumnWidths(kFixedColumnWidths);
        showStatus();
    });
}

bool TForm4::saveList() {
    StringGrid1->commitPendingEdit();
    if (saveListFile(registry_.grid(), registry_.catalogue().mainTable))
        return true;
    return saveListAs();
}

bool TForm4::saveListAs() {
    StringGrid1->commitPendingEdit();
    MainTableState& table = registry_.catalogue().mainTable;
    FileDialogRequest request;
    request.filter = listFileSaveFilter();
    request.defaultExtension = QStringLiteral("swk");
    if (table.hasSavedName)
        request.startFolder = QFileInfo(table.currentListFileName).absolutePath();
    const std::optional<QString> path = registry_.services().dialogs.saveFileName(this, request);
    if (!path)
        return false;
    saveListFileAs(*path, registry_.grid(), table);
    return true;
}

void TForm4::N4Click() {
    registry_.runReportingErrors(this, [this] { saveList(); });
}

void TForm4::N5Click() {
    registry_.runReportingErrors(this, [this] { saveListAs(); });
}

void TForm4::N12Click() {
    close();
}

void TForm4::N14Click() {
    WindowRegistry::showWindow(registry_.form3());
}

void TForm4::N17Click() {
    registry_.runReportingErrors(this, [this] {
        StringGrid1->commitPendingEdit();
        const QModelIndex current = StringGrid1->currentIndex();
        const int row = current.isValid() ? tableModel->gridRow(current) : 1;
        changeTable([&](CatalogueGrid& grid) { insertRow(grid, row, registry_.catalogue()); });
        registry_.catalogue().mainTable.modified = true;
        forgetCommandStatus();
        showStatus();
    });
}

void TForm4::N34Click() {
    registry_.runReportingErrors(this, [this] {
        StringGrid1->commitPendingEdit();
        const StructuredReadingOptions options =
            loadReadingOptions(*openOptionsFile(optionsFilePathBeside(registry_.settingsPath())))
                .structured;
        RereadResult result;
        changeTable(
            [&](CatalogueGrid& grid) { result = rereadMarkedRowsStructured(grid, options); });
        if (result.reread > 0)
            registry_.catalogue().mainTable.modified = true;
        if (const QString message = notRereadMessage(result); !message.isEmpty())
            registry_.services().messages.showMessage(this, message);
    });
}

void TForm4::StringGrid1DblClick() {
    if (CheckBox1->isChecked())
        CheckBox1->setChecked(false);
    const QModelIndex current = StringGrid1->currentIndex();
    if (!current.isValid())
        return;
    const int row = tableModel->gridRow(current);
    toggleMark(registry_.grid(), row);
    registry_.catalogue().mainTable.modified = true;
    tableModel->rowsChanged(row, row);
    showStatus();
}

void TForm4::CheckBox1Click(bool checked) {
    Label2->setText(registry_.settings().LastFolder);
    CatalogueGrid& grid = registry_.grid();
    if (checked)
        markAll(grid);
    else
        unmarkAll(grid);
    registry_.catalogue().mainTable.modified = true;
    tableModel->rowsChanged(1, grid.dataRowCount());
    showStatus();
}

void TForm4::restoreSavedGeometry() {
    const std::optional<MainWindowGeometry> saved =
        readMainWindowGeometry(optionsFilePathBeside(registry_.settingsPath()));
    if (!saved)
        return;
    // A screen that was there when it was saved may be gone: the title bar must stay in reach.
    const QPoint titleBar(saved->normal.center().x(), saved->normal.top());
    const QScreen* screen = QGuiApplication::screenAt(titleBar);
    if (screen == nullptr || !screen->availableGeometry().contains(titleBar))
        return;
    setGeometry(saved->normal);
    if (saved->maximized)
        setWindowState(windowState() | Qt::WindowMaximized);
}

MainWindowGeometry TForm4::geometryToKeep() const {
    return MainWindowGeometry{normalGeometry(), isMaximized()};
}

void TForm4::closeEvent(QCloseEvent* event) {
    // The program ends through endProgram, or not at all: the window itself never closes.
    event->ignore();
    registry_.runReportingErrors(this, [this] {
        StringGrid1->commitPendingEdit();
        copyBackToStores(registry_.grid(), registry_.catalogue());
        if (registry_.catalogue().mainTable.modified) {
            WindowRegistry::showWindow(registry_.form12());
            return;
        }
        registry_.saveSettingsAtShutdown();
        registry_.endProgram();
    });
}

} // namespace songwick
