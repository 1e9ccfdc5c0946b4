#pragma once

#include "catalogue/catalogue_grid.h"
#include "catalogue/catalogue_state.h"
#include "settings/options_file.h"
#include "textview/text_view_mode.h"

#include <QMainWindow>
#include <functional>
#include <memory>
#include <optional>

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QProgressBar;

namespace songwick {

class CatalogueTableModel;
class CatalogueTableView;
class LyricsQuery;
class LyricsIndexer;
class LyricsSearch;
struct LyricsCoverage;
struct WalkOptions;
class WindowRegistry;

// The main window: the catalogue table with its marks, the status line, the new scan, list
// files and the way out of the program.
class TForm4 : public QMainWindow {
    Q_OBJECT

public:
    explicit TForm4(WindowRegistry& registry);
    ~TForm4() override;

    // What the text view does when it next becomes active (1 render the table, 2 open a text
    // file, 3 render and offer to save, 4 keep its content once).
    songwick::TextViewMode TextViewMode = songwick::TextViewMode::None;

    // Each time the window becomes active: refills the table from the table source's store
    // (unless the start window loaded it), applies the column widths, sets the status line.
    void FormActivate();
    // Another window of the program became active: the table goes back into the stores.
    void FormDeactivate();

    // Runs a change of the table's cells or shape and shows the result.
    void changeTable(const std::function<void(CatalogueGrid&)>& change);
    // The table's cells as shown.
    const CatalogueGrid& table() const;
    // Sets the widths of columns 0 to 6 (those the table has).
    void applyColumnWidths(const ColumnValues& widths);
    ColumnValues currentColumnWidths() const;
    // Sets the widths for the width setting and measures the widest text of each column.
    void applyColumnLayout();
    // The status line for the table as it stands, placed at the right edge: the last
    // command's own line (or the table's count), and how many rows are marked.
    void showStatus();
    // The line of a command run by another part of the program; it stays, through later
    // activations, until the next command that changes the table.
    void showStatusText(const QString& text);

    // Before something replaces the whole table: with unsaved changes asks whether to save
    // them. True when the table may be replaced ("Да" and a completed save, or "Нет"); false
    // for "Отмена" or a cancelled save dialog. Throws Error when the save fails.
    bool mayReplaceTable();

    // Saves the table under its list file name, or asks for one first. False when the user
    // cancelled the dialog; throws Error when the file cannot be written.
    bool saveList();

    // Before a scan from either window: with the structured reading and a stored lyrics index,
    // the files the scan reads are handed to a new indexer, which fills the lyrics index with
    // their words beside the scan and after it. An indexer still at work stops, keeping what it
    // indexed.
    void indexLyricsDuring(WalkOptions& options);
    // After that scan: the indexer gets no more files.
    void lyricsScanEnded();
    // Whether the words of the last scan's files are still being read into the lyrics index.
    bool readsLyricsIntoIndex() const;

    // The window's place and size as the next start restores them.
    MainWindowGeometry geometryToKeep() const;

    CatalogueTableView* StringGrid1;
    CatalogueTableModel* tableModel;
    QCheckBox* CheckBox1; // "Отметить все"
    QLabel* Label1;       // under the table
    QLabel* Label2;       // the folder of the last scan
    QLabel* Label3;       // status line
    QProgressBar* ProgressBar1;

    QMenu* N1;       // "&Файл"
    QAction* N2;     // "&Новое сканирование..."
    QAction* N3;     // "&Открыть файл списка..."
    QAction* N21;    // "О&ткрыть список в текстовом формате..."
    QAction* N4;     // "&Сохранить список"
    QAction* N5;     // "Сохранить список &как..."
    QAction* N22;    // "Сохранить в текстовом &формате..."
    QAction* Word2;  // "Со&хранить в Ms Word..."
    QAction* N28;    // "&Печать из Ms Word (текст)"
    QMenu* N6;       // "&Экспорт в"
    QAction* Excel1; // "Ms &Excel"
    QAction* N26;    // "Текстовый &файл"
    QAction* Word1;  // "Ms &Word"
    QAction* N7;     // "&Импорт из файла MS Excel"
    QMenu* N8;       // "&Переименовать файлы"
    QAction* N9;     // "Из колонки &названия файла"
    QAction* N10;    // "&Сложное переименование..."
    QAction* N30;    // "Отменить последнее переименование"
    QAction* N11;    // "Изменить заголовки..." (never visible)
    QAction* N12;    // "&Выход"
    QMenu* N13;      // "&Настройки"
    QAction* N14;    // "Параметры &сканирования"
    QAction* N15;    // "&Общие настройки"
    QMenu* N16;      // "&Таблица"
    QAction* N17;    // "&Добавить строку"
    QAction* N20;    // "&Перевести в текстовый формат"
    QAction* N34; // "Перечитать отмеченные строки по структуре файла"
    QMenu* N18;   // "&Помощь"
    QMenu* N19;   // "&О программе"
    QAction* N23; // "&Информация"
    QAction* N24; // "&Заставка"
    QAction* N25; // "Songwick &Помощь"
    QMenu* PopupMenu1;
    QAction* N27; // "&Новое сканирование"
    QAction* N29; // "&Помощь"

    // Finding, sorting, repeats and the songbook.
    QLabel* FindLabel;       // "Найти:"
    QLineEdit* FindEdit;     // the find line, focused by Ctrl+F, cleared by Esc
    QCheckBox* FindMarked;   // "только отмеченные"
    QCheckBox* FindUntitled; // "без названия"
    QCheckBox* FindRepeats;  // "повторы"
    QComboBox* FindScope; // "по названию" (the cells) / "по словам песни" (the sung words)
    QLabel* FindSungLine;    // under the find line: the current row's line that sings the words
    QAction* SortAction;     // "Сортировать по столбцу"
    QAction* RepeatsAction;  // "Найти повторы"
    QAction* DeleteMarked;   // "Удалить отмеченные строки"
    QAction* SongbookAction; // "Песенник в PDF..."
    void findChanged();
    // Sorts by the column: ascending, or descending when the last sort was this column
    // ascending.
    void sortByColumn(int column);
    void SortActionClick();
    void RepeatsActionClick();
    void DeleteMarkedClick();
    void SongbookActionClick();

    // Handlers.
    void N2Click();  // new scan
    void N3Click();  // open a list file
    void N4Click();  // save
    void N5Click();  // save as
    void N12Click(); // leave the program
    void N14Click();
    void N17Click();    // insert a row
    void N34Click();    // read the marked rows again by the file's structure
    void N9Click();     // rename from the file-name column
    void N10Click();    // the composite rename window
    void N30Click();    // undo the last rename run
    void Excel3Click(); // "Ms &Excel"
    void Excel2Click(); // "&Импорт из файла MS Excel"
    void Word1Click();  // "Ms &Word"
    void Word2Click();  // "Со&хранить в Ms Word..."
    void N28Click();    // "&Печать из Ms Word (текст)"
    // Shows the text view with its pending action.
    void openTextView(songwick::TextViewMode mode);
    void StringGrid1DblClick();
    void CheckBox1Click(bool checked);

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void createControls();
    void createMenus();
    // Puts the window where it was when the program last ended, if that is on a screen.
    void restoreSavedGeometry();
    void layOutControls();
    void runNewScan();
    // After a new scan: the "Отметить все" box clear, the folder label on the new folder, the
    // view at the table's start.
    void showNewScanFromTheStart();
    bool saveListAs();
    void createFindBar(QWidget* client);
    void createTableTools();
    void layOutFindBar(int width);
    // The find bar's height: one line more while it finds by the sung words.
    int findBarHeight() const;
    bool findsBySungWords() const;
    // Reads the words of the files the lyrics index lacks, with the progress bar; the index's
    // problem is shown once.
    void fillLyricsIndex();
    // The current row's matching line, or why rows have no words.
    void showSungLine();
    // Shared with the row filter, which asks the search again when the table changes.
    std::shared_ptr<LyricsSearch> lyricsSearch_;
    std::shared_ptr<LyricsCoverage> lyricsCoverage_;
    std::shared_ptr<LyricsQuery> lyricsQuery_;
    std::unique_ptr<LyricsIndexer> lyricsIndexer_;
    bool lyricsProblemShown_ = false;
    // The user stopped the reading of the words: it starts again only when the find is
    // switched to the sung words anew or a scan hands over new files.
    bool lyricsReadingStopped_ = false;
    // Waits for the indexer of the last scan, with the progress bar and "Прервать"; false when
    // the user stopped it.
    bool waitForLyricsIndexer();
    // Runs a reordering of whole rows and marks the table modified.
    void rearrangeTable(const std::function<void(CatalogueGrid&)>& change);
    int lastSortColumn_ = -1;
    bool lastSortDescending_ = false;
    // The header's arrow on the column of the last sort (none: no arrow).
    void showSortArrow();
    // A table in a new order of its own has no sort to show.
    void forgetSortOrder();
    // The status line of the last command that gave one; empty: the table's count.
    QString commandStatus_;
    // A command that changes the table leaves the count, not an earlier command's line.
    void forgetCommandStatus();
    void placeStatusLine(const QString& text);
    // Wide enough for the largest row number with its mark ("V 45000").
    int numberColumnWidth() const;

    WindowRegistry& registry_;
};

} // namespace songwick
