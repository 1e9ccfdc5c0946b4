#include "app/ui/close_question_window.h"

#include "app/ui/window_registry.h"
#include "catalogue/ui/main_window.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>

namespace songwick {

TForm12::TForm12(WindowRegistry& registry)
    : Label1(new QLabel(tr("Сохранить изменения в таблице?"), this)),
      Button1(new QPushButton(tr("Да"), this)), Button2(new QPushButton(tr("Нет"), this)),
      Button3(new QPushButton(tr("Отмена"), this)), registry_(registry) {
    setObjectName(QStringLiteral("Form12"));
    setWindowTitle(tr("Сохранить изменения?"));
    setWindowFlags(Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(348, 88);
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setGeometry(8, 12, 332, 20);
    Button1->setGeometry(40, 50, 80, 25);
    Button2->setGeometry(134, 50, 80, 25);
    Button3->setGeometry(228, 50, 80, 25);

    connect(Button1, &QPushButton::clicked, this, &TForm12::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TForm12::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &TForm12::Button3Click);
    registry_.watchActivation(this, [this] { FormActivate(); });
}

void TForm12::FormActivate() {
    if (QuestionReason != StartingNewScan)
        QuestionReason = NoReason;
}

void TForm12::Button1Click() {
    registry_.runReportingErrors(this, [this] {
        if (QuestionReason != StartingNewScan)
            QuestionReason = ClosingProgram;
        TForm4* mainWindow = registry_.form4();
        // A failed write throws: the question stays open.
        const bool saved = mainWindow->saveList();
        hide();
        if (QuestionReason == StartingNewScan) {
            // Still modified after a cancelled save dialog: the scan asks again.
            mainWindow->N2Click();
        } else if (saved) {
            closeProgram();
        }
    });
}

void TForm12::Button2Click() {
    registry_.runReportingErrors(this, [this] {
        hide();
        if (QuestionReason == StartingNewScan) {
            registry_.catalogue().mainTable.modified = false;
            QuestionReason = NoReason;
            registry_.form4()->N2Click();
        } else {
            closeProgram();
        }
    });
}

void TForm12::Button3Click() {
    QuestionReason = NoReason;
    hide();
}

void TForm12::closeEvent(QCloseEvent* event) {
    QuestionReason = NoReason;
    event->accept();
}

void TForm12::closeProgram() {
    if (registry_.runReportingErrors(registry_.form4(),
                                     [this] { registry_.saveSettingsAtShutdown(); }))
        registry_.endProgram();
}

} // namespace songwick
