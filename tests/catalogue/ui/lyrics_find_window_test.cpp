#include "app/ui/program_fixture.h"
#include "catalogue/ui/catalogue_table_model.h"
#include "catalogue/ui/catalogue_table_view.h"
#include "scan/kar_builder.h"
#include "scan/ui/scan_progress.h"
#include "settings/options_file.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
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

} // namespace
} // namespace songwick::testing
