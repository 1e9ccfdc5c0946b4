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
    // optionsPath: the options file that keeps whether read files are remembered.
    TForm3(ProgramSettings& settings, QString optionsPath);

    // The window became active: shows the setting and remembers it.
    void FormActivate();

    QCheckBox* CheckBox1;
    QCheckBox* CheckBox2; // remember read files for a quick rescan
    QLabel* Label1;
    QLabel* Label2;
    QPushButton* Button1; // "OK"
    QPushButton* Button2; // "Отмена"

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void CheckBox1Click(bool checked);
    void CheckBox2Click(bool checked);
    void Button1Click();
    void Button2Click();

    ProgramSettings& settings_;
    QString optionsPath_;
    bool rememberedState_ = false;
    bool rememberedCacheState_ = true;
};

} // namespace songwick
