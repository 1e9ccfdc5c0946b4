#include "common/system_error.h"

#include "common/error.h"
#include "common/file_descriptor.h"
#include "common/file_name_codec.h"

#include <QCoreApplication>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace songwick {
namespace {

// The actions the program's messages name, as the English translation has them; an action
// given already translated, or one not listed, stays as it is.
[[maybe_unused]] constexpr const char* kActions[] = {
    QT_TRANSLATE_NOOP("songwick::SystemError", "открыть файл"),
    QT_TRANSLATE_NOOP("songwick::SystemError", "прочитать файл"),
    QT_TRANSLATE_NOOP("songwick::SystemError", "записать файл"),
    QT_TRANSLATE_NOOP("songwick::SystemError", "найти файл"),
    QT_TRANSLATE_NOOP("songwick::SystemError", "прочитать папку"),
    QT_TRANSLATE_NOOP("songwick::SystemError", "создать папку"),
    QT_TRANSLATE_NOOP("songwick::SystemError", "создать папку журнала переименований"),
    QT_TRANSLATE_NOOP("songwick::SystemError", "создать журнал переименований"),
    QT_TRANSLATE_NOOP("songwick::SystemError", "записать журнал переименований"),
};

} // namespace

QString systemErrorText(int errorNumber) {
    switch (errorNumber) {
    case ENOSPC:
        return QCoreApplication::translate("songwick::SystemError", "Нет места на устройстве");
    case EDQUOT:
        return QCoreApplication::translate("songwick::SystemError", "Превышена дисковая квота");
    case EACCES:
        return QCoreApplication::translate("songwick::SystemError", "Отказано в доступе");
    case EPERM:
        return QCoreApplication::translate("songwick::SystemError", "Операция не позволена");
    case EROFS:
        return QCoreApplication::translate("songwick::SystemError",
                                           "Файловая система доступна только для чтения");
    case EISDIR:
        return QCoreApplication::translate("songwick::SystemError", "Это каталог");
    case ENOTDIR:
        return QCoreApplication::translate("songwick::SystemError", "Это не каталог");
    case ENOENT:
        return QCoreApplication::translate("songwick::SystemError",
                                           "Нет такого файла или каталога");
    case EEXIST:
        return QCoreApplication::translate("songwick::SystemError",
                                           "Файл с таким именем уже существует");
    case ENOTEMPTY:
        return QCoreApplication::translate("songwick::SystemError", "Каталог не пуст");
    case EIO:
        return QCoreApplication::translate("songwick::SystemError", "Ошибка ввода/вывода");
    case EFBIG:
        return QCoreApplication::translate("songwick::SystemError", "Файл слишком велик");
    case ENAMETOOLONG:
        return QCoreApplication::translate("songwick::SystemError", "Слишком длинное имя файла");
    case ELOOP:
        return QCoreApplication::translate("songwick::SystemError",
                                           "Слишком много уровней символьных ссылок");
    case EBUSY:
        return QCoreApplication::translate("songwick::SystemError", "Устройство или ресурс занято");
    case ETXTBSY:
        return QCoreApplication::translate("songwick::SystemError", "Файл занят");
    case EXDEV:
        return QCoreApplication::translate("songwick::SystemError",
                                           "Неверная ссылка между устройствами");
    case ENOMEM:
        return QCoreApplication::translate("songwick::SystemError", "Невозможно выделить память");
    case EMFILE:
    case ENFILE:
        return QCoreApplication::translate("songwick::SystemError",
                                           "Слишком много открытых файлов");
    case EINVAL:
        return QCoreApplication::translate("songwick::SystemError", "Недопустимый аргумент");
    case ENXIO:
    case ENODEV:
        return QCoreApplication::translate("songwick::SystemError", "Нет такого устройства");
    case EAGAIN:
        return QCoreApplication::translate("songwick::SystemError", "Ресурс временно недоступен");
    case ESTALE:
        return QCoreApplication::translate("songwick::SystemError", "Устаревший дескриптор файла");
    default:
        return QString::fromLocal8Bit(std::strerror(errorNumber));
    }
}

QString systemErrorMessage(const QString& action, const QString& path, int errorNumber) {
    return QCoreApplication::translate("songwick::SystemError", "Не удалось %1 \"%2\": %3")
        .arg(QCoreApplication::translate("songwick::SystemError", action.toUtf8().constData()),
             displayFileName(path), systemErrorText(errorNumber));
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
