// Writes the seed corpus of each fuzz target into <folder>/<target>/, made by our own
// builders (the same byte-built files the unit tests use). Existing corpora are kept: a seed
// is only added under its own name.
#include "catalogue/catalogue_table.h"
#include "catalogue/list_file.h"
#include "common/file_name_codec.h"
#include "fuzz/cache_key.h"
#include "office/biff8_fixture.h"
#include "office/workbook.h"
#include "office/xlsx_writer.h"
#include "office/zip_package.h"
#include "rename/rename_journal.h"
#include "scan/kar_builder.h"
#include "scan/kar_extractor.h"
#include "scan/scan_cache.h"
#include "settings/settings_file.h"
#include "textview/rtf_writer.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>

using namespace songwick;
using songwick::test::KarBuilder;

namespace {

class FixedRandom final : public RandomSource {
public:
    int below(int limit) override { return limit / 2; }
};

void writeSeed(const QString& folder, const QString& target, int number, const QByteArray& bytes) {
    const QDir dir(folder + u'/' + target);
    QDir().mkpath(dir.path());
    QFile file(dir.filePath(QStringLiteral("seed-%1").arg(number)));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        std::fprintf(stderr, "cannot write %s\n", qPrintable(file.fileName()));
}

void writeSeeds(const QString& folder, const QString& target, const QList<QByteArray>& seeds) {
    for (int i = 0; i < seeds.size(); ++i)
        writeSeed(folder, target, i + 1, seeds[i]);
}

QList<QByteArray> karSeeds() {
    return {
        KarBuilder().trackName("Title").text("Artist").text("Words").text("Made by Y").bytes(),
        KarBuilder().trackName(test::cp1251(u"Пусть бегут")).text(test::cp1251(u"Ёлка")).bytes(),
        KarBuilder()
            .trackName("Soft Karaoke")
            .nextTrack()
            .text("@KMIDI KARAOKE FILE")
            .text("@TSong title")
            .text("@TPerformer")
            .text("@IMade by")
            .bytes(),
        KarBuilder().trackName("untitled").text("@TA").text("@TB").text("@IC").bytes(),
        KarBuilder().trackName("x").text(kKarMakerCredit).bytes(),
    };
}

// The karaoke seeds and what damage does to them: a RIFF wrapper, a note with running status
// and a SysEx, a track that claims more than the file has.
QList<QByteArray> midiSeeds() {
    QList<QByteArray> seeds = karSeeds();
    const QByteArray plain = seeds.front();
    const qint32 size = qint32(plain.size());
    seeds.append("RIFF" + QByteArray("\x00\x00\x00\x00", 4) + "RMID" + "data" +
                 QByteArray(reinterpret_cast<const char*>(&size), 4) + plain);
    seeds.append(KarBuilder()
                     .trackName("Title")
                     .raw(QByteArray("\x10\x90\x40\x64\x10\x41\x64\x00\xF0\x03\x7E\x00\xF7", 13))
                     .text("after")
                     .nextTrack()
                     .trackName("Piano")
                     .bytes());
    QByteArray longTrack = plain;
    longTrack[14 + 4] = char(0x7F);
    seeds.append(longTrack);
    return seeds;
}

// Files that sing: a Soft Karaoke words track and lyric events with hyphens and line ends.
QList<QByteArray> sungTextSeeds() {
    QList<QByteArray> seeds = midiSeeds();
    const QByteArray note("\x00\x90\x40\x64\x60\x80\x40\x00", 8);
    KarBuilder soft;
    soft.trackName("Soft Karaoke").text("@KMIDI KARAOKE FILE").nextTrack().trackName("Words");
    for (const char* syllable : {"@TSong", "\\Load ", "up ", "on ", "guns", "/bring ", "your"})
        soft.text(syllable).raw(note);
    seeds.append(soft.bytes());
    KarBuilder lyrics;
    lyrics.trackName("Melody");
    for (const char* syllable : {"Twin-", "kle\r", "lit-", "tle ", "star\n", "\xD0\xB5\xD1\x91"})
        lyrics.meta(0x05, syllable).raw(note);
    seeds.append(lyrics.bytes());
    return seeds;
}

// Stored scan-cache rows of the karaoke seeds' texts.
QList<QByteArray> scanCacheSeeds() {
    QList<QByteArray> seeds;
    for (const QByteArray& kar : karSeeds())
        seeds.append(
            encodeCachedTexts(fuzz::fuzzCacheKey(), extractKarTexts(kar, ScanWindow::Start)));
    seeds.append(encodeCachedTexts(fuzz::fuzzCacheKey(), KarTexts{}));
    return seeds;
}

CatalogueGrid sampleGrid() {
    CatalogueGrid grid;
    prepareGrid(grid, 3);
    grid.setCell(0, 2, QStringLiteral("V 2"));
    grid.setCell(1, 1, QStringLiteral("a.kar"));
    grid.setCell(2, 1, QStringLiteral("/songs/"));
    grid.setCell(3, 1, QStringLiteral("Исполнитель - Песня"));
    grid.setCell(6, 3, QStringLiteral("Maker"));
    return grid;
}

QList<QByteArray> listSeeds() {
    CatalogueGrid empty;
    prepareGrid(empty, 0);
    return {listFileBytes(sampleGrid()), listFileBytes(empty),
            QByteArray("Songwick file..\r\n2\r\n16\r\n")};
}

QList<QByteArray> settingsSeeds() {
    FixedRandom random;
    ProgramSettings settings;
    settings.RenameOwnText = QStringLiteral("свой текст");
    settings.LastFolder = QStringLiteral("/home/user/Караоке");
    return {settingsFileBytes(ProgramSettings{}, {}, random),
            settingsFileBytes(settings, {45356.5, 12.25}, random)};
}

QList<QByteArray> rtfSeeds() {
    return {RtfWriter::toRtf({QStringLiteral("Строка"), QStringLiteral("a\tb"), QString()}),
            QByteArray("{\\rtf1\\ansi\\ansicpg1251{\\fonttbl{\\f0\\fcharset204 Arial;}}"
                       "\\f0 \\'c0\\par \\u1040?\\line x{\\*\\x y}\\tab z\\par}")};
}

QList<QByteArray> textSeeds() {
    QList<QByteArray> seeds = rtfSeeds();
    seeds.append(QStringLiteral("строка\r\nвторая\n").toUtf8());
    seeds.append(test::cp1251(u"строка\r\nвторая\r"));
    seeds.append(QByteArray("\xEF\xBB\xBFtext"));
    return seeds;
}

QByteArray xlsxBytes(const Workbook& workbook) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("seed.xlsx"));
    writeXlsx(workbook, path);
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QList<QByteArray> xlsxSeeds() {
    Workbook workbook;
    Worksheet& sheet = workbook.worksheet();
    sheet.setName(QStringLiteral("Список караоке файлов"));
    sheet.setValues({{1, 1}, {2, 3}},
                    {QStringLiteral("№"), QStringLiteral("Имя файла"), QStringLiteral("x"),
                     QStringLiteral("1"), QStringLiteral("a.kar"), QStringLiteral("1.5")});
    sheet.setFill({{1, 1}, {2, 3}}, 6);
    const QByteArray sharedStrings = zipPackage({
        {QStringLiteral("xl/workbook.xml"),
         QByteArray("<workbook><workbookPr date1904=\"0\"/><sheets><sheet name=\"a\" "
                    "sheetId=\"1\"/></sheets></workbook>")},
        {QStringLiteral("xl/worksheets/sheet1.xml"),
         QByteArray("<worksheet><sheetData><row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c>"
                    "<c r=\"B1\" s=\"1\"><v>45356.6</v></c><c t=\"inlineStr\"><is><t>i_x000A_"
                    "</t></is></c><c t=\"b\"><v>1</v></c></row><row><c><v>7</v></c></row>"
                    "</sheetData></worksheet>")},
        {QStringLiteral("xl/sharedStrings.xml"),
         QByteArray("<sst><si><t>s</t><rPh><t>x</t></rPh></si></sst>")},
        {QStringLiteral("xl/styles.xml"),
         QByteArray("<styleSheet><cellXfs><xf numFmtId=\"0\"/><xf numFmtId=\"22\"/></cellXfs>"
                    "</styleSheet>")},
    });
    return {xlsxBytes(workbook), sharedStrings};
}

QList<QByteArray> xlsxPartSeeds() {
    return {QByteArray("\x02<worksheet><sheetData><row r=\"3\"><c r=\"C3\"><v>1</v></c></row>"
                       "</sheetData></worksheet>"),
            QByteArray("\x03<sst><si><t>a</t></si><si><r><t>b</t></r></si></sst>"),
            QByteArray("\x04<styleSheet><numFmts><numFmt numFmtId=\"164\" formatCode=\"h:mm\"/>"
                       "</numFmts><cellXfs><xf/><xf numFmtId=\"164\"/></cellXfs></styleSheet>"),
            QByteArray(1, '\0') +
                QByteArray("<workbook><sheets><sheet r:id=\"rId1\"/></sheets></workbook>")};
}

QList<QByteArray> xlsSeeds() {
    using testing::XlsCell;
    return {testing::biff8Workbook({{0, 0, QStringLiteral("№")},
                                    {0, 1, QStringLiteral("Имя файла")},
                                    {1, 0, 1.0},
                                    {1, 1, QStringLiteral("песня.kar")},
                                    {2, 3, 0.25}}),
            testing::biff8Workbook({{0, 0, QStringLiteral("x")}})};
}

QList<QByteArray> importSeeds() {
    // row (2 bytes), column, length, text
    return {QByteArray("\x00\x00\x00\x03\xE2\x84\x96" // "№" in A1
                       "\x01\x00\x01\x05"
                       "a.kar",
                       16),
            QByteArray("\x01\x00\x00\x01#\x03\x00\x01\x1A"
                       "Дополнительная информация:",
                       59)};
}

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Real journals as the renames write them: a run that ended, with a refused rename; an undo
// cut short, with a name that is not UTF-8; a run killed right after its header.
QList<QByteArray> journalSeeds() {
    QTemporaryDir dir;
    QList<QByteArray> seeds;
    {
        JournalWriter run(dir.path(), JournalRunKind::Rename);
        run.planned(QStringLiteral("/songs/"), QStringLiteral("a.kar"),
                    QStringLiteral("Исполнитель - Песня.kar"), {2049, 131, 4096, 1765000000, 0});
        run.planned(QStringLiteral("/songs/rock"), QStringLiteral("b.kar"),
                    QStringLiteral("a\\b.kar"), {2049, 132, 10, -5, 0});
        run.refused();
        run.close(1);
        seeds.append(fileBytes(run.path()));
    }
    {
        JournalWriter cutShort(dir.path(), JournalRunKind::Undo, 1);
        cutShort.planned(QStringLiteral("/songs/"), decodeFileName("\xff.kar"),
                         QStringLiteral("a.kar"), {2049, 133, 7, 1765000000123456789, 0});
        seeds.append(fileBytes(cutShort.path()));
    }
    {
        const JournalWriter killed(dir.path(), JournalRunKind::Rename);
        seeds.append(fileBytes(killed.path()));
    }
    return seeds;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: fuzz_seeds CORPUS_FOLDER\n");
        return 2;
    }
    const QString folder = QFile::decodeName(argv[1]);
    writeSeeds(folder, QStringLiteral("kar_extractor"), karSeeds());
    writeSeeds(folder, QStringLiteral("midi_structure"), midiSeeds());
    writeSeeds(folder, QStringLiteral("sung_text"), sungTextSeeds());
    writeSeeds(folder, QStringLiteral("scan_cache"), scanCacheSeeds());
    writeSeeds(folder, QStringLiteral("list_file"), listSeeds());
    writeSeeds(folder, QStringLiteral("settings_file"), settingsSeeds());
    writeSeeds(folder, QStringLiteral("rtf_reader"), rtfSeeds());
    writeSeeds(folder, QStringLiteral("text_file"), textSeeds());
    writeSeeds(folder, QStringLiteral("xlsx_package"), xlsxSeeds());
    writeSeeds(folder, QStringLiteral("xlsx_parts"), xlsxPartSeeds());
    writeSeeds(folder, QStringLiteral("xls"), xlsSeeds());
    writeSeeds(folder, QStringLiteral("sheet_import"), importSeeds());
    writeSeeds(folder, QStringLiteral("rename_journal"), journalSeeds());
    return 0;
}
