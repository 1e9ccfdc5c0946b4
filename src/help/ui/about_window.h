#pragma once

#include <QWidget>

class QLabel;
class QPushButton;
class QTextBrowser;
class QTimer;

namespace songwick {

class WindowRegistry;

// The about window "О программе": the program's name, version and description, the time the
// program last ended, and a small picture that travels back and forth while it is open.
class TForm5 : public QWidget {
    Q_OBJECT

public:
    explicit TForm5(WindowRegistry& registry, QWidget* parent = nullptr);

    // The window became active: the picture starts again from the centre, moving right, and
    // the shutdown line shows the stored time.
    void FormActivate();
    // One step of the picture.
    void Timer1Timer();
    void Button1Click();

    QLabel* Label1;          // "Songwick"
    QTextBrowser* RichEdit1; // description
    QLabel* Label2;          // "Россия, Москва"
    QLabel* Label3;          // "Версия 1.3"
    QLabel* Label4;          // "Version 1.3"
    QLabel* Label5;          // "Russia, Moscow"
    QLabel* Image1;          // the travelling picture
    QLabel* Label6;          // the office line
    QLabel* Label7; // "Время последнего выключения программы: ..."
    QLabel* Label8;       // "Время работы программы: ..." (never shown)
    QPushButton* Button1; // "OK"
    QTimer* Timer1;

    bool pictureMovesLeft() const { return movingLeft_; }

    static QString shutdownLine(double lastShutdownTime);
    static QString runTimeLine(double totalRunTime);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // Puts a control's left edge at the middle of the window less half its width.
    void centreHorizontally(QWidget* control) const;

    WindowRegistry& registry_;
    bool movingLeft_ = false;
};

} // namespace songwick
