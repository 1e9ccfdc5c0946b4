#pragma once

#include <QLabel>

namespace songwick {

// A label that answers a click with the left mouse button.
class ClickableLabel : public QLabel {
    Q_OBJECT

public:
    using QLabel::QLabel;

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

} // namespace songwick
