#pragma once

#include <QList>
#include <QPointer>
#include <QString>

class QLabel;
class QWidget;

namespace songwick {

// The hourglass over the controls and the wait text in a label while a long operation runs
// on the user-interface thread. Everything goes back to its earlier state when the object
// ends, whether the operation finished or failed.
class WaitIndication {
public:
    explicit WaitIndication(QList<QWidget*> controls, QLabel* label = nullptr,
                            const QString& waitText = {});
    ~WaitIndication();

    WaitIndication(const WaitIndication&) = delete;
    WaitIndication& operator=(const WaitIndication&) = delete;

    // Ends the indication before the object ends; later calls do nothing.
    void end();

private:
    struct ControlCursor {
        QPointer<QWidget> control;
        bool hadOwnCursor = false;
        Qt::CursorShape shape = Qt::ArrowCursor;
    };
    QList<ControlCursor> controls_;
    QPointer<QLabel> label_;
    QString labelText_;
    bool ended_ = false;
};

} // namespace songwick
