#include "textview/ui/text_view_window.h"

#include "app/ui/platform_interfaces.h"
#include "app/ui/printing.h"
#include "app/ui/window_registry.h"
#include "catalogue/ui/main_window.h"
#include "common/file_name_codec.h"
#include "common/file_write.h"
#include "office/ui/office_actions.h"
#include "settings/ui/text_output_settings_window.h"
#include "textview/rtf_writer.h"
#include "textview/table_text.h"
#include "textview/text_file.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTimer>

namespace songwick {
namespace {

constexpr int kWindowWidth = 692;
constexpr int kWindowHeight = 433;
// An empty view closes this long after an open dialog, so that a cancelled open in the
// pending action "open a text file" does not leave an empty window behind.
constexpr int kEmptyViewCloseDelayMs = 200;
constexpr qreal kFirstLineIndentPoints = 11.0;

} // namespace

TForm8::TForm8(WindowRegistry& registry, QWidget* parent)
    : QMainWindow(parent), registry_(registry) {
    setObjectName(QStringLiteral("Form8"));
    setWindowTitle(tr("Информация в текстовом виде"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMaximizeButtonHint |
                   Qt::WindowCloseButtonHint);

    RichEdit1 = new QTextEdit(this);
    RichEdit1->setObjectName(QStringLiteral("RichEdit1"));
    RichEdit1->setLineWrapMode(QTextEdit::NoWrap);
    RichEdit1->setContextMenuPolicy(Qt::CustomContextMenu);
    setCentralWidget(RichEdit1);

    Timer1 = new QTimer(this);
    Timer1->setSingleShot(true);
    Timer1->setInterval(kEmptyViewCloseDelayMs);

    createMenus();
    resize(kWindowWidth, kWindowHeight);

    connect(Timer1, &QTimer::timeout, this, &TForm8::Timer1Timer);
    connect(RichEdit1, &QTextEdit::textChanged, this, &TForm8::RichEdit1Change);
    connect(RichEdit1, &QTextEdit::undoAvailable, this, &TForm8::RichEdit1Change);
    connect(RichEdit1, &QTextEdit::selectionChanged, this, &TForm8::RichEdit1SelectionChange);
    connect(RichEdit1, &QWidget::customContextMenuRequested, this, [this](const QPoint& position) {
        PopupMenu1->popup(RichEdit1->viewport()->mapToGlobal(position));
    });
    RichEdit1Change();
    RichEdit1SelectionChange();

    registry_.watchActivation(this, [this] { FormActivate(); });
}

TForm8::~TForm8() = default;

void TForm8::createMenus() {
    FileMenu = menuBar()->addMenu(tr("&Файл"));
    N1 = FileMenu->addAction(tr("&Открыть"));
    N2 = FileMenu->addAction(tr("&Сохранить"));
    Word1 = FileMenu->addAction(tr("Со&хранить в Word"));
    FileMenu->addSeparator();
    Gtxfnm1 = FileMenu->addAction(tr("&Печать"));
    Word2 = FileMenu->addAction(tr("Печать &из Word"));
    FileMenu->addSeparator();
    N13 = FileMenu->addAction(tr("&Вернуться назад к таблице"));

    EditMenu = menuBar()->addMenu(tr("&Правка"));
    N16 = EditMenu->addAction(tr("&Назад"));
    EditMenu->addSeparator();
    N18 = EditMenu->addAction(tr("&Копировать"));
    N19 = EditMenu->addAction(tr("&Всавить"));
    N20 = EditMenu->addAction(tr("Вы&резать"));
    EditMenu->addSeparator();
    N22 = EditMenu->addAction(tr("Выделить вс&е"));

    SettingsMenu = menuBar()->addMenu(tr("&Настройки"));
    N11 = SettingsMenu->addAction(tr("Вывода информации в &текстовом виде"));
    N11->setEnabled(false);

    PopupMenu1 = new QMenu(this);
    N8 = PopupMenu1->addAction(tr("&Назад"));
    PopupMenu1->addSeparator();
    N3 = PopupMenu1->addAction(tr("&Копировать"));
    N4 = PopupMenu1->addAction(tr("&Вставить"));
    N5 = PopupMenu1->addAction(tr("Вы&резать"));
    PopupMenu1->addSeparator();
    N7 = PopupMenu1->addAction(tr("Выделить вс&е"));

    // The Word output binds these when it is part of the program.
    connect(Word1, &QAction::triggered, this, &TForm8::Word1Click);
    connect(Word2, &QAction::triggered, this, &TForm8::Word2Click);

    connect(N1, &QAction::triggered, this, &TForm8::N1Click);
    connect(N2, &QAction::triggered, this, &TForm8::N2Click);
    connect(Gtxfnm1, &QAction::triggered, this, &TForm8::Gtxfnm1Click);
    connect(N13, &QAction::triggered, this, &TForm8::N13Click);
    connect(N11, &QAction::triggered, this, &TForm8::N11Click);
    for (QAction* undo : {N16, N8})
        connect(undo, &QAction::triggered, RichEdit1, &QTextEdit::undo);
    for (QAction* copy : {N18, N3})
        connect(copy, &QAction::triggered, RichEdit1, &QTextEdit::copy);
    for (QAction* paste : {N19, N4})
        connect(paste, &QAction::triggered, RichEdit1, &QTextEdit::paste);
    for (QAction* cut : {N20, N5})
        connect(cut, &QAction::triggered, RichEdit1, &QTextEdit::cut);
    for (QAction* selectAll : {N22, N7})
        connect(selectAll, &QAction::triggered, RichEdit1, &QTextEdit::selectAll);
}

void TForm8::setTextOutputWindow(TForm9* window) {
    textOutputWindow_ = window;
    N11->setEnabled(window != nullptr);
}

QString TForm8::openFilter() {
    return tr("Текстовые файлы|*.txt|Все файлы|*.*");
}

QString TForm8::saveFilter() {
    return tr("Текстовые файлы|*.txt|Текст RTF|*.rtf");
}

QString TForm8::saveExtension() {
    return QStringLiteral("txt");
}

TextViewMode TForm8::pendingAction() const {
    const TForm4* mainWindow = registry_.form4();
    if (mainWindow == nullptr)
        return TextViewMode::None;
    const int value = static_cast<int>(mainWindow->TextViewMode);
    if (value < 0 || value > static_cast<int>(TextViewMode::KeepContentOnce))
        return TextViewMode::None;
    return static_cast<TextViewMode>(value);
}

void TForm8::setPendingAction(TextViewMode mode) {
    if (TForm4* mainWindow = registry_.form4())
        mainWindow->TextViewMode = static_cast<decltype(mainWindow->TextViewMode)>(mode);
}

qreal TForm8::firstLineIndent() const {
    return kFirstLineIndentPoints * RichEdit1->logicalDpiX() / 72.0;
}

QStringList TForm8::contentLines() const {
    const QTextDocument* document = RichEdit1->document();
    QStringList lines;
    if (document->isEmpty())
        return lines;
    lines.reserve(document->blockCount());
    // Block by block: the document's plain text would turn non-breaking spaces into blanks.
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        QString text = block.text();
        text.remove(QChar::ObjectReplacementCharacter); // pictures pasted into the box
        if (text.contains(QChar::LineSeparator))
            lines.append(text.split(QChar::LineSeparator));
        else
            lines.append(text);
    }
    return lines;
}

bool TForm8::contentIsEmpty() const {
    return RichEdit1->document()->isEmpty();
}

void TForm8::setContentLines(const QStringList& lines) {
    // Built apart from the box and then handed to it: formatting the paragraphs of the
    // document on show lays it out anew for each paragraph, seconds for a full table.
    const QPointer<QTextDocument> previous = RichEdit1->document();
    auto* document = new QTextDocument(RichEdit1);
    document->setDefaultFont(previous->defaultFont());
    document->setDefaultTextOption(previous->defaultTextOption());
    // Filling the box is not an edit the user can take back.
    document->setUndoRedoEnabled(false);
    document->setPlainText(lines.join(u'\n'));
    QTextCursor cursor(document);
    cursor.select(QTextCursor::Document);
    QTextBlockFormat indented;
    indented.setTextIndent(firstLineIndent());
    cursor.mergeBlockFormat(indented);
    document->setUndoRedoEnabled(true);
    RichEdit1->setDocument(document);
    delete previous.data(); // unless the box deleted it already
    RichEdit1->moveCursor(QTextCursor::Start);
    RichEdit1Change();
    RichEdit1SelectionChange();
}

void TForm8::appendLines(const QStringList& lines) {
    if (lines.isEmpty())
        return;
    QTextDocument* document = RichEdit1->document();
    const bool startsEmpty = document->isEmpty();
    QTextCursor cursor(document);
    cursor.movePosition(QTextCursor::End);
    QTextBlockFormat format = cursor.blockFormat();
    format.setTextIndent(firstLineIndent());
    cursor.beginEditBlock();
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (i == 0 && startsEmpty)
            cursor.setBlockFormat(format);
        else
            cursor.insertBlock(format);
        cursor.insertText(lines[i]);
    }
    cursor.endEditBlock();
}

void TForm8::applyFirstLineIndentToCurrentParagraph() {
    QTextCursor cursor = RichEdit1->textCursor();
    QTextBlockFormat format = cursor.blockFormat();
    if (qFuzzyCompare(format.textIndent(), firstLineIndent()))
        return;
    format.setTextIndent(firstLineIndent());
    cursor.setBlockFormat(format);
}

void TForm8::FormActivate() {
    const TextViewMode mode = pendingAction();
    const TextViewActivation activation = textViewActivation(mode);
    if (activation.nextMode != mode)
        setPendingAction(activation.nextMode);
    if (activation.clearsContent)
        setContentLines({});
    applyFirstLineIndentToCurrentParagraph();
    switch (activation.action) {
    case TextViewActivation::Action::RenderForViewing:
        renderTable(false);
        break;
    case TextViewActivation::Action::OpenFile:
        openTextFile();
        break;
    case TextViewActivation::Action::RenderAndSave:
        renderTable(true);
        saveTextFile();
        break;
    case TextViewActivation::Action::None:
        break;
    }
}

void TForm8::renderTable(bool forSaving) {
    const TableTextLayout layout = forSaving ? TableTextLayout::B : TableTextLayout::A;
    setContentLines(tableText(registry_.grid(), layout, registry_.settings(),
                              registry_.services().clock.now()));
}

void TForm8::openTextFile() {
    FileDialogRequest request;
    request.filter = openFilter();
    const std::optional<QString> path =
        registry_.services().dialogs.openFileName(this, request, true);
    // Started before the file is read, so that a file that cannot be read also leaves no
    // empty view behind.
    Timer1->start();
    if (!path)
        return;
    setContentLines({}); // a file that cannot be read leaves the view empty
    setContentLines(readTextFile(*path).lines);
}

void TForm8::saveTextFile() {
    FileDialogRequest request;
    request.filter = saveFilter();
    request.defaultExtension = saveExtension();
    const std::optional<QString> path = registry_.services().dialogs.saveFileName(this, request);
    if (!path)
        return;
    // Names that are no text show as the file-name codec shows them.
    QStringList lines = contentLines();
    for (QString& line : lines)
        line = displayFileName(line);
    // What the name says: RTF into ".rtf", plain text (UTF-8) into anything else.
    if (path->endsWith(QStringLiteral(".rtf"), Qt::CaseInsensitive)) {
        RtfWriter::writeFile(*path, lines);
        return;
    }
    QByteArray text;
    for (const QString& line : std::as_const(lines))
        text += line.toUtf8() + '\n';
    writeFileAtomically(*path, text);
}

void TForm8::printContent() {
    PlatformServices& services = registry_.services();
    printPages(services, this, *RichEdit1->document(), printJobTitle(services.clock.now()));
}

void TForm8::N1Click() {
    registry_.runReportingErrors(this, [this] { openTextFile(); });
}

void TForm8::N2Click() {
    registry_.runReportingErrors(this, [this] { saveTextFile(); });
}

void TForm8::Gtxfnm1Click() {
    registry_.runReportingErrors(this, [this] { printContent(); });
}

void TForm8::N13Click() {
    hideAndReturnToTable();
}

void TForm8::N11Click() {
    setPendingAction(modeForTextOutputSettings(pendingAction()));
    WindowRegistry::showWindow(textOutputWindow_);
}

void TForm8::Timer1Timer() {
    Timer1->stop();
    if (contentIsEmpty())
        hideAndReturnToTable();
}

void TForm8::hideAndReturnToTable() {
    hide();
    QWidget* mainWindow = registry_.form4();
    if (mainWindow != nullptr && mainWindow->isVisible())
        WindowRegistry::showWindow(mainWindow);
}

void TForm8::RichEdit1Change() {
    const bool canUndo = RichEdit1->document()->isUndoAvailable();
    N16->setEnabled(canUndo);
    N8->setEnabled(canUndo);
}

void TForm8::RichEdit1SelectionChange() {
    const bool selected = RichEdit1->textCursor().hasSelection();
    for (QAction* entry : {N18, N3, N20, N5})
        entry->setEnabled(selected);
}

void TForm8::Word1Click() {
    saveTextViewAsWordDocument(registry_, *this);
}

void TForm8::Word2Click() {
    printTextViewAsWordDocument(registry_, *this);
}

} // namespace songwick
