// Times the table work on a full record store: writing and reading a list file of 45,002
// rows, rebuilding the table from a store and copying it back, inserting a row at the top
// and measuring the columns. Prints the median of several runs of each.

#include "catalogue/catalogue_table.h"
#include "catalogue/list_file.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QStringList>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <random>
#include <time.h>
#include <vector>

using namespace songwick;
using namespace Qt::StringLiterals;

namespace {

constexpr int kRuns = 7;

class TextMaker {
public:
    QString words(const QStringList& from, int count) {
        QStringList picked;
        for (int i = 0; i < count; ++i)
            picked << from[pick(from.size())];
        return picked.join(u' ');
    }
    QString person() { return words(firstNames_, 1) + u' ' + words(surnames_, 1); }
    CatalogueRecord record(int i) {
        const QString title = words(songWords_, 2 + pick(4));
        const QString performer = words(surnames_, 1);
        return {performer + u" - "_s + title + u".kar"_s,
                u"/home/user/Караоке/"_s + words(songWords_, 1) + u"/Сборник "_s +
                    QString::number(i % 300) + u"/"_s,
                performer + u" - "_s + title,
                u"Сл. "_s + person(),
                u"Муз. "_s + person(),
                pick(3) == 0 ? QString()
                             : u"Сделано в Караоке-Студии «"_s + words(songWords_, 1) + u"»"_s};
    }

private:
    int pick(qsizetype n) {
        return int(std::uniform_int_distribution<qsizetype>(0, n - 1)(random_));
    }

    std::mt19937 random_{20261208};
    const QStringList songWords_ = {u"любовь"_s, u"осень"_s, u"берёза"_s,  u"дорога"_s, u"ночь"_s,
                                    u"звезда"_s, u"песня"_s, u"море"_s,    u"сердце"_s, u"дождь"_s,
                                    u"зима"_s,   u"ветер"_s, u"журавли"_s, u"город"_s,  u"мечта"_s};
    const QStringList firstNames_ = {u"Алексей"_s, u"Марина"_s, u"Игорь"_s, u"Юрий"_s,
                                     u"Наталья"_s, u"Сергей"_s, u"Ольга"_s, u"Владимир"_s};
    const QStringList surnames_ = {u"Иванов"_s,   u"Пахмутова"_s, u"Добронравов"_s, u"Резник"_s,
                                   u"Шаинский"_s, u"Энтин"_s,     u"Крылатов"_s,    u"Матвиенко"_s};
};

double threadCpuMilliseconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

// Medians of wall-clock and CPU time: the CPU time says what the code costs when the machine
// is busy with other work.
struct Timing {
    double wallMilliseconds;
    double cpuMilliseconds;
};

Timing median(const std::function<void()>& prepare, const std::function<void()>& run) {
    std::vector<double> wall;
    std::vector<double> cpu;
    for (int i = 0; i < kRuns; ++i) {
        prepare();
        QElapsedTimer timer;
        const double cpuStart = threadCpuMilliseconds();
        timer.start();
        run();
        wall.push_back(double(timer.nsecsElapsed()) / 1e6);
        cpu.push_back(threadCpuMilliseconds() - cpuStart);
    }
    std::sort(wall.begin(), wall.end());
    std::sort(cpu.begin(), cpu.end());
    return {wall[wall.size() / 2], cpu[cpu.size() / 2]};
}

Timing median(const std::function<void()>& run) {
    return median([] {}, run);
}

void report(const char* what, Timing timing) {
    std::printf("%-50s %8.1f ms %8.1f ms\n", what, timing.wallMilliseconds, timing.cpuMilliseconds);
}

} // namespace

int main() {
    CatalogueState state;
    TextMaker maker;
    for (int i = 1; i <= RecordStore::kCapacity; ++i)
        state.startWindowStore.append(maker.record(i));

    CatalogueGrid grid;
    rebuildFromStore(grid, state.startWindowStore);
    for (int row = 1; row <= grid.dataRowCount(); row += 3)
        toggleMark(grid, row);

    QTemporaryDir dir;
    const QString path = dir.filePath(u"bench.swk"_s);
    writeListFile(path, grid);
    std::printf("%d rows x %d columns, list file %.1f MB, %d runs each, medians:\n",
                grid.dataRowCount(), grid.columnCount(), double(QFileInfo(path).size()) / 1e6,
                kRuns);

    std::printf("%-50s %11s %11s\n", "", "wall", "cpu");
    report("encode list file in memory", median([&] { listFileBytes(grid); }));
    report("write list file (encode + atomic save)", median([&] { writeListFile(path, grid); }));
    CatalogueGrid loaded;
    report("read list file (file + parse into the grid)",
           median([&] { readListFile(readListFileBytes(path), loaded); }));
    report("open in main window (prepare, read, copy-back)",
           median([&] { openListFileInMainWindow(path, loaded, state); }));
    report("rebuild from a full store",
           median([&] { rebuildFromStore(loaded, state.startWindowStore); }));
    report("copy-back into both stores", median([&] { copyBackToStores(loaded, state); }));
    report("row insertion at row 1 (45,001 rows, incl. copy-back)",
           median(
               [&] {
                   rebuildFromStore(loaded, state.startWindowStore);
                   loaded.setRowCount(RecordStore::kCapacity);
               },
               [&] { insertRow(loaded, 1, state); }));
    const TextWidthFunction width = [](const QString& text) { return int(text.size()) * 7; };
    report("column widths (mode 2) + measures", median([&] {
               columnLayout(grid, WidestTextColumnWidths, kFixedColumnWidths, {}, {}, width);
           }));
    return 0;
}
