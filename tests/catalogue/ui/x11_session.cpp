#include "catalogue/ui/x11_session.h"

#include <QByteArray>
#include <QFile>
#include <QStandardPaths>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace songwick::testing {
namespace {

bool sessionRunning = false;
QString reason = QStringLiteral("no X session was started");

// Starts a program with its arguments; -1 when it cannot be started.
pid_t spawn(const QByteArray& program, const QList<QByteArray>& arguments) {
    const pid_t child = fork();
    if (child != 0)
        return child;
    // In the child: its output would only clutter the test log.
    const int null = open("/dev/null", O_RDWR);
    dup2(null, STDIN_FILENO);
    dup2(null, STDOUT_FILENO);
    dup2(null, STDERR_FILENO);
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.constData()));
    for (const QByteArray& argument : arguments)
        argv.push_back(const_cast<char*>(argument.constData()));
    argv.push_back(nullptr);
    execv(program.constData(), argv.data());
    _exit(127);
}

void end(pid_t child) {
    if (child <= 0)
        return;
    kill(child, SIGTERM);
    waitpid(child, nullptr, 0);
}

// The display number Xvfb writes to the pipe once it accepts clients; empty on timeout.
QByteArray readDisplayNumber(int fd) {
    QByteArray number;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < deadline) {
        pollfd waiting{fd, POLLIN, 0};
        if (poll(&waiting, 1, 100) <= 0)
            continue;
        char character = 0;
        if (read(fd, &character, 1) != 1)
            break;
        if (character == '\n')
            return number;
        number += character;
    }
    return {};
}

} // namespace

std::unique_ptr<X11Session> X11Session::start() {
    const QString server = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
    const QString windowManager = QStandardPaths::findExecutable(QStringLiteral("openbox"));
    if (server.isEmpty() || windowManager.isEmpty()) {
        reason = QStringLiteral("Xvfb and openbox are needed for this test (scripts/setup)");
        return nullptr;
    }
    int pipeFds[2];
    if (pipe(pipeFds) != 0) {
        reason = QStringLiteral("no pipe for Xvfb");
        return nullptr;
    }
    std::unique_ptr<X11Session> session(new X11Session);
    // The server picks a free display itself and says which (so that runs in parallel do not
    // collide).
    const pid_t child = fork();
    if (child == 0) {
        close(pipeFds[0]);
        const int null = open("/dev/null", O_RDWR);
        dup2(null, STDIN_FILENO);
        dup2(null, STDOUT_FILENO);
        dup2(null, STDERR_FILENO);
        const QByteArray program = QFile::encodeName(server);
        const QByteArray fd = QByteArray::number(pipeFds[1]);
        execl(program.constData(), program.constData(), "-displayfd", fd.constData(), "-screen",
              "0", "1280x1024x24", "-nolisten", "tcp", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(pipeFds[1]);
    session->server_ = child;
    const QByteArray display = readDisplayNumber(pipeFds[0]);
    close(pipeFds[0]);
    if (child < 0 || display.isEmpty()) {
        reason = QStringLiteral("Xvfb did not start");
        return nullptr;
    }
    qputenv("DISPLAY", ':' + display);
    session->windowManager_ =
        spawn(QFile::encodeName(windowManager), {QByteArrayLiteral("--sm-disable")});
    // Give the window manager time to take over the screen.
    std::this_thread::sleep_for(std::chrono::milliseconds(700));
    sessionRunning = true;
    return session;
}

X11Session::~X11Session() {
    sessionRunning = false;
    end(windowManager_);
    end(server_);
}

bool X11Session::running() {
    return sessionRunning;
}

QString X11Session::skipReason() {
    return reason;
}

} // namespace songwick::testing
