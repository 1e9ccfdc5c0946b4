#include "common/error.h"
#include "fuzz/sheet_checks.h"
#include "office/zip_package.h"

#include <cstddef>
#include <cstdint>

using namespace songwick;

namespace {

constexpr char kWorkbook[] =
    R"(<?xml version="1.0"?><workbook xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships"><sheets><sheet name="a" sheetId="1" r:id="rId1"/></sheets></workbook>)";
constexpr char kRelations[] =
    R"(<?xml version="1.0"?><Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships"><Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet" Target="worksheets/sheet1.xml"/><Relationship Id="rId2" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/sharedStrings" Target="sharedStrings.xml"/><Relationship Id="rId3" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles" Target="styles.xml"/></Relationships>)";
constexpr char kSheet[] =
    R"(<worksheet><sheetData><row r="1"><c r="A1" t="s"><v>0</v></c><c r="B1" s="1"><v>45356.5</v></c></row></sheetData></worksheet>)";
constexpr char kStrings[] = R"(<sst><si><t>a_x0041_</t></si><si><r><t>b</t></r></si></sst>)";
constexpr char kStyles[] =
    R"(<styleSheet><numFmts><numFmt numFmtId="164" formatCode="dd.mm.yyyy hh:mm"/></numFmts><cellXfs><xf numFmtId="0"/><xf numFmtId="164"/></cellXfs></styleSheet>)";

} // namespace

// Each XML part of a workbook in an intact package: the first byte picks the part that the
// rest of the input replaces, the other parts are those of a small good workbook.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1)
        return 0;
    const QByteArray part(reinterpret_cast<const char*>(data) + 1, qsizetype(size - 1));
    std::vector<std::pair<QString, QByteArray>> parts = {
        {QStringLiteral("xl/workbook.xml"), QByteArray(kWorkbook)},
        {QStringLiteral("xl/_rels/workbook.xml.rels"), QByteArray(kRelations)},
        {QStringLiteral("xl/worksheets/sheet1.xml"), QByteArray(kSheet)},
        {QStringLiteral("xl/sharedStrings.xml"), QByteArray(kStrings)},
        {QStringLiteral("xl/styles.xml"), QByteArray(kStyles)},
    };
    parts[std::size_t(data[0] % parts.size())].second = part;
    const QByteArray package = zipPackage(parts);
    const SheetLimits limits = fuzz::smallLimits();
    try {
        fuzz::checkWithinLimits(readXlsxFirstSheet(package, QStringLiteral("f.xlsx"), limits),
                                limits);
    } catch (const Error&) {
    }
    return 0;
}
