#include "rename/composite_name.h"

#include "common/file_name_codec.h"
#include "settings/program_settings.h"

#include <QCoreApplication>
#include <QFile>
#include <QTextBoundaryFinder>
#include <algorithm>
#include <vector>

namespace songwick {

const std::array<RenamePartInfo, kRenamePartCount>& renamePartInfos() {
    static const std::array<RenamePartInfo, kRenamePartCount> infos{{
        {RenamePart::OriginalFileName,
         QCoreApplication::translate("songwick::Rename", "Первоначальное название файла"),
         QCoreApplication::translate(
             "songwick::Rename", "К новому названию файла добавляется имя, которым он обладает на "
                                 "данный момент")},
        {RenamePart::Column3,
         QCoreApplication::translate("songwick::Rename", "3-я колонка Вашей таблицы"),
         QCoreApplication::translate(
             "songwick::Rename",
             "К новому названию файла добавляется содержимое третьего столбца Вашей "
             "таблицы (для каждого файла свое). Обычно там располагается название "
             "композиции и/или имя исполнителя")},
        {RenamePart::Column4,
         QCoreApplication::translate("songwick::Rename", "4-я колонка Вашей таблицы"),
         QCoreApplication::translate(
             "songwick::Rename",
             "К новому названию файла добавляется содержимое четвертого столбца "
             "Вашей таблицы (для каждого файла свое). Обычно, но не всегда, там "
             "находится фамилия и имя автора слов песни")},
        {RenamePart::Column5,
         QCoreApplication::translate("songwick::Rename", "5-я колонка Вашей таблицы"),
         QCoreApplication::translate(
             "songwick::Rename",
             "К новому названию файла добавляется содержимое пятого столбца Вашей "
             "таблицы (для каждого файла свое). Обычно, но не всегда, там находится "
             "фамилия и имя композитора песни")},
        {RenamePart::Column6,
         QCoreApplication::translate("songwick::Rename", "6-я колонка Вашей таблицы"),
         QCoreApplication::translate(
             "songwick::Rename",
             "К новому названию файла добавляется содержимое шестого столбца Вашей "
             "таблицы (для каждого файла свое). Обычно там находится название "
             "программы, с помощью которой был создан данный файл.  Также здесь "
             "может содержаться всякая рекламная информация (сайт, e-mail и т. д.)")},
        {RenamePart::OwnText, QCoreApplication::translate("songwick::Rename", "Своя строка"),
         QCoreApplication::translate(
             "songwick::Rename",
             "К именам всех новых файлов будет добавлена строка, которую Вы введете "
             "ниже!")},
        {RenamePart::ListChoice, QCoreApplication::translate("songwick::Rename", "Выбор из списка"),
         QCoreApplication::translate(
             "songwick::Rename", "К именам всех новых файлов будет добавлено то,что Вы выберите из "
                                 "списка")},
        {RenamePart::DateTime, QCoreApplication::translate("songwick::Rename", "Дата и время"),
         QCoreApplication::translate(
             "songwick::Rename", "К именам всех новых файлов будет добавлена дата и/или время")},
    }};
    return infos;
}

const RenamePartInfo& renamePartInfo(RenamePart part) {
    return renamePartInfos()[static_cast<std::size_t>(part)];
}

std::optional<RenamePart> renamePartFromCaption(QStringView caption) {
    for (const RenamePartInfo& info : renamePartInfos()) {
        if (info.caption == caption)
            return info.part;
    }
    return std::nullopt;
}

const std::array<SeparatorEntry, 8>& separatorEntries() {
    static const std::array<SeparatorEntry, 8> entries{{
        {QCoreApplication::translate("songwick::Rename", "Пробел \" \""), QStringLiteral(" ")},
        {QCoreApplication::translate("songwick::Rename", "2 пробела \"  \""), QStringLiteral("  ")},
        {QCoreApplication::translate("songwick::Rename", "Точка с запятой + пробел  \"; \""),
         QStringLiteral("; ")},
        {QCoreApplication::translate("songwick::Rename", "Тире (один дефис) \"-\""),
         QStringLiteral("-")},
        {QCoreApplication::translate("songwick::Rename", "Тире \"--\""), QStringLiteral("--")},
        {QCoreApplication::translate("songwick::Rename", "Тире с пробелами \" -- \""),
         QStringLiteral(" -- ")},
        {QCoreApplication::translate("songwick::Rename", "Знак подчеркивания \"_\""),
         QStringLiteral("_")},
        {QCoreApplication::translate("songwick::Rename", "Две точки + пробел \".. \""),
         QStringLiteral(".. ")},
    }};
    return entries;
}

QString separatorForEntryText(QStringView entryText) {
    for (const SeparatorEntry& entry : separatorEntries()) {
        if (entry.entryText == entryText)
            return entry.separator;
    }
    return {};
}

QString separatorForIndex(int index) {
    if (index < 0 || index >= static_cast<int>(separatorEntries().size()))
        return {};
    return separatorEntries()[static_cast<std::size_t>(index)].separator;
}

const QStringList& listChoiceEntries() {
    static const QStringList entries{
        QStringLiteral(";-)"),
        QStringLiteral("Advanced music"),
        QStringLiteral("For me!"),
        QStringLiteral("For You!"),
        QStringLiteral("Rules"),
        QStringLiteral("Russia"),
        QStringLiteral("Super"),
        QStringLiteral("The Best of The Best"),
        QCoreApplication::translate("songwick::Phrases", "В подарок"),
        QCoreApplication::translate("songwick::Phrases", "Всё..."),
        QCoreApplication::translate("songwick::Phrases", "Джаз"),
        QCoreApplication::translate("songwick::Phrases", "Для души"),
        QCoreApplication::translate("songwick::Phrases", "Для тела"),
        QCoreApplication::translate("songwick::Phrases", "Женщинам"),
        QCoreApplication::translate("songwick::Phrases", "Избранное"),
        QCoreApplication::translate("songwick::Phrases", "Иностанные песни"),
        QCoreApplication::translate("songwick::Phrases", "Коллекция"),
        QCoreApplication::translate("songwick::Phrases", "Лучшее"),
        QCoreApplication::translate("songwick::Phrases", "Лучшее из лчших"),
        QCoreApplication::translate("songwick::Phrases", "Мазовая музыка"),
        QCoreApplication::translate("songwick::Phrases", "Мужчинам"),
        QCoreApplication::translate("songwick::Phrases", "Поп"),
        QCoreApplication::translate("songwick::Phrases", "Прикольная музыка"),
        QCoreApplication::translate("songwick::Phrases", "Продвинутая музыка"),
        QCoreApplication::translate("songwick::Phrases", "Рок"),
        QCoreApplication::translate("songwick::Phrases", "Россия"),
        QCoreApplication::translate("songwick::Phrases", "Русские песни"),
        QCoreApplication::translate("songwick::Phrases", "Сборник"),
        QCoreApplication::translate("songwick::Phrases", "Супер сборник"),
        QCoreApplication::translate("songwick::Phrases", "Танцуют все!"),
    };
    return entries;
}

QString dateTimePartText(DateTimeChoice choice, DateTimeValue now) {
    switch (choice) {
    case DateTimeChoice::Date:
        return formatDateTime(now, kPatternDate);
    case DateTimeChoice::Time:
        return formatDateTime(now, kPatternTime);
    case DateTimeChoice::DateAndTime:
        return formatDateTime(now, kPatternDateTime);
    case DateTimeChoice::None:
        break;
    }
    return {};
}

bool isForbiddenNameCharacter(QChar character) {
    return kForbiddenNameCharacters.contains(character);
}

FilteredText removeForbiddenCharacters(const QString& text, int caret) {
    FilteredText result;
    result.text.reserve(text.size());
    result.caret = caret;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!isForbiddenNameCharacter(text[i])) {
            result.text += text[i];
            continue;
        }
        result.removedAny = true;
        if (i < caret)
            --result.caret;
    }
    result.caret = std::clamp(result.caret, 0, static_cast<int>(result.text.size()));
    return result;
}

RenamePartOrder initialPartOrder() {
    RenamePartOrder order{};
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = {renamePartInfos()[i].part, false};
    return order;
}

int moveRenamePart(RenamePartOrder& order, int index, int step) {
    const int target = index + step;
    if (index < 0 || index >= kRenamePartCount || target < 0 || target >= kRenamePartCount)
        return index;
    std::swap(order[static_cast<std::size_t>(index)], order[static_cast<std::size_t>(target)]);
    return target;
}

bool canMovePartUp(int index) {
    return index > 0 && index < kRenamePartCount;
}

bool canMovePartDown(int index) {
    return index >= 0 && index < kRenamePartCount - 1;
}

bool CompositeRenameOptions::usesDateTime() const {
    return std::any_of(parts.begin(), parts.end(), [](const RenamePartItem& item) {
        return item.checked && item.part == RenamePart::DateTime;
    });
}

bool CompositeRenameOptions::anyPartChecked() const {
    return std::any_of(parts.begin(), parts.end(),
                       [](const RenamePartItem& item) { return item.checked; });
}

DateTimeChoice dateTimeChoice(const ProgramSettings& settings) {
    if (settings.RenameAddDate)
        return DateTimeChoice::Date;
    if (settings.RenameAddTime)
        return DateTimeChoice::Time;
    if (settings.RenameAddDateAndTime)
        return DateTimeChoice::DateAndTime;
    return DateTimeChoice::None;
}

CompositeRenameOptions
compositeRenameOptions(const ProgramSettings& settings,
                       const std::array<RenamePart, kRenamePartCount>& order) {
    CompositeRenameOptions options;
    for (std::size_t i = 0; i < order.size(); ++i)
        options.parts[i] = {order[i], settings.RenamePartsChecked[i]};
    options.ownText = settings.RenameOwnText;
    const QStringList& choices = listChoiceEntries();
    if (settings.RenameListChoice >= 0 && settings.RenameListChoice < choices.size())
        options.listChoice = choices[settings.RenameListChoice];
    options.dateTime = dateTimeChoice(settings);
    options.separator = separatorForIndex(settings.RenameSeparator);
    options.markedOnly = settings.RenameWhichFiles == 1;
    return options;
}

QString withoutKaraokeExtension(const QString& text) {
    static constexpr std::array<QStringView, 4> kExtensions{u".kar", u".mid", u".midi", u".rmi"};
    for (QStringView extension : kExtensions) {
        if (text.size() > extension.size() && text.endsWith(extension, Qt::CaseInsensitive))
            return text.left(text.size() - extension.size());
    }
    return text;
}

QString composeName(const CompositeRenameOptions& options, const RowPartTexts& row,
                    DateTimeValue now) {
    return composeNameWithDateTimeText(
        options, row, options.usesDateTime() ? dateTimePartText(options.dateTime, now) : QString());
}

QString composeNameWithDateTimeText(const CompositeRenameOptions& options, const RowPartTexts& row,
                                    const QString& dateTimeText) {
    QString name;
    for (const RenamePartItem& item : options.parts) {
        if (!item.checked)
            continue;
        switch (item.part) {
        case RenamePart::OriginalFileName:
            name += withoutKaraokeExtension(row.originalFileName);
            break;
        case RenamePart::Column3:
        case RenamePart::Column4:
        case RenamePart::Column5:
        case RenamePart::Column6:
            name +=
                withoutKaraokeExtension(row.columns[static_cast<std::size_t>(item.part) -
                                                    static_cast<std::size_t>(RenamePart::Column3)]);
            break;
        case RenamePart::OwnText:
            if (options.ownText.isEmpty())
                continue; // an empty own text adds no separator either
            name += options.ownText;
            break;
        case RenamePart::ListChoice:
            name += options.listChoice;
            break;
        case RenamePart::DateTime:
            name += dateTimeText;
            break;
        }
        name += options.separator;
    }
    if (!options.separator.isEmpty() && name.endsWith(options.separator))
        name.chop(options.separator.size());
    return name;
}

QString cutToFileNameBytes(const QString& name, int maxBytes) {
    if (encodeFileName(name).size() <= maxBytes)
        return name;
    QTextBoundaryFinder boundaries(QTextBoundaryFinder::Grapheme, name);
    qsizetype fitting = 0;
    qsizetype bytes = 0;
    for (qsizetype start = 0, end = boundaries.toNextBoundary(); end > 0;
         start = end, end = boundaries.toNextBoundary()) {
        bytes += encodeFileName(name.mid(start, end - start)).size();
        if (bytes > maxBytes)
            break;
        fitting = end;
    }
    return name.left(fitting);
}

QString compositeExtensionFor(const QString& oldName) {
    // An extension is a short last part after a dot, with no blank in it; "Live. Part 2" has none.
    constexpr qsizetype kLongestExtension = 8;
    const qsizetype dot = oldName.lastIndexOf(QLatin1Char('.'));
    const qsizetype length = oldName.size() - dot - 1;
    if (dot <= 0 || length < 1 || length > kLongestExtension)
        return kCompositeExtension.toString();
    const QString extension = oldName.mid(dot);
    if (extension.contains(QLatin1Char(' ')))
        return kCompositeExtension.toString();
    return extension;
}

namespace {

struct CleanedCharacter {
    QChar character;
    bool replaced = false;
};

// Each run of blanks that holds a replaced character becomes one blank; other runs (the
// separator "  ", blanks the user typed) stay as they are.
QString foldReplacedBlankRuns(const std::vector<CleanedCharacter>& characters) {
    QString folded;
    folded.reserve(static_cast<qsizetype>(characters.size()));
    for (std::size_t start = 0; start < characters.size();) {
        if (characters[start].character != QLatin1Char(' ')) {
            folded += characters[start++].character;
            continue;
        }
        std::size_t end = start;
        bool anyReplaced = false;
        while (end < characters.size() && characters[end].character == QLatin1Char(' '))
            anyReplaced = characters[end++].replaced || anyReplaced;
        folded += anyReplaced ? QString(QLatin1Char(' '))
                              : QString(static_cast<qsizetype>(end - start), QLatin1Char(' '));
        start = end;
    }
    return folded;
}

} // namespace

QString finishComposedName(const QString& composed, bool startWindowStore, QStringView extension) {
    const QString name = cutToFileNameBytes(
        composed,
        kMaxFileNameBytes - static_cast<int>(encodeFileName(extension.toString()).size()));
    std::vector<CleanedCharacter> characters;
    characters.reserve(static_cast<std::size_t>(name.size()));
    for (QChar character : name) {
        if (isForbiddenNameCharacter(character) || (startWindowStore && character == QChar(1)))
            characters.push_back({QLatin1Char(' '), true});
        else
            characters.push_back({character, false});
    }
    return foldReplacedBlankRuns(characters);
}

} // namespace songwick
