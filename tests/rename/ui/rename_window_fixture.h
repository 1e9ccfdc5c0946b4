#pragma once

#include "app/ui/program_fixture.h"
#include "catalogue/catalogue_record.h"
#include "catalogue/ui/catalogue_table_model.h"
#include "catalogue/ui/catalogue_table_view.h"
#include "settings/options_file.h"

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace songwick::testing {

// The program with its main window up, showing a table of files made in a temporary folder.
class RenameWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(root.isValid());
        folder = root.filePath(QStringLiteral("songs"));
        ASSERT_TRUE(QDir().mkpath(folder));
        program = std::make_unique<ProgramUnderTest>(root.filePath(QStringLiteral("prop.dat")));
        ASSERT_TRUE(program->start());
        // The tests are about the renames themselves: no preview comes first unless a test
        // asks for one.
        writeShowRenamePlanFirst(optionsPath(), false);
    }

    QString optionsPath() const { return optionsFilePathBeside(program->registry->settingsPath()); }

    void TearDown() override { program.reset(); }

    // One empty file per name, and one table row for each with the given column-3 text.
    void showTable(const QStringList& names, const QStringList& performers) {
        CatalogueState& catalogue = program->registry->catalogue();
        catalogue.tableSource = TableSource::StartWindowStore;
        RecordStore& store = catalogue.startWindowStore;
        store.setCount(0);
        for (qsizetype i = 0; i < names.size(); ++i) {
            makeFile(names[i]);
            CatalogueRecord record;
            record[FileNameField] = names[i];
            record[FolderField] = folder + u'/';
            record[PerformerTitleField] = performers.value(i);
            ASSERT_TRUE(store.append(record));
        }
        program->registry->handOverToMainWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(mainWindow()));
        ProgramUnderTest::settle();
    }

    void makeFile(const QString& name) {
        QFile file(QDir(folder).filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("MThd");
    }

    QStringList filesOnDisk() const { return QDir(folder).entryList(QDir::Files, QDir::Name); }

    TForm4* mainWindow() const { return program->mainWindow(); }
    CatalogueState& catalogue() const { return program->registry->catalogue(); }
    ProgramSettings& settings() const { return program->registry->settings(); }
    QStringList& messagesShown() const { return program->platform.messages.shown; }
    QString cell(int column, int row) const { return mainWindow()->table().cell(column, row); }

    // Types into a cell of the table as the user does in place.
    void editCell(int column, int row, const QString& text) const {
        CatalogueTableModel* model = mainWindow()->tableModel;
        ASSERT_TRUE(model->setData(model->index(row - 1, column), text));
    }

    QTemporaryDir root;
    QString folder;
    std::unique_ptr<ProgramUnderTest> program;
};

} // namespace songwick::testing
