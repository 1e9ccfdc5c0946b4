#include "cli/cli_support.h"
#include "cli/commands.h"
#include "common/error.h"
#include "common/file_name_codec.h"
#include "scan/kar_extractor.h"
#include "scan/structured_reading.h"
#include "scan/sung_text.h"

namespace songwick::cli {
namespace {

QString roleName(UsedText::Role role) {
    switch (role) {
    case UsedText::Role::Title:
        return QStringLiteral("title");
    case UsedText::Role::Performer:
        return QStringLiteral("performer");
    case UsedText::Role::Further:
        return QStringLiteral("further");
    case UsedText::Role::Maker:
        return QStringLiteral("maker");
    }
    return {};
}

QString columnsText(const QStringList& texts) {
    static const QStringList names = {QStringLiteral("3"), QStringLiteral("D"), QStringLiteral("E"),
                                      QStringLiteral("6")};
    QString out;
    for (int i = 0; i < 4; ++i)
        out += QStringLiteral("  %1: %2\n").arg(names[i], texts.value(i));
    return out;
}

QString structureText(const MidiStructure& structure) {
    if (!structure.found)
        return QStringLiteral("structure: no MIDI header found\n");
    QString out = QStringLiteral("structure: format %1, %2 of %3 tracks, division %4")
                      .arg(structure.format)
                      .arg(structure.tracks.size())
                      .arg(structure.declaredTracks)
                      .arg(structure.division);
    if (structure.riffWrapped)
        out += QStringLiteral(", RIFF RMID");
    if (structure.headerOffset > 0)
        out += QStringLiteral(", header at byte %1").arg(structure.headerOffset);
    if (structure.damaged)
        out += QStringLiteral(", damaged");
    out += QStringLiteral(", %1 meta events, first note at tick %2\n")
               .arg(structure.metaEvents.size())
               .arg(structure.firstNoteTick());
    qsizetype walked = 0;
    qsizetype length = 0;
    int cutShort = 0;
    for (const MidiTrack& track : structure.tracks) {
        walked += track.walked;
        length += track.length;
        cutShort += track.cutShort ? 1 : 0;
    }
    out += QStringLiteral("walked: %1 of %2 track bytes, %3 tracks left where their texts end\n")
               .arg(walked)
               .arg(length)
               .arg(cutShort);
    return out;
}

// The first lines the file sings, and where they come from.
QString sungTextSummary(QByteArrayView bytes, const QString& codePage) {
    constexpr int kLinesShown = 8;
    CodePageDetector decoder;
    const SungText sung =
        readSungText(readMidiStructure(bytes, MidiTrackWalk::Whole), decoder, codePage);
    if (sung.source == SungTextSource::None)
        return QStringLiteral("sung text: none\n");
    QString out =
        QStringLiteral("sung text: %1 lines from the %2 of track %3%4:\n")
            .arg(sung.lines.size())
            .arg(sung.source == SungTextSource::LyricEvents ? QStringLiteral("lyric events (FF 05)")
                                                            : QStringLiteral("text events (FF 01)"))
            .arg(sung.track)
            .arg(sung.cutShort ? QStringLiteral(", cut short") : QString());
    for (const QString& line : sung.lines.mid(0, kLinesShown))
        out += QStringLiteral("  %1\n").arg(line);
    if (sung.lines.size() > kLinesShown)
        out += QStringLiteral("  ...\n");
    return out;
}

} // namespace

int runProbe(const QStringList& arguments) {
    const Arguments args(arguments, {QStringLiteral("window"), QStringLiteral("codepage")});
    if (args.positional().size() != 1)
        throw UsageError("probe takes one file");
    const QString path = args.positional().first();
    const auto window = args.option(QStringLiteral("window"));
    if (window && *window != QStringLiteral("start") && *window != QStringLiteral("main"))
        throw UsageError("--window takes start or main");
    StructuredReadingOptions options;
    if (const auto codePage = args.option(QStringLiteral("codepage"))) {
        if (*codePage != kAutomaticCodePage && !findCodePage(*codePage))
            throw UsageError("--codepage takes auto or one of: " +
                             knownCodePageKeys().join(QStringLiteral(", ")).toStdString());
        options.codePage = *codePage;
    }

    KarFileReader reader;
    const QByteArrayView bytes = reader.read(encodeFileName(path));
    const QString fileName = path.mid(path.lastIndexOf(u'/') + 1);

    const KarTexts program = extractKarTexts(
        bytes, window == QStringLiteral("main") ? ScanWindow::Main : ScanWindow::Start);
    const CatalogueRecord programRecord = makeRecord(QString(), fileName, program);
    QString out = QStringLiteral("file: %1 (%2 bytes)\n").arg(path).arg(bytes.size());
    out += QStringLiteral("program's reading:\n");
    out += columnsText({programRecord[PerformerTitleField], programRecord[FurtherText1Field],
                        programRecord[FurtherText2Field], programRecord[MadeByField]});

    const MidiStructure structure = readMidiStructure(bytes);
    StructuredReader structured(options);
    const StructuredTexts texts = structured.read(structure, fileName);
    out += QStringLiteral("structured reading:\n");
    out += columnsText({texts.texts[0], texts.texts[1], texts.texts[2], texts.texts[3]});
    const CodePageChoice* page = findCodePage(texts.codePage.key);
    out += QStringLiteral("code page: %1 (%2, confidence %3)\n")
               .arg(page ? page->displayName : texts.codePage.key, texts.codePage.reason)
               .arg(texts.codePage.confidence, 0, 'f', 2);
    out += structureText(structure);
    if (texts.softKaraoke)
        out += QStringLiteral("soft karaoke: yes\n");
    out += sungTextSummary(bytes, texts.codePage.key);
    out += QStringLiteral("used:\n");
    for (const UsedText& used : texts.used) {
        if (used.fromFileName)
            out +=
                QStringLiteral("  %1 from the file name: %2\n").arg(roleName(used.role), used.text);
        else
            out += QStringLiteral("  %1 from FF %2 in track %3 at tick %4, byte %5: %6\n")
                       .arg(roleName(used.role))
                       .arg(used.type, 2, 16, QLatin1Char('0'))
                       .arg(used.track)
                       .arg(used.tick)
                       .arg(used.offset)
                       .arg(used.text);
    }
    printOut(out);
    return 0;
}

} // namespace songwick::cli
