#include "help/ui/help_window.h"

#include "app/ui/hint_switch.h"
#include "app/ui/window_registry.h"
#include "help/help_topics.h"

#include <QEvent>
#include <QFont>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QTextEdit>
#include <QTimer>
#include <QToolTip>

namespace songwick {
namespace {

constexpr int kClientWidth = 536;
constexpr int kClientHeight = 479;
const QColor kNavy(0, 0, 128);
const QColor kMaroon(128, 0, 0);
const QColor kCrimson(220, 24, 98);

QFont pixelFont(const QFont& base, int pixels, bool bold = false) {
    QFont font = base;
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

} // namespace

QString listItemHintText(const QListWidget& list, QPoint pos) {
    const QListWidgetItem* item = list.itemAt(pos);
    if (item == nullptr)
        return {};
    // Only the part of the item inside the list can show its text.
    const QRect shown = list.visualItemRect(item).intersected(list.viewport()->rect());
    const int textWidth = list.fontMetrics().horizontalAdvance(item->text());
    return textWidth > shown.width() - 2 ? item->text() : QString();
}

ListItemHints::ListItemHints(WindowRegistry& registry, QObject* parent)
    : QObject(parent), registry_(registry), delay_(new QTimer(this)) {
    delay_->setSingleShot(true);
    delay_->setInterval(kDelayMilliseconds);
    connect(delay_, &QTimer::timeout, this, &ListItemHints::showPendingHint);
}

void ListItemHints::watch(QListWidget* list) {
    // A text too long for its item is shown by the hint, not by scrolling sideways.
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->viewport()->setMouseTracking(true);
    list->viewport()->installEventFilter(this);
}

bool ListItemHints::eventFilter(QObject* watched, QEvent* event) {
    auto* viewport = qobject_cast<QWidget*>(watched);
    auto* list =
        viewport != nullptr ? qobject_cast<QListWidget*>(viewport->parentWidget()) : nullptr;
    if (list == nullptr)
        return QObject::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseMove:
        pendingList_ = list;
        pendingPos_ = static_cast<QMouseEvent*>(event)->position().toPoint();
        delay_->start();
        break;
    case QEvent::Leave:
        delay_->stop();
        break;
    case QEvent::ToolTip:
        // The list's hints are this object's own.
        return true;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void ListItemHints::showPendingHint() {
    if (pendingList_)
        showHintAt(pendingList_, pendingPos_);
}

bool ListItemHints::showHintAt(QListWidget* list, QPoint pos) {
    const QString text = registry_.hints().hintsShown() ? listItemHintText(*list, pos) : QString();
    if (text.isEmpty())
        return false;
    const QRect itemRect = list->visualItemRect(list->itemAt(pos));
    QWidget* viewport = list->viewport();
    QToolTip::showText(viewport->mapToGlobal(itemRect.topLeft() + QPoint(1, -1)), text, viewport,
                       itemRect, kShownMilliseconds);
    return true;
}

THelp::THelp(WindowRegistry& registry, QWidget* parent)
    : QWidget(parent, Qt::Window), registry_(registry) {
    setObjectName(QStringLiteral("Help"));
    setWindowTitle(tr("Помощь"));
    setWindowFlags(Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                   Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(kClientWidth, kClientHeight);

    Label1 = new QLabel(tr("Выберите тему, по которой Вы хотели бы получить помощь:"), this);
    Label1->setGeometry(8, 8, kClientWidth - 16, 18);

    ListBox1 = new QListWidget(this);
    ListBox1->setGeometry(8, 44, 249, 71);
    for (const HelpTopic& topic : helpTopics())
        ListBox1->addItem(topic.title);
    ListBox1->setCurrentRow(-1);

    Label2 = new QLabel(tr("Уточните свой выбор:"), this);
    Label2->setGeometry(272, 26, 239, 18);
    Label2->hide();
    ListBox2 = new QListWidget(this);
    ListBox2->setGeometry(272, 44, 239, 72);
    ListBox2->hide();

    Label3 = new QLabel(this);
    Label3->setGeometry(8, 122, kClientWidth - 16, 34);
    Label3->setWordWrap(true);
    Label3->setFont(pixelFont(font(), 12));
    QPalette navy = Label3->palette();
    navy.setColor(QPalette::WindowText, kNavy);
    Label3->setPalette(navy);

    Label4 = new QLabel(this);
    Label4->setGeometry(15, 158, 300, 20);
    Label4->setFont(pixelFont(font(), 13, true));
    QPalette maroon = Label4->palette();
    maroon.setColor(QPalette::WindowText, kMaroon);
    Label4->setPalette(maroon);
    Label4->hide();

    Memo1 = new QTextEdit(this);
    Memo1->setGeometry(15, 182, 505, 209);
    Memo1->setReadOnly(true);
    Memo1->setAcceptRichText(false);

    Button1 = new QPushButton(QStringLiteral("OK"), this);
    Button1->setGeometry(kClientWidth / 2 - 75 / 2, 420, 75, 25);

    // A list that gets the focus first would pick its first item by itself.
    Button1->setFocus();

    hints = new ListItemHints(registry_, this);
    hints->watch(ListBox1);
    hints->watch(ListBox2);

    // Going over to the help and back is a change of window like any other.
    registry_.watchActivation(this, [] {});

    connect(ListBox1, &QListWidget::currentRowChanged, this, &THelp::ListBox1Click);
    // Clicking the topic already chosen brings its prompt back.
    connect(ListBox1, &QListWidget::itemClicked, this, [this] { ListBox1Click(); });
    connect(ListBox2, &QListWidget::currentRowChanged, this, &THelp::ListBox2Click);
    connect(Button1, &QPushButton::clicked, this, &THelp::Button1Click);
}

QString THelp::questionPrompt() {
    return tr("Уточните свой вопрос в списке справа");
}

void THelp::showAnswer(const QString& text, const QColor& colour) {
    QPalette answer = Memo1->palette();
    answer.setColor(QPalette::Base, palette().color(QPalette::Button));
    answer.setColor(QPalette::Text, colour);
    Memo1->setPalette(answer);
    Memo1->setPlainText(text);
}

void THelp::ListBox1Click() {
    const int row = ListBox1->currentRow();
    if (row < 0 || row >= static_cast<int>(helpTopics().size()))
        return;
    const HelpTopic& topic = helpTopics()[row];
    Label4->show();
    if (!topic.hasQuestions()) {
        ListBox2->clear();
        ListBox2->hide();
        Label2->hide();
        showAnswer(topic.answer, Qt::black);
        Label3->setText(tr("Вопрос: ") + topic.title);
        Label4->setText(tr("Ответ:"));
        return;
    }
    Label4->setText(tr("Уточнение вопроса..."));
    Label3->setText(tr("Вопрос: ") + topic.title + QStringLiteral("...."));
    {
        // Refilling the list is not the user choosing a question.
        const QSignalBlocker quiet(ListBox2);
        ListBox2->clear();
        ListBox2->addItems(topic.questions);
        ListBox2->setCurrentRow(-1);
    }
    ListBox2->show();
    Label2->show();
    showAnswer(questionPrompt(), kCrimson);
}

void THelp::ListBox2Click() {
    const int topicRow = ListBox1->currentRow();
    const int questionRow = ListBox2->currentRow();
    if (topicRow < 0 || topicRow >= static_cast<int>(helpTopics().size()))
        return;
    const HelpTopic& topic = helpTopics()[topicRow];
    if (questionRow < 0 || questionRow >= topic.questions.size())
        return;
    Label4->setText(tr("Ответ:"));
    Label3->setText(tr("Вопрос: ") + topic.title + QStringLiteral(" > ") +
                    topic.questions[questionRow]);
    showAnswer(topic.answers[questionRow], Qt::black);
}

void THelp::Button1Click() {
    hide();
}

} // namespace songwick
