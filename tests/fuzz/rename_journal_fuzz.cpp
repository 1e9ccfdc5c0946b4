#include "common/file_path.h"
#include "fuzz/fuzz_check.h"
#include "rename/no_replace_rename.h"
#include "rename/rename_journal.h"

#include <cstddef>
#include <cstdint>

using namespace songwick;

namespace {

// The number the inputs are read under: an undo may name the runs 1 to 6.
constexpr int kJournalNumber = 7;

// An entry that can only ever move a file within its own folder.
bool staysInItsFolder(const JournalEntry& entry) {
    return isAbsoluteFolderPath(entry.folder) && entry.folder.endsWith(u'/') &&
           isValidFileName(entry.oldName) && isValidFileName(entry.newName) &&
           entry.oldPath() == entry.folder + entry.oldName &&
           entry.newPath() == entry.folder + entry.newName;
}

} // namespace

// A damaged journal is refused, never followed: what reads as a run holds renames that stay
// within one absolute folder, and anything else is damaged or no run, with no entries.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const QString machine = journalMachineId();
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const JournalFile file = readJournalBytes(bytes, kJournalNumber, machine);
    const JournalRun& run = file.run;
    switch (file.state) {
    case JournalState::Damaged:
        FUZZ_CHECK(!file.problem.isEmpty());
        FUZZ_CHECK(run.entries.empty());
        break;
    case JournalState::NoRun:
        FUZZ_CHECK(run.entries.empty());
        break;
    case JournalState::Unreadable:
        FUZZ_CHECK(false); // bytes are always there to be read
        break;
    case JournalState::Usable:
    case JournalState::Foreign:
        FUZZ_CHECK(!run.entries.empty());
        FUZZ_CHECK(run.started.isValid() && !run.machine.isEmpty());
        FUZZ_CHECK(run.kind == JournalRunKind::Rename ||
                   (run.undoesNumber > 0 && run.undoesNumber < kJournalNumber));
        FUZZ_CHECK(!run.closed || run.ended.isValid());
        for (const JournalEntry& entry : run.entries)
            FUZZ_CHECK(staysInItsFolder(entry));
        break;
    }
    return 0;
}
