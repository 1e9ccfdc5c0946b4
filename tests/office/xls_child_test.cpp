#include "biff8_fixture.h"
#include "common/error.h"
#include "office/excel_import.h"
#include "office/xls_reader.h"
#include "office_fixtures.h"

#include <csignal>
#include <gtest/gtest.h>
#include <unistd.h>

namespace songwick {
namespace {

QStringList cellsOf(const CatalogueGrid& grid) {
    QStringList cells;
    for (int row = 0; row < grid.rowCount(); ++row)
        for (int column = 0; column < grid.columnCount(); ++column)
            cells.append(grid.cell(column, row));
    return cells;
}

struct FailingChild {
    const char* what;
    xls::ChildBody body;
};

const FailingChild kFailingChildren[] = {
    {"a crash",
     [](int, int) {
         std::signal(SIGSEGV, SIG_DFL);
         std::raise(SIGSEGV);
     }},
    {"a child that never ends",
     [](int, int) {
         for (;;)
             ::pause();
     }},
    {"a stream that is not one",
     [](int, int pipe) {
         [[maybe_unused]] const ssize_t written = ::write(pipe, "\x01\x00\x00\x00garbage", 11);
         _exit(0);
     }},
};

} // namespace

// Whatever happens to the child, the import gets the damaged-workbook message before anything
// of the table has changed.
TEST(XlsChild, ACrashATimeOutOrGarbageBecomesTheMessageAndTheTableStays) {
    const QByteArray workbook =
        testing::biff8Workbook({{0, 0, QStringLiteral("№")}, {1, 1, QStringLiteral("песня.kar")}});
    xls::ChildLimits limits;
    limits.seconds = 1;
    EXPECT_EQ(xls::readInChild(workbook, QStringLiteral("книга.xls"), {}, limits).text(2, 2),
              QStringLiteral("песня.kar"));

    for (const FailingChild& child : kFailingChildren) {
        SCOPED_TRACE(child.what);
        CatalogueGrid grid = testing::sampleGrid(2);
        CatalogueState state;
        const QStringList before = cellsOf(grid);
        try {
            const SheetValues values =
                xls::readInChild(workbook, QStringLiteral("книга.xls"),
                                 importLimits(ImportWindow::Main, grid), limits, child.body);
            importSheet(values, ImportWindow::Main, grid, state);
            ADD_FAILURE() << "imported";
        } catch (const Error& error) {
            EXPECT_EQ(error.message(),
                      QStringLiteral("Файл повреждён или не является книгой Excel: книга.xls"));
        }
        EXPECT_EQ(cellsOf(grid), before);
        EXPECT_EQ(state.tableSource, TableSource::StartWindowStore);
        EXPECT_EQ(state.mainWindowStore.count(), 0);
    }
}

// Two workbooks the .xls fuzz target made from our seeds, on which the BIFF library reads
// outside its own stack buffer (in its iconv call): the import says the file is damaged.
const char* const kDamagedWorkbooks[] = {
    "0M8R4KGxGuEAAAAAAAAAAAAAAAAAAAAAPgADAP7/CQAGAAAAAAAAAAAAAAABAAAAAQAAAAAAAAAAEAAA/v///wAAAAD+"
    "////AAAAAAAAAAD/////////////////////////////////////////////////////////////////////////////"
    "////////////////////////////////////////////////////////////////////////////////////////////"
    "////////////////////////////////////////////////////////////////////////////////////////////"
    "////////////////////////////////////////////////////////////////////////////////////////////"
    "////////////////////////////////////////////////////////////////////////////////////////////"
    "////////////////////////////////////////////////////////////////////////////////////////////"
    "///////////////////////////////////////9/////v///wMAAAAEAAAABQAAAAYAAAAHAAAACAAAAAkAAAAKAAAA"
    "/v//////////////////////////////////////////////////////////////////////////////////////////"
    "////////////////////////////////////////////////////////////////////////////////////////////"
    "////////////////////////////////////////////////////////////////////////////////////////////"
    "////////////////////////////////////////////////////////////////////////////////////////////"
    "/////////////////////////////////////////////////////////////9DPEeChsRrhAAAAAAAAAAAAAAAAAAAA"
    "AD4AAwD+/wkABgAAAAAAAAAAAAAAAQAAAAEAAAAAAAAAABAAAP7///8AAAAA/v///wAAAAAAAAAA////////////////"
    "////////////////////////////////////////////////////////////////////////////////////////////"
    "////////////////////////////////////////////////////////////////////////////////////////////"
    "////////////////////////////////////////////////////////////////////////////////////////////"
    "////////////////////////////////////////////////////////////////////////////////////////////"
    "//////////////////////////////////////////////////////////9SAG8AbwB0ACAARQBuAHQAcgB5AAAAAAAA"
    "AAD8AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAFgAFAf//////////AQAAAAAAAAAAAAAAAAAAAAAA"
    "AAAAAAAAAAAAAAAAAAAAAAAAAAAAAP7///8AAAAAAAAAAFcAbwByAGsAYgBvAG8AawAAAAAAAAAAAAAAAAAAAAAAAAAA"
    "AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAASAAIB////////////////AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA"
    "AAAAAAAAAAAAAAAAAv//////////////AAAAbBAAAAAAAAAAAAD///8=",
    "0M8R4KGxGuEAAAAAAAAAAAAAAAAAAAAAPgADAP7/CQAGAAAAAAAAAAAAAAABAAAAAQAAAAAAAAAAEAAA/v///wAAAAD+"
    "////AAAAAAAAAAD/////////////////////////////////////////////////////////////////////////////"
    "////////////////////////////////////////////////////////////////////////////////////////////"
    "////////////////////////////////////////////////////////////////////////////////////////////"
    "////////////////////////////////////////////////////////////////////////////////////////////"
    "////////////////////////////////////////////////////////////////////////////////////////////"
    "////////////////////////////////////////////////////////////////////////////////////////////"
    "///////////////////////////////////////9/////v///wMAAAAEAAAABQAAAAYAAAAHCAAACAAAAAkAAAAKAAAA"
    "/v//////////////////////////////////////////////////////////////////////////////////////////"
    "////////////////////////////////////////////////////////////////////////////////////////////"
    "////////////////////////////////////////////////////////////////////////////////////////////"
    "////////////////////////////////////////////////////////////////////////////////////////////"
    "////////////////////////////////////////////////////////////////////////////////////////////"
    "////////////////////////////////////////////////////////////////////////////////////////////"
    "/////////////////////////////////////////////////////////////////////////////1IAbwBvAHQAIABF"
    "AG4AdAByAHkAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAWAAUB//////////8BAAAA"
    "AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA/v///wAAAAAAAAAAVwBvAHIAawBiAG8AbwBrAAAAAAAA"
    "AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAANDPEeChsRrhAAAAAAAAAAAAAAAAAAAAAAAAAAAAABIAAgH/"
    "//////////////8AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAACAAAAbBAAAAAAAAAAAAAAAAAAAAAA"
    "AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAPgADAP7/CQAGAAAA"
    "AAAAAAAAAAABAAAAAQAAAAAAAAAAEAAA/v///wAAAAD+////AAAAAAAAAAD/////////////////////////////////"
    "////////////////////////////////////////////////////////////////////////////////////////////"
    "/////////////////////////////wAAAAH///////////////////////////8=",
};

TEST(XlsChild, WorkbooksThatBreakTheBiffLibraryGiveTheMessage) {
    for (const char* base64 : kDamagedWorkbooks) {
        const QByteArray workbook = QByteArray::fromBase64(base64);
        try {
            xls::readInChild(workbook, QStringLiteral("книга.xls"), {}, xls::ChildLimits{});
            ADD_FAILURE() << "read";
        } catch (const Error& error) {
            EXPECT_EQ(error.message(),
                      QStringLiteral("Файл повреждён или не является книгой Excel: книга.xls"));
        }
    }
}

} // namespace songwick
