#pragma once

#include "common/file_path.h"

#include <QString>
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

// The file a record read from a scan, a list file or a spreadsheet names in its fields 2 and 1;
// none when the name is empty.
inline std::optional<RowFile> rowFileOf(const CatalogueRecord& record) {
    if (record[FileNameField].isEmpty())
        return std::nullopt;
    return RowFile{record[FolderField], record[FileNameField]};
}

} // namespace songwick
