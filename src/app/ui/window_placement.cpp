#include "app/ui/window_placement.h"

#include <QAbstractButton>
#include <QGuiApplication>
#include <QScreen>
#include <QShortcut>
#include <QWidget>

namespace songwick {
namespace {

const QScreen* screenOf(const QWidget* widget) {
    if (widget != nullptr && widget->screen() != nullptr)
        return widget->screen();
    return QGuiApplication::primaryScreen();
}

// The frame moved to centre, then pushed back onto the screen where it sticks out.
void placeFrame(QWidget* window, QPoint centre, const QScreen* screen) {
    QRect frame = window->frameGeometry();
    frame.moveCenter(centre);
    if (screen != nullptr) {
        const QRect area = screen->availableGeometry();
        if (frame.right() > area.right())
            frame.moveRight(area.right());
        if (frame.bottom() > area.bottom())
            frame.moveBottom(area.bottom());
        if (frame.left() < area.left())
            frame.moveLeft(area.left());
        if (frame.top() < area.top())
            frame.moveTop(area.top());
    }
    window->move(frame.topLeft());
}

} // namespace

void centreOnOwner(QWidget* window, const QWidget* owner) {
    if (owner == nullptr || owner == window || !owner->isVisible()) {
        centreOnScreen(window);
        return;
    }
    placeFrame(window, owner->frameGeometry().center(), screenOf(owner));
}

void centreOnScreen(QWidget* window) {
    const QScreen* screen = screenOf(window);
    if (screen != nullptr)
        placeFrame(window, screen->availableGeometry().center(), screen);
}

void clickOnEscape(QAbstractButton* button) {
    auto* shortcut = new QShortcut(QKeySequence(Qt::Key_Escape), button->window());
    shortcut->setContext(Qt::WindowShortcut);
    QObject::connect(shortcut, &QShortcut::activated, button, [button] {
        if (button->isVisible() && button->isEnabled())
            button->click();
    });
}

} // namespace songwick
