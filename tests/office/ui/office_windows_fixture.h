#pragma once

#include "app/ui/fake_platform.h"
#include "app/ui/start_window.h"
#include "app/ui/window_registry.h"
#include "catalogue/ui/catalogue_table_view.h"
#include "catalogue/ui/main_window.h"
#include "common/error.h"
#include "office/workbook.h"
#include "office/xlsx_writer.h"
#include "textview/ui/text_view_window.h"

#include <QApplication>
#include <QDir>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace songwick::testing {

using namespace Qt::StringLiterals;

// The desktop's programs, present or missing.
class SwitchableLauncher final : public DesktopLauncher {
public:
    bool openInDesktopProgram(const QString& path) override {
        asked << path;
        if (!installed)
            return false;
        opened << path;
        return true;
    }
    bool installed = true;
    QStringList opened;
    QStringList asked; // every file or folder handed over, opened or not
};

// The program's windows with fake dialogs, message boxes, desktop, printer and clock, its
// files in a temporary folder, and the export folder in the test's own home (emptied of the
// files a test writes there).
class OfficeWindowsFixture : public ::testing::Test {
protected:
    void SetUp() override {
        QStandardPaths::setTestModeEnabled(true);
        // The user's documents folder, where exports go, lies in the test's own home.
        savedHome = qgetenv("HOME");
        qputenv("HOME", QFile::encodeName(root.filePath(u"home"_s)));
        exportFolder = QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
                           .filePath(u"Songwick"_s);
        exportBefore = QDir(exportFolder).entryList(QDir::Files);
        registry = std::make_unique<WindowRegistry>(services(), root.filePath(u"prop.dat"_s));
        registry->setEndProgramHandler([] {});
        registry->createWindows();
        view = registry->form8();
        ASSERT_NE(view, nullptr);
        startWindow = registry->form1();
        mainWindow = registry->form4();
    }

    void TearDown() override {
        for (QWidget* window : QApplication::topLevelWidgets())
            window->hide();
        registry.reset();
        QDir cache(exportFolder);
        for (const QString& file : cache.entryList(QDir::Files)) {
            if (!exportBefore.contains(file))
                cache.remove(file);
        }
        qputenv("HOME", savedHome);
    }

    PlatformServices services() {
        return PlatformServices{platform.messages, platform.dialogs, desktop,
                                printer,           platform.clock,   platform.random};
    }

    static void activate(QWidget* window) {
        WindowRegistry::showWindow(window);
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
        settle();
    }

    static void settle() {
        QCoreApplication::processEvents();
        QTest::qWait(20);
    }

    // The main window on screen with the table's header row and these data rows (columns 1
    // to 6 of each; the number column is numbered), without unsaved changes.
    void showMainWindowWith(const QList<QStringList>& rows) {
        activate(mainWindow);
        mainWindow->changeTable([&rows](CatalogueGrid& grid) {
            grid.resize(7, int(rows.size()) + 1);
            const QStringList header{u"№"_s,
                                     u"Имя файла"_s,
                                     u"Расположение (путь)"_s,
                                     u"Исполнитель и/или название песни"_s,
                                     u"D"_s,
                                     u"E"_s,
                                     u"Сделана..."_s};
            for (int column = 0; column < 7; ++column)
                grid.setCell(column, 0, header[column]);
            for (int row = 1; row <= rows.size(); ++row) {
                grid.setCell(0, row, QString::number(row));
                for (int column = 1; column < 7 && column <= rows[row - 1].size(); ++column)
                    grid.setCell(column, row, rows[row - 1][column - 1]);
            }
        });
        registry->catalogue().mainTable.modified = false;
    }

    // A one-sheet workbook written as .xlsx, row after row from A1.
    QString writeWorkbook(const QString& name, const QList<QStringList>& rows) const {
        Workbook workbook;
        for (int row = 0; row < rows.size(); ++row) {
            for (int column = 0; column < rows[row].size(); ++column)
                workbook.worksheet().setValue(CellRef{row + 1, column + 1}, rows[row][column]);
        }
        const QString path = root.filePath(name);
        writeXlsx(workbook, path);
        return path;
    }

    // The files a test wrote into the export folder.
    QByteArray savedHome;

    QStringList newExportFiles() const {
        QStringList added;
        for (const QString& file : QDir(exportFolder).entryList(QDir::Files)) {
            if (!exportBefore.contains(file))
                added << QDir(exportFolder).filePath(file);
        }
        return added;
    }

    // The hourglass is gone from the control.
    static bool showsDefaultCursor(const QWidget* control) {
        return control->cursor().shape() == Qt::ArrowCursor;
    }

    QTemporaryDir root;
    QString exportFolder;
    QStringList exportBefore;
    FakePlatform platform;
    SwitchableLauncher desktop;
    FakePrinterAccess printer;
    std::unique_ptr<WindowRegistry> registry;
    TForm1* startWindow = nullptr;
    TForm4* mainWindow = nullptr;
    TForm8* view = nullptr;
};

} // namespace songwick::testing
