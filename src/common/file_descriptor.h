#pragma once

#include <QByteArray>
#include <cerrno>
#include <unistd.h>

namespace songwick {

// An open file descriptor, closed on every path. -1 stands for none.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int get() const { return fd_; }
    bool isOpen() const { return fd_ >= 0; }

private:
    int fd_;
};

// Reads what is left of an open file onto the end of bytes; 0, or the error number of the read
// that failed.
inline int readToEnd(int fd, QByteArray& bytes) {
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return errno;
        if (got == 0)
            return 0;
        bytes.append(buffer, got);
    }
}

} // namespace songwick
