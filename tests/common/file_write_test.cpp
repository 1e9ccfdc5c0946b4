#include "common/error.h"
#include "common/file_write.h"
#include "common/small_file_system.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <unistd.h>

namespace songwick {
namespace {

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString failureOf(const QString& path, const QByteArray& bytes) {
    try {
        writeFileAtomically(path, bytes);
    } catch (const Error& error) {
        return error.message();
    }
    return {};
}

using testing::SmallFileSystem;

TEST(AtomicWrite, AFullDiskKeepsTheOldFileLeavesNoTemporaryAndSaysWhy) {
    SmallFileSystem disk("size=64k");
    if (!disk.mounted())
        GTEST_SKIP() << "mounting a small file system needs root";
    const QString path = disk.path("list.swk");
    writeFileAtomically(path, "old contents");
    const QString message = failureOf(path, QByteArray(1 << 20, 'x'));
    EXPECT_EQ(message, QStringLiteral("Не удалось записать файл \"") + path +
                           QStringLiteral("\": Нет места на устройстве"));
    EXPECT_EQ(contents(path), "old contents");
    EXPECT_EQ(disk.entries(), QStringList{QStringLiteral("list.swk")});
}

TEST(AtomicWrite, AReadOnlyFolderAndAFolderInPlaceOfTheFileAreRefused) {
    SmallFileSystem disk("size=1m");
    QTemporaryDir plain;
    const QString folderPath = plain.filePath(QStringLiteral("taken"));
    ASSERT_TRUE(QDir().mkdir(folderPath));
    EXPECT_EQ(failureOf(folderPath, "x"), QStringLiteral("Не удалось записать файл \"") +
                                              folderPath + QStringLiteral("\": Это каталог"));
    EXPECT_TRUE(QFileInfo(folderPath).isDir());
    EXPECT_EQ(QDir(plain.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{QStringLiteral("taken")});

    if (!disk.mounted())
        GTEST_SKIP() << "a read-only file system needs root to mount";
    const QString path = disk.path("prop.dat");
    writeFileAtomically(path, "old");
    ASSERT_TRUE(disk.makeReadOnly());
    EXPECT_EQ(failureOf(path, "new"),
              QStringLiteral("Не удалось записать файл \"") + path +
                  QStringLiteral("\": Файловая система доступна только для чтения"));
    EXPECT_EQ(contents(path), "old");
}

TEST(AtomicWrite, ANewFileGetsTheUsualRightsAndAnOldOneKeepsItsOwn) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.txt"));
    writeFileAtomically(path, "one");
    EXPECT_TRUE(QFile::permissions(path) & QFile::ReadOther);
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    writeFileAtomically(path, "two");
    EXPECT_EQ(contents(path), "two");
    EXPECT_EQ(QFile::permissions(path) & (QFile::ReadOther | QFile::ReadGroup), 0);
}

TEST(AtomicWrite, ALinkStaysALinkAndItsTargetGetsTheNewContents) {
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("lists")));
    const QString target = dir.filePath(QStringLiteral("lists/real.swk"));
    writeFileAtomically(target, "old");
    // A relative link to a relative link, as a user's home often holds them.
    const QString inner = dir.filePath(QStringLiteral("lists/inner.swk"));
    const QString outer = dir.filePath(QStringLiteral("list.swk"));
    ASSERT_EQ(::symlink("real.swk", QFile::encodeName(inner).constData()), 0);
    ASSERT_EQ(::symlink("lists/inner.swk", QFile::encodeName(outer).constData()), 0);

    writeFileAtomically(outer, "new");
    EXPECT_TRUE(QFileInfo(outer).isSymLink());
    EXPECT_TRUE(QFileInfo(inner).isSymLink());
    EXPECT_EQ(contents(target), "new");

    const QString circle = dir.filePath(QStringLiteral("circle.swk"));
    ASSERT_EQ(::symlink("circle.swk", QFile::encodeName(circle).constData()), 0);
    EXPECT_EQ(failureOf(circle, "x"),
              QStringLiteral("Не удалось записать файл \"") + circle +
                  QStringLiteral("\": Слишком много уровней символьных ссылок"));
}

} // namespace
} // namespace songwick
