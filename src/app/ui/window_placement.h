#pragma once

class QAbstractButton;
class QWidget;

namespace songwick {

// Moves a top-level window so that its frame is centred on the owner's frame, or on the
// screen when there is no visible owner, and lies wholly on that screen where it fits.
void centreOnOwner(QWidget* window, const QWidget* owner);
// Moves a top-level window to the middle of the screen it is on (the primary one before it
// is first shown).
void centreOnScreen(QWidget* window);

// Esc anywhere in the button's window clicks the button, so that it does exactly what the
// button does.
void clickOnEscape(QAbstractButton* button);

} // namespace songwick
