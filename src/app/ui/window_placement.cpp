#include "app/ui/window_placement.h"

#include <QAbstractButton>
#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QShortcut>
#include <QWidget>
#include <optional>

namespace songwick {
namespace {

const QScreen* screenOf(const QWidget* widget) {
    if (widget != nullptr && widget->screen() != nullptr)
        return widget->screen();
    return QGuiApplication::primaryScreen();
}

// How far a window's frame reaches beyond its client area: the window's own frame once the
// window manager has framed it, before that the frame of another window it has framed (the
// owner's, or any shown window's), which the same window manager draws alike. A frame the
// window manager has made but not yet sized can be reported smaller than the client area;
// such a frame says nothing of the margins.
QMargins frameMargins(const QWidget* window, const QWidget* framedAlike) {
    const auto marginsOf = [](const QWidget* widget) -> std::optional<QMargins> {
        const QRect frame = widget->frameGeometry();
        const QRect client = widget->geometry();
        const QMargins margins(client.left() - frame.left(), client.top() - frame.top(),
                               frame.right() - client.right(), frame.bottom() - client.bottom());
        const bool framed = !margins.isNull() && margins.left() >= 0 && margins.top() >= 0 &&
                            margins.right() >= 0 && margins.bottom() >= 0;
        return framed ? std::optional(margins) : std::nullopt;
    };
    if (const auto own = marginsOf(window))
        return *own;
    if (framedAlike != nullptr)
        if (const auto alike = marginsOf(framedAlike))
            return *alike;
    for (const QWidget* shown : QApplication::topLevelWidgets())
        if (shown != window && shown->isVisible())
            if (const auto alike = marginsOf(shown))
                return *alike;
    return {};
}

// The frame moved to centre, then pushed back onto the screen where it sticks out. The client
// area is placed, not the frame: a window manager that frames a window again when it is shown
// again would otherwise move it by its title bar.
void placeFrame(QWidget* window, QPoint centre, const QScreen* screen, const QWidget* framedAlike) {
    const QMargins margins = frameMargins(window, framedAlike);
    QRect frame(QPoint(0, 0), window->size().grownBy(margins));
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
    window->setGeometry(frame.marginsRemoved(margins));
}

} // namespace

void centreOnOwner(QWidget* window, const QWidget* owner) {
    if (owner == nullptr || owner == window || !owner->isVisible()) {
        centreOnScreen(window);
        return;
    }
    placeFrame(window, owner->frameGeometry().center(), screenOf(owner), owner);
}

void centreOnScreen(QWidget* window) {
    const QScreen* screen = screenOf(window);
    if (screen != nullptr)
        placeFrame(window, screen->availableGeometry().center(), screen, nullptr);
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
