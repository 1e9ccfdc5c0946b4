#pragma once

#include "common/file_path.h"

#include <QString>
#include <QStringView>
#include <array>
#include <optional>

namespace songwick {

// One karaoke file as six texts, in the order of the table's columns 1 to 6.
enum RecordField : int {
    FileNameField = 0, // file name with extension
    FolderField,       // folder, ending with "/", so that folder + file name is the full path
    PerformerTitleField,
    FurtherText1Field,
    FurtherText2Field,
    MadeByField,
};

inline constexpr int kRecordFieldCount = 6;

using CatalogueRecord = std::array<QString, kRecordFieldCount>;

// The file on disk a row stands for: its folder (ending with "/") and its name, as the scan, the
// list file or the spreadsheet gave them, or as the last successful rename left them. Kept apart
// from the editable cells, so that typing a name into the table never changes which file a rename
// touches. A row inserted by the user stands for no file.
struct RowFile {
    QString folder;
    QString name;

    QString path() const { return joinFolderAndName(folder, name); }
    bool operator==(const RowFile&) const = default;
};

// The file a record of a scan names in its fields 2 and 1, which hold the folder and the name
// exactly as they are on disk; none when the name is empty.
inline std::optional<RowFile> rowFileOf(const CatalogueRecord& record) {
    if (record[FileNameField].isEmpty())
        return std::nullopt;
    return RowFile{record[FolderField], record[FileNameField]};
}

// Whether a text can be the name of a file in a folder: not empty, not "." or "..", without
// "/" and NUL.
inline bool isFileName(QStringView name) {
    return !name.isEmpty() && name != u"." && name != u".." && !name.contains(u'/') &&
           !name.contains(QChar(u'\0'));
}

// Whether name and folder texts that may have passed through a code page (cells of a list
// file, of a spreadsheet) still name a file for certain. "?" is what a byte that is not text
// becomes on the way, and it is never part of a name on the system the lists come from; U+FFFD
// is what a reader makes of a byte it cannot decode. Either means the file is not known.
inline bool namesFileForCertain(QStringView name, QStringView folder) {
    const auto lostByte = [](QStringView text) {
        return text.contains(u'?') || text.contains(QChar(QChar::ReplacementCharacter));
    };
    return isFileName(name) && !lostByte(name) && !lostByte(folder);
}

// The file that name and folder cells name, when they name one for certain; none otherwise.
inline std::optional<RowFile> rowFileFromCells(const QString& name, const QString& folder) {
    if (!namesFileForCertain(name, folder))
        return std::nullopt;
    return RowFile{folder, name};
}

} // namespace songwick
