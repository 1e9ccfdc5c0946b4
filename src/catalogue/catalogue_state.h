#pragma once

#include "catalogue/record_store.h"

#include <QString>
#include <array>

namespace songwick {

// The number of columns the table has after every rebuild: "№" and the six record fields.
inline constexpr int kCatalogueColumnCount = 7;

// One value per table column 0 to 6 (pixel widths, text-length measures).
using ColumnValues = std::array<int, kCatalogueColumnCount>;

// Which record store the table is rebuilt from and which one holds each row's location on disk.
enum class TableSource {
    StartWindowStore, // after a scan in the start window
    MainWindowStore,  // after a scan in the main window and after a spreadsheet import
};

// The main window's table state. Plain data; the catalogue functions keep it.
struct MainTableState {
    bool modified = true;      // changes not yet saved to a list file
    bool hasSavedName = false; // currentListFileName holds the name last chosen for a save
    QString currentListFileName;
    bool activated = false;
    bool renameResult = false; // the status label shows the rename count
    int renameCount = 0;       // files whose name the last rename changed
    bool firstInsertion = false;
    // Character length of the widest (in pixels) cell text of columns 1 to 6, header included;
    // indexed by column, element 0 unused. Read by the spreadsheet export.
    ColumnValues columnMeasures{};
};

// Everything the catalogue keeps besides the grid itself: the two record stores, the table
// source, the main window's table state and the two conditions other windows set.
struct CatalogueState {
    RecordStore startWindowStore;
    RecordStore mainWindowStore;
    TableSource tableSource = TableSource::StartWindowStore;
    MainTableState mainTable;
    // The start window filled the table from a list file or a spreadsheet: the next
    // activation of the main window keeps the table instead of rebuilding it.
    bool loadedInStartWindow = false;
    // The composite rename changed the table: the next activation skips one rebuild.
    bool compositeRenameDone = false;

    RecordStore& store(TableSource source) {
        return source == TableSource::StartWindowStore ? startWindowStore : mainWindowStore;
    }
    const RecordStore& store(TableSource source) const {
        return source == TableSource::StartWindowStore ? startWindowStore : mainWindowStore;
    }
    RecordStore& tableSourceStore() { return store(tableSource); }
    const RecordStore& tableSourceStore() const { return store(tableSource); }
};

} // namespace songwick
