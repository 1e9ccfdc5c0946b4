#pragma once

#include "rename/rename_preview.h"

#include <QWidget>
#include <functional>
#include <vector>

class QLabel;
class QPushButton;
class QTableWidget;

namespace songwick {

// The plan of a rename before any file moves: "Папка" / "Было" / "Станет" / "Почему нет" for every
// row that would change or is refused (refused rows in red), "Выполнить" carries the plan out and
// "Отмена" drops it. It keeps the other windows from input while it is up, and closes itself.
class RenamePreviewWindow : public QWidget {
    Q_OBJECT

public:
    RenamePreviewWindow(const std::vector<RenamePreviewRow>& rows, std::function<void()> carryOut,
                        QWidget* owner);

    QLabel* Label1; // the counts
    QTableWidget* StringGrid1;
    QPushButton* Button1; // "Выполнить"
    QPushButton* Button2; // "Отмена"

    void Button1Click();
    void Button2Click();

private:
    void fillRows(const std::vector<RenamePreviewRow>& rows);

    std::function<void()> carryOut_;
};

// Whether the plan is shown before it is carried out, by the options file at optionsPath.
bool planIsShownFirst(const RenamePlan& plan, const QString& optionsPath);

// Shows the plan first when planIsShownFirst says so (the options file beside settingsPath),
// else carries it out at once.
void carryOutAfterPreview(const RenamePlan& plan, const QString& settingsPath, QWidget* owner,
                          std::function<void()> carryOut);

} // namespace songwick
