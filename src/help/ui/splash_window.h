#pragma once

#include <QWidget>

namespace songwick {

class ClickableLabel;

// The splash window "Заставка": one picture on blue, without border or title bar. A click on
// the picture hides it.
class TSplashForm : public QWidget {
    Q_OBJECT

public:
    explicit TSplashForm(QWidget* parent = nullptr);

    // Shows the picture and paints it before the caller goes on (at start-up, while the other
    // windows are being created).
    void showAndPaint();

    ClickableLabel* Image1;

    void Image1Click();
};

} // namespace songwick
