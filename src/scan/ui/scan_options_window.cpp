#include "scan/ui/scan_options_window.h"

#include "app/ui/platform_interfaces.h"
#include "common/error.h"
#include "scan/reading_options.h"
#include "scan/ui/scan_progress.h"
#include "settings/options_file.h"
#include "settings/program_settings.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>
#include <memory>

namespace songwick {
namespace {

// The placeholders of the file-name patterns as the window shows them: in the interface's
// language, while options.ini keeps them as the matcher reads them.
QString shownPerformerPlaceholder() {
    return QCoreApplication::translate("songwick::TForm3", "Исполнитель");
}

QString shownTitlePlaceholder() {
    return QCoreApplication::translate("songwick::TForm3", "Название");
}

QString shownPattern(QString pattern) {
    return pattern.replace(kPerformerPlaceholder, shownPerformerPlaceholder())
        .replace(kTitlePlaceholder, shownTitlePlaceholder());
}

QString storedPattern(QString pattern) {
    return pattern.replace(shownPerformerPlaceholder(), kPerformerPlaceholder)
        .replace(shownTitlePlaceholder(), kTitlePlaceholder);
}

} // namespace

TForm3::TForm3(ProgramSettings& settings, QString optionsPath, MessageBoxes& messages)
    : CheckBox1(new QCheckBox(tr("Обработка большого количества файлов"), this)),
      CheckBox2(
          new QCheckBox(tr("Запоминать прочитанные файлы (быстрое повторное сканирование)"), this)),
      Label1(new QLabel(tr("Установка данного флажка увеличит время работы программы"), this)),
      Label2(new QLabel(
          tr("Подробнее об использовании данной настройки Вы можете прочитать в Помощи"), this)),
      GroupBox1(new QGroupBox(tr("Чтение описаний"), this)),
      RadioButton1(new QRadioButton(tr("По правилам программы"), GroupBox1)),
      RadioButton2(new QRadioButton(tr("По структуре MIDI-файла"), GroupBox1)),
      ComboBox1(new QComboBox(GroupBox1)), Memo1(new QPlainTextEdit(GroupBox1)),
      Button1(new QPushButton(QStringLiteral("OK"), this)),
      Button2(new QPushButton(tr("Отмена"), this)), settings_(settings),
      optionsPath_(std::move(optionsPath)), messages_(messages),
      readingGroup_(new QButtonGroup(this)) {
    readingGroup_->addButton(RadioButton1);
    readingGroup_->addButton(RadioButton2);
    ComboBox1->addItem(tr("Определять автоматически"), kAutomaticCodePage);
    for (const CodePageChoice& page : knownCodePages())
        ComboBox1->addItem(
            QCoreApplication::translate("songwick::Scan", page.displayName.toUtf8().constData()),
            page.key);
    Memo1->setToolTip(tr("Шаблоны имён файлов, по одному в строке: «%1», «%2»")
                          .arg(shownPerformerPlaceholder(), shownTitlePlaceholder()));
    Memo1->setFixedHeight(60);
    auto* reading = new QVBoxLayout(GroupBox1);
    reading->addWidget(RadioButton1);
    reading->addWidget(RadioButton2);
    reading->addWidget(new QLabel(tr("Кодовая страница:"), GroupBox1));
    reading->addWidget(ComboBox1);
    reading->addWidget(new QLabel(tr("Шаблоны имён файлов:"), GroupBox1));
    reading->addWidget(Memo1);
    setWindowTitle(tr("Настройки сканирования"));
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
    layout->addWidget(GroupBox1);
    layout->addLayout(buttons);
    CheckBox1->setChecked(settings_.ManyFilesScan);
    CheckBox2->setChecked(rememberReadFiles(optionsPath_));
    RadioButton1->setChecked(true);
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
    showReadingOptions();
}

void TForm3::showReadingOptions() {
    const ReadingOptions options = loadReadingOptions(*openOptionsFile(optionsPath_));
    (options.reading == KarReading::Structured ? RadioButton2 : RadioButton1)->setChecked(true);
    ComboBox1->setCurrentIndex(std::max(0, ComboBox1->findData(options.structured.codePage)));
    QStringList shown;
    for (const QString& pattern : options.structured.fileNamePatterns)
        shown << shownPattern(pattern);
    Memo1->setPlainText(shown.join(u'\n'));
}

bool TForm3::writeReportingErrors(const std::function<void()>& write) {
    try {
        write();
        return true;
    } catch (const Error& error) {
        messages_.showMessage(this, error.message());
        return false;
    }
}

bool TForm3::saveReadingOptions() {
    ReadingOptions options;
    options.reading = RadioButton2->isChecked() ? KarReading::Structured : KarReading::Program;
    options.structured.codePage = ComboBox1->currentData().toString();
    QStringList patterns;
    for (const QString& line : Memo1->toPlainText().split(u'\n')) {
        if (!line.trimmed().isEmpty())
            patterns << storedPattern(line.trimmed());
    }
    options.structured.fileNamePatterns = patterns;
    return writeReportingErrors([&] {
        const std::unique_ptr<QSettings> file = openOptionsFile(optionsPath_);
        songwick::saveReadingOptions(*file, options);
        syncOptionsFile(*file);
    });
}

void TForm3::CheckBox2Click(bool checked) {
    if (writeReportingErrors([&] { setRememberReadFiles(optionsPath_, checked); }))
        return;
    // The box shows what the options file still says.
    const QSignalBlocker blocker(CheckBox2);
    CheckBox2->setChecked(rememberReadFiles(optionsPath_));
}

void TForm3::CheckBox1Click(bool checked) {
    settings_.ManyFilesScan = checked;
}

void TForm3::Button1Click() {
    // A failed write keeps the window open, showing what the options file still holds.
    if (!saveReadingOptions()) {
        showReadingOptions();
        return;
    }
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
