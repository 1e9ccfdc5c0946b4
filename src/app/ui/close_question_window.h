#pragma once

#include <QWidget>

class QLabel;
class QPushButton;

namespace songwick {

class WindowRegistry;

// The question "Сохранить изменения в таблице?" asked before the program ends or a new scan
// replaces a table with unsaved changes. Not modal: its answer acts on the state at the click.
class TForm12 : public QWidget {
    Q_OBJECT

public:
    // Why the question is asked.
    enum Reason : int {
        NoReason = 0, // treated as closing the program
        ClosingProgram = 1,
        StartingNewScan = 3,
    };

    explicit TForm12(WindowRegistry& registry);

    int QuestionReason = NoReason;

    void FormActivate();

    QLabel* Label1;
    QPushButton* Button1; // "Да"
    QPushButton* Button2; // "Нет"
    QPushButton* Button3; // "Отмена"

    void Button1Click();
    void Button2Click();
    void Button3Click();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // Writes the settings and ends the program; on a failed write the program keeps running.
    void closeProgram();

    WindowRegistry& registry_;
};

} // namespace songwick
