#pragma once

#include "common/date_time.h"

#include <QString>
#include <QStringList>
#include <QStringView>
#include <array>
#include <optional>
#include <vector>

namespace songwick {

struct ProgramSettings;

// The parts a composite file name is made of, in the order the parts list starts with.
enum class RenamePart : int {
    OriginalFileName = 0,
    Column3,
    Column4,
    Column5,
    Column6,
    OwnText,
    ListChoice,
    DateTime,
};

inline constexpr int kRenamePartCount = 8;

struct RenamePartInfo {
    RenamePart part;
    QString caption;     // the item text of the parts list, which also identifies the part
    QString description; // shown while the item is selected
};

// The eight parts in their initial order.
const std::array<RenamePartInfo, kRenamePartCount>& renamePartInfos();
const RenamePartInfo& renamePartInfo(RenamePart part);
std::optional<RenamePart> renamePartFromCaption(QStringView caption);

struct SeparatorEntry {
    QString entryText; // as the separator list shows it
    QString separator; // what goes between two parts
};

// The separator list; the sixth entry (index 5) is the initial one.
const std::array<SeparatorEntry, 8>& separatorEntries();
// The separator of a list text; empty for a text that is not an entry.
QString separatorForEntryText(QStringView entryText);
// The separator of a list index; empty outside the list.
QString separatorForIndex(int index);

// The list choice entries, sorted; index 14 ("Избранное") is the initial one.
const QStringList& listChoiceEntries();

// What the part "Дата и время" adds; with no button chosen it adds an empty text (and so
// its separator, like an empty cell).
enum class DateTimeChoice { None, Date, Time, DateAndTime };
QString dateTimePartText(DateTimeChoice choice, DateTimeValue now);

// The nine characters a file name may not hold on the program's home platform; "/" among
// them is the one this platform refuses too.
inline constexpr QStringView kForbiddenNameCharacters = u"\\/:*?\"<>|";
bool isForbiddenNameCharacter(QChar character);

// The own text box's filter: every forbidden character removed, the caret moved back by the
// characters removed before it, so that it stays where the user left it.
struct FilteredText {
    QString text;
    int caret = 0;
    bool removedAny = false;
};
FilteredText removeForbiddenCharacters(const QString& text, int caret);
inline constexpr char kForbiddenCharactersWarning[] = QT_TRANSLATE_NOOP(
    "songwick::Rename", "Символы \\/:*?\"<>| не могут быть использованы при вводе имени папки!");
inline constexpr int kForbiddenCharactersWarningMs = 2502;

// One position of the parts list.
struct RenamePartItem {
    RenamePart part;
    bool checked = false;
};
using RenamePartOrder = std::array<RenamePartItem, kRenamePartCount>;

// The parts in their initial order, none checked.
RenamePartOrder initialPartOrder();

// Moves the item at `index` one place up (step -1) or down (step +1), text and check mark
// together; returns the item's new index, or `index` when it is already at that end.
int moveRenamePart(RenamePartOrder& order, int index, int step);
bool canMovePartUp(int index);
bool canMovePartDown(int index);

// Everything the composite rename window lets the user choose.
struct CompositeRenameOptions {
    RenamePartOrder parts = initialPartOrder();
    QString ownText;
    QString listChoice;
    DateTimeChoice dateTime = DateTimeChoice::DateAndTime;
    QString separator;
    bool markedOnly = false;

    bool anyPartChecked() const;
    bool usesDateTime() const;
};

// The options as the settings hold them, with the parts in the given order (the settings
// keep the check marks by list position, not the order).
CompositeRenameOptions compositeRenameOptions(
    const ProgramSettings& settings,
    const std::array<RenamePart, kRenamePartCount>& order = {
        RenamePart::OriginalFileName, RenamePart::Column3, RenamePart::Column4, RenamePart::Column5,
        RenamePart::Column6, RenamePart::OwnText, RenamePart::ListChoice, RenamePart::DateTime});
DateTimeChoice dateTimeChoice(const ProgramSettings& settings);

// The texts one row gives to the parts that differ from row to row.
struct RowPartTexts {
    QString originalFileName;       // the store's file-name field, extension included
    std::array<QString, 4> columns; // table columns 3 to 6
};

// A text that ends in a karaoke or MIDI file's extension (".kar", ".mid", ".midi", ".rmi", in
// any letter case) without it; any other text unchanged.
QString withoutKaraokeExtension(const QString& text);

// The name (without its extension) for one row: the checked parts in list order, each
// followed by the separator, the last separator removed; an empty own text adds nothing, an
// empty cell still adds its separator. The file's name and the column texts are taken without
// a karaoke extension they end in, so that none stands inside the name. Not yet cut or
// cleaned.
QString composeName(const CompositeRenameOptions& options, const RowPartTexts& row,
                    DateTimeValue now);
// The same with the text of the part "Дата и время" already made.
QString composeNameWithDateTimeText(const CompositeRenameOptions& options, const RowPartTexts& row,
                                    const QString& dateTimeText);

inline constexpr QStringView kCompositeExtension = u".kar";
inline constexpr int kMaxFileNameBytes = 255;

// The extension a composed name gets: the file's own ("skarabey.mid" stays a ".mid"), or
// ".kar" for a name without one.
QString compositeExtensionFor(const QString& oldName);

// The longest start of `name`, cut between characters (never inside one), whose encoded
// file name takes at most maxBytes bytes.
QString cutToFileNameBytes(const QString& name, int maxBytes);

// A composed name made fit for the disk: cut so that name + extension fits 255 bytes, each
// forbidden character replaced by a blank, and with startWindowStore also the character
// with code 1; a run of blanks that holds such a replaced character folds to one blank.
QString finishComposedName(const QString& composed, bool startWindowStore,
                           QStringView extension = kCompositeExtension);

} // namespace songwick
