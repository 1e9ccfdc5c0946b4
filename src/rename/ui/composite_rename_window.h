#pragma once

#include "rename/composite_name.h"
#include "rename/rename_plan.h"

#include <QWidget>
#include <array>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QTimer;

namespace songwick {

struct ProgramSettings;
class WindowRegistry;

// The composite rename window "Сложное переименование всех файлов из таблицы": gives every
// file of the catalogue table, or every marked one, a name composed of the checked parts in
// the order of the parts list. Its controls are the settings they show; the check marks are
// kept by list position, the order of the parts only while the program runs.
class TForm6 : public QWidget {
    Q_OBJECT

public:
    explicit TForm6(WindowRegistry& registry, QWidget* parent = nullptr);
    ~TForm6() override;

    // The window became active: selects the first part and hides the extra controls.
    void FormActivate();
    // Shows the current settings in the controls (after a load or a reset elsewhere).
    void showSettings();

    // The parts in the order the list shows them.
    std::array<RenamePart, kRenamePartCount> partOrder() const;
    // Everything the controls say, as the rename takes it.
    CompositeRenameOptions currentOptions() const;

    QLabel* Label1;         // the blue instruction
    QListWidget* viberi;    // the parts, checkable
    QLabel* Label2;         // the description of the selected part
    QPushButton* Button1;   // "Наверх"
    QPushButton* Button2;   // "Вниз"
    QLineEdit* Edit1;       // the own text
    QComboBox* ComboBox1;   // the list choice
    QGroupBox* rg1;         // "Что будет добавлено"
    QRadioButton* r1;       // "Дата"
    QRadioButton* r2;       // "Время"
    QRadioButton* r3;       // "Дата и время"
    QLabel* Label3;         // "Разделители"
    QComboBox* ComboBox2;   // the separators
    QGroupBox* RadioGroup1; // "Какие файлы"
    QRadioButton* RadioGroup1All;
    QRadioButton* RadioGroup1Marked;
    // "Показывать список переименований перед выполнением", kept in the options file
    QCheckBox* PreviewCheckBox;
    QLabel* Label4;       // the note on long names
    QLabel* Label5;       // the warning, empty while none shows
    QPushButton* Button3; // "&Начать переименование"
    QPushButton* Button4; // "Отмена"
    QTimer* Timer1;       // empties the warning

    // Handlers.
    void viberiClick();
    void Button1Click(); // one place up
    void Button2Click(); // one place down
    void Edit1Change();
    void Timer1Timer();
    void Button3Click(); // the composite rename
    void Button4Click(); // back to the main window

    // The composite rename with the options on screen; throws Error when no part is checked.
    RenameRunResult renameTableFiles();
    // Carries a composite plan out, journalled, and shows its result.
    RenameRunResult carryOutPlan(const RenamePlan& plan);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void createControls();
    void layOutControls();
    void connectControls();
    void movePart(int step);
    void showPartOrder(const RenamePartOrder& order, int selectedRow);
    RenamePartOrder shownPartOrder() const;
    void storeCheckMarks();
    void showWarning();
    void backToMainWindow();
    // The preview option lives in the options file, not in the settings record.
    void showPreviewOption();
    // Writes the preview option, reporting a failed write.
    void storePreviewOption(bool on);

    WindowRegistry& registry_;
    ProgramSettings& settings_;
    QButtonGroup* whichFiles_;
    // Controls being set by the program do not write the settings back.
    bool showingSettings_ = false;
};

} // namespace songwick
