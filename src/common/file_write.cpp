#include "common/file_write.h"

#include "common/error.h"
#include "common/file_name_codec.h"
#include "common/system_error.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace songwick {
namespace {

// Removes the temporary file unless it was renamed into place.
class TemporaryFile {
public:
    explicit TemporaryFile(QByteArray pattern) : path_(std::move(pattern)) {
        fd_ = ::mkostemp(path_.data(), O_CLOEXEC);
        created_ = fd_ >= 0;
    }
    ~TemporaryFile() {
        if (fd_ >= 0)
            ::close(fd_);
        if (created_ && !kept_)
            ::unlink(path_.constData());
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    bool opened() const { return fd_ >= 0; }
    int fd() const { return fd_; }
    const QByteArray& path() const { return path_; }
    // Closes the file; the error number of a failed close, else 0.
    int close() {
        const int result = ::close(fd_);
        fd_ = -1;
        return result == 0 ? 0 : errno;
    }
    void keep() { kept_ = true; }

private:
    QByteArray path_;
    int fd_ = -1;
    bool created_ = false;
    bool kept_ = false;
};

int writeAll(int fd, QByteArrayView bytes) {
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t written = ::write(fd, bytes.data() + done, size_t(bytes.size() - done));
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0)
            return errno;
        if (written == 0)
            return EIO;
        done += written;
    }
    return 0;
}

// The file a path names once every symbolic link on its last part is followed: a list file
// kept as a link elsewhere is written where the link leads, and the link stays a link. A link
// target that is relative is taken from the link's folder; a dangling link names the file to
// create. Nothing when the links go round in a circle.
std::optional<QByteArray> linkTargetOf(QByteArray path) {
    constexpr int kMaxLinks = 40; // the system's own limit of links in one path
    for (int followed = 0; followed <= kMaxLinks; ++followed) {
        struct stat entry {};
        if (::lstat(path.constData(), &entry) != 0 || !S_ISLNK(entry.st_mode))
            return path;
        QByteArray target(qsizetype(entry.st_size > 0 ? entry.st_size : PATH_MAX), '\0');
        const ssize_t length = ::readlink(path.constData(), target.data(), size_t(target.size()));
        if (length < 0)
            return path;
        target.truncate(length);
        if (!target.startsWith('/')) {
            const qsizetype slash = path.lastIndexOf('/');
            target.prepend(slash < 0 ? QByteArray() : path.left(slash + 1));
        }
        path = target;
    }
    return std::nullopt;
}

mode_t newFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

} // namespace

void writeFileAtomically(const QString& path, QByteArrayView bytes) {
    const std::optional<QByteArray> resolved = linkTargetOf(encodeFileName(path));
    if (!resolved)
        throw Error(writeFailureMessage(path, ELOOP));
    const QByteArray& target = *resolved;
    const qsizetype slash = target.lastIndexOf('/');
    const QByteArray folder =
        slash < 0 ? QByteArray(".") : target.left(std::max<qsizetype>(slash, 1));
    const QByteArray name = target.mid(slash + 1);
    TemporaryFile temporary(folder + (folder.endsWith('/') ? "." : "/.") + name + ".XXXXXX");
    if (!temporary.opened())
        throw Error(writeFailureMessage(path, errno));
    struct stat old;
    const mode_t mode = ::stat(target.constData(), &old) == 0 && S_ISREG(old.st_mode)
                            ? (old.st_mode & 07777)
                            : newFileMode();
    int error = writeAll(temporary.fd(), bytes);
    // Space that a file system hands out late shows up at the flush, not at the write.
    if (error == 0 && ::fsync(temporary.fd()) != 0 && errno != EINVAL)
        error = errno;
    if (error == 0 && ::fchmod(temporary.fd(), mode) != 0)
        error = errno;
    const int closeError = temporary.close();
    if (error == 0)
        error = closeError;
    if (error == 0 && ::rename(temporary.path().constData(), target.constData()) != 0)
        error = errno;
    if (error != 0)
        throw Error(writeFailureMessage(path, error));
    temporary.keep();
}

} // namespace songwick
