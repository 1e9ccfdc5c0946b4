#include "app/ui/start_window.h"

#include "app/ui/clickable_label.h"
#include "app/ui/date_time_text.h"
#include "app/ui/hint_switch.h"
#include "app/ui/window_pictures.h"
#include "app/ui/window_placement.h"
#include "app/ui/window_registry.h"
#include "catalogue/catalogue_table.h"
#include "catalogue/list_file.h"
#include "catalogue/ui/main_window.h"
#include "help/jpeg_picture.h"
#include "help/ui/about_window.h"
#include "help/ui/help_window.h"
#include "help/ui/splash_window.h"
#include "office/ui/office_actions.h"
#include "scan/reread_rows.h"
#include "scan/ui/scan_options_window.h"
#include "scan/ui/scan_progress.h"
#include "settings/options_file.h"
#include "settings/settings_file.h"
#include "settings/ui/general_settings_window.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <cmath>

namespace songwick {
namespace {

constexpr int kClientWidth = 356;
constexpr int kClientHeight = 232;
// The picture moves one pixel per millisecond of the program's clock; the timer ticks only as
// often as a display can show a change and moves it by the milliseconds that passed, at least
// one pixel and at most one second's worth (the clock may be set back or jump ahead).
constexpr int kPictureTickMilliseconds = 16;
constexpr qint64 kMostPictureStepsPerTick = 1000;
constexpr double kMillisecondsPerDay = 86400000.0;

QString listFileFilter() {
    return QCoreApplication::translate("songwick::TForm1",
                                       "Файлы списка (Songwick)|*.swk|Все файлы|*.*");
}

// Shows the hourglass pointer on a control until the end of the scope.
class WaitCursorOn {
public:
    explicit WaitCursorOn(QWidget* control) : control_(control) {
        control_->setCursor(Qt::WaitCursor);
    }
    ~WaitCursorOn() { control_->unsetCursor(); }
    WaitCursorOn(const WaitCursorOn&) = delete;
    WaitCursorOn& operator=(const WaitCursorOn&) = delete;

private:
    QWidget* control_;
};

} // namespace

TForm1::TForm1(WindowRegistry& registry) : registry_(registry) {
    setWindowTitle(QStringLiteral("Songwick"));
    setObjectName(QStringLiteral("Form1"));
    setWindowFlags(Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    createControls();
    createMenu();
    setFixedSize(kClientWidth, kClientHeight + menuBar()->sizeHint().height());
    centreOnScreen(this);
    RunStartTime = truncateToWholeSeconds(registry_.services().clock.now());

    connect(Button1, &QPushButton::clicked, this, &TForm1::Button1Click);
    connect(Label1, &ClickableLabel::clicked, this, &TForm1::Label1Click);
    connect(Timer1, &QTimer::timeout, this, &TForm1::Timer1Timer);
    registry_.watchActivation(this, [this] { FormActivate(); });
}

void TForm1::startPicture() {
    lastPictureMove_ = registry_.services().clock.now();
    Timer1->start();
}

void TForm1::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!Timer1->isActive() && Image1->isVisibleTo(this))
        startPicture();
}

void TForm1::hideEvent(QHideEvent* event) {
    Timer1->stop();
    QMainWindow::hideEvent(event);
}

void TForm1::createControls() {
    auto* client = new QWidget(this);
    client->setFixedSize(kClientWidth, kClientHeight);
    setCentralWidget(client);

    image2 = new QLabel(client);
    image2->setPixmap(QPixmap::fromImage(startWindowPicture()));
    image2->setGeometry(8, 8, 340, 56);

    StaticText1 =
        new QLabel(tr("Нажмите \"Начать\" и выберите папку с караоке-файлами. Программа "
                      "просмотрит её и все вложенные папки и покажет каждый найденный файл "
                      "одной строкой таблицы."),
                   client);
    StaticText1->setWordWrap(true);
    StaticText1->setAlignment(Qt::AlignCenter);
    StaticText1->setGeometry(8, 70, 340, 72);

    Button1 = new QPushButton(tr("Начать"), client);
    Button1->setToolTip(tr("Начнем?"));
    Button1->setGeometry(140, 146, 75, 25);

    ProgressBar1 = new QProgressBar(client);
    ProgressBar1->setRange(0, 200);
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setGeometry(9, 176, 337, 9);
    ProgressBar1->hide();

    Label3 = new QLabel(client);
    Label3->setStyleSheet(QStringLiteral("color: red;"));
    Label3->setGeometry(9, 187, 337, 14);

    Label1 = new ClickableLabel(tr("Из России -- с любовью!"), client);
    Label1->setToolTip(QStringLiteral(";-)"));
    Label1->adjustSize();
    Label1->move(8, 198);

    Label2 = new QLabel(QStringLiteral("From Russia -- with love!"), client);
    Label2->setToolTip(QStringLiteral(":-)"));
    Label2->adjustSize();
    Label2->move(kClientWidth - Label2->width() - 8, 198);

    Image1 = new QLabel(client);
    Image1->setPixmap(travellingNotePicture());
    Image1->setGeometry(4, 214, 17, 16);

    Timer1 = new QTimer(this);
    Timer1->setInterval(kPictureTickMilliseconds);
}

void TForm1::createMenu() {
    N1 = menuBar()->addMenu(tr("&Файл"));
    N2 = N1->addAction(tr("&Начать сканирование..."));
    N3 = N1->addAction(tr("&Открыть файл списка..."));
    N3->setShortcut(QKeySequence::Open); // as in the main window
    N4 = N1->addAction(tr("О&ткрыть список в текстовом формате..."));
    N5 = N1->addAction(tr("&Сохранить"));
    N6 = N1->addAction(tr("Сохранить список &как..."));
    N7 = N1->addAction(tr("Сохранить в &текстовом формате..."));
    N8 = N1->addAction(tr("Со&хранить в Ms Word"));
    N9 = N1->addAction(tr("&Экспорт"));
    N10 = N1->addAction(tr("&Импорт из Файла Excel"));
    N11 = N1->addMenu(tr("Переименовать файлы"));
    N12 = N11->addAction(tr("Из колонки названия файла"));
    N13 = N11->addAction(tr("Сложное переименование..."));
    N14 = N1->addAction(tr("Изменить заголовки..."));
    N1->addSeparator();
    N15 = N1->addAction(tr("&Выход"));
    for (QAction* unavailable : {N4, N5, N6, N7, N8, N9, N12, N13, N14})
        unavailable->setEnabled(false);
    N11->setEnabled(false);
    N14->setVisible(false);

    N16 = menuBar()->addMenu(tr("Настройки"));
    N17 = N16->addAction(tr("Параметры сканирования"));
    N18 = N16->addAction(tr("Общие настройки"));

    N19 = menuBar()->addMenu(tr("Помощь"));
    N20 = N19->addMenu(tr("О программе"));
    N21 = N20->addAction(tr("Информация"));
    N22 = N20->addAction(tr("Заставка"));
    N23 = N19->addAction(tr("Помощь по программе"));

    connect(N2, &QAction::triggered, this, &TForm1::Button1Click);
    connect(N3, &QAction::triggered, this, &TForm1::N3Click);
    connect(N15, &QAction::triggered, this, &TForm1::N15Click);
    connect(N17, &QAction::triggered, this, &TForm1::N17Click);
    connect(N10, &QAction::triggered, this, &TForm1::Excel1Click);
    const auto showing = [this](auto form) {
        return [this, form] {
            registry_.runReportingErrors(
                this, [this, form] { WindowRegistry::showWindow((registry_.*form)()); });
        };
    };
    connect(N18, &QAction::triggered, this, showing(&WindowRegistry::form10));
    connect(N21, &QAction::triggered, this, showing(&WindowRegistry::form5));
    connect(N22, &QAction::triggered, this, showing(&WindowRegistry::splash));
    connect(N23, &QAction::triggered, this, showing(&WindowRegistry::help));
}

void TForm1::Excel1Click() {
    importSpreadsheetInStartWindow(registry_, *this);
}

void TForm1::FormActivate() {
    registry_.catalogue().loadedInStartWindow = false;
    image2->move(width() / 2 - image2->width() / 2, image2->y());
    Button1->move(width() / 2 - Button1->width() / 2, Button1->y());
    if (settingsLoaded_)
        return;
    RunStartTime = truncateToWholeSeconds(registry_.services().clock.now());
    // Later activations never read the file again, whatever this one does.
    settingsLoaded_ = true;
    registry_.runReportingErrors(
        this, [this] { LoadSettings(registry_.settings(), registry_.settingsPath()); });
    registry_.hints().setHintsShown(registry_.settings().ShowHints);
    emit registry_.settingsLoaded();
}

void TForm1::Button1Click() {
    registry_.runReportingErrors(this, [this] { runStartWindowScan(); });
}

void TForm1::runStartWindowScan() {
    CatalogueState& catalogue = registry_.catalogue();
    ProgramSettings& settings = registry_.settings();
    catalogue.tableSource = TableSource::StartWindowStore;
    catalogue.startWindowStore.setCount(0);

    const WaitCursorOn waitCursor(Button1);
    ProgressBar1->setValue(0);
    WalkOptions options =
        scanWalkOptions(ScanWindow::Start, settings.ManyFilesScan, registry_.settingsPath());
    Timer1->stop();
    Image1->hide();
    const auto restorePicture = [this] {
        ProgressBar1->setValue(ProgressBar1->maximum());
        ProgressBar1->hide();
        Image1->show();
        if (isVisible())
            startPicture();
    };

    QStringList messages;
    const std::optional<QString> chosen =
        registry_.services().dialogs.chooseFolder(this, settings.LastFolder);
    if (chosen && ensureFolderExists(*chosen)) {
        settings.LastFolder = *chosen;
        ProgressBar1->show();
        registry_.form4()->indexLyricsDuring(options);
        const WalkResult result =
            walkWithProgress(*chosen, catalogue.startWindowStore, options, ProgressBar1);
        registry_.form4()->lyricsScanEnded();
        if (result.somethingUnreadable())
            Label3->setText(tr("Ошибка!!!!"));
        messages = messagesAfterWalk(result);
        restorePicture();
        registry_.handOverToMainWindow();
    } else {
        restorePicture();
    }
    QWidget* owner = registry_.form4()->isVisible() ? static_cast<QWidget*>(registry_.form4())
                                                    : static_cast<QWidget*>(this);
    for (const QString& message : messages)
        registry_.services().messages.showMessage(owner, message);
}

void TForm1::N3Click() {
    registry_.runReportingErrors(this, [this] {
        FileDialogRequest request;
        request.filter = listFileFilter();
        const std::optional<QString> path =
            registry_.services().dialogs.openFileName(this, request, false);
        if (!path)
            return;
        if (!loadListFile(*path)) {
            // Nothing was loaded: the user stays here and may pick another file.
            registry_.services().messages.showMessage(this, notAListFileMessage());
            return;
        }
        registry_.handOverToMainWindow();
    });
}

bool TForm1::loadListFile(const QString& path) {
    TForm4* mainWindow = registry_.form4();
    ListFileRead read = ListFileRead::Loaded;
    mainWindow->changeTable([&](CatalogueGrid& grid) {
        read = openListFileInStartWindow(path, grid, registry_.catalogue());
    });
    if (read == ListFileRead::NotAListFile)
        return false;
    mainWindow->applyColumnWidths(kFixedColumnWidths);
    return true;
}

void TForm1::startWithListFile(const QString& path) {
    FormActivate();
    bool loaded = false;
    registry_.runReportingErrors(this, [&] {
        loaded = loadListFile(path);
        if (!loaded)
            registry_.services().messages.showMessage(this, notAListFileMessage());
    });
    if (loaded)
        registry_.handOverToMainWindow();
    else
        WindowRegistry::showWindow(this);
}

void TForm1::N15Click() {
    registry_.endProgram();
}

void TForm1::N17Click() {
    WindowRegistry::showWindow(registry_.form3());
}

void TForm1::Label1Click() {
    const DateTimeValue now = truncateToWholeSeconds(registry_.services().clock.now());
    StaticText1->setText(defaultDateTimeText(now - RunStartTime));
}

void TForm1::Timer1Timer() {
    const DateTimeValue now = registry_.services().clock.now();
    const qint64 elapsed = std::llround((now - lastPictureMove_) * kMillisecondsPerDay);
    lastPictureMove_ = now;
    movePicture(std::clamp<qint64>(elapsed, 1, kMostPictureStepsPerTick));
}

void TForm1::movePicture(qint64 steps) {
    int left = Image1->x();
    for (qint64 step = 0; step < steps; ++step) {
        if (left + 45 > width())
            left = 4;
        ++left;
    }
    Image1->move(left, Image1->y());
}

void TForm1::closeEvent(QCloseEvent* event) {
    const bool saved =
        registry_.runReportingErrors(this, [this] { registry_.saveSettingsAtShutdown(); });
    if (!saved) {
        event->ignore();
        return;
    }
    event->accept();
    registry_.endProgram();
}

} // namespace songwick
