#include "catalogue/record_store.h"

#include <stdexcept>
#include <string>

namespace songwick {

void RecordStore::setCount(int count) {
    if (count < 0 || count > kCapacity)
        throw std::out_of_range("record count " + std::to_string(count) + " outside 0.." +
                                std::to_string(kCapacity));
    count_ = count;
}

const CatalogueRecord& RecordStore::record(int index) const {
    checkIndex(index);
    static const CatalogueRecord kEmpty;
    return index <= static_cast<int>(slots_.size()) ? slots_[index - 1] : kEmpty;
}

void RecordStore::setRecord(int index, CatalogueRecord record) {
    checkIndex(index);
    if (index > static_cast<int>(slots_.size())) {
        slots_.resize(index);
        files_.resize(index);
    }
    slots_[index - 1] = std::move(record);
}

const std::optional<RowFile>& RecordStore::file(int index) const {
    checkIndex(index);
    static const std::optional<RowFile> kNone;
    return index <= static_cast<int>(files_.size()) ? files_[index - 1] : kNone;
}

void RecordStore::setFile(int index, std::optional<RowFile> file) {
    checkIndex(index);
    if (index > static_cast<int>(slots_.size())) {
        slots_.resize(index);
        files_.resize(index);
    }
    files_[index - 1] = std::move(file);
}

bool RecordStore::append(CatalogueRecord record) {
    if (isFull())
        return false;
    std::optional<RowFile> file = rowFileOf(record);
    setRecord(count_ + 1, std::move(record));
    setFile(count_ + 1, std::move(file));
    ++count_;
    return true;
}

void RecordStore::checkIndex(int index) const {
    if (index < 1 || index > kCapacity)
        throw std::out_of_range("record index " + std::to_string(index) + " outside 1.." +
                                std::to_string(kCapacity));
}

} // namespace songwick
