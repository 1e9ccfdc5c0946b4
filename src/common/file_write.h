#pragma once

#include <QByteArrayView>
#include <QString>

namespace songwick {

// The system's reason for a failed file operation, in the program's language ("Нет места на
// устройстве" for ENOSPC); the system's own text for a reason it has no words for.
QString systemErrorText(int errorNumber);

// "Не удалось записать файл "<path>": <reason>"
QString writeFailureMessage(const QString& path, int errorNumber);

// Writes bytes to path through a temporary file in the same folder that is renamed over the
// old file only once it is complete and on disk: a failure never leaves a half-written file
// and never touches the previous one, and no temporary file is left behind. The file keeps
// the old file's permissions (a new one gets the usual ones). Throws songwick::Error with
// writeFailureMessage().
void writeFileAtomically(const QString& path, QByteArrayView bytes);

} // namespace songwick
