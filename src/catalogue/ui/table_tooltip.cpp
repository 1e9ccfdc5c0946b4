#include "catalogue/ui/table_tooltip.h"

#include "app/ui/window_registry.h"
#include "catalogue/ui/cell_hint.h"
#include "common/random_source.h"

#include <QEvent>
#include <QHelpEvent>
#include <QLabel>
#include <QTableView>
#include <QTimer>

namespace songwick {
namespace {

// One showing in seventy, from the third on, is a joke.
constexpr int kJokeDrawRange = 70;
constexpr int kJokeDrawHit = 65;
constexpr int kFirstJokeNumber = 4;
constexpr int kShowingsBeforeSwitchOff = 3;
// Where an ordinary tooltip appears below the mouse.
constexpr int kBelowMouse = 16;
const QColor kCyan(0, 255, 255);

} // namespace

TableTooltip::TableTooltip(QTableView& view, RandomSource& random)
    : QObject(&view), view_(view), random_(random),
      tip_(new QLabel(&view, Qt::ToolTip | Qt::WindowTransparentForInput)),
      hideTimer_(new QTimer(this)) {
    tip_->setWordWrap(true);
    tip_->setTextFormat(Qt::PlainText);
    tip_->setMaximumWidth(kMostWidth);
    tip_->setMargin(2);
    tip_->setFrameShape(QFrame::Box);
    tip_->setAutoFillBackground(true);
    QPalette cyan = tip_->palette();
    cyan.setColor(QPalette::Window, kCyan);
    cyan.setColor(QPalette::WindowText, Qt::black);
    tip_->setPalette(cyan);
    tip_->setAttribute(Qt::WA_TransparentForMouseEvents);

    hideTimer_->setSingleShot(true);
    hideTimer_->setInterval(kHideDelayMilliseconds);
    connect(hideTimer_, &QTimer::timeout, this, &TableTooltip::hideTip);
    viewport_ = view_.viewport();
    viewport_->installEventFilter(this);
    // The header, the number column and the scroll bars have no tooltip of their own: theirs
    // reaches the view, and is the table's one too.
    view_.installEventFilter(this);
}

QString TableTooltip::tableHintText() {
    return tr("Чтобы ометить какой-то файл (строку), кликните два раза на нужной строке");
}

QStringList TableTooltip::jokeTexts() {
    return {
        tr("Огромнейший привет Вам из России!!!"),
        QStringLiteral(":-)  !!"),
        tr("Хелллоу!!!! Don't worry, be happy!"),
        QStringLiteral("BIG Hello from BIG Russia!!!"),
    };
}

bool TableTooltip::eventFilter(QObject* watched, QEvent* event) {
    if (watched == viewport_) {
        switch (event->type()) {
        case QEvent::ToolTip:
            aboutToShow(static_cast<QHelpEvent*>(event)->globalPos());
            // The table's tooltip is this one; the standard one never shows.
            return true;
        case QEvent::Leave:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel:
            hideTip();
            break;
        default:
            break;
        }
    } else if (watched == &view_ && event->type() == QEvent::ToolTip) {
        aboutToShow(static_cast<QHelpEvent*>(event)->globalPos());
        return true;
    }
    return QObject::eventFilter(watched, event);
}

void TableTooltip::aboutToShow(QPoint globalPos) {
    if (switchedOff_ || view_.toolTip().isEmpty())
        return;
    QString text = view_.toolTip();
    ++hintCount_;
    if (hintCount_ >= kShowingsBeforeSwitchOff) {
        if (random_.below(kJokeDrawRange) == kJokeDrawHit) {
            const int joke = random_.below(static_cast<int>(jokeTexts().size()));
            text = jokeTexts()[joke];
            hintCount_ = static_cast<unsigned char>(kFirstJokeNumber + joke);
        } else {
            // This showing is the last one of the run.
            switchedOff_ = true;
        }
    }
    if (random_.below(2) == 1)
        view_.setToolTip(view_.toolTip() + QStringLiteral("!!"));

    tip_->setText(text);
    tip_->adjustSize();
    tip_->move(globalPos + QPoint(view_.width() / 2, kBelowMouse));
    tip_->show();
    tip_->raise();
    hideTimer_->start();
}

void TableTooltip::hideTip() {
    hideTimer_->stop();
    tip_->hide();
}

TableHints installTableHints(QTableView& view, WindowRegistry& registry) {
    view.setToolTip(TableTooltip::tableHintText());
    return TableHints{new CellHint(view), new TableTooltip(view, registry.services().random)};
}

} // namespace songwick
