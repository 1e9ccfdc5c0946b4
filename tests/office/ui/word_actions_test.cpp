#include "office/ui/office_actions.h"
#include "office/word_output.h"
#include "office/zip_reading.h"
#include "office_windows_fixture.h"
#include "textview/table_text.h"

#include <QFile>
#include <QFileInfo>
#include <QTextEdit>

namespace songwick::testing {
namespace {

using WordActions = OfficeWindowsFixture;

const QList<QStringList> kTwoSongs = {
    {u"ночь.kar"_s, u"/караоке/"_s, u"Кино - Ночь"_s, u"Цой"_s, u"Цой"_s, u"Вася"_s},
    {u"лето.kar"_s, u"/караоке/"_s, u"Лето"_s, QString(), QString(), QString()},
};

QByteArray documentXml(const QString& docxPath) {
    QFile file(docxPath);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return zipPart(file.readAll(), "word/document.xml").value_or(QByteArray());
}

QString freshRendering(WindowRegistry& registry, const FakeClock& clock) {
    return freshTableText(registry.grid(), registry.settings(), clock.value);
}

TEST_F(WordActions, SavingTheTableAddsDocxToANameWithoutExtension) {
    showMainWindowWith(kTwoSongs);
    const QString typed = root.filePath(u"список песен"_s);
    platform.dialogs.saves.push_back(typed);

    saveTableAsWordDocument(*registry, *mainWindow);

    EXPECT_TRUE(platform.messages.shown.isEmpty())
        << platform.messages.shown.join(u'\n').toStdString();
    EXPECT_EQ(platform.dialogs.saveFilters, QStringList{u"Документ Word|*.docx|"_s});
    EXPECT_FALSE(QFileInfo::exists(typed));
    const QByteArray xml = documentXml(typed + u".docx"_s);
    EXPECT_TRUE(xml.contains(u"Кино - Ночь"_s.toUtf8()));
    EXPECT_TRUE(xml.contains(u"лето.kar"_s.toUtf8()));
    EXPECT_TRUE(desktop.opened.isEmpty()) << "a saved document is not shown";
    EXPECT_TRUE(showsDefaultCursor(mainWindow->StringGrid1));
}

TEST_F(WordActions, CancelledSaveDialogWritesNothing) {
    showMainWindowWith(kTwoSongs);
    saveTableAsWordDocument(*registry, *mainWindow);
    saveTextViewAsWordDocument(*registry, *view);
    EXPECT_EQ(platform.dialogs.saveFilters.size(), 2);
    EXPECT_TRUE(QDir(root.path()).entryList(QDir::Files).isEmpty());
    EXPECT_TRUE(platform.messages.shown.isEmpty());
}

TEST_F(WordActions, ExportOpensAFreshRenderingInTheWordProcessor) {
    showMainWindowWith(kTwoSongs);
    view->setContentLines({u"старый текст вида"_s});

    exportTableToWordProcessor(*registry, *mainWindow);

    ASSERT_EQ(desktop.opened.size(), 1);
    EXPECT_EQ(newExportFiles(), desktop.opened);
    EXPECT_TRUE(desktop.opened.front().endsWith(u".docx"_s));
    const QByteArray xml = documentXml(desktop.opened.front());
    EXPECT_TRUE(xml.contains(u"Кино - Ночь"_s.toUtf8()));
    EXPECT_FALSE(xml.contains(u"старый текст вида"_s.toUtf8()));
    EXPECT_EQ(view->contentLines(), QStringList{u"старый текст вида"_s})
        << "the view keeps what the user has in it";
}

TEST_F(WordActions, PrintingTheTableSendsTheRenderingToThePrinter) {
    showMainWindowWith(kTwoSongs);
    printTableAsWordDocument(*registry, *mainWindow);

    EXPECT_TRUE(platform.messages.shown.isEmpty())
        << platform.messages.shown.join(u'\n').toStdString();
    ASSERT_EQ(printer.printed.size(), 1);
    EXPECT_EQ(printer.printed.front(),
              documentWithText(freshRendering(*registry, platform.clock)).printText());
    EXPECT_TRUE(printer.printed.front().contains(u"Кино - Ночь"_s));
    EXPECT_EQ(printer.jobNames, QStringList{printJobTitle(platform.clock.value)});
    EXPECT_TRUE(showsDefaultCursor(mainWindow->StringGrid1));
}

TEST_F(WordActions, PrintingWithoutAPrinterIsReported) {
    showMainWindowWith(kTwoSongs);
    printer.installed = false;
    printTableAsWordDocument(*registry, *mainWindow);
    view->setContentLines({u"строка"_s});
    printTextViewAsWordDocument(*registry, *view);
    ASSERT_EQ(platform.messages.asked.size(), 2);
    for (const QString& question : platform.messages.asked)
        EXPECT_TRUE(question.startsWith(u"Принтер по умолчанию не найден."_s));
    EXPECT_TRUE(platform.messages.shown.isEmpty());
    EXPECT_TRUE(showsDefaultCursor(mainWindow->StringGrid1));
    EXPECT_TRUE(showsDefaultCursor(view->RichEdit1));
}

TEST_F(WordActions, TextViewEntriesCarryTheViewsTextWithItsEdits) {
    view->setContentLines({u"первая строка\tс табуляцией"_s, u"вторая"_s});
    view->show();
    view->RichEdit1->moveCursor(QTextCursor::End);
    QTest::keyClicks(view->RichEdit1, u" edit"_s);

    printTextViewAsWordDocument(*registry, *view);
    ASSERT_EQ(printer.printed.size(), 1);
    EXPECT_EQ(printer.printed.front(), u"первая строка\tс табуляцией\nвторая edit"_s);
    EXPECT_TRUE(view->isVisible());

    const QString typed = root.filePath(u"вид"_s);
    platform.dialogs.saves.push_back(typed);
    saveTextViewAsWordDocument(*registry, *view);
    EXPECT_TRUE(platform.messages.shown.isEmpty())
        << platform.messages.shown.join(u'\n').toStdString();
    const QByteArray xml = documentXml(typed + u".docx"_s);
    EXPECT_TRUE(xml.contains(u"вторая edit"_s.toUtf8()));
    EXPECT_TRUE(xml.contains(u"первая строка"_s.toUtf8()));
}

} // namespace
} // namespace songwick::testing
