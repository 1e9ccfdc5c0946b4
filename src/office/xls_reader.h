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

// What the child runs once its limits are set: reads the workbook from the memory file dataFd
// and writes the cell stream to pipeFd. It ends the child itself; returning counts as a failure.
using ChildBody = void (*)(int dataFd, int pipeFd);
// The child's usual body: the BIFF library reads the first sheet.
[[noreturn]] void readWorkbookInChild(int dataFd, int pipeFd);

// Reads in a forked child. Whatever goes wrong there (a crash, a limit, the deadline, a stream
// that is not well formed) is the damaged-workbook message; nothing of it reaches this process.
SheetValues readInChild(QByteArrayView bytes, const QString& name, const SheetLimits& limits,
                        const ChildLimits& childLimits, ChildBody body = readWorkbookInChild);

} // namespace songwick::xls
