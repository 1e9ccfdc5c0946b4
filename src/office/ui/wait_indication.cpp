#include "office/ui/wait_indication.h"

#include <QLabel>
#include <QWidget>

namespace songwick {

WaitIndication::WaitIndication(QList<QWidget*> controls, QLabel* label, const QString& waitText)
    : label_(label) {
    for (QWidget* control : controls) {
        if (control == nullptr)
            continue;
        const bool ownCursor = control->testAttribute(Qt::WA_SetCursor);
        controls_.append({control, ownCursor, control->cursor().shape()});
        control->setCursor(Qt::WaitCursor);
    }
    if (label != nullptr) {
        labelText_ = label->text();
        label->setText(waitText);
    }
}

WaitIndication::~WaitIndication() {
    end();
}

void WaitIndication::end() {
    if (ended_)
        return;
    ended_ = true;
    for (const ControlCursor& saved : controls_) {
        if (saved.control.isNull())
            continue;
        if (saved.hadOwnCursor)
            saved.control->setCursor(saved.shape);
        else
            saved.control->unsetCursor();
    }
    if (label_)
        label_->setText(labelText_);
}

} // namespace songwick
