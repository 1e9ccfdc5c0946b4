#include "common/date_time.h"
#include "text_view_fixture.h"
#include "textview/rtf_writer.h"

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTextBlock>
#include <QTextEdit>
#include <QTimer>

namespace songwick::testing {
namespace {

using TextViewWindowTest = TextViewFixture;

QString writeFile(const QTemporaryDir& root, const QString& name, const QByteArray& bytes) {
    const QString path = root.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return {};
    return path;
}

TEST_F(TextViewWindowTest, RenderShowsTheTableInLayoutAWithTheTrailer) {
    registry->settings().TextAddCaption = true;
    openView(TextViewMode::Render);
    const QStringList lines = view->contentLines();
    EXPECT_EQ(lines, rendering(TableTextLayout::A));
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[0], u"1\t/песни/Ночь.kar Кино - Ночь\tЦой\tЦой\tВася\t"_s);
    EXPECT_EQ(lines[3], u" Made in Earth"_s);
    // Every paragraph starts with the 11-point indent.
    const QTextBlock first = view->RichEdit1->document()->firstBlock();
    EXPECT_NEAR(first.blockFormat().textIndent(), 11.0 * view->RichEdit1->logicalDpiX() / 72.0,
                0.01);
    EXPECT_FALSE(view->N16->isEnabled()) << "the rendering is not an edit to take back";
}

TEST_F(TextViewWindowTest, ComingBackInRenderDiscardsEditsAndRendersAgain) {
    openView(TextViewMode::Render);
    view->RichEdit1->moveCursor(QTextCursor::End);
    QTest::keyClicks(view->RichEdit1, u"edit"_s);
    ASSERT_TRUE(view->contentLines().last().endsWith(u"edit"_s));

    activate(mainWindow);
    mainWindow->changeTable([](CatalogueGrid& grid) { grid.setCell(3, 2, u"Новое"_s); });
    activate(view);
    EXPECT_EQ(view->contentLines(), rendering(TableTextLayout::A));
    EXPECT_TRUE(view->contentLines()[1].contains(u"Новое"_s));
}

TEST_F(TextViewWindowTest, CancelledOpenInOpenFileHidesTheEmptyView) {
    view->RichEdit1->setPlainText(u"старое"_s);
    openView(TextViewMode::OpenFile);
    EXPECT_EQ(platform.dialogs.openFilters, QStringList{u"Текстовые файлы|*.txt|Все файлы|*.*"_s});
    EXPECT_TRUE(view->contentIsEmpty());
    EXPECT_TRUE(view->Timer1->isActive());
    EXPECT_TRUE(view->Timer1->isSingleShot());
    EXPECT_EQ(view->Timer1->interval(), 200);
    EXPECT_TRUE(view->isVisible());

    EXPECT_TRUE(QTest::qWaitFor([this] { return !view->isVisible(); }, 5000));
    EXPECT_TRUE(QTest::qWaitForWindowActive(mainWindow));
    EXPECT_EQ(view->pendingAction(), TextViewMode::OpenFile);
}

TEST_F(TextViewWindowTest, SettingsWhileAFileIsOpenKeepItOnceThenRenderAgain) {
    const QString path = writeFile(root, u"песни.txt"_s, u"Первая\r\nВторая\r\n"_s.toUtf8());
    platform.dialogs.opens.push_back(path);
    openView(TextViewMode::OpenFile);
    ASSERT_EQ(view->contentLines(), (QStringList{u"Первая"_s, u"Вторая"_s}));
    // The open dialog's timer finds text and leaves the view up.
    ASSERT_TRUE(QTest::qWaitFor([this] { return !view->Timer1->isActive(); }, 5000));
    EXPECT_TRUE(view->isVisible());

    view->N11->trigger();
    ASSERT_TRUE(QTest::qWaitForWindowActive(settingsWindow));
    EXPECT_EQ(view->pendingAction(), TextViewMode::KeepContentOnce);
    settingsWindow->CheckBox1->click();
    settingsWindow->Button1->click(); // appends nothing: no rendering is on view
    ASSERT_TRUE(QTest::qWaitForWindowActive(view));
    settle();
    EXPECT_EQ(view->contentLines(), (QStringList{u"Первая"_s, u"Вторая"_s}));
    EXPECT_EQ(view->pendingAction(), TextViewMode::Render);

    activate(mainWindow);
    activate(view);
    EXPECT_EQ(view->contentLines(), rendering(TableTextLayout::A));
}

TEST_F(TextViewWindowTest, SettingsOkAppendsToARenderingThatIsRenderedAgainOnReturn) {
    openView(TextViewMode::Render);
    const QStringList rendered = view->contentLines();

    // Opened from the main window, the settings window gives the activation back to it, so
    // the view keeps what OK added.
    activate(mainWindow);
    activate(settingsWindow);
    settingsWindow->CheckBox1->click();
    settingsWindow->Button1->click();
    EXPECT_EQ(view->contentLines(), rendered + QStringList{u"08.12.2026  12.00.00"_s});
    ASSERT_TRUE(QTest::qWaitForWindowActive(mainWindow));

    // Opened from the view, it gives the activation back to the view, which renders anew.
    activate(view);
    view->N11->trigger();
    ASSERT_TRUE(QTest::qWaitForWindowActive(settingsWindow));
    EXPECT_EQ(view->pendingAction(), TextViewMode::Render);
    settingsWindow->CheckBox1->click(); // off again
    settingsWindow->Button1->click();
    ASSERT_TRUE(QTest::qWaitForWindowActive(view));
    settle();
    EXPECT_EQ(view->contentLines(), rendering(TableTextLayout::A));
    EXPECT_FALSE(view->contentLines().contains(u"08.12.2026  12.00.00"_s));
}

TEST_F(TextViewWindowTest, RenderAndSaveWritesLayoutBAsTheChosenNameSays) {
    const QString path = root.filePath(u"список.rtf"_s);
    platform.dialogs.saves.push_back(path);
    openView(TextViewMode::RenderAndSave);
    EXPECT_EQ(platform.dialogs.saveFilters,
              QStringList{u"Текстовые файлы|*.txt|Текст RTF|*.rtf"_s});
    const QStringList lines = rendering(TableTextLayout::B);
    EXPECT_EQ(view->contentLines(), lines);
    EXPECT_EQ(lines[1], u"V 2\t/песни/\tслова\tмузыка\t\t"_s);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), RtfWriter::toRtf(lines));

    // Into ".txt" goes plain text, never RTF markup.
    const QString plain = root.filePath(u"список.txt"_s);
    platform.dialogs.saves.push_back(plain);
    view->N2->trigger();
    QFile text(plain);
    ASSERT_TRUE(text.open(QIODevice::ReadOnly));
    EXPECT_EQ(text.readAll(), (lines.join(u'\n') + u'\n').toUtf8());

    // Coming back renders again and offers the dialog again; cancelling it keeps the
    // rendering on screen.
    activate(mainWindow);
    activate(view);
    EXPECT_EQ(platform.dialogs.saveFilters.size(), 3);
    EXPECT_EQ(view->contentLines(), rendering(TableTextLayout::B));
}

TEST_F(TextViewWindowTest, SavedTextOpensAgainWithTheSameLines) {
    openView(TextViewMode::None);
    const QStringList lines{u"Ёжик\tв тумане\u00a0— «Союзмультфильм»"_s, QString(),
                            u"{скобки} и \\ черта"_s, u"€ и 中文"_s};
    view->setContentLines(lines);
    const QString path = root.filePath(u"текст.rtf"_s);
    platform.dialogs.saves.push_back(path);
    view->N2->trigger();
    ASSERT_TRUE(platform.messages.shown.isEmpty())
        << platform.messages.shown.join(u'\n').toStdString();
    QFile saved(path);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_TRUE(saved.readAll().startsWith("{\\rtf1"));

    view->setContentLines({u"другое"_s});
    platform.dialogs.opens.push_back(path);
    view->N1->trigger();
    EXPECT_EQ(view->contentLines(), lines);
}

TEST_F(TextViewWindowTest, AFileThatCannotBeReadIsReportedAndLeavesTheViewEmpty) {
    openView(TextViewMode::None);
    view->setContentLines({u"текст"_s});
    platform.dialogs.opens.push_back(root.filePath(u"нет такого.txt"_s));
    view->N1->trigger();
    EXPECT_EQ(platform.messages.shown.size(), 1);
    EXPECT_TRUE(view->contentIsEmpty());
}

TEST_F(TextViewWindowTest, PrintSendsTheWholeContentAsOneTitledJob) {
    openView(TextViewMode::Render);
    view->Gtxfnm1->trigger();
    EXPECT_EQ(printer.jobNames, QStringList{u"Список kar файлов 08.12.2026  12.00.00"_s});
    ASSERT_EQ(printer.printed.size(), 1);
    EXPECT_TRUE(printer.printed[0].startsWith(u"1\t/песни/Ночь.kar"_s));
    EXPECT_TRUE(platform.messages.shown.isEmpty());
}

TEST_F(TextViewWindowTest, WithoutAPrinterThePagesGoToAPdfFileOnRequest) {
    printer.installed = false;
    openView(TextViewMode::Render);
    const QStringList before = view->contentLines();
    platform.messages.answers = {MessageBoxes::Answer::No, MessageBoxes::Answer::Yes};
    view->Gtxfnm1->trigger(); // "Нет": nothing is written
    EXPECT_TRUE(platform.dialogs.saveFilters.isEmpty());
    const QString pdfPath = root.filePath(u"страницы.pdf"_s);
    platform.dialogs.saves.push_back(pdfPath);
    view->Gtxfnm1->trigger();

    ASSERT_EQ(platform.messages.asked.size(), 2);
    EXPECT_TRUE(platform.messages.asked[1].startsWith(u"Принтер по умолчанию не найден."_s));
    EXPECT_EQ(platform.dialogs.saveFilters, QStringList{u"Документы PDF|*.pdf|"_s});
    EXPECT_TRUE(platform.messages.shown.isEmpty());
    EXPECT_TRUE(printer.printed.isEmpty());
    EXPECT_EQ(view->contentLines(), before);
    QFile pdf(pdfPath);
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    EXPECT_TRUE(pdf.read(5) == "%PDF-");
    pdf.close();

    const QString pdftotext = QStandardPaths::findExecutable(u"pdftotext"_s);
    if (pdftotext.isEmpty())
        GTEST_SKIP() << "pdftotext is not installed";
    QProcess reader;
    reader.start(pdftotext, {u"-enc"_s, u"UTF-8"_s, pdfPath, u"-"_s});
    ASSERT_TRUE(reader.waitForFinished(30000));
    const QString text = QString::fromUtf8(reader.readAllStandardOutput());
    EXPECT_TRUE(text.contains(u"/песни/Ночь.kar"_s)) << text.toStdString();
    EXPECT_TRUE(text.contains(u"Кино - Ночь"_s)) << text.toStdString();

    // A line wider than the page wraps rather than losing its end past the right edge.
    view->setContentLines({QStringList(40, u"слово"_s).join(u' ') + u" КОНЕЦ"_s});
    platform.messages.answers = {MessageBoxes::Answer::Yes};
    platform.dialogs.saves.push_back(pdfPath);
    view->Gtxfnm1->trigger();
    reader.start(pdftotext, {u"-enc"_s, u"UTF-8"_s, pdfPath, u"-"_s});
    ASSERT_TRUE(reader.waitForFinished(30000));
    EXPECT_TRUE(QString::fromUtf8(reader.readAllStandardOutput()).contains(u"КОНЕЦ"_s));
}

TEST_F(TextViewWindowTest, EditEntriesFollowUndoAndSelection) {
    openView(TextViewMode::None);
    for (QAction* entry : {view->N16, view->N8, view->N18, view->N3, view->N20, view->N5})
        EXPECT_FALSE(entry->isEnabled()) << entry->text().toStdString();
    for (QAction* entry : {view->N19, view->N4, view->N22, view->N7})
        EXPECT_TRUE(entry->isEnabled()) << entry->text().toStdString();
    EXPECT_TRUE(view->Word1->isEnabled());
    EXPECT_TRUE(view->Word2->isEnabled());

    QTest::keyClicks(view->RichEdit1, u"word"_s);
    EXPECT_TRUE(view->N16->isEnabled());
    EXPECT_TRUE(view->N8->isEnabled());
    view->N7->trigger();
    for (QAction* entry : {view->N18, view->N3, view->N20, view->N5})
        EXPECT_TRUE(entry->isEnabled()) << entry->text().toStdString();
    view->N20->trigger(); // cut
    EXPECT_TRUE(view->contentIsEmpty());
    EXPECT_FALSE(view->N18->isEnabled());
    view->N4->trigger(); // paste
    EXPECT_EQ(view->contentLines(), QStringList{u"word"_s});
    view->N16->trigger(); // undo the paste
    EXPECT_TRUE(view->contentIsEmpty());
}

TEST_F(TextViewWindowTest, BackToTheTableHidesTheViewAndKeepsItsContent) {
    openView(TextViewMode::Render);
    const QStringList lines = view->contentLines();
    view->N13->trigger();
    EXPECT_FALSE(view->isVisible());
    EXPECT_TRUE(QTest::qWaitForWindowActive(mainWindow));
    EXPECT_EQ(view->contentLines(), lines);
}

TEST_F(TextViewWindowTest, AFullTableRendersEveryRowAndPrintsWhole) {
    constexpr int kRows = 45002;
    mainWindow->changeTable([](CatalogueGrid& grid) {
        grid.setRowCount(kRows + 1);
        for (int row = 1; row <= kRows; ++row) {
            grid.setCell(0, row, QString::number(row));
            grid.setCell(1, row, u"Песня номер %1.kar"_s.arg(row));
            grid.setCell(2, row, u"/музыка/караоке/"_s);
            grid.setCell(3, row, u"Исполнитель - Название"_s);
        }
    });
    openView(TextViewMode::Render);
    const QStringList lines = view->contentLines();
    ASSERT_EQ(lines.size(), kRows + 1);
    EXPECT_EQ(lines[kRows - 1],
              u"45002\t/музыка/караоке/Песня номер 45002.kar Исполнитель - Название\t\t\t\t"_s);
    EXPECT_EQ(view->RichEdit1->document()->lastBlock().blockFormat().textIndent(),
              view->RichEdit1->document()->firstBlock().blockFormat().textIndent());

    view->Gtxfnm1->trigger();
    ASSERT_EQ(printer.printed.size(), 1);
    EXPECT_EQ(printer.printed[0].count(u'\n'), kRows);
}

} // namespace
} // namespace songwick::testing
