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
// The rows whose songs sing the words, best first, through the lyrics index.
int runLyrics(const QStringList& arguments);
int runSort(const QStringList& arguments);
int runDuplicates(const QStringList& arguments);
int runSongbook(const QStringList& arguments);
// Renames the files of a scanned list to the names of an edited copy; exit 0 when every
// rename went through, 1 when some were refused, 2 for lists that do not fit together.
int runRename(const QStringList& arguments);
// Undoes the last journalled run; exit 0, 1 when some could not be undone, 2 when there is
// nothing to undo or its journal is not usable.
int runUndo(const QStringList& arguments);
// Lists the journalled runs.
int runJournal(const QStringList& arguments);

} // namespace songwick::cli
