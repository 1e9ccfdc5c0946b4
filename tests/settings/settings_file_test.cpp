#include "common/cp1251_codec.h"
#include "common/error.h"
#include "settings/settings_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtEndian>
#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <limits>

using namespace songwick;

namespace {

// Always draws the same share of the range: 0.0 gives the lowest value, 1.0 the highest.
class FixedRandom final : public RandomSource {
public:
    explicit FixedRandom(double share) : share_(share) {}
    int below(int limit) override { return static_cast<int>(share_ * (limit - 1)); }

private:
    double share_;
};

class FixedClock final : public Clock {
public:
    explicit FixedClock(DateTimeValue moment) : moment_(moment) {}
    DateTimeValue now() const override { return moment_; }

private:
    DateTimeValue moment_;
};

constexpr double kSecond = 1.0 / 86400.0;

QByteArray bytesOf(const ProgramSettings& settings, const ShutdownTimes& times = {},
                   double randomShare = 0.0) {
    FixedRandom random(randomShare);
    return settingsFileBytes(settings, times, random);
}

qint32 int32At(const QByteArray& bytes, qsizetype offset) {
    return qFromLittleEndian<qint32>(bytes.constData() + offset);
}

void putInt32At(QByteArray& bytes, qsizetype offset, qint32 value) {
    qToLittleEndian(value, bytes.data() + offset);
}

// The value of an x87 extended-precision number of the file.
long double extendedAt(const QByteArray& bytes, qsizetype offset) {
    const quint64 mantissa = qFromLittleEndian<quint64>(bytes.constData() + offset);
    const quint16 signAndExponent = qFromLittleEndian<quint16>(bytes.constData() + offset + 8);
    const int exponent = (signAndExponent & 0x7fff) - 16383;
    const long double value = std::ldexp(static_cast<long double>(mantissa), exponent - 63);
    return (signAndExponent & 0x8000) ? -value : value;
}

ProgramSettings unusualSettings() {
    ProgramSettings s;
    s.ManyFilesScan = true;
    s.TextAddDateTime = true;
    s.TextAddCaption = true;
    s.ExcelRowNumbers = false;
    s.ExcelHeaderTextColor = false;
    s.ExcelAutoWidth = false;
    s.ExcelColumnTitles = false;
    s.ExcelRowNumbersItalic = false;
    s.ExcelTableTextColor = false;
    s.ExcelHeaderBorderColor = false;
    s.ExcelTableBorderColor = false;
    s.ExcelAddDateTime = false;
    s.ExcelUseList1 = true;
    s.ExcelUseList2 = false;
    s.ExcelAddLine = true;
    s.RenameErrorMessages = false;
    s.RenamePartsChecked = {true, false, true, true, false, false, true, true};
    s.RenameAddDate = true;
    s.RenameAddTime = false;
    s.RenameAddDateAndTime = false;
    s.ShowHints = false;
    s.ExcelHeaderFill = false;
    s.ExcelTableFill = false;
    s.RenameWhichFiles = 1;
    s.RenameListChoice = 29;
    s.RenameSeparator = 0;
    s.RewriteWhichFiles = 1;
    s.TextCaptionChoice = 7;
    s.TextCaptionText = QStringLiteral("Список караоке файлов");
    s.ExcelList1Choice = 28;
    s.ExcelList1Text = QStringLiteral("Танцуют все!");
    s.ExcelList2Choice = 5;
    s.ExcelList2Text = QStringLiteral("Всем, всем, всем наиoгромнейший привет!!!");
    s.ColumnWidthMode = 1;
    s.ExcelBorderKind = 0;
    s.ExcelDateTimeKind = 2;
    s.ColumnWidths = {31, 250, 1400, 0, 77, 65535, 9};
    s.RenameOwnText = QString(900, QChar(u'Ж')) + QStringLiteral(" ёЁ№ конец");
    s.ExcelLineText = QString();
    s.LastFolder = QStringLiteral("/home/пользователь/Караоке/Новые песни");
    return s;
}

} // namespace

TEST(SettingsFile, InitialValuesMakeThe180ByteFileLaidOutByteForByte) {
    const ShutdownTimes times{46000.5, 0.25};
    const QByteArray bytes = bytesOf(ProgramSettings{}, times);
    ASSERT_EQ(bytes.size(), 180);

    const QByteArray expectedHead =
        QByteArray::fromHex("fa" // marker
                            "00"
                            "00"
                            "00"                         // scan, text date, text caption
                            "01010101010101010100010001" // Excel options, rename error messages
                            "0000000000000000"           // rename parts
                            "000001"
                            "01"
                            "0101" // date/time buttons, hints, fills
                            "01"   // reserved
                            "ff"
                            "00"
                            "0e000000"
                            "05000000"
                            "00" // rename group, which files, list, separator, rewrite
                            "ffffffff"
                            "ffffffff"
                            "ffffffff" // caption, Excel lists
                            "02"
                            "02"
                            "00"                   // width mode, border kind, date/time kind
                            "00"                   // filler byte
                            "0000000000000080ff3f" // filler 1.0
                            "0000000000000080ff3f" // filler 1.0
                            "00000000000000000000000000000000000000000000000000000000"); // widths
    EXPECT_EQ(bytes.first(107).toHex(), expectedHead.toHex());
    EXPECT_EQ(int32At(bytes, 107), 23);
    EXPECT_EQ(bytes.mid(111, 23), encodeCp1251(u"Напишите, что хотите!!!"));
    EXPECT_EQ(int32At(bytes, 134), 22);
    EXPECT_EQ(bytes.mid(138, 22), encodeCp1251(u"Вся ЖИЗНЬ -- Праздник!"));
    EXPECT_EQ(int32At(bytes, 160), 0);
    double shutdown = 0;
    double total = 0;
    std::memcpy(&shutdown, bytes.constData() + 164, 8);
    std::memcpy(&total, bytes.constData() + 172, 8);
    EXPECT_EQ(shutdown, 46000.5);
    EXPECT_EQ(total, 0.25);

    ProgramSettings readBack;
    readBack.LastShutdownTime = 1;
    applySettingsBytes(readBack, bytes);
    ProgramSettings expected;
    expected.LastShutdownTime = 46000.5;
    expected.TotalRunTime = 0.25;
    EXPECT_EQ(readBack, expected);
}

TEST(SettingsFile, EveryKindOfValueSurvivesTheRoundTrip) {
    const ProgramSettings written = unusualSettings();
    const QByteArray bytes = bytesOf(written, {46001.75, 3.5}, 1.0);
    const QByteArray ownText = encodeCp1251(written.RenameOwnText);
    const QByteArray folder = encodeCp1251(written.LastFolder);
    EXPECT_EQ(bytes.size(), kSettingsFixedSize + ownText.size() + folder.size());

    ProgramSettings readBack;
    applySettingsBytes(readBack, bytes);
    ProgramSettings expected = written;
    expected.LastShutdownTime = 46001.75;
    expected.TotalRunTime = 3.5;
    EXPECT_EQ(readBack, expected);
    EXPECT_EQ(readBack.RenameOwnText.size(), 910);
}

TEST(SettingsFile, IndexValuesFollowTheirControls) {
    ProgramSettings none;
    none.RenameWhichFiles = -1;
    none.ColumnWidthMode = -1;
    none.RenameListChoice = -1;
    QByteArray bytes = bytesOf(none);
    EXPECT_EQ(static_cast<unsigned char>(bytes[33]), 255); // no selection
    EXPECT_EQ(static_cast<unsigned char>(bytes[55]), 255);
    EXPECT_EQ(int32At(bytes, 34), -1);

    // 255 and any value past the last item select the last item; the item-less group stays
    // without selection.
    bytes[32] = 0;
    bytes[56] = 7;
    ProgramSettings readBack;
    applySettingsBytes(readBack, bytes);
    EXPECT_EQ(readBack.RenameAddGroupIndex, -1);
    EXPECT_EQ(readBack.RenameWhichFiles, 1);
    EXPECT_EQ(readBack.ColumnWidthMode, 2);
    EXPECT_EQ(readBack.ExcelBorderKind, 2);
    EXPECT_EQ(readBack.RenameListChoice, -1);

    // A pick outside a list is no pick; -1 leaves the box's text; any non-zero byte is true.
    putInt32At(bytes, 38, 8);
    putInt32At(bytes, 43, 2);
    putInt32At(bytes, 47, 29);
    putInt32At(bytes, 51, -1);
    bytes[1] = 0x7f;
    readBack = ProgramSettings{};
    readBack.ExcelList2Text = QStringLiteral("набрано вручную");
    applySettingsBytes(readBack, bytes);
    EXPECT_EQ(readBack.RenameSeparator, -1);
    EXPECT_EQ(readBack.TextCaptionChoice, 2);
    EXPECT_EQ(readBack.TextCaptionText, QStringLiteral("Made in USSR"));
    EXPECT_EQ(readBack.ExcelList1Choice, -1);
    EXPECT_EQ(readBack.ExcelList1Text, QStringLiteral("Коллекция"));
    EXPECT_EQ(readBack.ExcelList2Text, QStringLiteral("набрано вручную"));
    EXPECT_TRUE(readBack.ManyFilesScan);
}

TEST(SettingsFile, DateAndTimeButtonsStayOneChoice) {
    QByteArray bytes = bytesOf(ProgramSettings{});
    bytes[25] = 1; // "Дата"
    bytes[26] = 1; // "Время"
    bytes[27] = 0; // "Дата и время"
    ProgramSettings readBack;
    applySettingsBytes(readBack, bytes);
    EXPECT_FALSE(readBack.RenameAddDate);
    EXPECT_TRUE(readBack.RenameAddTime);
    EXPECT_FALSE(readBack.RenameAddDateAndTime);
}

TEST(SettingsFile, WrongMarkerChangesNothing) {
    QByteArray bytes = bytesOf(unusualSettings());
    bytes[0] = 0x00;
    ProgramSettings settings;
    try {
        applySettingsBytes(settings, bytes);
        FAIL() << "no error";
    } catch (const Error& error) {
        EXPECT_EQ(error.message(), QStringLiteral("Ошибка загрузки настроек"));
    }
    EXPECT_EQ(settings, ProgramSettings{});
}

TEST(SettingsFile, ShortFileKeepsWhatWasReadBeforeTheCut) {
    const ProgramSettings written = unusualSettings();
    const QByteArray whole = bytesOf(written, {46001.75, 3.5});

    // Cut inside the third column width: the options and the first two widths are applied,
    // everything after keeps its value.
    ProgramSettings settings;
    EXPECT_THROW(applySettingsBytes(settings, whole.first(79 + 8 + 2)), Error);
    EXPECT_EQ(settings.ManyFilesScan, true);
    EXPECT_EQ(settings.RenamePartsChecked, written.RenamePartsChecked);
    EXPECT_EQ(settings.ExcelList2Text, written.ExcelList2Text);
    EXPECT_EQ(settings.ColumnWidths[0], 31);
    EXPECT_EQ(settings.ColumnWidths[1], 250);
    EXPECT_EQ(settings.ColumnWidths[2], 0);
    EXPECT_EQ(settings.RenameOwnText, ProgramSettings{}.RenameOwnText);
    EXPECT_EQ(settings.TotalRunTime, 0);

    // Every shorter length is reported, the empty file included.
    for (qsizetype length = 0; length < whole.size(); ++length) {
        ProgramSettings partial;
        try {
            applySettingsBytes(partial, whole.first(length));
            FAIL() << "no error at length " << length;
        } catch (const Error& error) {
            EXPECT_EQ(error.message(), settingsShortFileMessage()) << length;
        }
    }
}

TEST(SettingsFile, TextLongerThanTheRestIsReportedAsShort) {
    QByteArray bytes = bytesOf(unusualSettings());
    putInt32At(bytes, 107, static_cast<qint32>(bytes.size()));
    ProgramSettings settings;
    EXPECT_THROW(applySettingsBytes(settings, bytes), Error);
    EXPECT_EQ(settings.ColumnWidths, unusualSettings().ColumnWidths);
    EXPECT_EQ(settings.RenameOwnText, ProgramSettings{}.RenameOwnText);

    putInt32At(bytes, 107, std::numeric_limits<qint32>::max());
    try {
        applySettingsBytes(settings, bytes);
        ADD_FAILURE() << "a text of 2^31 - 1 bytes was read";
    } catch (const Error& error) {
        EXPECT_EQ(error.message(), settingsShortFileMessage());
    }
    EXPECT_EQ(settings.RenameOwnText, ProgramSettings{}.RenameOwnText);

    // A negative length is an empty text followed by no bytes.
    ProgramSettings shortText;
    shortText.RenameOwnText.clear();
    QByteArray negative = bytesOf(shortText);
    putInt32At(negative, 107, -5);
    ProgramSettings readBack;
    applySettingsBytes(readBack, negative);
    EXPECT_TRUE(readBack.RenameOwnText.isEmpty());
    EXPECT_EQ(readBack.ExcelLineText, ProgramSettings{}.ExcelLineText);
}

TEST(SettingsFile, FillersStayInTheirRanges) {
    for (const double share : {0.0, 0.5, 1.0}) {
        const QByteArray bytes = bytesOf(ProgramSettings{}, {}, share);
        const int fillerByte = static_cast<unsigned char>(bytes[58]);
        EXPECT_GE(fillerByte, 0);
        EXPECT_LE(fillerByte, 99);
        for (const qsizetype offset : {59, 69}) {
            const long double value = extendedAt(bytes, offset);
            EXPECT_EQ(value, std::floor(value));
            EXPECT_GE(value, 1.0L);
            EXPECT_LE(value, 1000000.0L);
        }
        ProgramSettings readBack;
        applySettingsBytes(readBack, bytes);
        EXPECT_EQ(readBack, ProgramSettings{});
    }
    EXPECT_EQ(static_cast<unsigned char>(bytesOf(ProgramSettings{}, {}, 1.0)[58]), 99);
    EXPECT_EQ(extendedAt(bytesOf(ProgramSettings{}, {}, 1.0), 69), 1000000.0L);
    SystemRandomSource random;
    for (int draw = 0; draw < 50; ++draw) {
        const QByteArray bytes = settingsFileBytes(ProgramSettings{}, {}, random);
        EXPECT_LE(static_cast<unsigned char>(bytes[58]), 99);
        EXPECT_GE(extendedAt(bytes, 59), 1.0L);
        EXPECT_LE(extendedAt(bytes, 69), 1000000.0L);
    }
}

TEST(SettingsFile, RunTimeAddsThisRunToTheWholeSecond) {
    ProgramSettings settings;
    settings.TotalRunTime = 2.0 + 3600 * kSecond;
    const DateTimeValue start = 46000.0 + (10 * 3600 + 0.7) * kSecond;
    const DateTimeValue now = 46000.0 + (12 * 3600 + 30 * 60 + 15.4) * kSecond;
    const ShutdownTimes times = shutdownTimes(settings, truncateToWholeSeconds(start), now);
    EXPECT_NEAR(times.lastShutdownTime, 46000.0 + (12 * 3600 + 30 * 60 + 15) * kSecond, 1e-9);
    EXPECT_EQ(truncateToWholeSeconds(times.lastShutdownTime), times.lastShutdownTime);
    const double addedSeconds = (times.totalRunTime - settings.TotalRunTime) * 86400.0;
    EXPECT_NEAR(addedSeconds, 2 * 3600 + 30 * 60 + 15, 1e-4);

    // A moment a hair below a whole second still counts as that second.
    const DateTimeValue whole = 46000.0 + 45 * kSecond;
    EXPECT_NEAR(truncateToWholeSeconds(whole - 1e-15) * 86400.0, whole * 86400.0, 1e-4);
}

TEST(SettingsFile, MissingFileIsNoErrorAndChangesNothing) {
    QTemporaryDir folder;
    ProgramSettings settings;
    EXPECT_FALSE(LoadSettings(settings, folder.filePath(QStringLiteral("prop.dat"))));
    EXPECT_EQ(settings, ProgramSettings{});
    EXPECT_THROW(readSettingsFile(folder.filePath(QStringLiteral("prop.dat"))), Error);
    // A folder in the file's place is reported, not taken for a missing file.
    EXPECT_THROW(LoadSettings(settings, folder.path()), Error);
}

TEST(SettingsFile, SaveWritesTheFileAndItsFolderAndLoadsBack) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("config/Songwick/prop.dat"));
    ProgramSettings settings = unusualSettings();
    settings.TotalRunTime = 1.0;
    FixedRandom random(0.3);
    const DateTimeValue start = 46000.25;
    SaveSettings(settings, path, start, FixedClock(46000.25 + 90.4 * kSecond), random);

    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    FixedRandom sameDraw(0.3);
    const ShutdownTimes times = shutdownTimes(settings, start, 46000.25 + 90.4 * kSecond);
    EXPECT_EQ(file.readAll(), settingsFileBytes(settings, times, sameDraw));
    ProgramSettings readBack;
    EXPECT_TRUE(LoadSettings(readBack, path));
    EXPECT_NEAR((readBack.TotalRunTime - 1.0) * 86400.0, 90.0, 1e-4);
    EXPECT_EQ(readBack.ManyFilesScan, true);
    EXPECT_EQ(readBack.LastFolder, settings.LastFolder);
    EXPECT_EQ(readBack.RenameOwnText, settings.RenameOwnText);
    EXPECT_EQ(readBack.ExcelList1Text, settings.ExcelList1Text);
    // The record itself is left as it was, so a repeated save adds the run only once.
    EXPECT_EQ(settings.TotalRunTime, 1.0);
    EXPECT_TRUE(readManyFilesScan(path));
}

TEST(SettingsFile, SaveThatCannotWriteIsReported) {
    QTemporaryDir folder;
    // A plain file stands where the settings file's folder should be.
    QFile blocker(folder.filePath(QStringLiteral("blocked")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    FixedRandom random(0.0);
    EXPECT_THROW(SaveSettings(ProgramSettings{},
                              folder.filePath(QStringLiteral("blocked/prop.dat")), 46000.0,
                              FixedClock(46000.0), random),
                 Error);
    // A folder in the file's place: nothing is replaced.
    EXPECT_THROW(
        SaveSettings(ProgramSettings{}, folder.path(), 46000.0, FixedClock(46000.0), random),
        Error);
    EXPECT_TRUE(QFileInfo(folder.path()).isDir());
}
