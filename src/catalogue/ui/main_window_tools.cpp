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
#include "catalogue/ui/repeats_search.h"
#include "catalogue/ui/songbook_options_window.h"
#include "common/date_time.h"
#include "scan/folder_walk.h"
#include "scan/lyrics_indexer.h"
#include "scan/lyrics_search.h"
#include "scan/reading_options.h"
#include "scan/ui/scan_progress.h"
#include "settings/options_file.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QHeaderView>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QShortcut>

namespace songwick {
namespace {

QString songbookFilter() {
    return QCoreApplication::translate("songwick::TForm4", "Документ PDF|*.pdf");
}

constexpr int kFindLineHeight = 28;
constexpr int kSungLineHeight = 20;
// The choices of FindScope.
constexpr int kFindByTitle = 0;
constexpr int kFindBySungWords = 1;

// The line with the words found in bold.
QString sungLineHtml(const MatchedLine& line) {
    QString html = QStringLiteral("&#9835; ");
    qsizetype at = 0;
    for (const auto& [start, length] : line.found) {
        html += line.text.mid(at, start - at).toHtmlEscaped() + QStringLiteral("<b>") +
                line.text.mid(start, length).toHtmlEscaped() + QStringLiteral("</b>");
        at = start + length;
    }
    return html + line.text.mid(at).toHtmlEscaped();
}

} // namespace

void TForm4::createFindBar(QWidget* client) {
    FindLabel = new QLabel(tr("Найти:"), client);
    FindEdit = new QLineEdit(client);
    FindEdit->setObjectName(QStringLiteral("FindEdit"));
    FindEdit->setPlaceholderText(tr("исполнитель, название, имя файла…"));
    FindEdit->setClearButtonEnabled(true);
    FindMarked = new QCheckBox(tr("только отмеченные"), client);
    FindUntitled = new QCheckBox(tr("без названия"), client);
    FindRepeats = new QCheckBox(tr("повторы"), client);
    FindScope = new QComboBox(client);
    FindScope->setObjectName(QStringLiteral("FindScope"));
    FindScope->addItems({tr("по названию"), tr("по словам песни")});
    FindScope->setToolTip(tr("Искать в описаниях файлов или в словах, которые поются в песнях"));
    FindSungLine = new QLabel(client);
    FindSungLine->setObjectName(QStringLiteral("FindSungLine"));
    FindSungLine->setTextFormat(Qt::RichText);
    FindSungLine->hide();
    connect(FindScope, &QComboBox::currentIndexChanged, this, [this] {
        // Each new search by the words looks at the rows' files afresh.
        if (lyricsSearch_)
            lyricsSearch_->forgetFiles();
        lyricsReadingStopped_ = false;
        FindEdit->setPlaceholderText(findsBySungWords() ? tr("слова из песни; фраза — в кавычках")
                                                        : tr("исполнитель, название, имя файла…"));
        FindSungLine->setVisible(findsBySungWords());
        layOutControls();
        findChanged();
    });
    connect(StringGrid1->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &TForm4::showSungLine);
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
    FindLabel->move(8, (kFindLineHeight - FindLabel->height()) / 2);
    int right = width - 8;
    for (QWidget* control :
         std::initializer_list<QWidget*>{FindRepeats, FindUntitled, FindMarked, FindScope}) {
        control->adjustSize();
        right -= control->width();
        control->move(right, (kFindLineHeight - control->height()) / 2);
        right -= 8;
    }
    const int left = 8 + FindLabel->width() + 6;
    FindEdit->setGeometry(left, 3, std::max(right - left, 60), 22);
    FindSungLine->setGeometry(left, kFindLineHeight - 2, std::max(width - 8 - left, 60),
                              kSungLineHeight);
}

int TForm4::findBarHeight() const {
    return findsBySungWords() ? kFindLineHeight + kSungLineHeight : kFindLineHeight;
}

bool TForm4::findsBySungWords() const {
    return FindScope->currentIndex() == kFindBySungWords;
}

void TForm4::indexLyricsDuring(WalkOptions& options) {
    lyricsIndexer_.reset();
    if (options.reading.reading != KarReading::Structured ||
        !rememberReadFiles(optionsFilePathBeside(registry_.settingsPath())))
        return;
    // The search's view of the index is read anew once the indexer is done.
    lyricsSearch_.reset();
    lyricsCoverage_.reset();
    lyricsReadingStopped_ = false;
    lyricsIndexer_ =
        std::make_unique<LyricsIndexer>(defaultLyricsIndexPath(), options.reading.structured);
    options.structuredRecordMade = [indexer = lyricsIndexer_.get()](const QByteArray& path,
                                                                    const QString& codePage) {
        indexer->add(path, codePage);
    };
}

void TForm4::lyricsScanEnded() {
    if (lyricsIndexer_)
        lyricsIndexer_->finishAdding();
}

bool TForm4::readsLyricsIntoIndex() const {
    return lyricsIndexer_ && !lyricsIndexer_->progress().finished;
}

namespace {

// The progress bar shows done of total, painted at once.
void showLyricsProgress(QProgressBar* bar, int done, int total) {
    if (!bar->isVisible() || bar->maximum() != total) {
        bar->setRange(0, total);
        bar->show();
    }
    bar->setValue(done);
    bar->repaint();
}

} // namespace

bool TForm4::waitForLyricsIndexer() {
    if (!lyricsIndexer_)
        return true;
    bool finished = lyricsIndexer_->progress().finished;
    if (!finished)
        runInterruptibly(ProgressBar1, [this, &finished](const std::function<bool()>& stop) {
            finished = lyricsIndexer_->waitUntilFinished(
                [this](int done, int total) { showLyricsProgress(ProgressBar1, done, total); },
                stop);
        });
    lyricsIndexer_.reset();
    return finished;
}

void TForm4::fillLyricsIndex() {
    const bool barWasVisible = ProgressBar1->isVisible();
    const struct RestoreBar {
        QProgressBar* bar;
        bool visible;
        ~RestoreBar() { bar->setVisible(visible); }
    } restoreBar{ProgressBar1, barWasVisible};
    if (!waitForLyricsIndexer())
        lyricsReadingStopped_ = true;
    const QString optionsPath = optionsFilePathBeside(registry_.settingsPath());
    if (!lyricsSearch_)
        lyricsSearch_ = std::make_shared<LyricsSearch>(
            rememberReadFiles(optionsPath) ? defaultLyricsIndexPath() : QString(),
            loadReadingOptions(*openOptionsFile(optionsPath)).structured);
    const auto fill = [this](const std::function<bool()>& stop) {
        lyricsCoverage_ = std::make_shared<LyricsCoverage>(lyricsSearch_->fill(
            registry_.grid(),
            [this](int done, int total) { showLyricsProgress(ProgressBar1, done, total); }, stop));
        if (lyricsCoverage_->interrupted)
            lyricsReadingStopped_ = true;
    };
    if (lyricsReadingStopped_) {
        // Only what is known already: no file is read until the user asks anew.
        fill([] { return true; });
    } else if (lyricsSearch_->mayRead(registry_.grid())) {
        ProgressBar1->setValue(ProgressBar1->minimum());
        ProgressBar1->show();
        runInterruptibly(ProgressBar1, fill);
    } else {
        fill({});
    }
    if (!lyricsSearch_->problem().isEmpty() && !lyricsProblemShown_) {
        lyricsProblemShown_ = true;
        registry_.services().messages.showMessage(
            this, tr("Указатель слов песен не удалось использовать как есть, поэтому он построен "
                     "заново или до конца работы хранится только в памяти:\n%1")
                      .arg(lyricsSearch_->problem()));
    }
}

void TForm4::showSungLine() {
    if (!findsBySungWords())
        return;
    const QModelIndex current = StringGrid1->currentIndex();
    QString html;
    if (lyricsSearch_ && lyricsQuery_ && current.isValid()) {
        if (const std::optional<MatchedLine> line = lyricsSearch_->matchingLine(
                registry_.grid(), tableModel->gridRow(current), *lyricsQuery_))
            html = sungLineHtml(*line);
    }
    const QString unknown = lyricsCoverage_ ? unknownRowsMessage(*lyricsCoverage_) : QString();
    if (html.isEmpty() && !unknown.isEmpty())
        html = tr("Слова песен пока не известны для строк: %1 (файлы не найдены или не "
                  "читаются); подробности — в подсказке.")
                   .arg(lyricsCoverage_->unknown.size())
                   .toHtmlEscaped();
    if (html.isEmpty() && !lyricsQuery_)
        html = tr("Наберите слова из песни в любом порядке; точную фразу — в кавычках.")
                   .toHtmlEscaped();
    FindSungLine->setText(html);
    FindSungLine->setToolTip(unknown);
}

void TForm4::createTableTools() {
    SortAction = new QAction(tr("&Сортировать по столбцу"), this);
    RepeatsAction = new QAction(tr("&Найти повторы"), this);
    DeleteMarked = new QAction(tr("&Удалить отмеченные строки"), this);
    N16->addSeparator();
    N16->addAction(SortAction);
    N16->addAction(RepeatsAction);
    N16->addAction(DeleteMarked);
    SongbookAction = new QAction(tr("Песенник в P&DF..."), this);
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
    filters.markedOnly = FindMarked->isChecked();
    filters.untitledOnly = FindUntitled->isChecked();
    filters.duplicatesOnly = FindRepeats->isChecked();
    lyricsQuery_.reset();
    if (!findsBySungWords()) {
        filters.text = FindEdit->text();
    } else if (auto query = std::make_shared<LyricsQuery>(FindEdit->text(), true);
               !query->isEmpty()) {
        registry_.runReportingErrors(this, [this] { fillLyricsIndex(); });
        lyricsQuery_ = query;
        if (lyricsSearch_)
            filters.chosenRows = [search = lyricsSearch_, query](const CatalogueGrid& grid) {
                return search->rankedRows(grid, *query);
            };
    }
    tableModel->setFilters(std::move(filters));
    if (lyricsQuery_ && tableModel->rowCount() > 0)
        StringGrid1->setCurrentIndex(tableModel->index(0, 1));
    showStatus();
    showSungLine();
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
        const std::optional<std::vector<std::vector<int>>> groups =
            findRepeatsWithProgress(registry_.grid(), ProgressBar1);
        if (!groups) {
            showStatusText(tr("Поиск повторов прерван"));
            return;
        }
        DuplicatesFound found;
        if (!groups->empty()) {
            rearrangeTable(
                [&](CatalogueGrid& table) { found = arrangeDuplicateGroups(table, *groups); });
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
            this, tr("Удалить из таблицы отмеченные строки (%1)?").arg(marked));
        if (answer != MessageBoxes::Answer::Yes)
            return;
        if (CheckBox1->isChecked()) {
            const QSignalBlocker blocker(CheckBox1);
            CheckBox1->setChecked(false);
        }
        int removed = 0;
        rearrangeTable([&removed](CatalogueGrid& grid) { removed = removeMarkedRows(grid); });
        showStatusText(tr("Удалено из таблицы строк: %1").arg(removed));
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
        request.filter = songbookFilter();
        request.defaultExtension = QStringLiteral("pdf");
        request.startFolder = proposedDocumentPath(tr("песенник.pdf"));
        request.caption = tableModel->isFiltered()
                              ? tr("Песенник в PDF: показанные строки (%1 из %2)")
                                    .arg(rows.size())
                                    .arg(grid.dataRowCount())
                              : tr("Песенник в PDF: вся таблица (%1 строк)").arg(rows.size());
        const std::unique_ptr<QSettings> optionsFile =
            openOptionsFile(optionsFilePathBeside(registry_.settingsPath()));
        SongbookOptionsWindow optionsWindow(songbookOptionsFrom(*optionsFile), this);
        if (optionsWindow.exec() != QDialog::Accepted)
            return;
        SongbookOptions options = optionsWindow.chosen();
        storeSongbookOptions(*optionsFile, options);
        syncOptionsFile(*optionsFile);
        const std::optional<QString> path =
            registry_.services().dialogs.saveFileName(this, request);
        if (!path)
            return;
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
