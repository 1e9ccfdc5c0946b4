#include "help/ui/about_window.h"

#include "app/ui/date_time_text.h"
#include "app/ui/window_placement.h"
#include "app/ui/window_registry.h"
#include "common/error.h"
#include "help/jpeg_picture.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QTextBrowser>
#include <QTimer>

namespace songwick {
namespace {

constexpr int kClientWidth = 457;
constexpr int kClientHeight = 376;
constexpr int kPictureStep = 2;
constexpr int kTimerMilliseconds = 5;

QPixmap stripPixmap() {
    try {
        return QPixmap::fromImage(aboutPicture());
    } catch (const Error&) {
        return {};
    }
}

QLabel* coloured(QLabel* label, const QColor& colour) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    return label;
}

// Makes the label's font smaller, when needed, until its text fits width pixels.
void fitToWidth(QLabel* label, int width) {
    QFont font = label->font();
    if (font.pixelSize() <= 0)
        font.setPixelSize(QFontMetrics(font).height());
    constexpr int kSmallestPixels = 8;
    while (font.pixelSize() > kSmallestPixels &&
           QFontMetrics(font).horizontalAdvance(label->text()) > width)
        font.setPixelSize(font.pixelSize() - 1);
    label->setFont(font);
}

QString descriptionHtml() {
    return QCoreApplication::translate(
        "songwick::TForm5",
        "<p><b>Songwick</b> -- программа для тех, у кого много караоке-файлов.</p>"
        "<p>Укажите папку -- и программа просмотрит её и все вложенные папки, найдёт все "
        "kar-файлы и вынет из каждого исполнителя, название песни, авторов слов и музыки и "
        "того, кто сделал файл. Всё это она покажет в таблице, которую можно править, "
        "сохранять как список (*.swk), смотреть и печатать в текстовом формате, "
        "экспортировать в MS Excel (*.xlsx) и Ms Word (*.docx). А ещё по этой таблице можно "
        "дать файлам на диске нормальные, понятные имена.</p>"
        "<p>В сами караоке-файлы программа никогда ничего не записывает, так что "
        "экспериментируйте смело!</p>"
        "<p>Новые версии программы -- на странице выпусков проекта Songwick; описание "
        "проекта -- в его файле README.</p>"
        "<p>Приятного пения!!! :-)</p>");
}

} // namespace

TForm5::TForm5(WindowRegistry& registry, QWidget* parent)
    : QWidget(parent, Qt::Window), registry_(registry) {
    setObjectName(QStringLiteral("Form5"));
    setWindowTitle(tr("О программе"));
    setWindowFlags(Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                   Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(kClientWidth, kClientHeight);

    Label1 = coloured(new QLabel(QStringLiteral("Songwick"), this), Qt::red);
    QFont title(QStringLiteral("Arial"));
    title.setPixelSize(23);
    title.setItalic(true);
    Label1->setFont(title);
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setGeometry(72, 16, 289, 28);

    RichEdit1 = new QTextBrowser(this);
    RichEdit1->setGeometry(24, 56, 407, 177);
    RichEdit1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    RichEdit1->setOpenLinks(false);
    QPalette yellow = RichEdit1->palette();
    yellow.setColor(QPalette::Base, Qt::yellow);
    yellow.setColor(QPalette::Text, Qt::black);
    RichEdit1->setPalette(yellow);
    RichEdit1->setHtml(descriptionHtml());

    const QColor navy(0, 0, 128);
    Label2 = coloured(new QLabel(tr("Россия, Москва"), this), navy);
    Label2->move(349, 240);
    Label3 = coloured(new QLabel(tr("Версия 1.3"), this), navy);
    Label3->move(200, 240);
    Label4 = new QLabel(QStringLiteral("Version 1.3"), this);
    Label4->move(201, 256);
    Label5 = new QLabel(QStringLiteral("Russia, Moscow"), this);
    Label5->move(353, 255);

    Image1 = new QLabel(this);
    Image1->setGeometry(184, 288, 79, 4);
    Image1->setPixmap(stripPixmap());
    Image1->setToolTip(QStringLiteral("From Russia -- with love!!!"));

    Label6 = coloured(new QLabel(tr("Таблицы и документы открывает LibreOffice "
                                    "(*.xlsx, *.docx)"),
                                 this),
                      QColor(149, 0, 74));
    Label6->move(24, 296);
    Label7 = new QLabel(this);
    Label7->setGeometry(24, 315, kClientWidth - 48, 18);
    Label8 = new QLabel(this);
    Label8->setGeometry(24, 315, kClientWidth - 48, 18);
    Label8->hide();
    // The office line spans the window: on a desktop with wide fonts it gets a smaller one.
    fitToWidth(Label6, kClientWidth - 2 * Label6->x());
    for (QLabel* label : {Label2, Label3, Label4, Label5, Label6})
        label->adjustSize();

    Button1 = new QPushButton(QStringLiteral("OK"), this);
    Button1->setGeometry(192, 336, 75, 25);

    Timer1 = new QTimer(this);
    Timer1->setInterval(kTimerMilliseconds);

    centreOnScreen(this);

    connect(Button1, &QPushButton::clicked, this, &TForm5::Button1Click);
    connect(Timer1, &QTimer::timeout, this, &TForm5::Timer1Timer);
    registry_.watchActivation(this, [this] { FormActivate(); });
}

QString TForm5::shutdownLine(double lastShutdownTime) {
    return tr("Время последнего выключения программы: ") + defaultDateTimeText(lastShutdownTime);
}

QString TForm5::runTimeLine(double totalRunTime) {
    return tr("Время работы программы: ") + defaultDateTimeText(totalRunTime);
}

void TForm5::centreHorizontally(QWidget* control) const {
    control->move(frameGeometry().width() / 2 - control->width() / 2, control->y());
}

void TForm5::FormActivate() {
    movingLeft_ = false;
    Timer1->start();
    for (QWidget* control : {static_cast<QWidget*>(Image1), static_cast<QWidget*>(Label3),
                             static_cast<QWidget*>(Label4), static_cast<QWidget*>(Button1)})
        centreHorizontally(control);
    const ProgramSettings& settings = registry_.settings();
    Label7->setText(shutdownLine(settings.LastShutdownTime));
    Label8->setText(runTimeLine(settings.TotalRunTime));
}

void TForm5::Timer1Timer() {
    const int left = Image1->x() + (movingLeft_ ? -kPictureStep : kPictureStep);
    Image1->move(left, Image1->y());
    const int rightMargin = frameGeometry().width() - Image1->width() - 10;
    if (left < 5 || left > rightMargin)
        movingLeft_ = !movingLeft_;
}

void TForm5::Button1Click() {
    hide();
}

void TForm5::closeEvent(QCloseEvent* event) {
    Timer1->stop();
    event->accept();
}

} // namespace songwick
