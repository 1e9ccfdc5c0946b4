#include "settings/settings_file.h"

#include "common/cp1251_codec.h"
#include "common/error.h"
#include "common/file_name_codec.h"
#include "common/file_write.h"
#include "common/system_error.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QStandardPaths>
#include <QtEndian>
#include <bit>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <sys/stat.h>
#include <system_error>
#include <utility>

namespace songwick {
namespace {

constexpr double kSecondsPerDay = 86400.0;
constexpr unsigned char kReservedByte = 1;
constexpr unsigned char kNoSelection = 255;

// Item counts of the radio groups stored as index8.
constexpr int kWhichFilesItems = 2;
constexpr int kThreeItems = 3;
constexpr int kNoItems = 0;

// Reads the values of a settings file one after another, throwing when the bytes run out.
class SettingsReader {
public:
    explicit SettingsReader(QByteArrayView bytes) : bytes_(bytes) {}

    unsigned char byte() {
        need(1);
        return static_cast<unsigned char>(bytes_[position_++]);
    }

    bool boolean() { return byte() != 0; }

    qint32 int32() {
        need(4);
        const qint32 value = qFromLittleEndian<qint32>(bytes_.data() + position_);
        position_ += 4;
        return value;
    }

    double float64() {
        need(8);
        const quint64 bits = qFromLittleEndian<quint64>(bytes_.data() + position_);
        position_ += 8;
        return std::bit_cast<double>(bits);
    }

    void skip(qsizetype count) {
        need(count);
        position_ += count;
    }

    QString text() {
        const qint32 length = int32();
        if (length <= 0)
            return {};
        need(length);
        const QString value = decodeCp1251(bytes_.sliced(position_, length));
        position_ += length;
        return value;
    }

private:
    void need(qsizetype count) const {
        if (count > bytes_.size() - position_)
            throw Error(settingsShortFileMessage());
    }

    QByteArrayView bytes_;
    qsizetype position_ = 0;
};

class SettingsWriter {
public:
    explicit SettingsWriter(qsizetype expectedSize) { bytes_.reserve(expectedSize); }

    void byte(unsigned char value) { bytes_.append(static_cast<char>(value)); }
    void boolean(bool value) { byte(value ? 1 : 0); }
    // A radio group's pick: the low byte of the index, 255 for no selection.
    void index8(int index) { byte(index < 0 ? kNoSelection : static_cast<unsigned char>(index)); }

    void int32(qint32 value) {
        char raw[4];
        qToLittleEndian(value, raw);
        bytes_.append(raw, 4);
    }

    void float64(double value) {
        char raw[8];
        qToLittleEndian(std::bit_cast<quint64>(value), raw);
        bytes_.append(raw, 8);
    }

    // A positive whole number as an x87 extended-precision value: 64-bit mantissa with its
    // integer bit explicit, then the sign and the exponent biased by 16383.
    void extended(std::uint32_t value) {
        quint64 mantissa = 0;
        quint16 signAndExponent = 0;
        if (value != 0) {
            const int exponent = std::bit_width(value) - 1;
            mantissa = static_cast<quint64>(value) << (63 - exponent);
            signAndExponent = static_cast<quint16>(16383 + exponent);
        }
        char raw[10];
        qToLittleEndian(mantissa, raw);
        qToLittleEndian(signAndExponent, raw + 8);
        bytes_.append(raw, 10);
    }

    void text(const QString& value) {
        const QByteArray encoded = encodeCp1251(value);
        int32(static_cast<qint32>(encoded.size()));
        bytes_.append(encoded);
    }

    QByteArray take() { return std::move(bytes_); }

private:
    QByteArray bytes_;
};

// The three date/time buttons of the composite rename are one radio group: checking one
// unchecks the others, as a click does.
void applyRenameDateButton(ProgramSettings& settings, bool& button, bool checked) {
    if (checked) {
        settings.RenameAddDate = false;
        settings.RenameAddTime = false;
        settings.RenameAddDateAndTime = false;
    }
    button = checked;
}

} // namespace

QString settingsMarkerErrorMessage() {
    return QCoreApplication::translate("songwick::Settings", "Ошибка загрузки настроек");
}

QString settingsShortFileMessage() {
    return QStringLiteral("Read beyond end of file");
}

QString settingsFilePath() {
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) +
           QStringLiteral("/prop.dat");
}

DateTimeValue truncateToWholeSeconds(DateTimeValue moment) {
    // Through whole milliseconds first, so that a value a hair below a full second (the double
    // cannot hold every moment exactly) is not taken for the second before.
    const double milliseconds = std::round(moment * kSecondsPerDay * 1000.0);
    return std::floor(milliseconds / 1000.0) / kSecondsPerDay;
}

ShutdownTimes shutdownTimes(const ProgramSettings& settings, DateTimeValue runStartTime,
                            DateTimeValue now) {
    ShutdownTimes times;
    times.lastShutdownTime = truncateToWholeSeconds(now);
    const double runSeconds = std::round(
        (times.lastShutdownTime - truncateToWholeSeconds(runStartTime)) * kSecondsPerDay);
    times.totalRunTime = settings.TotalRunTime + runSeconds / kSecondsPerDay;
    return times;
}

void applySettingsBytes(ProgramSettings& settings, QByteArrayView bytes) {
    SettingsReader in(bytes);
    if (in.byte() != kSettingsFileMarker)
        throw Error(settingsMarkerErrorMessage());

    ProgramSettings& s = settings;
    s.ManyFilesScan = in.boolean();
    s.TextAddDateTime = in.boolean();
    s.TextAddCaption = in.boolean();
    s.ExcelRowNumbers = in.boolean();
    s.ExcelHeaderTextColor = in.boolean();
    s.ExcelAutoWidth = in.boolean();
    s.ExcelColumnTitles = in.boolean();
    s.ExcelRowNumbersItalic = in.boolean();
    s.ExcelTableTextColor = in.boolean();
    s.ExcelHeaderBorderColor = in.boolean();
    s.ExcelTableBorderColor = in.boolean();
    s.ExcelAddDateTime = in.boolean();
    s.ExcelUseList1 = in.boolean();
    s.ExcelUseList2 = in.boolean();
    s.ExcelAddLine = in.boolean();
    s.RenameErrorMessages = in.boolean();
    for (bool& checked : s.RenamePartsChecked)
        checked = in.boolean();
    applyRenameDateButton(s, s.RenameAddDate, in.boolean());
    applyRenameDateButton(s, s.RenameAddTime, in.boolean());
    applyRenameDateButton(s, s.RenameAddDateAndTime, in.boolean());
    s.ShowHints = in.boolean();
    s.ExcelHeaderFill = in.boolean();
    s.ExcelTableFill = in.boolean();
    in.skip(1); // reserved

    s.RenameAddGroupIndex = radioGroupIndex(in.byte(), kNoItems);
    s.RenameWhichFiles = radioGroupIndex(in.byte(), kWhichFilesItems);
    s.RenameListChoice = listItemIndex(in.int32(), kRenameListItemCount);
    s.RenameSeparator = listItemIndex(in.int32(), kRenameSeparatorCount);
    s.RewriteWhichFiles = radioGroupIndex(in.byte(), kWhichFilesItems);
    pickListItem(s.TextCaptionChoice, s.TextCaptionText, in.int32(), textCaptionItems());
    pickListItem(s.ExcelList1Choice, s.ExcelList1Text, in.int32(), excelList1Items());
    pickListItem(s.ExcelList2Choice, s.ExcelList2Text, in.int32(), excelList2Items());
    s.ColumnWidthMode = radioGroupIndex(in.byte(), kThreeItems);
    s.ExcelBorderKind = radioGroupIndex(in.byte(), kThreeItems);
    s.ExcelDateTimeKind = radioGroupIndex(in.byte(), kThreeItems);
    in.skip(1 + 10 + 10); // fillers

    for (int& width : s.ColumnWidths)
        width = in.int32();
    s.RenameOwnText = in.text();
    s.ExcelLineText = in.text();
    s.LastFolder = in.text();
    s.LastShutdownTime = in.float64();
    s.TotalRunTime = in.float64();
}

QByteArray settingsFileBytes(const ProgramSettings& settings, const ShutdownTimes& times,
                             RandomSource& random) {
    const ProgramSettings& s = settings;
    SettingsWriter out(kSettingsFixedSize + 3 * 64);
    out.byte(kSettingsFileMarker);
    for (const bool value :
         {s.ManyFilesScan, s.TextAddDateTime, s.TextAddCaption, s.ExcelRowNumbers,
          s.ExcelHeaderTextColor, s.ExcelAutoWidth, s.ExcelColumnTitles, s.ExcelRowNumbersItalic,
          s.ExcelTableTextColor, s.ExcelHeaderBorderColor, s.ExcelTableBorderColor,
          s.ExcelAddDateTime, s.ExcelUseList1, s.ExcelUseList2, s.ExcelAddLine,
          s.RenameErrorMessages})
        out.boolean(value);
    for (const bool checked : s.RenamePartsChecked)
        out.boolean(checked);
    for (const bool value : {s.RenameAddDate, s.RenameAddTime, s.RenameAddDateAndTime, s.ShowHints,
                             s.ExcelHeaderFill, s.ExcelTableFill})
        out.boolean(value);
    out.byte(kReservedByte);

    out.index8(s.RenameAddGroupIndex);
    out.index8(s.RenameWhichFiles);
    out.int32(s.RenameListChoice);
    out.int32(s.RenameSeparator);
    out.index8(s.RewriteWhichFiles);
    out.int32(s.TextCaptionChoice);
    out.int32(s.ExcelList1Choice);
    out.int32(s.ExcelList2Choice);
    out.index8(s.ColumnWidthMode);
    out.index8(s.ExcelBorderKind);
    out.index8(s.ExcelDateTimeKind);

    // Fillers: never interpreted, any values in these ranges serve.
    out.byte(static_cast<unsigned char>(random.below(100)));
    out.extended(static_cast<std::uint32_t>(1 + random.below(1000000)));
    out.extended(static_cast<std::uint32_t>(1 + random.below(1000000)));

    for (const int width : s.ColumnWidths)
        out.int32(width);
    out.text(s.RenameOwnText);
    out.text(s.ExcelLineText);
    out.text(s.LastFolder);
    out.float64(times.lastShutdownTime);
    out.float64(times.totalRunTime);
    return out.take();
}

namespace {

// No file at path (a file that is there but cannot be reached is not missing: it is reported).
bool isMissing(const QString& path) {
    struct stat status {};
    return ::stat(encodeFileName(path).constData(), &status) != 0 && errno == ENOENT;
}

} // namespace

bool LoadSettings(ProgramSettings& settings, const QString& path) {
    // The first start: no file yet, the initial values stay without a word.
    if (isMissing(path))
        return false;
    applySettingsBytes(settings, readWholeFile(path));
    return true;
}

void SaveSettings(const ProgramSettings& settings, const QString& path, DateTimeValue runStartTime,
                  const Clock& clock, RandomSource& random) {
    const QByteArray bytes =
        settingsFileBytes(settings, shutdownTimes(settings, runStartTime, clock.now()), random);
    const QString folder = QFileInfo(path).absolutePath();
    std::error_code failure;
    std::filesystem::create_directories(std::filesystem::path(encodeFileName(folder).toStdString()),
                                        failure);
    if (failure)
        throw Error(systemErrorMessage(QStringLiteral("создать папку"), folder, failure.value()));
    writeFileAtomically(path, bytes);
}

ProgramSettings readSettingsFile(const QString& path) {
    // A missing file is reported, with its name, as any file that cannot be read.
    const QByteArray bytes = readWholeFile(path);
    ProgramSettings settings;
    try {
        applySettingsBytes(settings, bytes);
    } catch (const Error& error) {
        throw Error(QStringLiteral("%1: %2").arg(displayFileName(path), error.message()));
    }
    return settings;
}

bool readManyFilesScan(const QString& path) {
    return readSettingsFile(path).ManyFilesScan;
}

} // namespace songwick
