#include "app/ui/hint_switch.h"

#include <QCoreApplication>
#include <QEvent>

namespace songwick {

HintSwitch::HintSwitch() {
    if (QCoreApplication::instance() != nullptr)
        QCoreApplication::instance()->installEventFilter(this);
}

HintSwitch::~HintSwitch() {
    if (QCoreApplication::instance() != nullptr)
        QCoreApplication::instance()->removeEventFilter(this);
}

bool HintSwitch::eventFilter(QObject* watched, QEvent* event) {
    if (!shown_ && event->type() == QEvent::ToolTip)
        return true;
    return QObject::eventFilter(watched, event);
}

} // namespace songwick
