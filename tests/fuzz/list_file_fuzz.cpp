#include "catalogue/list_file.h"
#include "common/error.h"
#include "fuzz/fuzz_check.h"

#include <cstddef>
#include <cstdint>

using namespace songwick;

namespace {

// The same cells and, for every row, the same file on disk.
bool sameRows(const CatalogueGrid& a, const CatalogueGrid& b) {
    if (a.rowCount() != b.rowCount() || a.columnCount() != b.columnCount())
        return false;
    for (int row = 1; row < a.rowCount(); ++row) {
        if (a.rowFile(row) != b.rowFile(row))
            return false;
        for (int column = 0; column < a.columnCount(); ++column)
            if (a.cell(column, row) != b.cell(column, row))
                return false;
    }
    return true;
}

} // namespace

// A list file that reads writes back to bytes that read to the same table, each row standing
// for the same file (the record of the rows' files included); a failure is an Error that
// leaves the table as it was.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    CatalogueGrid grid;
    grid.resize(7, 3);
    grid.setCell(1, 1, QStringLiteral("before"));
    try {
        if (readListFile(bytes, grid) != ListFileRead::Loaded) {
            FUZZ_CHECK(grid.rowCount() == 3 && grid.cell(1, 1) == u"before");
            return 0;
        }
    } catch (const Error&) {
        FUZZ_CHECK(grid.rowCount() == 3 && grid.cell(1, 1) == u"before");
        return 0;
    }
    const QByteArray written = listFileBytes(grid);
    CatalogueGrid again;
    FUZZ_CHECK(readListFile(written, again) == ListFileRead::Loaded);
    FUZZ_CHECK(sameRows(grid, again));
    return 0;
}
