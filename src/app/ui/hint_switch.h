#pragma once

#include <QObject>

namespace songwick {

// Pop-up hints for the whole program, on or off (the setting ShowHints). While off, every
// tooltip event of the application is swallowed.
class HintSwitch : public QObject {
    Q_OBJECT

public:
    HintSwitch();
    ~HintSwitch() override;

    void setHintsShown(bool shown) { shown_ = shown; }
    bool hintsShown() const { return shown_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool shown_ = true;
};

} // namespace songwick
