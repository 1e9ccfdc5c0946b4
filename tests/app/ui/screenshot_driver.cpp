// Scans a folder through the start window, as a user would, and saves a picture of the main
// window: screenshot_driver FOLDER OUTPUT.png [START.png] (run under a display, e.g.
// xvfb-run); the third name, when given, gets a picture of the start window.
#include "app/ui/program_fixture.h"
#include "catalogue/ui/catalogue_table_model.h"
#include "catalogue/ui/catalogue_table_view.h"

#include <QPixmap>
#include <QPushButton>
#include <QTextStream>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationDisplayName(QStringLiteral("Songwick"));
    if (argc != 3 && argc != 4) {
        QTextStream(stderr) << "usage: screenshot_driver FOLDER OUTPUT.png [START.png]\n";
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const QString output = QString::fromLocal8Bit(argv[2]);
    QTemporaryDir settingsFolder;
    songwick::testing::ProgramUnderTest program(
        settingsFolder.filePath(QStringLiteral("prop.dat")));
    if (!program.start())
        return 1;
    if (argc == 4) {
        QTest::qWait(300);
        program.startWindow()->grab().save(QString::fromLocal8Bit(argv[3]));
    }
    program.platform.dialogs.folders.push_back(folder);
    QTest::mouseClick(program.startWindow()->Button1, Qt::LeftButton);
    songwick::TForm4* window = program.mainWindow();
    if (!QTest::qWaitForWindowExposed(window))
        return 1;
    QTest::qWait(300);
    window->StringGrid1->setCurrentIndex(window->tableModel->index(1, 3));
    window->StringGrid1DblClick();
    window->StringGrid1->clearSelection();
    QTest::qWait(300);
    if (!window->grab().save(output))
        return 1;
    QTextStream(stdout) << "saved " << output << '\n';
    return 0;
}
