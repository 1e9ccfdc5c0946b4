#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

class QCheckBox;
class QComboBox;
class QPushButton;

namespace songwick {

class TForm8;
class WindowRegistry;
struct ProgramSettings;

// The text output settings "Настройки": whether the text rendering of the table ends with
// the date and time and with a caption line. Its controls are the settings: a change takes
// effect at once, "OK" keeps it, "Отмена" puts back what was there when the window last
// became active, and closing it by its title bar puts back the two check boxes only.
class TForm9 : public QWidget {
    Q_OBJECT

public:
    explicit TForm9(WindowRegistry& registry, QWidget* parent = nullptr);
    ~TForm9() override;

    // The text view that "OK" adds its lines to.
    void setTextView(TForm8* view);

    // The window became active: takes the snapshot "Отмена" goes back to.
    void FormActivate();
    // Shows the current settings in the controls (after a load or a reset elsewhere).
    void showSettings();

    QCheckBox* CheckBox1; // "Добавить дату и время"
    QCheckBox* CheckBox2; // "Добавить следующую надпись"
    QComboBox* ComboBox1; // the caption, picked from the list or typed
    QPushButton* Button1; // "OK"
    QPushButton* Button2; // "Отмена"

    // Handlers.
    void CheckBox2Click();
    void Button1Click();
    void Button2Click();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    struct Snapshot {
        bool addDateTime = false;
        bool addCaption = false;
        QString captionText;
        int captionChoice = -1;
    };

    void connectControls();
    void setCaptionText(const QString& text);
    void restoreCheckBoxes();
    // Hides the window and gives the activation back to the window that opened it.
    void hideAndReturn();

    WindowRegistry& registry_;
    ProgramSettings& settings_;
    QPointer<TForm8> textView_;
    // The window that was active when this one was shown.
    QPointer<QWidget> returnWindow_;
    Snapshot snapshot_;
    bool confirmed_ = false;
    bool showingSettings_ = false;
};

} // namespace songwick
