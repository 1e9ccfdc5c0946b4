#pragma once

#include "catalogue/songbook_pdf.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace songwick {

// Asked before a songbook is made: its title line, song numbers, the index by title, paper and
// columns. Starts from the options given and hands back what the user chose.
class SongbookOptionsWindow : public QDialog {
    Q_OBJECT

public:
    explicit SongbookOptionsWindow(const SongbookOptions& options, QWidget* parent = nullptr);

    SongbookOptions chosen() const;

    QLineEdit* TitleEdit;
    QCheckBox* NumbersBox;
    QCheckBox* IndexBox;
    QComboBox* PaperBox;
    QSpinBox* ColumnsBox;
    QPushButton* MakeButton;

private:
    SongbookOptions options_;
};

} // namespace songwick
