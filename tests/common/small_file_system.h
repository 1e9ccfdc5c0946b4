#pragma once

#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>

namespace songwick::testing {

// A small file system of our own, mounted over a temporary folder when the test runs as root
// (mounted() tells; a test skips without it). Unmounted when it goes.
class SmallFileSystem {
public:
    explicit SmallFileSystem(const char* options = "size=256k") {
        if (::geteuid() != 0 || !folder_.isValid())
            return;
        mounted_ = ::mount("tmpfs", encodedPath().constData(), "tmpfs", 0, options) == 0;
    }
    ~SmallFileSystem() {
        if (mounted_)
            ::umount2(encodedPath().constData(), MNT_DETACH);
    }
    SmallFileSystem(const SmallFileSystem&) = delete;
    SmallFileSystem& operator=(const SmallFileSystem&) = delete;

    bool mounted() const { return mounted_; }
    QString path(const QString& name) const { return folder_.filePath(name); }
    QString path(const char* name) const { return path(QString::fromUtf8(name)); }
    QString root() const { return folder_.path(); }

    // Remounts it read-only; false when that failed.
    bool makeReadOnly() {
        mounted_ = mounted_ && ::mount("tmpfs", encodedPath().constData(), "tmpfs",
                                       MS_REMOUNT | MS_RDONLY, nullptr) == 0;
        return mounted_;
    }

    // Takes every free byte with the file `name`, so that the next write finds the disk full.
    void fill(const char* name = "filler") {
        const int fd =
            ::open(QFile::encodeName(path(name)).constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
        if (fd < 0)
            return;
        const QByteArray block(4096, 'f');
        while (::write(fd, block.constData(), size_t(block.size())) > 0) {
        }
        const char byte = 'f';
        while (::write(fd, &byte, 1) > 0) {
        }
        ::close(fd);
    }

    QStringList entries() const {
        return QDir(folder_.path())
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    }

private:
    QByteArray encodedPath() const { return QFile::encodeName(folder_.path()); }

    QTemporaryDir folder_;
    bool mounted_ = false;
};

} // namespace songwick::testing
