#pragma once

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QWidget>

class QLabel;
class QListWidget;
class QPushButton;
class QTextEdit;
class QTimer;

namespace songwick {

class WindowRegistry;

// The full text of the list item at pos (in the list's viewport) when the item is too narrow
// to show it, else an empty text.
QString listItemHintText(const QListWidget& list, QPoint pos);

// Hints for list items too narrow for their text: when the mouse rests on such an item, a hint
// with the whole text appears over the item and stays while the mouse stays on it. Honours the
// program's switch for pop-up hints.
class ListItemHints : public QObject {
    Q_OBJECT

public:
    ListItemHints(WindowRegistry& registry, QObject* parent = nullptr);

    // Starts watching a list.
    void watch(QListWidget* list);
    // Shows the hint for the item at pos of the list's viewport; false when it has none.
    bool showHintAt(QListWidget* list, QPoint pos);

    static constexpr int kDelayMilliseconds = 300;
    static constexpr int kShownMilliseconds = 5000;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showPendingHint();

    WindowRegistry& registry_;
    QTimer* delay_;
    QPointer<QListWidget> pendingList_;
    QPoint pendingPos_;
};

// The help window "Помощь": a list of topics; a topic shows its answer or a second list of
// questions whose answers appear below.
class THelp : public QWidget {
    Q_OBJECT

public:
    explicit THelp(WindowRegistry& registry, QWidget* parent = nullptr);

    QLabel* Label1;        // heading
    QListWidget* ListBox1; // topics
    QLabel* Label2;        // "Уточните свой выбор:"
    QListWidget* ListBox2; // questions of the chosen topic
    QLabel* Label3;        // "Вопрос: ..."
    QLabel* Label4;        // "Ответ:" or "Уточнение вопроса..."
    QTextEdit* Memo1;      // the answer
    QPushButton* Button1;  // "OK"
    ListItemHints* hints;

    // Handlers.
    void ListBox1Click();
    void ListBox2Click();
    void Button1Click();

    // The prompt shown while a topic waits for its question.
    static QString questionPrompt();

private:
    void showAnswer(const QString& text, const QColor& colour);

    WindowRegistry& registry_;
};

} // namespace songwick
