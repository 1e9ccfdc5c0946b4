#include "rename/rename_journal.h"

#include "common/error.h"
#include "common/file_descriptor.h"
#include "common/file_name_codec.h"
#include "common/system_error.h"
#include "rename/no_replace_rename.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QSysInfo>
#include <algorithm>
#include <cctype>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <limits>
#include <sys/file.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace songwick {
namespace {

const QByteArray kHeaderLine = QByteArrayLiteral("Songwick rename journal 1");

// Journal fields are UTF-8 text separated by tabs. A name's bytes are kept as they are on
// disk: a backslash, a control byte and, in a name that is not valid UTF-8, every byte above
// 0x7F are written as \xHH (a backslash as \\), so that every name reads back byte for byte.
QByteArray escapeField(const QByteArray& bytes) {
    const bool validUtf8 = QString::fromUtf8(bytes).toUtf8() == bytes;
    QByteArray out;
    out.reserve(bytes.size());
    for (const char character : bytes) {
        const auto byte = static_cast<unsigned char>(character);
        if (byte == '\\') {
            out += "\\\\";
        } else if (byte < 0x20 || byte == 0x7F || (byte >= 0x80 && !validUtf8)) {
            out += "\\x";
            out += QByteArray::number(byte, 16).rightJustified(2, '0');
        } else {
            out += character;
        }
    }
    return out;
}

std::optional<QByteArray> unescapeField(const QByteArray& field) {
    QByteArray out;
    out.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field[i] != '\\') {
            out += field[i];
            continue;
        }
        if (i + 1 < field.size() && field[i + 1] == '\\') {
            out += '\\';
            ++i;
            continue;
        }
        const QByteArray hex = field.mid(i + 2, 2);
        bool ok = false;
        const int byte = hex.toInt(&ok, 16);
        if (i + 1 >= field.size() || field[i + 1] != 'x' || hex.size() != 2 || !ok ||
            !std::isxdigit(static_cast<unsigned char>(hex[0])) ||
            !std::isxdigit(static_cast<unsigned char>(hex[1])))
            return std::nullopt;
        out += static_cast<char>(byte);
        i += 3;
    }
    return out;
}

QByteArray timeText(const QDateTime& time) {
    return time.toUTC().toString(Qt::ISODateWithMs).toLatin1();
}

QDateTime timeFrom(const QByteArray& text) {
    QDateTime time = QDateTime::fromString(QString::fromLatin1(text), Qt::ISODateWithMs);
    return time.isValid() ? time.toUTC() : QDateTime();
}

bool allDigits(QByteArrayView text) {
    return !text.isEmpty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::optional<quint64> numberFrom(const QByteArray& text) {
    bool ok = false;
    const quint64 value = text.toULongLong(&ok);
    if (!ok || !allDigits(text))
        return std::nullopt;
    return value;
}

// A number that may be negative (a modification time before 1970).
std::optional<qint64> signedNumberFrom(const QByteArray& text) {
    bool ok = false;
    const qint64 value = text.toLongLong(&ok);
    if (!ok ||
        !allDigits(text.startsWith('-') ? QByteArrayView(text).sliced(1) : QByteArrayView(text)))
        return std::nullopt;
    return value;
}

// The journal number of a file name, 0 when the name is not a journal's.
int journalNumberOf(const QString& fileName) {
    static const QRegularExpression pattern(QStringLiteral("^([0-9]{6,9})\\.journal$"));
    const QRegularExpressionMatch match = pattern.match(fileName);
    return match.hasMatch() ? match.captured(1).toInt() : 0;
}

QString journalFileName(int number) {
    return QStringLiteral("%1.journal").arg(number, 6, 10, QLatin1Char('0'));
}

// The journal files of the folder by number, oldest first.
std::vector<std::pair<int, QString>> journalPaths(const QString& folder) {
    std::vector<std::pair<int, QString>> paths;
    const QByteArray encodedFolder = encodeFileName(folder);
    DIR* dir = ::opendir(encodedFolder.constData());
    if (dir == nullptr)
        return paths;
    while (const dirent* entry = ::readdir(dir)) {
        const QString name = decodeFileName(entry->d_name);
        struct stat status {};
        if (const int number = journalNumberOf(name);
            number > 0 &&
            ::fstatat(::dirfd(dir), entry->d_name, &status, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(status.st_mode))
            paths.emplace_back(number, joinFolderAndName(folder, name));
    }
    ::closedir(dir);
    std::sort(paths.begin(), paths.end());
    return paths;
}

// Reading one journal: each line is checked; the first problem makes the file damaged.
class JournalParser {
public:
    explicit JournalParser(JournalFile& file) : file_(file) {}

    bool parse(QByteArrayView bytes) {
        QList<QByteArray> lines = bytes.toByteArray().split('\n');
        // The piece after the last line end is a line whose writing was cut short.
        const QByteArray cut = lines.takeLast();
        if (lines.isEmpty())
            return kHeaderLine.startsWith(cut)
                       ? noRun()
                       : fail(QCoreApplication::translate("songwick::Rename",
                                                          "это не журнал переименований"));
        if (lines[0] != kHeaderLine)
            return fail(
                QCoreApplication::translate("songwick::Rename", "это не журнал переименований"));
        for (qsizetype i = 1; i < lines.size(); ++i) {
            if (!parseLine(i, lines[i].split('\t')))
                return false;
        }
        // The header alone, or cut short within it: the run never came to its first rename.
        if (file_.run.entries.empty())
            return noRun();
        if (file_.run.machine.isEmpty() || !file_.run.started.isValid() || !sawKind_)
            return fail(QCoreApplication::translate("songwick::Rename", "нет заголовка"));
        return true;
    }

private:
    bool parseLine(qsizetype index, const QList<QByteArray>& fields) {
        const QByteArray& tag = fields[0];
        if (file_.run.closed)
            return fail(
                QCoreApplication::translate("songwick::Rename", "строка %1 после завершения")
                    .arg(index + 1));
        if (index == 1 && tag == "machine" && fields.size() == 2) {
            file_.run.machine = QString::fromUtf8(fields[1]);
            return true;
        }
        if (index == 2 && tag == "run")
            return parseKind(fields);
        if (index == 3 && tag == "started" && fields.size() == 2) {
            file_.run.started = timeFrom(fields[1]);
            return file_.run.started.isValid() ||
                   fail(QCoreApplication::translate("songwick::Rename", "неверное время"));
        }
        if (index > 3 && tag == "rename" && (fields.size() == 7 || fields.size() == 9))
            return parseEntry(index, fields);
        if (index > 3 && tag == "refused" && fields.size() == 2) {
            const std::optional<quint64> entry = numberFrom(fields[1]);
            if (!entry || *entry != file_.run.entries.size() || *entry == 0)
                return failAtLine(index);
            file_.run.entries.back().refused = true;
            return true;
        }
        if (index > 3 && tag == "end" && fields.size() == 3) {
            file_.run.ended = timeFrom(fields[1]);
            file_.run.closed = true;
            return file_.run.ended.isValid() ||
                   fail(QCoreApplication::translate("songwick::Rename", "неверное время"));
        }
        return failAtLine(index);
    }

    bool parseKind(const QList<QByteArray>& fields) {
        sawKind_ = true;
        if (fields.size() == 2 && fields[1] == "rename") {
            file_.run.kind = JournalRunKind::Rename;
            return true;
        }
        if (fields.size() == 3 && fields[1] == "undo") {
            const std::optional<quint64> undoes = numberFrom(fields[2]);
            if (undoes && *undoes > 0 && *undoes < quint64(file_.run.number)) {
                file_.run.kind = JournalRunKind::Undo;
                file_.run.undoesNumber = int(*undoes);
                return true;
            }
        }
        return fail(
            QCoreApplication::translate("songwick::Rename", "неизвестный вид переименования"));
    }

    // A folder that can only be the absolute folder of a file, and names that can only be a
    // name inside it: never a path that leads elsewhere.
    static bool fieldsFitTogether(const QByteArray& folder, const QString& oldName,
                                  const QString& newName) {
        return folder.startsWith('/') && folder.endsWith('/') && !folder.contains('\0') &&
               isValidFileName(oldName) && isValidFileName(newName);
    }

    bool parseEntry(qsizetype index, const QList<QByteArray>& fields) {
        JournalEntry entry;
        entry.time = timeFrom(fields[1]);
        const std::optional<QByteArray> folder = unescapeField(fields[2]);
        const std::optional<QByteArray> oldName = unescapeField(fields[3]);
        const std::optional<QByteArray> newName = unescapeField(fields[4]);
        const std::optional<quint64> device = numberFrom(fields[5]);
        const std::optional<quint64> inode = numberFrom(fields[6]);
        if (!entry.time.isValid() || !folder || !oldName || !newName || !device || !inode)
            return failAtLine(index);
        entry.folder = decodeFileName(*folder);
        entry.oldName = decodeFileName(*oldName);
        entry.newName = decodeFileName(*newName);
        if (!fieldsFitTogether(*folder, entry.oldName, entry.newName))
            return failAtLine(index);
        entry.file.device = qint64(*device);
        entry.file.inode = qint64(*inode);
        if (fields.size() == 9) {
            const std::optional<quint64> size = numberFrom(fields[7]);
            const std::optional<qint64> modified = signedNumberFrom(fields[8]);
            if (!size || *size > quint64(std::numeric_limits<qint64>::max()) || !modified)
                return failAtLine(index);
            entry.file.size = qint64(*size);
            entry.file.modifiedNs = *modified;
            entry.versionKnown = true;
        }
        file_.run.entries.push_back(std::move(entry));
        return true;
    }

    bool noRun() {
        file_.state = JournalState::NoRun;
        return false;
    }

    bool failAtLine(qsizetype index) {
        return fail(QCoreApplication::translate("songwick::Rename", "строка %1 не читается")
                        .arg(index + 1));
    }

    bool fail(const QString& problem) {
        file_.state = JournalState::Damaged;
        file_.problem = problem;
        file_.run.entries.clear();
        return false;
    }

    JournalFile& file_;
    bool sawKind_ = false;
};

QString stoppedMessage(const QString& action, const QString& path, int error,
                       const QString& consequence) {
    return systemErrorMessage(action, path, error) + QStringLiteral(". ") + consequence;
}

QString notRenamedConsequence() {
    return QCoreApplication::translate("songwick::Rename", "Файлы не переименованы.");
}

} // namespace

QString defaultRenameJournalFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
           QStringLiteral("/renames");
}

QString journalMachineId() {
    const QByteArray id = QSysInfo::machineUniqueId();
    if (!id.isEmpty())
        return QString::fromLatin1(id);
    return QSysInfo::machineHostName();
}

bool FileLookup::missing() const {
    return !identity && (systemError == ENOENT || systemError == ENOTDIR);
}

FileLookup lookUpFile(const QString& path) {
    struct stat entry {};
    if (path.isEmpty())
        return {std::nullopt, ENOENT};
    if (::lstat(encodeFileName(path).constData(), &entry) != 0)
        return {std::nullopt, errno};
    return {fileIdentityOfStatus(entry), 0};
}

std::optional<FileIdentity> fileIdentityOf(const QString& path) {
    return lookUpFile(path).identity;
}

bool JournalEntry::isFile(const std::optional<FileIdentity>& found) const {
    if (!found)
        return false;
    if (versionKnown)
        return sameRenamedFile(*found, file);
    return found->device == file.device && found->inode == file.inode;
}

int JournalRun::attemptedCount() const {
    return int(std::count_if(entries.begin(), entries.end(),
                             [](const JournalEntry& entry) { return !entry.refused; }));
}

JournalFile readJournalBytes(QByteArrayView bytes, int number, const QString& machine) {
    JournalFile file;
    file.run.number = number;
    JournalParser parser(file);
    if (parser.parse(bytes) && file.run.machine != machine)
        file.state = JournalState::Foreign;
    return file;
}

JournalFile readJournalFile(const QString& path, const QString& machine) {
    const int number = journalNumberOf(path.mid(path.lastIndexOf(u'/') + 1));
    JournalFile file;
    try {
        file = readJournalBytes(readWholeFile(path), number, machine);
    } catch (const Error& error) {
        file.run.number = number;
        file.state = JournalState::Unreadable;
        file.problem = error.message();
    }
    file.run.path = path;
    return file;
}

std::vector<JournalFile> readJournalFolder(const QString& folder, const QString& machine) {
    std::vector<JournalFile> files;
    for (const auto& [number, path] : journalPaths(folder))
        files.push_back(readJournalFile(path, machine));
    return files;
}

std::vector<RunUndoState> runUndoStates(const std::vector<JournalFile>& files) {
    std::vector<RunUndoState> states(files.size());
    std::vector<bool> closedUndoSeen(files.size(), false);
    std::vector<int> partlyUndone(files.size(), 0);
    // From the newest down, so that an undo's own state is known before it counts.
    for (std::size_t i = files.size(); i-- > 0;) {
        const JournalFile& file = files[i];
        if (file.state != JournalState::Usable || file.run.kind != JournalRunKind::Undo)
            continue;
        for (std::size_t j = 0; j < i; ++j) {
            if (files[j].run.number != file.run.undoesNumber ||
                files[j].state != JournalState::Usable)
                continue;
            if (!file.run.closed) {
                partlyUndone[j] += file.run.attemptedCount();
            } else {
                closedUndoSeen[j] = true;
                if (states[i].state != UndoState::Undone)
                    states[j].state = UndoState::Undone;
            }
        }
    }
    for (std::size_t j = 0; j < files.size(); ++j) {
        // Once an undo of the run ran to its end, the cut-short ones before it are history.
        if (closedUndoSeen[j] || partlyUndone[j] == 0)
            continue;
        states[j].state = UndoState::UndonePartly;
        states[j].undoneCount = std::min(partlyUndone[j], files[j].run.attemptedCount());
    }
    return states;
}

QString unusableJournalMessage(const JournalFile& file) {
    const QString path = displayFileName(file.run.path);
    switch (file.state) {
    case JournalState::Foreign:
        return QCoreApplication::translate(
                   "songwick::Rename",
                   "Журнал переименований %1 записан на другом компьютере. Он не "
                   "используется, файлы не тронуты.")
            .arg(path);
    case JournalState::Unreadable:
        return file.problem +
               QCoreApplication::translate("songwick::Rename",
                                           ". Журнал переименований не используется, файлы "
                                           "не тронуты.");
    case JournalState::Usable:
    case JournalState::Damaged:
    case JournalState::NoRun:
        break;
    }
    return QCoreApplication::translate(
               "songwick::Rename",
               "Журнал переименований %1 поврежден (%2). Он не используется, файлы "
               "не тронуты.")
        .arg(path, file.problem);
}

bool removeJournalWithoutRun(const QString& path) {
    const QByteArray encoded = encodeFileName(path);
    const FileDescriptor journal(::open(encoded.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW));
    // A run still writing its journal holds it locked.
    if (journal.get() < 0 || ::flock(journal.get(), LOCK_EX | LOCK_NB) != 0)
        return false;
    QByteArray bytes;
    if (readToEnd(journal.get(), bytes) != 0)
        return false;
    const JournalFile again =
        readJournalBytes(bytes, journalNumberOf(path.mid(path.lastIndexOf(u'/') + 1)), {});
    return again.state == JournalState::NoRun && ::unlink(encoded.constData()) == 0;
}

void pruneJournals(const QString& folder, const QDateTime& now) {
    const std::vector<std::pair<int, QString>> paths = journalPaths(folder);
    const std::size_t beyondKept =
        paths.size() > std::size_t(kJournalsKept) ? paths.size() - kJournalsKept : 0;
    const qint64 oldest = now.addDays(-kJournalDaysKept).toSecsSinceEpoch();
    for (std::size_t i = 0; i < paths.size(); ++i) {
        const QByteArray path = encodeFileName(paths[i].second);
        struct stat status {};
        if (i < beyondKept ||
            (::lstat(path.constData(), &status) == 0 && qint64(status.st_mtim.tv_sec) < oldest))
            ::unlink(path.constData());
    }
}

JournalWriter::JournalWriter(const QString& folder, JournalRunKind kind, int undoesNumber) {
    std::error_code folderError;
    std::filesystem::create_directories(encodeFileName(folder).toStdString(), folderError);
    if (folderError)
        throw Error(stoppedMessage(QStringLiteral("создать папку журнала переименований"), folder,
                                   folderError.value(), notRenamedConsequence()));
    const std::vector<std::pair<int, QString>> existing = journalPaths(folder);
    number_ = existing.empty() ? 1 : existing.back().first + 1;
    for (;; ++number_) {
        path_ = joinFolderAndName(folder, journalFileName(number_));
        descriptor_ = ::open(encodeFileName(path_).constData(),
                             O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_APPEND, 0600);
        if (descriptor_ >= 0)
            break;
        if (errno != EEXIST) // another run took the number just now: the next one
            throw Error(stoppedMessage(QStringLiteral("создать журнал переименований"), path_,
                                       errno, notRenamedConsequence()));
    }
    // Held while the run lasts, so that an undo never takes the journal for one without a run.
    ::flock(descriptor_, LOCK_EX | LOCK_NB);
    try {
        writeHeader(kind, undoesNumber);
    } catch (const Error&) {
        // A journal without its header is no run: it must not stand in the way of the last one.
        ::close(descriptor_);
        descriptor_ = -1;
        ::unlink(encodeFileName(path_).constData());
        throw;
    }
    pruneJournals(folder, QDateTime::currentDateTimeUtc());
}

JournalWriter::~JournalWriter() {
    if (descriptor_ >= 0)
        ::close(descriptor_);
}

void JournalWriter::writeHeader(JournalRunKind kind, int undoesNumber) {
    QByteArray header = kHeaderLine + '\n';
    header += "machine\t" + journalMachineId().toUtf8() + '\n';
    header += kind == JournalRunKind::Undo ? "run\tundo\t" + QByteArray::number(undoesNumber)
                                           : QByteArray("run\trename");
    header += "\nstarted\t" + timeText(QDateTime::currentDateTimeUtc());
    writeLine(header);
    sync();
}

void JournalWriter::planned(const QString& folder, const QString& oldName, const QString& newName,
                            const FileIdentity& file) {
    QByteArray line = "rename\t" + timeText(QDateTime::currentDateTimeUtc());
    for (const QString& field : {folderWithSeparator(folder), oldName, newName})
        line += '\t' + escapeField(encodeFileName(field));
    for (const quint64 number : {quint64(file.device), quint64(file.inode), quint64(file.size)})
        line += '\t' + QByteArray::number(number);
    line += '\t' + QByteArray::number(file.modifiedNs);
    writeLine(line);
    ++plannedCount_;
}

void JournalWriter::refused() {
    writeLine("refused\t" + QByteArray::number(plannedCount_));
}

void JournalWriter::close(int renamedCount) {
    if (renamedCount == 0) {
        ::unlink(encodeFileName(path_).constData());
        ::close(descriptor_);
        descriptor_ = -1;
        return;
    }
    writeLine("end\t" + timeText(QDateTime::currentDateTimeUtc()) + '\t' +
              QByteArray::number(renamedCount));
    sync();
    ::close(descriptor_);
    descriptor_ = -1;
}

void JournalWriter::writeLine(const QByteArray& text) {
    const QByteArray line = text + '\n';
    qsizetype written = 0;
    while (written < line.size()) {
        const ssize_t step =
            ::write(descriptor_, line.constData() + written, std::size_t(line.size() - written));
        if (step < 0 && errno == EINTR)
            continue;
        if (step <= 0)
            throw Error(stoppedMessage(
                QStringLiteral("записать журнал переименований"), path_, step < 0 ? errno : ENOSPC,
                plannedCount_ == 0 ? notRenamedConsequence()
                                   : QCoreApplication::translate("songwick::Rename",
                                                                 "Переименование остановлено.")));
        written += step;
    }
}

void JournalWriter::sync() {
    if (::fdatasync(descriptor_) != 0)
        throw Error(stoppedMessage(
            QStringLiteral("записать журнал переименований"), path_, errno,
            plannedCount_ == 0
                ? notRenamedConsequence()
                : QCoreApplication::translate("songwick::Rename", "Переименование остановлено.")));
}

RunJournal::RunJournal(QString folder, JournalRunKind kind, int undoesNumber)
    : folder_(std::move(folder)), kind_(kind), undoesNumber_(undoesNumber) {}

bool RunJournal::write(const std::function<void()>& step) {
    if (folder_.isEmpty())
        return true;
    if (!failure_.isEmpty())
        return false;
    try {
        step();
        return true;
    } catch (const Error& error) {
        failure_ = error.message();
        return false;
    }
}

bool RunJournal::planned(const QString& folder, const QString& oldName, const QString& newName,
                         const FileIdentity& file) {
    return write([&] {
        if (!writer_)
            writer_.emplace(folder_, kind_, undoesNumber_);
        writer_->planned(folder, oldName, newName, file);
    });
}

bool RunJournal::refused() {
    return write([this] { writer_->refused(); });
}

void RunJournal::close(int renamedCount) {
    if (writer_)
        write([&] { writer_->close(renamedCount); });
}

} // namespace songwick
