#include "catalogue/catalogue_grid.h"
#include "catalogue/catalogue_state.h"
#include "catalogue/catalogue_table.h"
#include "common/error.h"
#include "fuzz/fuzz_check.h"
#include "office/excel_import.h"

#include <cstddef>
#include <cstdint>

using namespace songwick;

// The import from a parsed sheet. The input is a list of cells: row (2 bytes), column
// (1 byte), text length (1 byte) and the text; the first byte picks the window.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1)
        return 0;
    const ImportWindow window = data[0] & 1 ? ImportWindow::Start : ImportWindow::Main;
    SheetValues values;
    std::size_t at = 1;
    while (at + 4 <= size) {
        const int row = (data[at] | data[at + 1] << 8) + 1;
        const int column = data[at + 2] + 1;
        const std::size_t length = std::min<std::size_t>(data[at + 3], size - at - 4);
        values.setText(
            row, column,
            QString::fromUtf8(reinterpret_cast<const char*>(data) + at + 4, qsizetype(length)));
        at += 4 + length;
    }
    CatalogueGrid grid;
    CatalogueState state;
    prepareGrid(grid, 0);
    try {
        const SpreadsheetImport result = importSheet(values, window, grid, state);
        FUZZ_CHECK(result.dataRowCount == grid.rowCount() - 1);
        FUZZ_CHECK(state.mainWindowStore.count() == result.dataRowCount);
        FUZZ_CHECK(grid.cell(0, 0) == u"№");
        for (int row = 1; row < grid.rowCount(); ++row)
            FUZZ_CHECK(grid.cell(0, row) == QString::number(row));
    } catch (const Error&) {
        FUZZ_CHECK(grid.rowCount() == 1);
    }
    return 0;
}
