#pragma once

#include <QString>

namespace songwick {

// A file name that may stand as the last part of a path: not empty, no "/" and no NUL
// (either would reach outside the folder or be cut short by the system), not "." or "..".
bool isValidFileName(const QString& name);

enum class RenameOutcome {
    Renamed,
    InvalidName,  // the new name fails isValidFileName; nothing was tried
    TargetExists, // another file already has the new name; both files are untouched
    SourceMissing,
    Failed, // the system refused for another reason (access, too long a name, ...)
};

struct RenameAttempt {
    RenameOutcome outcome = RenameOutcome::Failed;
    int systemError = 0; // errno of the refusal, 0 when there was none
};

// Renames folder/oldName to folder/newName (joined as paths), never replacing an existing file: the
// system call refuses an existing target itself, so nothing can appear between a check
// and the rename. A new name that differs only in letter case works on case-insensitive
// file systems too. Names are encoded with the platform's file-name codec.
RenameAttempt renameWithoutReplacing(const QString& folder, const QString& oldName,
                                     const QString& newName);

// The same for two complete paths; newPath must name an entry in an existing folder.
RenameAttempt renamePathWithoutReplacing(const QString& oldPath, const QString& newPath);

// What renamePathWithoutReplacing falls back to where the file system does not offer a
// rename that refuses an existing target: a hard link under the new name (link() never
// replaces anything), then the old name removed.
RenameAttempt renamePathByHardLink(const QString& oldPath, const QString& newPath);

} // namespace songwick
