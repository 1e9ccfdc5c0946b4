// Times the main window's activation over a full record store (45,002 rows) with the column
// widths taken from the widest texts, and the copy-back when it loses the focus.
#include "app/ui/program_fixture.h"
#include "catalogue/catalogue_duplicates.h"
#include "catalogue/catalogue_table.h"
#include "catalogue/songbook_pdf.h"
#include "catalogue/ui/catalogue_table_model.h"
#include "catalogue/ui/catalogue_table_view.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QTextStream>
#include <algorithm>
#include <vector>

namespace {

double medianMilliseconds(std::vector<qint64> nanoseconds) {
    std::sort(nanoseconds.begin(), nanoseconds.end());
    return nanoseconds[nanoseconds.size() / 2] / 1e6;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
    QApplication application(argc, argv);
    QTemporaryDir root;
    songwick::testing::ProgramUnderTest program(root.filePath(QStringLiteral("prop.dat")));
    songwick::CatalogueState& catalogue = program.registry->catalogue();
    for (int i = 1; i <= songwick::RecordStore::kCapacity; ++i) {
        catalogue.startWindowStore.append(
            {QStringLiteral("Песня номер %1.kar").arg(i),
             QStringLiteral("/home/user/Караоке/Сборник %1/").arg(i % 97),
             // Every song three times over, under three performer spellings.
             QStringLiteral("%1сполнитель %2 - Название песни %3")
                 .arg(i % 3 == 0 ? QStringLiteral("И") : QStringLiteral("и"))
                 .arg(i % 15001 % 311)
                 .arg(i % 15001),
             QStringLiteral("Слова: Автор %1").arg(i % 53),
             QStringLiteral("Музыка: Композитор %1").arg(i % 41),
             QStringLiteral("Сделано в программе %1").arg(i % 7)});
    }
    catalogue.tableSource = songwick::TableSource::StartWindowStore;
    program.registry->settings().ColumnWidthMode = songwick::WidestTextColumnWidths;
    songwick::TForm4* window = program.mainWindow();
    window->show();

    std::vector<qint64> activations;
    std::vector<qint64> copyBacks;
    QElapsedTimer timer;
    for (int run = 0; run < 5; ++run) {
        timer.start();
        window->FormActivate();
        activations.push_back(timer.nsecsElapsed());
        timer.start();
        window->FormDeactivate();
        copyBacks.push_back(timer.nsecsElapsed());
    }
    std::vector<qint64> refills;
    for (int run = 0; run < 3; ++run) {
        timer.start();
        window->changeTable([&catalogue](songwick::CatalogueGrid& grid) {
            songwick::rebuildFromStore(grid, catalogue.startWindowStore);
        });
        refills.push_back(timer.nsecsElapsed());
    }
    // Typing into the find line: each keystroke filters the whole table and shows the rows.
    std::vector<qint64> keystrokes;
    const QString typed = QStringLiteral("исп 31 назв");
    for (int run = 0; run < 3; ++run) {
        window->FindEdit->clear();
        for (const QChar c : typed) {
            timer.start();
            window->FindEdit->insert(QString(c));
            window->StringGrid1->repaint();
            keystrokes.push_back(timer.nsecsElapsed());
        }
    }
    const QString shown = window->Label3->text();
    window->FindEdit->clear();
    std::vector<qint64> sorts;
    for (int run = 0; run < 3; ++run) {
        timer.start();
        window->sortByColumn(3);
        sorts.push_back(timer.nsecsElapsed());
    }
    timer.start();
    const auto groups = songwick::duplicateGroups(program.registry->grid(), {});
    const qint64 grouping = timer.nsecsElapsed();
    // The whole command: grouping by name and by identical files (none of these files exists,
    // so every size is looked up and nothing is read), then gathering and marking.
    timer.start();
    window->RepeatsActionClick();
    const qint64 repeatsCommand = timer.nsecsElapsed();
    const QString repeatsMessage = program.platform.messages.shown.isEmpty()
                                       ? QString()
                                       : program.platform.messages.shown.last();
    std::vector<int> rows;
    for (int row = 1; row < program.registry->grid().rowCount(); ++row)
        rows.push_back(row);
    timer.start();
    songwick::writeSongbookPdf(root.filePath(QStringLiteral("songbook.pdf")),
                               songwick::songbookSections(program.registry->grid(), rows), {});
    const qint64 songbook = timer.nsecsElapsed();

    QTextStream out(stdout);
    out << "find line, one keystroke (filter and show), median of " << keystrokes.size() << ": "
        << medianMilliseconds(keystrokes) << " ms, slowest "
        << *std::max_element(keystrokes.begin(), keystrokes.end()) / 1e6 << " ms (" << shown
        << ")\n"
        << "sort by column 3, median of 3: " << medianMilliseconds(sorts) << " ms\n"
        << "repeat groups by name (" << groups.size() << " groups): " << grouping / 1e6 << " ms\n"
        << "\"Найти повторы\" command (" << repeatsMessage << "): " << repeatsCommand / 1e6
        << " ms\n"
        << "songbook PDF of every row: " << songbook / 1e6 << " ms\n";
    out << "refill alone, median of 3: " << medianMilliseconds(refills) << " ms\n";
    out << "rows: " << window->tableModel->rowCount() << '\n'
        << "activation (refill, width mode 2, status), median of 5: "
        << medianMilliseconds(activations) << " ms\n"
        << "copy-back on loss of focus, median of 5: " << medianMilliseconds(copyBacks) << " ms\n";
    return 0;
}
