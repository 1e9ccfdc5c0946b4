#include "common/system_error.h"

#include "common/error.h"
#include "common/file_descriptor.h"
#include "common/file_name_codec.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace songwick {

QString systemErrorText(int errorNumber) {
    switch (errorNumber) {
    case ENOSPC:
        return QStringLiteral("Нет места на устройстве");
    case EDQUOT:
        return QStringLiteral("Превышена дисковая квота");
    case EACCES:
        return QStringLiteral("Отказано в доступе");
    case EPERM:
        return QStringLiteral("Операция не позволена");
    case EROFS:
        return QStringLiteral("Файловая система доступна только для чтения");
    case EISDIR:
        return QStringLiteral("Это каталог");
    case ENOTDIR:
        return QStringLiteral("Это не каталог");
    case ENOENT:
        return QStringLiteral("Нет такого файла или каталога");
    case EEXIST:
        return QStringLiteral("Файл с таким именем уже существует");
    case ENOTEMPTY:
        return QStringLiteral("Каталог не пуст");
    case EIO:
        return QStringLiteral("Ошибка ввода/вывода");
    case EFBIG:
        return QStringLiteral("Файл слишком велик");
    case ENAMETOOLONG:
        return QStringLiteral("Слишком длинное имя файла");
    case ELOOP:
        return QStringLiteral("Слишком много уровней символьных ссылок");
    case EBUSY:
        return QStringLiteral("Устройство или ресурс занято");
    case ETXTBSY:
        return QStringLiteral("Файл занят");
    case EXDEV:
        return QStringLiteral("Неверная ссылка между устройствами");
    case ENOMEM:
        return QStringLiteral("Невозможно выделить память");
    case EMFILE:
    case ENFILE:
        return QStringLiteral("Слишком много открытых файлов");
    case EINVAL:
        return QStringLiteral("Недопустимый аргумент");
    case ENXIO:
    case ENODEV:
        return QStringLiteral("Нет такого устройства");
    case EAGAIN:
        return QStringLiteral("Ресурс временно недоступен");
    case ESTALE:
        return QStringLiteral("Устаревший дескриптор файла");
    default:
        return QString::fromLocal8Bit(std::strerror(errorNumber));
    }
}

QString systemErrorMessage(const QString& action, const QString& path, int errorNumber) {
    return QStringLiteral("Не удалось %1 \"%2\": %3")
        .arg(action, displayFileName(path), systemErrorText(errorNumber));
}

QString writeFailureMessage(const QString& path, int errorNumber) {
    return systemErrorMessage(QStringLiteral("записать файл"), path, errorNumber);
}

QByteArray readWholeFile(const QString& path) {
    const FileDescriptor file(::open(encodeFileName(path).constData(), O_RDONLY | O_CLOEXEC));
    if (!file.isOpen())
        throw Error(systemErrorMessage(QStringLiteral("открыть файл"), path, errno));
    const auto readFailure = [&](int error) {
        return Error(systemErrorMessage(QStringLiteral("прочитать файл"), path, error));
    };
    struct stat status {};
    if (::fstat(file.get(), &status) != 0)
        throw readFailure(errno);
    if (S_ISDIR(status.st_mode))
        throw readFailure(EISDIR);
    QByteArray bytes;
    if (S_ISREG(status.st_mode) && status.st_size > 0)
        bytes.reserve(qsizetype(status.st_size));
    if (const int error = readToEnd(file.get(), bytes); error != 0)
        throw readFailure(error);
    return bytes;
}

} // namespace songwick
