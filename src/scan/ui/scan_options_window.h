#pragma once

#include <QWidget>

class QCheckBox;
class QLabel;
class QPushButton;

namespace songwick {

struct ProgramSettings;

// The scan options window: whether the walk allows many files in one folder tree. The check
// box is the setting itself; "Отмена" or closing the window puts back the state the window had
// when it last became active.
class TForm3 : public QWidget {
    Q_OBJECT

public:
    explicit TForm3(ProgramSettings& settings);

    // The window became active: shows the setting and remembers it.
    void FormActivate();

    QCheckBox* CheckBox1;
    QLabel* Label1;
    QLabel* Label2;
    QPushButton* Button1; // "OK"
    QPushButton* Button2; // "Отмена"

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void CheckBox1Click(bool checked);
    void Button1Click();
    void Button2Click();

    ProgramSettings& settings_;
    bool rememberedState_ = false;
};

} // namespace songwick
