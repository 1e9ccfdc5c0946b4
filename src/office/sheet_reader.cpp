#include "office/sheet_reader.h"

#include "common/error.h"
#include "common/file_name_codec.h"
#include "common/system_error.h"

#include <QCoreApplication>
#include <QDate>
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <sys/stat.h>

namespace songwick {

const QString& SheetValues::text(int row, int column) const {
    static const QString empty;
    const auto found = rows_.find(row);
    if (found == rows_.end())
        return empty;
    const Row& cells = found->second;
    const auto cell = std::lower_bound(cells.begin(), cells.end(), column,
                                       [](const auto& item, int c) { return item.first < c; });
    return cell != cells.end() && cell->first == column ? cell->second : empty;
}

void SheetValues::setText(int row, int column, QString text) {
    if (row < 1 || column < 1 || text.isEmpty())
        return;
    Row& cells = rows_[row];
    if (cells.empty() || cells.back().first < column) {
        cells.emplace_back(column, std::move(text));
        ++cellCount_;
    } else {
        const auto cell = std::lower_bound(cells.begin(), cells.end(), column,
                                           [](const auto& item, int c) { return item.first < c; });
        if (cell != cells.end() && cell->first == column) {
            cell->second = std::move(text);
        } else {
            cells.emplace(cell, column, std::move(text));
            ++cellCount_;
        }
    }
    rowCount_ = std::max(rowCount_, row);
    columnCount_ = std::max(columnCount_, column);
}

QString numberText(double value) {
    if (std::isfinite(value) && value == std::trunc(value) && std::fabs(value) < 1e15)
        return QString::number(static_cast<qint64>(value));
    return QString::number(value, 'g', 15);
}

QString dateCellText(double value, bool withTime) {
    // Beyond the years a spreadsheet can show the number stays a number.
    if (!std::isfinite(value) || value < 0 || value >= 2958466)
        return numberText(value);
    qint64 days = qint64(std::floor(value));
    qint64 seconds = std::llround((value - double(days)) * 86400.0);
    if (seconds >= 86400) {
        ++days;
        seconds -= 86400;
    }
    // Spreadsheets count a 29 February 1900 that never was: their days 1 to 60 are one later.
    if (days >= 1 && days < 61)
        ++days;
    const QDate date = QDate(1899, 12, 30).addDays(days);
    QString text = date.toString(QStringLiteral("dd.MM.yyyy"));
    if (withTime)
        text += QStringLiteral(" %1:%2:%3")
                    .arg(seconds / 3600, 2, 10, QChar(u'0'))
                    .arg(seconds / 60 % 60, 2, 10, QChar(u'0'))
                    .arg(seconds % 60, 2, 10, QChar(u'0'));
    return text;
}

QString damagedWorkbookMessage(const QString& name) {
    return QCoreApplication::translate("songwick::Office",
                                       "Файл повреждён или не является книгой Excel: %1")
        .arg(displayFileName(name));
}

SheetValues readFirstSheet(QByteArrayView bytes, const QString& name, const SheetLimits& limits) {
    SheetValues values;
    if (bytes.startsWith("PK\x03\x04"))
        values = readXlsxFirstSheet(bytes, name, limits);
    else if (bytes.startsWith(QByteArray::fromHex("D0CF11E0A1B11AE1")))
        values = readXlsFirstSheet(bytes, name, limits);
    else
        throw Error(damagedWorkbookMessage(name));
    values.setSourceName(name);
    return values;
}

SheetValues readFirstSheet(const QString& path, const SheetLimits& limits) {
    // Far more than any workbook a table comes from; keeps a stray huge file out of memory.
    constexpr qint64 kMaxWorkbookSize = qint64(256) << 20;
    struct stat status {};
    if (::stat(encodeFileName(path).constData(), &status) != 0)
        throw Error(systemErrorMessage(QStringLiteral("открыть файл"), path, errno));
    // A device or a pipe is no workbook, and reading it might never end.
    if (!S_ISREG(status.st_mode) && !S_ISDIR(status.st_mode))
        throw Error(damagedWorkbookMessage(path));
    if (status.st_size > kMaxWorkbookSize)
        throw Error(
            QCoreApplication::translate("songwick::Office",
                                        "Файл \"%1\" слишком велик для книги с таблицей. Файл не "
                                        "загружен.")
                .arg(displayFileName(path)));
    return readFirstSheet(readWholeFile(path), path, limits);
}

} // namespace songwick
