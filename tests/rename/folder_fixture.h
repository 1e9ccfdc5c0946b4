#pragma once

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace songwick {

// A temporary folder of real files for rename tests.
class FolderFixture : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir_.isValid()); }

    QString folder() const { return dir_.path() + QLatin1Char('/'); }

    void writeFile(const QString& name, const QByteArray& content) {
        QFile file(folder() + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }

    QByteArray contentOf(const QString& name) const {
        QFile file(folder() + name);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // Every file of the folder, hidden ones included, sorted.
    QStringList entries() const {
        QStringList names = QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden | QDir::System);
        names.sort();
        return names;
    }

    QTemporaryDir dir_;
};

} // namespace songwick
