#include "folder_fixture.h"
#include "qt_printing.h"
#include "rename/no_replace_rename.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <unistd.h>

namespace songwick {
namespace {

using NoReplaceRenameTest = FolderFixture;

TEST_F(NoReplaceRenameTest, CaseOnlyChangeRenamesTheFile) {
    writeFile(QStringLiteral("a.kar"), "song");
    const RenameAttempt attempt =
        renameWithoutReplacing(folder(), QStringLiteral("a.kar"), QStringLiteral("A.kar"));
    EXPECT_EQ(attempt.outcome, RenameOutcome::Renamed);
    EXPECT_EQ(entries(), QStringList{QStringLiteral("A.kar")});
    EXPECT_EQ(contentOf(QStringLiteral("A.kar")), "song");
}

// Two names of one file that differ only in case look like a case-insensitive file system's
// single file; the rename must still not drop either name.
TEST_F(NoReplaceRenameTest, CaseOnlyChangeOntoAHardLinkOfTheSameFileKeepsBothNames) {
    writeFile(QStringLiteral("b.kar"), "song");
    ASSERT_EQ(::link(QFile::encodeName(folder() + QStringLiteral("b.kar")).constData(),
                     QFile::encodeName(folder() + QStringLiteral("B.kar")).constData()),
              0);
    const RenameAttempt attempt =
        renameWithoutReplacing(folder(), QStringLiteral("b.kar"), QStringLiteral("B.kar"));
    EXPECT_EQ(attempt.outcome, RenameOutcome::TargetExists);
    EXPECT_EQ(entries(), (QStringList{QStringLiteral("B.kar"), QStringLiteral("b.kar")}));
}

TEST_F(NoReplaceRenameTest, ExistingTargetKeepsBothFiles) {
    writeFile(QStringLiteral("one.kar"), "first");
    writeFile(QStringLiteral("two.kar"), "second");
    const RenameAttempt attempt =
        renameWithoutReplacing(folder(), QStringLiteral("one.kar"), QStringLiteral("two.kar"));
    EXPECT_EQ(attempt.outcome, RenameOutcome::TargetExists);
    EXPECT_EQ(contentOf(QStringLiteral("one.kar")), "first");
    EXPECT_EQ(contentOf(QStringLiteral("two.kar")), "second");
}

TEST_F(NoReplaceRenameTest, NamesThatLeaveTheFolderOrAreEmptyAreRefusedUntried) {
    writeFile(QStringLiteral("a.kar"), "song");
    const QString withNul = QStringLiteral("x") + QChar(u'\0') + QStringLiteral(".kar");
    for (const QString& name : {QStringLiteral("../x.kar"), QStringLiteral("sub/x.kar"), QString(),
                                QStringLiteral("."), QStringLiteral(".."), withNul}) {
        EXPECT_FALSE(isValidFileName(name)) << name.toStdString();
        EXPECT_EQ(renameWithoutReplacing(folder(), QStringLiteral("a.kar"), name).outcome,
                  RenameOutcome::InvalidName)
            << name.toStdString();
    }
    EXPECT_EQ(entries(), QStringList{QStringLiteral("a.kar")});
    EXPECT_TRUE(isValidFileName(QStringLiteral("..x.kar")));
}

TEST_F(NoReplaceRenameTest, CyrillicNamesAreTheFileSystemsUtf8Bytes) {
    writeFile(QStringLiteral("a.kar"), "song");
    const QString name = QStringLiteral("Песня без расширения");
    EXPECT_EQ(renameWithoutReplacing(folder(), QStringLiteral("a.kar"), name).outcome,
              RenameOutcome::Renamed);
    const QByteArray utf8Path = QFile::encodeName(folder()) + name.toUtf8();
    EXPECT_TRUE(QFile::exists(QFile::decodeName(utf8Path)));
    EXPECT_EQ(entries(), QStringList{name});
}

TEST_F(NoReplaceRenameTest, MissingSourceAndSameNameAreTold) {
    EXPECT_EQ(renameWithoutReplacing(folder(), QStringLiteral("gone.kar"), QStringLiteral("b.kar"))
                  .outcome,
              RenameOutcome::SourceMissing);
    writeFile(QStringLiteral("same.kar"), "song");
    EXPECT_EQ(
        renameWithoutReplacing(folder(), QStringLiteral("same.kar"), QStringLiteral("same.kar"))
            .outcome,
        RenameOutcome::Renamed);
    EXPECT_EQ(entries(), QStringList{QStringLiteral("same.kar")});
}

TEST_F(NoReplaceRenameTest, HardLinkFallbackMovesTheFileButNeverReplaces) {
    writeFile(QStringLiteral("a.kar"), "first");
    writeFile(QStringLiteral("b.kar"), "second");
    EXPECT_EQ(
        renamePathByHardLink(folder() + QStringLiteral("a.kar"), folder() + QStringLiteral("b.kar"))
            .outcome,
        RenameOutcome::TargetExists);
    EXPECT_EQ(contentOf(QStringLiteral("a.kar")), "first");
    EXPECT_EQ(contentOf(QStringLiteral("b.kar")), "second");

    EXPECT_EQ(renamePathByHardLink(folder() + QStringLiteral("a.kar"),
                                   folder() + QStringLiteral("Новая.kar"))
                  .outcome,
              RenameOutcome::Renamed);
    EXPECT_EQ(entries(), (QStringList{QStringLiteral("b.kar"), QStringLiteral("Новая.kar")}));
    EXPECT_EQ(contentOf(QStringLiteral("Новая.kar")), "first");
}

TEST_F(NoReplaceRenameTest, TooLongANameIsAFailureThatLeavesTheFile) {
    writeFile(QStringLiteral("a.kar"), "song");
    const RenameAttempt attempt =
        renameWithoutReplacing(folder(), QStringLiteral("a.kar"), QString(256, QLatin1Char('x')));
    EXPECT_EQ(attempt.outcome, RenameOutcome::Failed);
    EXPECT_NE(attempt.systemError, 0);
    EXPECT_EQ(entries(), QStringList{QStringLiteral("a.kar")});
}

} // namespace
} // namespace songwick
