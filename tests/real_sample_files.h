#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <gtest/gtest.h>

namespace songwick::testing {

// Real karaoke files made by other programs live beside the source tree, not in it: a clone
// of the project on its own does not have them.
inline QString realSampleFolder() {
    return QDir::cleanPath(QStringLiteral(SONGWICK_SOURCE_DIR "/../shared/data"));
}

// Tests on the real sample files; each is skipped, with the reason, where the folder is absent.
class RealSampleFiles : public ::testing::Test {
protected:
    void SetUp() override {
        if (!QFileInfo(realSampleFolder()).isDir())
            GTEST_SKIP() << "real sample files not found at " << realSampleFolder().toStdString();
    }

    static QByteArray readSample(const QString& name) {
        QFile file(realSampleFolder() + u'/' + name);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << file.fileName().toStdString();
        return file.readAll();
    }
};

} // namespace songwick::testing
