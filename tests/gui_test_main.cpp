#include <QApplication>
#include <QStandardPaths>
#include <gtest/gtest.h>

// Window tests need one application object for the whole run.
int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
    QApplication application(argc, argv);
    // Whatever a test leaves in the standard folders stays out of the user's own.
    QStandardPaths::setTestModeEnabled(true);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
