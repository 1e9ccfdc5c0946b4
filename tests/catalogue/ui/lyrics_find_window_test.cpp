#include "app/ui/close_question_window.h"
#include "app/ui/program_fixture.h"
#include "catalogue/ui/catalogue_table_model.h"
#include "catalogue/ui/catalogue_table_view.h"
#include "scan/kar_builder.h"
#include "scan/lyrics_index.h"
#include "scan/ui/scan_progress.h"
#include "settings/options_file.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

namespace songwick::testing {
namespace {

using songwick::test::KarBuilder;

// A file whose melody track sings the syllables as lyric events.
QByteArray singing(const QList<QByteArray>& syllables) {
    KarBuilder kar;
    kar.trackName("Song").nextTrack().trackName("Melody");
    for (const QByteArray& syllable : syllables)
        kar.meta(0x05, syllable).raw(QByteArray("\x00\x90\x40\x64\x60\x80\x40\x00", 8));
    return kar.bytes();
}

// The find line set to "по словам песни" over a scanned folder of three songs.
TEST(LyricsFindWindowTest, TheFindLineFindsSongsByTheirWordsBestFirst) {
    QTemporaryDir root;
    ProgramUnderTest program{root.filePath(QStringLiteral("prop.dat"))};
    // The index of this run stays in memory, never in the user's cache folder.
    setRememberReadFiles(optionsFilePathBeside(root.filePath(QStringLiteral("prop.dat"))), false);
    const QString folder = root.filePath(QStringLiteral("songs"));
    QDir().mkpath(folder);
    const std::pair<const char*, QByteArray> files[] = {
        {"a.kar", singing({"Load ", "up ", "on ", "guns,\r", "bring ", "your ", "friends\r"})},
        {"b.kar", singing({"Guns, ", "guns ", "and ", "friends\r"})},
        {"c.kar", singing({"Nothing ", "here\r"})},
    };
    for (const auto& [name, bytes] : files) {
        QFile file(folder + u'/' + QString::fromLatin1(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    ASSERT_TRUE(program.start());
    program.platform.dialogs.folders.push_back(folder);
    TForm4* window = program.mainWindow();
    QTest::mouseClick(program.startWindow()->Button1, Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    ProgramUnderTest::settle();
    ASSERT_EQ(window->tableModel->rowCount(), 3);

    window->FindScope->setCurrentIndex(1);
    EXPECT_TRUE(window->FindSungLine->isVisible());
    QTest::keyClicks(window->FindEdit, QStringLiteral("friends gun"));

    const auto shownName = [window](int row) {
        return window->tableModel->index(row, 1).data().toString();
    };
    ASSERT_EQ(window->tableModel->rowCount(), 2);
    EXPECT_EQ(shownName(0), QStringLiteral("b.kar"));
    EXPECT_EQ(shownName(1), QStringLiteral("a.kar"));
    EXPECT_EQ(window->Label3->text(), QStringLiteral("Показано 2 из 3"));
    EXPECT_TRUE(window->FindSungLine->text().contains(
        QStringLiteral("<b>Guns</b>, <b>guns</b> and <b>friends</b>")))
        << window->FindSungLine->text().toStdString();
    // The side line follows the current row.
    window->StringGrid1->setCurrentIndex(window->tableModel->index(1, 2));
    EXPECT_TRUE(window->FindSungLine->text().contains(QStringLiteral("on <b>guns</b>,")))
        << window->FindSungLine->text().toStdString();
    EXPECT_TRUE(program.platform.messages.shown.empty());

    // Back to the descriptions: the words are no title.
    window->FindScope->setCurrentIndex(0);
    EXPECT_FALSE(window->FindSungLine->isVisible());
    EXPECT_EQ(window->tableModel->rowCount(), 0);
    window->FindEdit->clear();
    EXPECT_EQ(window->tableModel->rowCount(), 3);
}

// The start window's scan with the structured reading fills a stored lyrics index beside it;
// with the program's reading, the first search reads the words, and "Прервать" stops it.
TEST(LyricsFindWindowTest, AStructuredScanFillsTheIndexAndTheReadingOfWordsCanBeStopped) {
    QTemporaryDir root;
    const QByteArray savedHome = qgetenv("HOME");
    qputenv("HOME", QFile::encodeName(root.filePath(QStringLiteral("home"))));
    const struct RestoreHome {
        QByteArray home;
        ~RestoreHome() { qputenv("HOME", home); }
    } restoreHome{savedHome};
    const QString settingsPath = root.filePath(QStringLiteral("prop.dat"));
    ProgramUnderTest program{settingsPath};
    const QString folder = root.filePath(QStringLiteral("songs"));
    QDir().mkpath(folder);
    for (const auto& [name, bytes] :
         {std::pair{"a.kar", singing({"Load ", "up ", "on ", "guns\r"})},
          std::pair{"b.kar", singing({"Guns ", "and ", "friends\r"})},
          std::pair{"c.kar", singing({"Nothing ", "here\r"})}}) {
        QFile file(folder + u'/' + QString::fromLatin1(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    {
        const auto options = openOptionsFile(optionsFilePathBeside(settingsPath));
        options->setValue(QStringLiteral("reading/method"), QStringLiteral("structured"));
    }
    ASSERT_TRUE(program.start());
    program.platform.dialogs.folders.push_back(folder);
    TForm4* window = program.mainWindow();
    QTest::mouseClick(program.startWindow()->Button1, Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    ASSERT_EQ(window->tableModel->rowCount(), 3);
    ASSERT_TRUE(QTest::qWaitFor([window] { return !window->readsLyricsIntoIndex(); }, 10000));
    EXPECT_EQ(LyricsIndex(defaultLyricsIndexPath()).documentCount(), 3);

    window->FindScope->setCurrentIndex(1);
    QTest::keyClicks(window->FindEdit, QStringLiteral("guns"));
    EXPECT_EQ(window->tableModel->rowCount(), 2);
    EXPECT_EQ(window->findChild<QPushButton*>(QLatin1String(kInterruptScanButtonName)), nullptr);

    // The program's reading, in copies of the files: the words are read at the first search,
    // which is stopped.
    window->FindEdit->clear();
    {
        const auto options = openOptionsFile(optionsFilePathBeside(settingsPath));
        options->setValue(QStringLiteral("reading/method"), QStringLiteral("program"));
    }
    const QString copies = root.filePath(QStringLiteral("copies"));
    QDir().mkpath(copies);
    for (const QString& name : QDir(folder).entryList(QDir::Files))
        ASSERT_TRUE(QFile::copy(folder + u'/' + name, copies + u'/' + name));
    window->FindScope->setCurrentIndex(0);
    program.platform.dialogs.folders.push_back(copies);
    window->N2->trigger();
    ProgramUnderTest::settle();
    // "Нет" on the question about the unsaved table: the scan goes on.
    QTest::mouseClick(program.registry->form12()->Button2, Qt::LeftButton);
    ProgramUnderTest::settle();
    ASSERT_EQ(window->tableModel->rowCount(), 3);
    ASSERT_EQ(window->table().cell(2, 1).toStdString(), (copies + u'/').toStdString());
    bool buttonShown = false;
    QTimer::singleShot(0, window, [&] {
        auto* button = window->findChild<QPushButton*>(QLatin1String(kInterruptScanButtonName));
        ASSERT_NE(button, nullptr);
        buttonShown = button->isVisible() && window->ProgressBar1->isVisible();
        QTest::mouseClick(button, Qt::LeftButton);
    });
    window->FindScope->setCurrentIndex(1);
    QTest::keyClicks(window->FindEdit, QStringLiteral("guns"));
    EXPECT_TRUE(buttonShown);
    EXPECT_FALSE(window->ProgressBar1->isVisible());
    EXPECT_EQ(window->tableModel->rowCount(), 0);
    EXPECT_TRUE(window->FindSungLine->toolTip().startsWith(
        QStringLiteral("Чтение слов песен прервано. Слова пока не известны для строк: 3.")))
        << window->FindSungLine->toolTip().toStdString();
    // Switched to the sung words anew, the search reads them.
    window->FindScope->setCurrentIndex(0);
    window->FindScope->setCurrentIndex(1);
    EXPECT_EQ(window->tableModel->rowCount(), 2);
    EXPECT_TRUE(window->FindSungLine->toolTip().isEmpty());
}

} // namespace
} // namespace songwick::testing
