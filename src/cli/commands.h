#pragma once

#include <QStringList>

namespace songwick::cli {

// Each command takes the arguments after its own name and returns the exit code.
// Failures are thrown; main prints them and exits non-zero.
int runScan(const QStringList& arguments);
// Both readings of one karaoke file, its code page and the events the structured one used.
int runProbe(const QStringList& arguments);
int runSettings(const QStringList& arguments);
int runText(const QStringList& arguments);
int runExportXlsx(const QStringList& arguments);
int runImportXlsx(const QStringList& arguments);
int runExportDocx(const QStringList& arguments);
int runFind(const QStringList& arguments);
int runSort(const QStringList& arguments);
int runDuplicates(const QStringList& arguments);
int runSongbook(const QStringList& arguments);

} // namespace songwick::cli
