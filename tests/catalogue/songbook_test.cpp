#include "catalogue/catalogue_table.h"
#include "catalogue/songbook.h"
#include "catalogue/songbook_pdf.h"

#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace songwick {
namespace {

using namespace Qt::StringLiterals;

struct SongRow {
    QString fileName;
    QString title;     // column 3
    QString performer; // column 4
};

CatalogueGrid tableOf(const std::vector<SongRow>& songs) {
    CatalogueGrid grid;
    prepareGrid(grid, int(songs.size()));
    for (std::size_t i = 0; i < songs.size(); ++i) {
        const int row = int(i) + 1;
        grid.setCell(1, row, songs[i].fileName);
        grid.setCell(2, row, QStringLiteral("/k/"));
        grid.setCell(3, row, songs[i].title);
        grid.setCell(4, row, songs[i].performer);
    }
    return grid;
}

QString pdfText(const QString& pdf) {
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {QStringLiteral("-raw"), pdf, QStringLiteral("-")});
    if (!text.waitForFinished() || text.exitCode() != 0)
        return {};
    return QString::fromUtf8(text.readAllStandardOutput());
}

TEST(Songbook, PerformerComesFromColumnFourAndTheTableDecidesWhichSideOfADashItIs) {
    const CatalogueGrid grid = tableOf({
        {u"a.kar"_s, u"Waterloo"_s, u"ABBA"_s},
        {u"b.kar"_s, u"Chiquitita"_s, u"Abba"_s},
        {u"c.kar"_s, u"Mamma Mia"_s, u"ABBA"_s},
        // "Song - Artist": the right side is a performer elsewhere in the table.
        {u"d.kar"_s, u"Dancing Queen - ABBA"_s, QString()},
        // ... or the file name puts it first.
        {u"Backstreet Boys - I Want It That Way.kar"_s, u"I Want It That Way - Backstreet Boys"_s,
         QString()},
        // Labels are stripped; a credit in column 4 is no performer.
        {u"f.kar"_s, u"Title: In the End"_s, u"by Linkin Park"_s},
        {u"g.kar"_s, u"Кино - Группа крови"_s, u"Слова: В. Цой"_s},
        {u"h.kar"_s, u"Вокал"_s, u"Vocal"_s},
        // Without a title the file name, as a person writes it, names the song.
        {u"Pink_Floyd_-_Money%20(c)krawczyk.kar"_s, u"Vocal"_s, QString()},
    });
    const auto sections = songbookSections(grid, {1, 2, 3, 4, 5, 6, 7, 8, 9});
    QStringList performers;
    for (const SongbookSection& section : sections)
        for (const SongbookPerformer& performer : section.performers)
            performers << performer.name + u": "_s + performer.titles.join(u", "_s);
    EXPECT_EQ(performers,
              QStringList({u"Кино: Группа крови"_s,
                           u"ABBA: Chiquitita, Dancing Queen, Mamma Mia, Waterloo"_s,
                           u"Backstreet Boys: I Want It That Way"_s, u"Linkin Park: In the End"_s,
                           u"Pink Floyd: Money"_s, u": h"_s}));

    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString pdf = folder.filePath(u"book.pdf"_s);
    writeSongbookPdf(pdf, sections, {});
    const QString text = pdfText(pdf);
    if (text.isEmpty())
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    EXPECT_TRUE(text.contains(u"ABBA\nChiquitita\nDancing Queen\nMamma Mia\nWaterloo"_s))
        << text.toStdString();
}

TEST(Songbook, TitleLineNumbersIndexAndLongTitlesThatWrap) {
    const QString longTitle =
        u"Medley: Bohemian Rhapsody, Another One Bites the Dust, We Are the Champions"_s;
    const CatalogueGrid grid = tableOf({
        {u"a.kar"_s, u"Waterloo"_s, u"ABBA"_s},
        {u"b.kar"_s, longTitle, u"Queen"_s},
    });
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString pdf = folder.filePath(u"book.pdf"_s);
    SongbookOptions options;
    options.columns = 3;
    options.title = u"Караоке-бар «Ромашка»"_s;
    options.folder = u"/k/"_s;
    options.numbers = true;
    options.index = true;
    writeSongbookPdf(pdf, songbookSections(grid, {1, 2}), options);
    const QString text = pdfText(pdf);
    if (text.isEmpty())
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    EXPECT_TRUE(text.contains(options.title)) << text.toStdString();
    EXPECT_FALSE(text.contains(u"/k/"_s)) << "the folder only stands in for a missing title";
    EXPECT_FALSE(text.contains(u"…"_s)) << "a long title wraps instead of being cut";
    QString joined = text;
    joined.replace(u'\n', u' ');
    EXPECT_TRUE(joined.contains(u"1 Waterloo"_s)) << text.toStdString();
    EXPECT_TRUE(joined.contains(u"2 "_s + longTitle)) << text.toStdString();
    EXPECT_TRUE(joined.contains(u"Указатель песен"_s));
    EXPECT_TRUE(joined.contains(u"1 Waterloo — ABBA"_s)) << text.toStdString();
}

} // namespace
} // namespace songwick
