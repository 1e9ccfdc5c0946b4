#pragma once

#include <QString>

namespace songwick {

// A folder a row's file can be reached through: an absolute path (it starts with "/") that
// holds no NUL. A relative folder would be taken from the program's working folder, so it is
// never used to reach a file.
inline bool isAbsoluteFolderPath(const QString& folder) {
    return folder.startsWith(u'/') && !folder.contains(QChar(u'\0'));
}

// The path of name inside folder, joined as paths are: one "/" between them whether or not
// the folder ends with one. Never folder + name as strings, which would make "/music/rock" and
// "a.kar" into another file's path, "/music/rocka.kar".
inline QString joinFolderAndName(const QString& folder, const QString& name) {
    if (folder.isEmpty() || folder.endsWith(u'/'))
        return folder + name;
    return folder + u'/' + name;
}

// The folder as rows keep it: ending with "/".
inline QString folderWithSeparator(const QString& folder) {
    return folder.endsWith(u'/') ? folder : folder + u'/';
}

} // namespace songwick
