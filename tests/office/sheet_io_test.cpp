#include "biff8_fixture.h"
#include "common/error.h"
#include "office/sheet_reader.h"
#include "office/xlsx_writer.h"
#include "office/zip_package.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace songwick {
namespace {

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// An .xlsx as other programs write it: shared strings, rich-text runs, inline strings,
// booleans, numbers, gaps between cells, cells without references, namespace prefixes.
QByteArray handMadeXlsx(const QByteArray& sheetData) {
    const QByteArray workbook =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
        "<workbook xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
        "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\">"
        "<sheets><sheet name=\"Other\" sheetId=\"2\" r:id=\"rId7\"/>"
        "<sheet name=\"Second\" sheetId=\"1\" r:id=\"rId1\"/></sheets></workbook>";
    const QByteArray relations =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
        "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
        "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/"
        "relationships/worksheet\" Target=\"worksheets/sheet1.xml\"/>"
        "<Relationship Id=\"rId7\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/"
        "relationships/worksheet\" Target=\"/xl/worksheets/first.xml\"/>"
        "<Relationship Id=\"rId3\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/"
        "relationships/sharedStrings\" Target=\"strings.xml\"/></Relationships>";
    const QByteArray strings =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
        "<sst xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
        "<si><t>№</t></si>"
        "<si><r><t>Имя </t></r><r><rPr><b/></rPr><t>файла</t></r><rPh><t>x</t></rPh></si>"
        "<si><t xml:space=\"preserve\"> a &amp; b </t></si></sst>";
    const QByteArray sheet =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
        "<x:worksheet xmlns:x=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
        "<x:sheetData>" +
        sheetData + "</x:sheetData></x:worksheet>";
    return zipPackage({{QStringLiteral("xl/workbook.xml"), workbook},
                       {QStringLiteral("xl/_rels/workbook.xml.rels"), relations},
                       {QStringLiteral("xl/strings.xml"), strings},
                       {QStringLiteral("xl/worksheets/first.xml"), sheet},
                       {QStringLiteral("xl/worksheets/sheet1.xml"), "<worksheet/>"}});
}

class SheetReading : public ::testing::Test {
protected:
    QString path(const char* name) const { return folder_.filePath(QString::fromLatin1(name)); }
    QTemporaryDir folder_;
};

TEST_F(SheetReading, XlsxOfAnotherProgramGivesTheUsedRangeAsTexts) {
    writeFile(path("other.xlsx"),
              handMadeXlsx("<x:row r=\"1\"><x:c r=\"A1\" t=\"s\"><x:v>0</x:v></x:c>"
                           "<x:c r=\"B1\" t=\"s\"><x:v>1</x:v></x:c></x:row>"
                           "<x:row r=\"3\"><x:c r=\"A3\"><x:v>12</x:v></x:c>"
                           "<x:c r=\"C3\"><x:v>2.5</x:v></x:c>"
                           "<x:c r=\"D3\" t=\"b\"><x:v>1</x:v></x:c>"
                           "<x:c r=\"E3\" t=\"inlineStr\"><x:is><x:t>ин</x:t></x:is></x:c>"
                           "<x:c r=\"F3\" t=\"s\"><x:v>2</x:v></x:c>"
                           "<x:c r=\"G3\" s=\"4\"/></x:row>"
                           "<x:row><x:c><x:v>1E+3</x:v></x:c><x:c t=\"str\"><x:v>f</x:v></x:c>"
                           "</x:row>"));
    const SheetValues values = readFirstSheet(path("other.xlsx"));
    EXPECT_EQ(values.rowCount(), 4);
    EXPECT_EQ(values.columnCount(), 6); // G3 has a format only
    EXPECT_EQ(values.text(1, 1), QStringLiteral("№"));
    EXPECT_EQ(values.text(1, 2), QStringLiteral("Имя файла"));
    EXPECT_TRUE(values.text(2, 1).isEmpty());
    EXPECT_EQ(values.text(3, 1), QStringLiteral("12"));
    EXPECT_TRUE(values.text(3, 2).isEmpty());
    EXPECT_EQ(values.text(3, 3), QStringLiteral("2.5"));
    EXPECT_EQ(values.text(3, 4), QStringLiteral("TRUE"));
    EXPECT_EQ(values.text(3, 5), QStringLiteral("ин"));
    EXPECT_EQ(values.text(3, 6), QStringLiteral(" a & b "));
    EXPECT_EQ(values.text(4, 1), QStringLiteral("1000"));
    EXPECT_EQ(values.text(4, 2), QStringLiteral("f"));
}

TEST_F(SheetReading, EmptyAndOneCellSheets) {
    writeFile(path("empty.xlsx"), handMadeXlsx(""));
    const SheetValues empty = readFirstSheet(path("empty.xlsx"));
    EXPECT_EQ(empty.rowCount(), 1);
    EXPECT_EQ(empty.columnCount(), 1);
    EXPECT_TRUE(empty.text(1, 1).isEmpty());

    writeFile(path("one.xlsx"), handMadeXlsx("<x:row r=\"1\"><x:c r=\"A1\" t=\"inlineStr\">"
                                             "<x:is><x:t>#</x:t></x:is></x:c></x:row>"));
    const SheetValues one = readFirstSheet(path("one.xlsx"));
    EXPECT_EQ(one.rowCount(), 1);
    EXPECT_EQ(one.columnCount(), 1);
    EXPECT_EQ(one.text(1, 1), QStringLiteral("#"));
}

TEST_F(SheetReading, RowsAndColumnsPastWhatTheImportTakesAreRefusedAtOnce) {
    // A row number that would overflow, one that asks for 40 million rows, and rows that each
    // reach the last column: refused or read sparsely, never stored out to what they claim.
    for (const char* row : {"2147483647", "40000000", "45007"}) {
        const QByteArray sheet =
            "<x:row r=\"" + QByteArray(row) + "\"><x:c><x:v>1</x:v></x:c></x:row>";
        try {
            readFirstSheet(handMadeXlsx(sheet), QStringLiteral("big.xlsx"));
            ADD_FAILURE() << row << " was read";
        } catch (const Error& error) {
            EXPECT_TRUE(error.message().contains(u"big.xlsx")) << error.what();
        }
    }
    QByteArray wide;
    for (int row = 1; row <= 2000; ++row)
        wide += "<x:row r=\"" + QByteArray::number(row) + "\"><x:c r=\"A" +
                QByteArray::number(row) + "\"><x:v>7</x:v></x:c><x:c r=\"XFD" +
                QByteArray::number(row) + "\"><x:v>1</x:v></x:c></x:row>";
    const SheetValues all = readFirstSheet(handMadeXlsx(wide), QStringLiteral("wide.xlsx"));
    EXPECT_EQ(all.columnCount(), 16384);
    EXPECT_EQ(all.cellCount(), 4000);
    SheetLimits mainWindow;
    mainWindow.keptColumns = 7;
    const SheetValues kept =
        readFirstSheet(handMadeXlsx(wide), QStringLiteral("wide.xlsx"), mainWindow);
    EXPECT_EQ(kept.columnCount(), 1);
    EXPECT_EQ(kept.rowCount(), 2000);
}

TEST_F(SheetReading, EscapedCharactersAndDateCellsReadAsTheSheetShowsThem) {
    const QByteArray styles =
        "<styleSheet><numFmts><numFmt numFmtId=\"164\" formatCode=\"dd/mm/yyyy\\ hh:mm\"/>"
        "</numFmts><cellXfs><xf numFmtId=\"0\"/><xf numFmtId=\"14\"/><xf numFmtId=\"164\"/>"
        "<xf numFmtId=\"2\"/></cellXfs></styleSheet>";
    const QByteArray sheet =
        "<worksheet><sheetData><row r=\"1\"><c r=\"A1\" "
        "t=\"inlineStr\"><is><t>a_x0006_b_x005F_x0041_"
        "</t></is></c><c r=\"B1\" s=\"1\"><v>45356</v></c><c r=\"C1\" s=\"2\"><v>45356.60625</v>"
        "</c><c r=\"D1\" s=\"3\"><v>45356.5</v></c></row></sheetData></worksheet>";
    const QByteArray package = zipPackage(
        {{QStringLiteral("xl/workbook.xml"), "<workbook><sheets><sheet/></sheets></workbook>"},
         {QStringLiteral("xl/styles.xml"), styles},
         {QStringLiteral("xl/worksheets/sheet1.xml"), sheet}});
    const SheetValues values = readFirstSheet(package, QStringLiteral("d.xlsx"));
    EXPECT_EQ(values.text(1, 1), u"a\u0006b_x0041_");
    EXPECT_EQ(values.text(1, 2), u"05.03.2024");
    EXPECT_EQ(values.text(1, 3), u"05.03.2024 14:33:00");
    EXPECT_EQ(values.text(1, 4), u"45356.5");
}

TEST_F(SheetReading, FilesThatAreNotWorkbooksAreRefusedWithAClearError) {
    writeFile(path("text.xlsx"), "just some text\n");
    writeFile(path("other.zip"), zipPackage({{QStringLiteral("readme.txt"), QByteArray("hello")}}));
    writeFile(path("broken.xlsx"), QByteArray("PK\x03\x04", 4) + QByteArray(100, 'x'));
    writeFile(path("broken.xls"), QByteArray::fromHex("D0CF11E0A1B11AE1") + QByteArray(600, 'x'));
    for (const char* name : {"text.xlsx", "other.zip", "broken.xlsx", "broken.xls"}) {
        try {
            readFirstSheet(path(name));
            ADD_FAILURE() << name << " was read";
        } catch (const Error& error) {
            EXPECT_TRUE(error.message().contains(QStringLiteral("не является книгой Excel")))
                << name << ": " << error.what();
        }
    }
    EXPECT_THROW(readFirstSheet(path("missing.xlsx")), Error);
}

TEST_F(SheetReading, XlsOfAnotherProgramGivesTheUsedRangeAsTexts) {
    using testing::XlsCell;
    writeFile(path("old.xls"), testing::biff8Workbook({
                                   {0, 0, QStringLiteral("№")},
                                   {0, 1, QStringLiteral("Имя файла")},
                                   {1, 0, 1.0},
                                   {1, 1, QStringLiteral("песня.kar")},
                                   {2, 0, 2.0},
                                   {2, 3, 0.25},
                               }));
    const SheetValues values = readFirstSheet(path("old.xls"));
    EXPECT_EQ(values.rowCount(), 3);
    EXPECT_EQ(values.columnCount(), 4);
    EXPECT_EQ(values.text(1, 1), QStringLiteral("№"));
    EXPECT_EQ(values.text(1, 2), QStringLiteral("Имя файла"));
    EXPECT_EQ(values.text(2, 1), QStringLiteral("1"));
    EXPECT_EQ(values.text(2, 2), QStringLiteral("песня.kar"));
    EXPECT_EQ(values.text(3, 4), QStringLiteral("0.25"));
    EXPECT_TRUE(values.text(3, 2).isEmpty());
}

TEST_F(SheetReading, WrittenXlsxReadsBackWithNumbersAsTyped) {
    Workbook workbook;
    Worksheet& sheet = workbook.worksheet();
    sheet.setName(QStringLiteral("Список караоке файлов"));
    sheet.setValues({{1, 1}, {2, 4}},
                    {QStringLiteral("№"), QStringLiteral("=1+1"), QStringLiteral("007"),
                     QStringLiteral("<&>"), QStringLiteral("V 12"), QStringLiteral("12"),
                     QStringLiteral("-3"), QStringLiteral("1.50")});
    sheet.setFill({{1, 1}, {2, 4}}, 6);
    sheet.setValue({5, 2}, QStringLiteral("ниже"));
    writeXlsx(workbook, path("out.xlsx"));

    const SheetValues values = readFirstSheet(path("out.xlsx"));
    EXPECT_EQ(values.rowCount(), 5);
    EXPECT_EQ(values.columnCount(), 4);
    const QStringList expected = {QStringLiteral("№"),    QStringLiteral("=1+1"),
                                  QStringLiteral("007"),  QStringLiteral("<&>"),
                                  QStringLiteral("V 12"), QStringLiteral("12"),
                                  QStringLiteral("-3"),   QStringLiteral("1.50")};
    for (int i = 0; i < expected.size(); ++i)
        EXPECT_EQ(values.text(1 + i / 4, 1 + i % 4), expected[i]) << i;
    EXPECT_EQ(values.text(5, 2), QStringLiteral("ниже"));
}

TEST_F(SheetReading, FailedWriteLeavesTheOldFileAndNoTemporaryFile) {
    writeFile(path("keep.xlsx"), "old content");
    Workbook workbook;
    workbook.worksheet().setName(QStringLiteral("bad:name"));
    EXPECT_THROW(writeXlsx(workbook, path("keep.xlsx")), Error);
    QFile old(path("keep.xlsx"));
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), QByteArray("old content"));
    EXPECT_EQ(QDir(folder_.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
    EXPECT_THROW(writeXlsx(Workbook(), path("no/such/folder/x.xlsx")), Error);
}

} // namespace
} // namespace songwick
