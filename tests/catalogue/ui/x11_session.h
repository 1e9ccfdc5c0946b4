#pragma once

#include <QString>
#include <memory>
#include <sys/types.h>

namespace songwick::testing {

// A virtual X server (Xvfb) with a window manager (openbox), started for one test run and
// ended with it. DISPLAY names the server while the session lives.
class X11Session {
public:
    // Nothing when Xvfb or openbox is not installed or the server does not come up; the reason
    // is then given by skipReason().
    static std::unique_ptr<X11Session> start();
    ~X11Session();

    X11Session(const X11Session&) = delete;
    X11Session& operator=(const X11Session&) = delete;

    // True while a session runs in this process.
    static bool running();
    static QString skipReason();

private:
    X11Session() = default;

    pid_t server_ = -1;
    pid_t windowManager_ = -1;
};

} // namespace songwick::testing

// Skips the current test unless an X server with a window manager runs.
#define SONGWICK_REQUIRE_X11_SESSION()                                                             \
    do {                                                                                           \
        if (!::songwick::testing::X11Session::running())                                           \
            GTEST_SKIP() << ::songwick::testing::X11Session::skipReason().toStdString();           \
    } while (false)
