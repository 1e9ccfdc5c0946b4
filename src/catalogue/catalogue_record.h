#pragma once

#include <QString>

#include <array>

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

} // namespace songwick
