#include "rename/no_replace_rename.h"

#include "common/file_name_codec.h"
#include "common/file_path.h"

#include <QRandomGenerator>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace songwick {
namespace {

// 0 on success, else the errno of the refusal.
int linkThenUnlink(const QByteArray& from, const QByteArray& to) {
    if (::link(from.constData(), to.constData()) != 0)
        return errno;
    if (::unlink(from.constData()) != 0) {
        const int unlinkError = errno;
        ::unlink(to.constData());
        return unlinkError;
    }
    return 0;
}

int renameNoReplace(const QByteArray& from, const QByteArray& to) {
    if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0)
        return 0;
    const int renameError = errno;
    if (renameError != EINVAL && renameError != ENOSYS)
        return renameError;
    return linkThenUnlink(from, to);
}

bool sameEntry(const QByteArray& first, const QByteArray& second) {
    struct stat firstStat {};
    struct stat secondStat {};
    return ::lstat(first.constData(), &firstStat) == 0 &&
           ::lstat(second.constData(), &secondStat) == 0 && firstStat.st_dev == secondStat.st_dev &&
           firstStat.st_ino == secondStat.st_ino;
}

bool entryExists(const QByteArray& path) {
    struct stat entryStat {};
    return ::lstat(path.constData(), &entryStat) == 0;
}

// Nothing under the path: a look-up the system refuses is not taken for a file gone.
bool entryGone(const QByteArray& path) {
    struct stat entryStat {};
    return ::lstat(path.constData(), &entryStat) != 0 && (errno == ENOENT || errno == ENOTDIR);
}

QString folderOf(const QString& path) {
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? QString() : path.left(slash + 1);
}

// On a file system that ignores letter case, the new name of a case-only rename already
// "exists" as the file itself; going through a free temporary name gets the new spelling.
int renameThroughTemporaryName(const QByteArray& from, const QByteArray& to,
                               const QString& folder) {
    constexpr int kAttempts = 16;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        const QString temporaryName =
            QStringLiteral(".songwick-rename-%1.tmp")
                .arg(QRandomGenerator::global()->generate64(), 16, 16, QLatin1Char('0'));
        const QByteArray temporary = encodeFileName(joinFolderAndName(folder, temporaryName));
        const int toTemporary = renameNoReplace(from, temporary);
        if (toTemporary == EEXIST)
            continue;
        if (toTemporary != 0)
            return toTemporary;
        const int toTarget = renameNoReplace(temporary, to);
        if (toTarget != 0)
            renameNoReplace(temporary, from);
        return toTarget;
    }
    return EEXIST;
}

RenameAttempt attemptFor(int error, const QByteArray& from) {
    if (error == 0)
        return {RenameOutcome::Renamed, 0};
    if (error == EEXIST || error == ENOTEMPTY)
        return {RenameOutcome::TargetExists, error};
    if (error == ENOENT && entryGone(from))
        return {RenameOutcome::SourceMissing, error};
    return {RenameOutcome::Failed, error};
}

} // namespace

bool isValidFileName(const QString& name) {
    return !name.isEmpty() && !name.contains(QLatin1Char('/')) && !name.contains(QChar(u'\0')) &&
           name != u"." && name != u"..";
}

RenameAttempt renamePathWithoutReplacing(const QString& oldPath, const QString& newPath) {
    const QByteArray from = encodeFileName(oldPath);
    const QByteArray to = encodeFileName(newPath);
    if (from == to) // already the wanted name
        return entryExists(from) ? RenameAttempt{RenameOutcome::Renamed, 0}
                                 : RenameAttempt{RenameOutcome::SourceMissing, ENOENT};
    int error = renameNoReplace(from, to);
    const bool caseOnlyChange = oldPath.compare(newPath, Qt::CaseInsensitive) == 0 &&
                                folderOf(oldPath) == folderOf(newPath);
    if (error == EEXIST && caseOnlyChange && sameEntry(from, to))
        error = renameThroughTemporaryName(from, to, folderOf(oldPath));
    return attemptFor(error, from);
}

RenameAttempt renamePathByHardLink(const QString& oldPath, const QString& newPath) {
    const QByteArray from = encodeFileName(oldPath);
    return attemptFor(linkThenUnlink(from, encodeFileName(newPath)), from);
}

RenameAttempt renameWithoutReplacing(const QString& folder, const QString& oldName,
                                     const QString& newName) {
    if (!isValidFileName(newName))
        return {RenameOutcome::InvalidName, 0};
    return renamePathWithoutReplacing(joinFolderAndName(folder, oldName),
                                      joinFolderAndName(folder, newName));
}

} // namespace songwick
