#include "common/error.h"
#include "office/sheet_reader.h"

#include <QFile>
#include <freexl.h>

namespace songwick {
namespace {

class XlsHandle {
public:
    explicit XlsHandle(const QString& path) {
        const int result = freexl_open(QFile::encodeName(path).constData(), &handle_);
        if (result != FREEXL_OK)
            throw Error(QStringLiteral("Файл \"%1\" не является книгой Excel").arg(path));
    }
    ~XlsHandle() { freexl_close(handle_); }
    XlsHandle(const XlsHandle&) = delete;
    XlsHandle& operator=(const XlsHandle&) = delete;

    const void* get() const { return handle_; }

private:
    const void* handle_ = nullptr;
};

QString cellText(const FreeXL_CellValue& cell) {
    switch (cell.type) {
    case FREEXL_CELL_INT:
        return QString::number(cell.value.int_value);
    case FREEXL_CELL_DOUBLE:
        return numberText(cell.value.double_value);
    case FREEXL_CELL_TEXT:
    case FREEXL_CELL_SST_TEXT:
    case FREEXL_CELL_DATE:
    case FREEXL_CELL_DATETIME:
    case FREEXL_CELL_TIME:
        return cell.value.text_value ? QString::fromUtf8(cell.value.text_value) : QString();
    default:
        return {};
    }
}

} // namespace

SheetValues readXlsFirstSheet(const QString& path) {
    const XlsHandle workbook(path);
    unsigned int rows = 0;
    unsigned short columns = 0;
    if (freexl_select_active_worksheet(workbook.get(), 0) != FREEXL_OK ||
        freexl_worksheet_dimensions(workbook.get(), &rows, &columns) != FREEXL_OK)
        throw Error(QStringLiteral("Файл \"%1\" не является книгой Excel").arg(path));
    SheetValues values;
    for (unsigned int row = 0; row < rows; ++row) {
        for (unsigned short column = 0; column < columns; ++column) {
            FreeXL_CellValue cell;
            if (freexl_get_cell_value(workbook.get(), row, column, &cell) != FREEXL_OK)
                continue;
            values.setText(int(row) + 1, int(column) + 1, cellText(cell));
        }
    }
    return values;
}

} // namespace songwick
