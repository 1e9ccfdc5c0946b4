#pragma once

#include "catalogue/catalogue_grid.h"
#include "catalogue/catalogue_state.h"
#include "common/date_time.h"
#include "office/desktop_opener.h"

#include <QDateTime>
#include <QStringList>

namespace songwick::testing {

class FixedClock final : public Clock {
public:
    explicit FixedClock(QDateTime moment) : value_(toDateTimeValue(moment)) {}
    DateTimeValue now() const override { return value_; }

private:
    DateTimeValue value_;
};

// 5 March 2024, 14:07:09.
inline QDateTime fixedMoment() {
    return QDateTime(QDate(2024, 3, 5), QTime(14, 7, 9));
}

class RecordingOpener final : public DesktopOpener {
public:
    void open(const QString& path) override { opened.append(path); }
    QStringList opened;
};

inline const QStringList& catalogueHeaders() {
    static const QStringList headers = {QStringLiteral("№"),
                                        QStringLiteral("Имя файла"),
                                        QStringLiteral("Расположение (путь)"),
                                        QStringLiteral("Исполнитель и/или название песни"),
                                        QStringLiteral("D"),
                                        QStringLiteral("E"),
                                        QStringLiteral("Сделана...")};
    return headers;
}

// The catalogue table with its headers and `dataRows` numbered rows; cell (c, r) of a data
// row holds "r:c" in columns 1 to 6.
inline CatalogueGrid sampleGrid(int dataRows) {
    CatalogueGrid grid(7, dataRows + 1);
    for (int column = 0; column < 7; ++column)
        grid.setCell(column, 0, catalogueHeaders()[column]);
    for (int row = 1; row <= dataRows; ++row) {
        grid.setCell(0, row, QString::number(row));
        for (int column = 1; column < 7; ++column)
            grid.setCell(column, row, QStringLiteral("%1:%2").arg(row).arg(column));
    }
    return grid;
}

inline ColumnValues sampleMeasures() {
    return {0, 11, 21, 33, 5, 7, 12};
}

} // namespace songwick::testing
