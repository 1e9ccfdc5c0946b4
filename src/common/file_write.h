#pragma once

#include <QByteArrayView>
#include <QString>

#include "common/system_error.h"

namespace songwick {

// Writes bytes to path through a temporary file in the same folder that is renamed over the
// old file only once it is complete and on disk: a failure never leaves a half-written file
// and never touches the previous one, and no temporary file is left behind. The file keeps
// the old file's permissions (a new one gets the usual ones). Throws songwick::Error with
// writeFailureMessage().
void writeFileAtomically(const QString& path, QByteArrayView bytes);

} // namespace songwick
