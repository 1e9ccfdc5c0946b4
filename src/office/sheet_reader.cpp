#include "office/sheet_reader.h"

#include "common/error.h"

#include <QFile>
#include <cmath>

namespace songwick {

const QString& SheetValues::text(int row, int column) const {
    static const QString empty;
    if (row < 1 || column < 1 || row > int(rows_.size()))
        return empty;
    const auto& cells = rows_[std::size_t(row - 1)];
    return column <= int(cells.size()) ? cells[std::size_t(column - 1)] : empty;
}

void SheetValues::setText(int row, int column, QString text) {
    if (row < 1 || column < 1 || text.isEmpty())
        return;
    if (row > int(rows_.size()))
        rows_.resize(std::size_t(row));
    auto& cells = rows_[std::size_t(row - 1)];
    if (column > int(cells.size()))
        cells.resize(std::size_t(column));
    cells[std::size_t(column - 1)] = std::move(text);
    rowCount_ = std::max(rowCount_, row);
    columnCount_ = std::max(columnCount_, column);
}

QString numberText(double value) {
    if (std::isfinite(value) && value == std::trunc(value) && std::fabs(value) < 1e15)
        return QString::number(static_cast<qint64>(value));
    return QString::number(value, 'g', 15);
}

SheetValues readFirstSheet(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Error(
            QStringLiteral("Не удалось открыть файл \"%1\": %2").arg(path, file.errorString()));
    const QByteArray start = file.read(8);
    file.close();
    if (start.startsWith("PK\x03\x04"))
        return readXlsxFirstSheet(path);
    if (start == QByteArray::fromHex("D0CF11E0A1B11AE1"))
        return readXlsFirstSheet(path);
    throw Error(QStringLiteral("Файл \"%1\" не является книгой Excel").arg(path));
}

} // namespace songwick
