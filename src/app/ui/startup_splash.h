#pragma once

#include <QWidget>

namespace songwick {

// The borderless picture shown while the windows are being created.
class StartupSplash : public QWidget {
    Q_OBJECT

public:
    StartupSplash();

    // Shows the picture and paints it before the caller goes on.
    void showAndPaint();
};

} // namespace songwick
