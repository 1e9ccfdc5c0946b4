#pragma once

#include "office/sheet_reader.h"

#include <QByteArrayView>

namespace songwick::xls {

// Reads the first sheet of BIFF bytes in this process, without the child process that
// readXlsFirstSheet puts around the BIFF library. Only for hunting the library's faults.
SheetValues readUnprotected(QByteArrayView bytes, const QString& name, const SheetLimits& limits);

// The limits of the child that reads a workbook.
struct ChildLimits {
    int seconds = 10;
    qint64 addressSpaceBytes = qint64(512) << 20; // more than the child starts with
};
SheetValues readInChild(QByteArrayView bytes, const QString& name, const SheetLimits& limits,
                        const ChildLimits& childLimits);

} // namespace songwick::xls
