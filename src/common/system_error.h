#pragma once

#include <QByteArray>
#include <QString>

namespace songwick {

// The one way a system error becomes words for the user. The reason is in the program's
// language ("Нет места на устройстве" for ENOSPC); the system's own text only for a reason it
// has no words for.
QString systemErrorText(int errorNumber);

// "Не удалось <action> \"<path>\": <reason>", the path as the user sees it (undecodable bytes
// of a file name shown as U+FFFD). action is a verb phrase: "открыть файл", "прочитать файл",
// "переименовать файл".
QString systemErrorMessage(const QString& action, const QString& path, int errorNumber);

// "Не удалось записать файл \"<path>\": <reason>"
QString writeFailureMessage(const QString& path, int errorNumber);

// The whole content of a file, read through the file-name codec. Throws Error with
// systemErrorMessage("открыть файл" / "прочитать файл", path, errno) when it cannot be read.
QByteArray readWholeFile(const QString& path);

} // namespace songwick
