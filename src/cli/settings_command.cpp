#include "cli/cli_support.h"
#include "cli/commands.h"
#include "common/date_time.h"
#include "settings/settings_file.h"

#include <array>
#include <cmath>
#include <type_traits>
#include <utility>

namespace songwick::cli {
namespace {

QString boolText(bool value) {
    return value ? QStringLiteral("true") : QStringLiteral("false");
}

template <typename T, std::size_t N> QString listText(const std::array<T, N>& values) {
    QStringList items;
    for (const T& value : values) {
        if constexpr (std::is_same_v<T, bool>)
            items.append(boolText(value));
        else
            items.append(QString::number(value));
    }
    return items.join(QStringLiteral(", "));
}

QString quoted(const QString& text) {
    return QLatin1Char('"') + text + QLatin1Char('"');
}

// The stored number, then the moment it stands for.
QString momentText(DateTimeValue value) {
    return QStringLiteral("%1 (%2)").arg(QString::number(value, 'g', 17),
                                         formatDateTime(value, kPatternDateTime));
}

// The stored number of days, then hours, minutes and seconds.
QString durationText(DateTimeValue days) {
    const auto seconds = static_cast<long long>(std::llround(days * 86400.0));
    return QStringLiteral("%1 (%2:%3:%4)")
        .arg(QString::number(days, 'g', 17))
        .arg(seconds / 3600)
        .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

QString describe(const ProgramSettings& s) {
    const std::pair<const char*, QString> lines[] = {
        {"ManyFilesScan", boolText(s.ManyFilesScan)},
        {"TextAddDateTime", boolText(s.TextAddDateTime)},
        {"TextAddCaption", boolText(s.TextAddCaption)},
        {"ExcelRowNumbers", boolText(s.ExcelRowNumbers)},
        {"ExcelHeaderTextColor", boolText(s.ExcelHeaderTextColor)},
        {"ExcelAutoWidth", boolText(s.ExcelAutoWidth)},
        {"ExcelColumnTitles", boolText(s.ExcelColumnTitles)},
        {"ExcelRowNumbersItalic", boolText(s.ExcelRowNumbersItalic)},
        {"ExcelTableTextColor", boolText(s.ExcelTableTextColor)},
        {"ExcelHeaderBorderColor", boolText(s.ExcelHeaderBorderColor)},
        {"ExcelTableBorderColor", boolText(s.ExcelTableBorderColor)},
        {"ExcelAddDateTime", boolText(s.ExcelAddDateTime)},
        {"ExcelUseList1", boolText(s.ExcelUseList1)},
        {"ExcelUseList2", boolText(s.ExcelUseList2)},
        {"ExcelAddLine", boolText(s.ExcelAddLine)},
        {"RenameErrorMessages", boolText(s.RenameErrorMessages)},
        {"RenamePartsChecked", listText(s.RenamePartsChecked)},
        {"RenameAddDate", boolText(s.RenameAddDate)},
        {"RenameAddTime", boolText(s.RenameAddTime)},
        {"RenameAddDateAndTime", boolText(s.RenameAddDateAndTime)},
        {"ShowHints", boolText(s.ShowHints)},
        {"ExcelHeaderFill", boolText(s.ExcelHeaderFill)},
        {"ExcelTableFill", boolText(s.ExcelTableFill)},
        {"RenameAddGroupIndex", QString::number(s.RenameAddGroupIndex)},
        {"RenameWhichFiles", QString::number(s.RenameWhichFiles)},
        {"RenameListChoice", QString::number(s.RenameListChoice)},
        {"RenameSeparator", QString::number(s.RenameSeparator)},
        {"RewriteWhichFiles", QString::number(s.RewriteWhichFiles)},
        {"TextCaptionChoice", QString::number(s.TextCaptionChoice)},
        {"ExcelList1Choice", QString::number(s.ExcelList1Choice)},
        {"ExcelList2Choice", QString::number(s.ExcelList2Choice)},
        {"ColumnWidthMode", QString::number(s.ColumnWidthMode)},
        {"ExcelBorderKind", QString::number(s.ExcelBorderKind)},
        {"ExcelDateTimeKind", QString::number(s.ExcelDateTimeKind)},
        {"ColumnWidths", listText(s.ColumnWidths)},
        {"RenameOwnText", quoted(s.RenameOwnText)},
        {"ExcelLineText", quoted(s.ExcelLineText)},
        {"LastFolder", quoted(s.LastFolder)},
        {"LastShutdownTime", momentText(s.LastShutdownTime)},
        {"TotalRunTime", durationText(s.TotalRunTime)},
        // Not stored: what the three boxes show after loading.
        {"TextCaptionText", quoted(s.TextCaptionText)},
        {"ExcelList1Text", quoted(s.ExcelList1Text)},
        {"ExcelList2Text", quoted(s.ExcelList2Text)},
    };
    QString out;
    for (const auto& [name, value] : lines)
        out += QString::fromLatin1(name) + QStringLiteral(" = ") + value + QLatin1Char('\n');
    return out;
}

} // namespace

int runSettings(const QStringList& arguments) {
    const Arguments parsed(arguments, {});
    if (parsed.positional().size() != 1)
        throw UsageError("settings needs one PROP.DAT");
    printOut(describe(readSettingsFile(parsed.positional().first())));
    return 0;
}

} // namespace songwick::cli
