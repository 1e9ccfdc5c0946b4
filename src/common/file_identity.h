#pragma once

#include <QtGlobal>
#include <sys/stat.h>

namespace songwick {

// What identifies one version of a file on disk: the entry (device and inode) and what a
// change of its content changes (size and modification time), plus the status-change time,
// which a rename or a new hard link changes too. The scan cache takes a file whose identity is
// unchanged in every part as having the same bytes; the rename journal knows a renamed file
// again by everything but the status-change time.
struct FileIdentity {
    qint64 device = 0;
    qint64 inode = 0;
    qint64 size = 0;
    qint64 modifiedNs = 0; // modification time, nanoseconds since the epoch
    qint64 changedNs = 0;  // status-change time, nanoseconds since the epoch

    friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
};

// The same entry with the same content as far as a rename can tell: a rename changes neither
// the device, the inode, the size nor the modification time.
inline bool sameRenamedFile(const FileIdentity& first, const FileIdentity& second) {
    return first.device == second.device && first.inode == second.inode &&
           first.size == second.size && first.modifiedNs == second.modifiedNs;
}

// The identity of a file from its status.
inline FileIdentity fileIdentityOfStatus(const struct stat& status) {
    constexpr qint64 kNanoseconds = 1'000'000'000;
    return {qint64(status.st_dev), qint64(status.st_ino), qint64(status.st_size),
            qint64(status.st_mtim.tv_sec) * kNanoseconds + status.st_mtim.tv_nsec,
            qint64(status.st_ctim.tv_sec) * kNanoseconds + status.st_ctim.tv_nsec};
}

} // namespace songwick
