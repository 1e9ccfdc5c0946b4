// Times the spreadsheet export (model and .xlsx file) and import of a full record store with
// the default settings; prints the median of several runs. Not a test: run scripts/bench-office.
#include "catalogue/catalogue_grid.h"
#include "catalogue/catalogue_state.h"
#include "office/excel_export.h"
#include "office/excel_import.h"
#include "office/xlsx_writer.h"
#include "settings/program_settings.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

using namespace songwick;

namespace {

class FixedClock final : public Clock {
public:
    DateTimeValue now() const override { return 45356.5; }
};

CatalogueGrid fullGrid(int dataRows) {
    CatalogueGrid grid(7, dataRows + 1);
    const QStringList headers = {QStringLiteral("№"),
                                 QStringLiteral("Имя файла"),
                                 QStringLiteral("Расположение (путь)"),
                                 QStringLiteral("Исполнитель и/или название песни"),
                                 QStringLiteral("D"),
                                 QStringLiteral("E"),
                                 QStringLiteral("Сделана...")};
    for (int column = 0; column < 7; ++column)
        grid.setCell(column, 0, headers[column]);
    for (int row = 1; row <= dataRows; ++row) {
        grid.setCell(0, row, QString::number(row));
        grid.setCell(1, row, QStringLiteral("Песня номер %1.kar").arg(row));
        grid.setCell(2, row, QStringLiteral("/home/user/Караоке/Сборник %1/").arg(row / 100));
        grid.setCell(3, row, QStringLiteral("Исполнитель %1 - Название песни").arg(row % 997));
        grid.setCell(4, row, QStringLiteral("Слова: Автор %1").arg(row % 31));
        grid.setCell(5, row, QStringLiteral("Музыка: Композитор %1").arg(row % 29));
        grid.setCell(6, row, QStringLiteral("Karaoke Studio"));
    }
    return grid;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    const int runs = argc > 1 ? std::max(1, QString::fromLocal8Bit(argv[1]).toInt()) : 5;
    const int rows = RecordStore::kCapacity;
    const CatalogueGrid grid = fullGrid(rows);
    const ColumnValues measures = {0, 22, 40, 38, 18, 24, 14};
    const ProgramSettings settings;
    const FixedClock clock;
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("bench.xlsx"));

    std::vector<double> model, write, import;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        const std::optional<Workbook> workbook = buildExcelExport(grid, measures, settings, clock);
        model.push_back(double(timer.nsecsElapsed()) / 1e6);
        timer.restart();
        writeXlsx(*workbook, path);
        write.push_back(double(timer.nsecsElapsed()) / 1e6);
        timer.restart();
        CatalogueGrid target;
        CatalogueState state;
        const SpreadsheetImport result = importSpreadsheet(path, ImportWindow::Main, target, state);
        import.push_back(double(timer.nsecsElapsed()) / 1e6);
        if (result.dataRowCount != rows) {
            std::fprintf(stderr, "import gave %d rows, wanted %d\n", result.dataRowCount, rows);
            return 1;
        }
    }
    std::printf("rows: %d, runs: %d, file: %.1f MB\n", rows, runs,
                double(QFileInfo(path).size()) / 1e6);
    std::printf("export model (median): %8.1f ms\n", median(model));
    std::printf("export .xlsx (median): %8.1f ms\n", median(write));
    std::printf("export total (median): %8.1f ms\n", median(model) + median(write));
    std::printf("import .xlsx (median): %8.1f ms\n", median(import));
    return 0;
}
