#include "catalogue/catalogue_table.h"
#include "catalogue/ui/catalogue_table_model.h"
#include "catalogue/ui/text_width_cache.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <gtest/gtest.h>

namespace songwick {
namespace {

class CatalogueTableModelTest : public ::testing::Test {
protected:
    void SetUp() override {
        RecordStore store;
        store.append({QStringLiteral("a.kar"),
                      QStringLiteral("/songs/"),
                      QStringLiteral("Песня"),
                      {},
                      {},
                      QStringLiteral("Кто-то")});
        store.append({QStringLiteral("b.kar"), QStringLiteral("/songs/"), {}, {}, {}, {}});
        model.changeGrid([&store](CatalogueGrid& cells) { rebuildFromStore(cells, store); });
    }

    CatalogueGrid grid;
    CatalogueTableModel model{grid};
    QAbstractItemModelTester tester{&model, QAbstractItemModelTester::FailureReportingMode::Fatal};
};

TEST_F(CatalogueTableModelTest, ShowsDataRowsWithTheHeaderRowAsHeader) {
    EXPECT_EQ(model.rowCount(), 2);
    EXPECT_EQ(model.columnCount(), 7);
    EXPECT_EQ(model.headerData(0, Qt::Horizontal), QStringLiteral("№"));
    EXPECT_EQ(model.headerData(4, Qt::Horizontal), QStringLiteral("D"));
    EXPECT_EQ(model.headerData(6, Qt::Horizontal), QStringLiteral("Сделана..."));
    EXPECT_EQ(model.data(model.index(0, 0)), QStringLiteral("1"));
    EXPECT_EQ(model.data(model.index(0, 3)), QStringLiteral("Песня"));
    EXPECT_EQ(model.data(model.index(1, 1)), QStringLiteral("b.kar"));
    EXPECT_FALSE(model.data(model.index(5, 1)).isValid());
}

TEST_F(CatalogueTableModelTest, EditsReachTheGridAndAreReported) {
    int edits = 0;
    model.setEditedHandler([&edits] { ++edits; });
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    EXPECT_TRUE(model.setData(model.index(1, 4), QStringLiteral("Слова")));
    EXPECT_EQ(grid.cell(4, 2), QStringLiteral("Слова"));
    EXPECT_EQ(edits, 1);
    EXPECT_EQ(changed.count(), 1);
    // The same text again is no change.
    EXPECT_TRUE(model.setData(model.index(1, 4), QStringLiteral("Слова")));
    EXPECT_EQ(edits, 1);
}

TEST_F(CatalogueTableModelTest, LineBreaksBecomeBlanks) {
    EXPECT_TRUE(model.setData(model.index(0, 3), QStringLiteral("одна\r\nдве\nтри")));
    EXPECT_EQ(grid.cell(3, 1), QStringLiteral("одна две три"));
}

TEST_F(CatalogueTableModelTest, NumberColumnIsNotEditedInPlace) {
    EXPECT_FALSE(model.flags(model.index(0, 0)) & Qt::ItemIsEditable);
    EXPECT_TRUE(model.flags(model.index(0, 1)) & Qt::ItemIsEditable);
    EXPECT_FALSE(model.setData(model.index(0, 0), QStringLiteral("V 1")));
    EXPECT_EQ(grid.cell(0, 1), QStringLiteral("1"));
}

TEST_F(CatalogueTableModelTest, BulkChangesResetTheModel) {
    QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
    model.changeGrid([](CatalogueGrid& cells) { prepareGrid(cells, 5); });
    EXPECT_EQ(reset.count(), 1);
    EXPECT_EQ(model.rowCount(), 5);
}

} // namespace
} // namespace songwick

namespace songwick {
namespace {

TEST(TextWidthCacheTest, MeasuresTextsByTheirCharacters) {
    const QFont font;
    const QFontMetrics metrics(font);
    TextWidthCache widths(font);
    EXPECT_EQ(widths.width(QString()), 0);
    EXPECT_EQ(widths.width(QStringLiteral("Ж")), metrics.horizontalAdvance(QStringLiteral("Ж")));
    EXPECT_EQ(widths.width(QStringLiteral("ЖЖЖ")), 3 * widths.width(QStringLiteral("Ж")));
    // Asked again, the cached advances give the same answer.
    EXPECT_EQ(widths.width(QStringLiteral("Имя файла")), widths.width(QStringLiteral("Имя файла")));
    EXPECT_GT(widths.width(QStringLiteral("Имя файла")), widths.width(QStringLiteral("Имя")));
    const QString beyondBasicPlane = QString::fromUcs4(U"\U0001F3A4 караоке");
    EXPECT_EQ(widths.width(beyondBasicPlane), metrics.horizontalAdvance(beyondBasicPlane));
}

} // namespace
} // namespace songwick
