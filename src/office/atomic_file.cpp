#include "office/atomic_file.h"

#include "common/error.h"

#include <QFileInfo>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace songwick {

AtomicFileByName::AtomicFileByName(const QString& finalPath) : finalPath_(finalPath) {
    const QFileInfo target(finalPath);
    file_.setFileTemplate(target.absolutePath() + QStringLiteral("/.") + target.fileName() +
                          QStringLiteral(".XXXXXX"));
    if (!file_.open())
        throw Error(QStringLiteral("Не удалось создать файл \"%1\": %2")
                        .arg(finalPath, file_.errorString()));
    temporaryPath_ = file_.fileName();
    file_.close();
}

void AtomicFileByName::commit() {
    // The temporary file is private to its owner; the result gets the old file's permissions,
    // or those of an ordinary new file.
    const QFile::Permissions permissions =
        QFile::exists(finalPath_) ? QFile::permissions(finalPath_)
                                  : QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser |
                                        QFile::WriteUser | QFile::ReadGroup | QFile::ReadOther;
    QFile::setPermissions(temporaryPath_, permissions);
    // rename() replaces the old file in one step, which QFile::rename does not.
    if (std::rename(QFile::encodeName(temporaryPath_).constData(),
                    QFile::encodeName(finalPath_).constData()) != 0) {
        throw Error(QStringLiteral("Не удалось записать файл \"%1\": %2")
                        .arg(finalPath_, QString::fromLocal8Bit(std::strerror(errno))));
    }
    file_.setAutoRemove(false);
}

} // namespace songwick
