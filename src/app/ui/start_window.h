#pragma once

#include "common/date_time.h"

#include <QMainWindow>

class QAction;
class QLabel;
class QMenu;
class QProgressBar;
class QPushButton;
class QTimer;

namespace songwick {

class ClickableLabel;
class WindowRegistry;

// The start window: the first scan, opening a list file, and the hand-over to the main window.
class TForm1 : public QMainWindow {
    Q_OBJECT

public:
    explicit TForm1(WindowRegistry& registry);

    // Runs each time the window becomes active; the first time it also reads the settings.
    void FormActivate();

    // The start with a list file given from outside (the command line, a file manager): the
    // settings are read as the first activation reads them, and the list comes up in the main
    // window as "Открыть файл списка..." opens it, without this window. A file that is not a
    // list file, or that cannot be read, is reported and this window comes up.
    void startWithListFile(const QString& path);

    // The moment this run began, to the second (taken at the first activation).
    DateTimeValue RunStartTime = 0;

    QLabel* StaticText1;
    QPushButton* Button1; // "Начать"
    ClickableLabel* Label1;
    QLabel* Label2;
    QLabel* Label3; // error label under the progress bar
    QLabel* image2;
    QLabel* Image1;
    QProgressBar* ProgressBar1;
    QTimer* Timer1;

    QMenu* N1; // "&Файл"
    QAction* N2;
    QAction* N3;
    QAction* N4;
    QAction* N5;
    QAction* N6;
    QAction* N7;
    QAction* N8;
    QAction* N9;
    QAction* N10; // "&Импорт из Файла Excel"
    QMenu* N11;
    QAction* N12;
    QAction* N13;
    QAction* N14;
    QAction* N15; // "&Выход"
    QMenu* N16;   // "Настройки"
    QAction* N17;
    QAction* N18; // "Общие настройки"
    QMenu* N19;   // "Помощь"
    QMenu* N20;
    QAction* N21; // "Информация"
    QAction* N22; // "Заставка"
    QAction* N23; // "Помощь по программе"

    // Handlers.
    void Button1Click();
    void N3Click();
    void N15Click();
    void N17Click();
    void Excel1Click(); // "&Импорт из Файла Excel"
    void Label1Click();
    void Timer1Timer();

protected:
    void closeEvent(QCloseEvent* event) override;
    // The picture travels only while the window shows: a hidden window's ticks would ask the
    // clock, and with it the time zone, sixty times a second for nothing.
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void createControls();
    void createMenu();
    void runStartWindowScan();
    // Reads the list file into the main window's table; false, nothing changed, when the file
    // is not a list file. Throws Error when it cannot be read.
    bool loadListFile(const QString& path);
    void movePicture(qint64 steps);
    void startPicture();

    WindowRegistry& registry_;
    bool settingsLoaded_ = false;
    DateTimeValue lastPictureMove_ = 0; // by the program's clock
};

} // namespace songwick
