#pragma once

#include "catalogue/catalogue_record.h"

#include <optional>
#include <vector>

namespace songwick {

// A record store: slots 1 to 45,002 of catalogue records and the count of valid ones.
// Slots past the count keep what was last written into them (the table copy-back writes
// both stores but sets the count of one).
class RecordStore {
public:
    static constexpr int kCapacity = 45002;

    int count() const { return count_; }
    // Throws std::out_of_range for a count outside 0..kCapacity.
    void setCount(int count);

    bool isFull() const { return count_ >= kCapacity; }

    // index 1..kCapacity; a slot never written reads as an empty record.
    const CatalogueRecord& record(int index) const;
    void setRecord(int index, CatalogueRecord record);

    // The file the record's row stands for (see RowFile); none for a slot never given one.
    const std::optional<RowFile>& file(int index) const;
    void setFile(int index, std::optional<RowFile> file);

    // Appends after the last valid record, standing for the file its fields 2 and 1 name; false
    // (and nothing stored) when the store is full.
    bool append(CatalogueRecord record);

private:
    void checkIndex(int index) const;

    std::vector<CatalogueRecord> slots_;        // slot i at slots_[i - 1], grown on demand
    std::vector<std::optional<RowFile>> files_; // beside slots_, grown with it
    int count_ = 0;
};

} // namespace songwick
