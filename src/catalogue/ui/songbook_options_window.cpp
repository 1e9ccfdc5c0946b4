#include "catalogue/ui/songbook_options_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace songwick {
SongbookOptionsWindow::SongbookOptionsWindow(const SongbookOptions& options, QWidget* parent)
    : QDialog(parent), options_(options) {
    setWindowTitle(tr("Песенник в PDF"));
    TitleEdit = new QLineEdit(options.title, this);
    TitleEdit->setPlaceholderText(tr("Песенник"));
    NumbersBox = new QCheckBox(tr("&Номера песен рядом с названиями"), this);
    NumbersBox->setChecked(options.numbers);
    IndexBox = new QCheckBox(tr("&Указатель песен по названию в конце"), this);
    IndexBox->setChecked(options.index);
    PaperBox = new QComboBox(this);
    PaperBox->addItem(QStringLiteral("A4"), int(SongbookPaper::A4));
    PaperBox->addItem(QStringLiteral("Letter"), int(SongbookPaper::Letter));
    PaperBox->setCurrentIndex(options.paper == SongbookPaper::Letter ? 1 : 0);
    ColumnsBox = new QSpinBox(this);
    ColumnsBox->setRange(1, 3);
    ColumnsBox->setValue(options.columns);

    auto* form = new QFormLayout;
    form->addRow(tr("&Заголовок:"), TitleEdit);
    form->addRow(QString(), NumbersBox);
    form->addRow(QString(), IndexBox);
    form->addRow(tr("&Бумага:"), PaperBox);
    form->addRow(tr("&Столбцов на странице:"), ColumnsBox);
    auto* buttons = new QDialogButtonBox(this);
    MakeButton = buttons->addButton(tr("Сохранить PDF..."), QDialogButtonBox::AcceptRole);
    buttons->addButton(tr("Отмена"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    MakeButton->setDefault(true);
}

SongbookOptions SongbookOptionsWindow::chosen() const {
    SongbookOptions options = options_;
    options.title = TitleEdit->text().trimmed();
    options.numbers = NumbersBox->isChecked();
    options.index = IndexBox->isChecked();
    options.paper = SongbookPaper(PaperBox->currentData().toInt());
    options.columns = ColumnsBox->value();
    return options;
}

} // namespace songwick
