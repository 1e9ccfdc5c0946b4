#include "app/ui/close_question_window.h"
#include "app/ui/karaoke_folder.h"
#include "app/ui/program_fixture.h"
#include "app/ui/visible_texts.h"
#include "catalogue/ui/main_window.h"
#include "catalogue/ui/songbook_options_window.h"
#include "help/help_topics.h"
#include "help/ui/about_window.h"
#include "help/ui/help_window.h"
#include "help/ui/splash_window.h"
#include "rename/ui/composite_rename_window.h"
#include "rename/ui/rename_preview_window.h"
#include "scan/reading_options.h"
#include "scan/ui/scan_options_window.h"
#include "settings/options_file.h"
#include "settings/ui/general_settings_window.h"
#include "settings/ui/text_output_settings_window.h"
#include "textview/ui/text_view_window.h"
#include "translations/interface_language.h"

#include <QListWidget>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace songwick::testing {
namespace {

// The windows built under the English translation show no Russian: every caption, tooltip,
// menu entry, header and message is translated. A window joins the walk once its texts are.
TEST(EnglishWindowsTest, NoWindowShowsARussianText) {
    const InstalledLanguage english(Language::English);
    QTemporaryDir folder;
    ProgramUnderTest program(folder.filePath(QStringLiteral("prop.dat")));
    WindowRegistry& registry = *program.registry;
    ASSERT_TRUE(program.start());
    // The main window with a scanned table: its headers, rows and status line.
    program.platform.dialogs.folders.push_back(makeKaraokeFolder(folder, QStringLiteral("songs")));
    QTest::mouseClick(registry.form1()->Button1, Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitForWindowActive(registry.form4()));
    ProgramUnderTest::settle();

    TSplashForm splash;
    SongbookOptionsWindow songbook(SongbookOptions{}, registry.form4());
    RenamePreviewWindow preview(
        {{1, QStringLiteral("/music"), QStringLiteral("a.kar"), QStringLiteral("b.kar"), {}}},
        [] {}, registry.form1());
    const std::vector<QWidget*> windows{
        registry.form1(),  registry.form5(),  registry.form6(), registry.form8(), registry.form9(),
        registry.form10(), registry.form12(), registry.help(),  &splash,          &preview,
        registry.form4(),  registry.form3(),  &songbook};
    QStringList russian;
    for (QWidget* window : windows)
        russian << VisibleTexts::cyrillic(VisibleTexts::of(window));

    // The help window's answers, which it shows one at a time.
    for (const HelpTopic& topic : helpTopics()) {
        QStringList texts{topic.title, topic.answer};
        texts << topic.questions << topic.answers;
        for (const QString& text : texts)
            russian << VisibleTexts::cyrillic({QStringLiteral("help: ") + text});
    }

    // A message through the message interface: the composite rename with no part ticked.
    WindowRegistry::showWindow(registry.form6());
    for (int row = 0; row < registry.form6()->viberi->count(); ++row)
        registry.form6()->viberi->item(row)->setCheckState(Qt::Unchecked);
    QTest::mouseClick(registry.form6()->Button3, Qt::LeftButton);
    const QStringList& messages = program.platform.messages.shown;
    ASSERT_FALSE(messages.isEmpty());
    for (const QString& message : messages)
        russian << VisibleTexts::cyrillic({QStringLiteral("message: ") + message});

    // The language box names each language in itself.
    russian.removeAll(QStringLiteral("LanguageBox/item: Русский"));
    EXPECT_EQ(russian.join(u'\n').toStdString(), "");

    // The English captions, often longer than the Russian, fit their controls.
    QStringList clipped;
    for (QWidget* window : windows) {
        window->show();
        QCoreApplication::processEvents();
        clipped << VisibleTexts::clipped(window);
        window->hide();
    }
    EXPECT_EQ(clipped.join(u'\n').toStdString(), "");
}

QStringList menuPaths(const QString& above, const QList<QAction*>& actions) {
    QStringList paths;
    for (const QAction* action : actions) {
        const QString path = (above.isEmpty() ? QString() : above + QStringLiteral(" > ")) +
                             action->text().remove(u'&');
        paths << path;
        if (const QMenu* menu = action->menu())
            paths << menuPaths(path, menu->actions());
    }
    return paths;
}

// The English help leads the user through the main window's menus by these paths.
TEST(EnglishWindowsTest, MainWindowMenusHaveThePathsTheHelpNames) {
    const InstalledLanguage english(Language::English);
    QTemporaryDir folder;
    ProgramUnderTest program(folder.filePath(QStringLiteral("prop.dat")));
    const QStringList paths = menuPaths(QString(), program.mainWindow()->menuBar()->actions());
    for (const char* path : {"File > New scan...", "File > Export to > MS Excel",
                             "File > Rename files > Undo the last rename", "Table > Find repeats",
                             "Table > Delete marked rows", "File > Songbook as PDF...",
                             "Table > Reread marked rows by the file's structure"})
        EXPECT_TRUE(paths.contains(QString::fromUtf8(path))) << path;
}

// The scan options window shows the file-name patterns' placeholders in English and keeps
// them in options.ini as the matcher reads them, whatever the interface language.
TEST(EnglishWindowsTest, ScanOptionsShowPatternsInEnglishAndKeepThemAsStored) {
    const InstalledLanguage english(Language::English);
    QTemporaryDir folder;
    ProgramUnderTest program(folder.filePath(QStringLiteral("prop.dat")));
    const QString optionsPath = folder.filePath(QStringLiteral("options.ini"));
    TForm3* options = program.registry->form3();
    options->setOptionsFilePath(optionsPath);
    options->show();
    options->FormActivate();
    EXPECT_EQ(options->Memo1->toPlainText(), QStringLiteral("Performer - Title\nTitle"));

    options->Memo1->setPlainText(QStringLiteral("Title (Performer)\nPerformer_Title"));
    QTest::mouseClick(options->Button1, Qt::LeftButton);
    EXPECT_EQ(loadReadingOptions(*openOptionsFile(optionsPath)).structured.fileNamePatterns,
              QStringList({QStringLiteral("Название (Исполнитель)"),
                           QStringLiteral("Исполнитель_Название")}));
}

} // namespace
} // namespace songwick::testing
