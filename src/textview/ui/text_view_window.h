#pragma once

#include "textview/text_view_mode.h"

#include <QMainWindow>
#include <QStringList>

class QAction;
class QMenu;
class QTextEdit;
class QTimer;

namespace songwick {

class TForm9;
class WindowRegistry;

// The text view "Информация в текстовом виде": the catalogue table as lines of text in an
// editable box, which the user can edit, save, open from a file, print and copy. What it does
// each time it becomes the active window is the pending action that the main window keeps.
class TForm8 : public QMainWindow {
    Q_OBJECT

public:
    explicit TForm8(WindowRegistry& registry, QWidget* parent = nullptr);
    ~TForm8() override;

    // The text output settings window that "&Настройки" opens; the entry stays disabled
    // without one.
    void setTextOutputWindow(TForm9* window);

    // The main window's pending action for the view (None when there is no main window).
    TextViewMode pendingAction() const;
    void setPendingAction(TextViewMode mode);

    // The content, one element per paragraph, characters as they stand (non-breaking spaces
    // included); a line break inside a paragraph starts a new element.
    QStringList contentLines() const;
    // Replaces the content with these paragraphs, each with the first-line indent.
    void setContentLines(const QStringList& lines);
    // Adds paragraphs under the content.
    void appendLines(const QStringList& lines);
    bool contentIsEmpty() const;

    // The window became active: carries out the pending action. Throws Error when opening,
    // rendering or saving fails; the registry runs it through the general error report.
    void FormActivate();

    QTextEdit* RichEdit1;
    QTimer* Timer1; // one shot: hides an empty view after an open

    QMenu* FileMenu;     // "&Файл"
    QAction* N1;         // "&Открыть"
    QAction* N2;         // "&Сохранить"
    QAction* Word1;      // "Со&хранить в Word"
    QAction* Gtxfnm1;    // "&Печать"
    QAction* Word2;      // "Печать &из Word"
    void Word1Click();   // saves the view as a Word document
    void Word2Click();   // prints the view through the Word document
    QAction* N13;        // "&Вернуться назад к таблице"
    QMenu* EditMenu;     // "&Правка"
    QAction* N16;        // "&Назад"
    QAction* N18;        // "&Копировать"
    QAction* N19;        // "&Всавить"
    QAction* N20;        // "Вы&резать"
    QAction* N22;        // "Выделить вс&е"
    QMenu* SettingsMenu; // "&Настройки"
    QAction* N11;        // "Вывода информации в &текстовом виде"
    QMenu* PopupMenu1;
    QAction* N8; // "&Назад"
    QAction* N3; // "&Копировать"
    QAction* N4; // "&Вставить"
    QAction* N5; // "Вы&резать"
    QAction* N7; // "Выделить вс&е"

    // Handlers; those of menu entries report failures through the general error report.
    void N1Click();      // open a text file
    void N2Click();      // save as Rich Text Format
    void Gtxfnm1Click(); // print on the default printer
    void N13Click();     // back to the table
    void N11Click();     // the text output settings
    void Timer1Timer();
    void RichEdit1Change();
    void RichEdit1SelectionChange();

    // The filters and the extension of the view's file dialogs.
    static QString openFilter();
    static QString saveFilter();
    static QString saveExtension();

private:
    void createMenus();
    void applyFirstLineIndentToCurrentParagraph();
    void renderTable(bool forSaving);
    void openTextFile();
    void saveTextFile();
    void printContent();
    void hideAndReturnToTable();
    qreal firstLineIndent() const;

    WindowRegistry& registry_;
    TForm9* textOutputWindow_ = nullptr;
};

} // namespace songwick
