#pragma once

#include "fuzz/fuzz_check.h"
#include "office/sheet_reader.h"

namespace songwick::fuzz {

// A sheet that was read stays inside the limits it was read with.
inline void checkWithinLimits(const SheetValues& values, const SheetLimits& limits) {
    FUZZ_CHECK(values.rowCount() >= 1 && values.rowCount() <= limits.maxRow);
    FUZZ_CHECK(values.columnCount() >= 1 && values.columnCount() <= limits.keptColumns);
    FUZZ_CHECK(values.cellCount() <= limits.maxCells);
}

// Small limits, so that the fuzzer reaches the refusals quickly.
inline SheetLimits smallLimits() {
    SheetLimits limits;
    limits.maxRow = 300;
    limits.maxColumn = 300;
    limits.keptColumns = 20;
    limits.maxCells = 2000;
    return limits;
}

} // namespace songwick::fuzz
