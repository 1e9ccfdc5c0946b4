#include "scan/ui/scan_options_window.h"

#include "scan/ui/scan_progress.h"
#include "settings/program_settings.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace songwick {

TForm3::TForm3(ProgramSettings& settings, QString optionsPath)
    : CheckBox1(new QCheckBox(QStringLiteral("Обработка большого количества файлов"), this)),
      CheckBox2(new QCheckBox(
          QStringLiteral("Запоминать прочитанные файлы (быстрое повторное сканирование)"), this)),
      Label1(new QLabel(QStringLiteral("Установка данного флажка увеличит время работы программы"),
                        this)),
      Label2(new QLabel(
          QStringLiteral(
              "Подробнее об использовании данной настройки Вы можете прочитать в Помощи"),
          this)),
      Button1(new QPushButton(QStringLiteral("OK"), this)),
      Button2(new QPushButton(QStringLiteral("Отмена"), this)), settings_(settings),
      optionsPath_(std::move(optionsPath)) {
    setWindowTitle(QStringLiteral("Настройки сканирования"));
    setWindowFlags(Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setObjectName(QStringLiteral("Form3"));
    Label2->setStyleSheet(QStringLiteral("color: #800080;"));
    Label2->setWordWrap(true);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(CheckBox1);
    layout->addWidget(Label1);
    layout->addWidget(Label2);
    layout->addWidget(CheckBox2);
    layout->addLayout(buttons);
    CheckBox1->setChecked(settings_.ManyFilesScan);
    CheckBox2->setChecked(rememberReadFiles(optionsPath_));
    setFixedSize(sizeHint());

    connect(CheckBox1, &QCheckBox::toggled, this, &TForm3::CheckBox1Click);
    connect(CheckBox2, &QCheckBox::toggled, this, &TForm3::CheckBox2Click);
    connect(Button1, &QPushButton::clicked, this, &TForm3::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TForm3::Button2Click);
}

void TForm3::FormActivate() {
    CheckBox1->setChecked(settings_.ManyFilesScan);
    rememberedState_ = settings_.ManyFilesScan;
    rememberedCacheState_ = rememberReadFiles(optionsPath_);
    CheckBox2->setChecked(rememberedCacheState_);
}

void TForm3::CheckBox2Click(bool checked) {
    setRememberReadFiles(optionsPath_, checked);
}

void TForm3::CheckBox1Click(bool checked) {
    settings_.ManyFilesScan = checked;
}

void TForm3::Button1Click() {
    hide();
}

void TForm3::Button2Click() {
    CheckBox1->setChecked(rememberedState_);
    CheckBox2->setChecked(rememberedCacheState_);
    hide();
}

void TForm3::closeEvent(QCloseEvent* event) {
    CheckBox1->setChecked(rememberedState_);
    CheckBox2->setChecked(rememberedCacheState_);
    event->accept();
}

} // namespace songwick
