#include "catalogue/ui/x11_session.h"

#include <QApplication>
#include <cstring>
#include <gtest/gtest.h>

// Window tests that need a real X server with a window manager: the program starts both
// (Xvfb and openbox) for its run; where either is missing every test skips with the reason.
int main(int argc, char** argv) {
    bool listing = false;
    for (int i = 1; i < argc; ++i)
        listing = listing || std::strncmp(argv[i], "--gtest_list_tests", 18) == 0;
    std::unique_ptr<songwick::testing::X11Session> session;
    if (!listing)
        session = songwick::testing::X11Session::start();
    if (session == nullptr)
        qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
    else
        qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("xcb"));
    QApplication application(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    return result;
}
