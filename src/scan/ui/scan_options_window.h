#pragma once

#include <QString>
#include <QWidget>
#include <functional>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace songwick {

class MessageBoxes;
struct ProgramSettings;

// The scan options window: whether the walk allows many files in one folder tree. The check
// box is the setting itself; "Отмена" or closing the window puts back the state the window had
// when it last became active.
class TForm3 : public QWidget {
    Q_OBJECT

public:
    // optionsPath: the options file that keeps whether read files are remembered and the
    // reading; messages shows why it could not be written.
    TForm3(ProgramSettings& settings, QString optionsPath, MessageBoxes& messages);

    // The window became active: shows the setting and remembers it.
    void FormActivate();

    QCheckBox* CheckBox1;
    QCheckBox* CheckBox2; // remember read files for a quick rescan
    QLabel* Label1;
    QLabel* Label2;
    // "Чтение описаний": how a scan reads the texts, kept in the options file, saved by "OK".
    QGroupBox* GroupBox1;
    QRadioButton* RadioButton1; // "По правилам программы"
    QRadioButton* RadioButton2; // "По структуре MIDI-файла"
    QComboBox* ComboBox1; // the code page: "Определять автоматически", then the list
    QPlainTextEdit* Memo1; // the file-name patterns, one a line
    QPushButton* Button1;  // "OK"
    QPushButton* Button2;  // "Отмена"

    // The options file the reading options are kept in (the user's one unless a test says).
    void setOptionsFilePath(const QString& path) { optionsPath_ = path; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void CheckBox1Click(bool checked);
    void CheckBox2Click(bool checked);
    void Button1Click();
    void Button2Click();

    void showReadingOptions();
    // False when the options file could not be written (the user was told).
    bool saveReadingOptions();
    // Runs a write of the options file; a failure is shown. False when it failed.
    bool writeReportingErrors(const std::function<void()>& write);

    ProgramSettings& settings_;
    QString optionsPath_;
    MessageBoxes& messages_;
    bool rememberedState_ = false;
    bool rememberedCacheState_ = true;
    QButtonGroup* readingGroup_;
};

} // namespace songwick
