#include "rename/rename_journal.h"

#include "common/error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QSysInfo>
#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace songwick {
namespace {

const QByteArray kHeaderLine = QByteArrayLiteral("Songwick rename journal 1");
const QString kJournalSuffix = QStringLiteral(".journal");

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

std::optional<quint64> numberFrom(const QByteArray& text) {
    bool ok = false;
    const quint64 value = text.toULongLong(&ok);
    if (!ok || text.isEmpty() ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
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
    return QStringLiteral("%1").arg(number, 6, 10, QLatin1Char('0')) + kJournalSuffix;
}

// The journal files of the folder by number, oldest first.
std::vector<std::pair<int, QString>> journalPaths(const QString& folder) {
    std::vector<std::pair<int, QString>> paths;
    const QDir dir(folder);
    for (const QString& name : dir.entryList({QStringLiteral("*.journal")}, QDir::Files)) {
        if (const int number = journalNumberOf(name); number > 0)
            paths.emplace_back(number, dir.filePath(name));
    }
    std::sort(paths.begin(), paths.end());
    return paths;
}

// Reading one journal: each line is checked; the first problem makes the file damaged.
class JournalParser {
public:
    explicit JournalParser(JournalFile& file) : file_(file) {}

    bool parse(const QByteArray& bytes) {
        QList<QByteArray> lines = bytes.split('\n');
        // The piece after the last line end is a line whose writing was cut short.
        lines.removeLast();
        if (lines.size() < 4 || lines[0] != kHeaderLine)
            return fail(QStringLiteral("это не журнал переименований"));
        for (qsizetype i = 1; i < lines.size(); ++i) {
            if (!parseLine(i, lines[i].split('\t')))
                return false;
        }
        if (file_.run.machine.isEmpty() || !file_.run.started.isValid() || !sawKind_)
            return fail(QStringLiteral("нет заголовка"));
        return true;
    }

private:
    bool parseLine(qsizetype index, const QList<QByteArray>& fields) {
        const QByteArray& tag = fields[0];
        if (file_.run.closed)
            return fail(QStringLiteral("строка %1 после завершения").arg(index + 1));
        if (index == 1 && tag == "machine" && fields.size() == 2) {
            file_.run.machine = QString::fromUtf8(fields[1]);
            return true;
        }
        if (index == 2 && tag == "run")
            return parseKind(fields);
        if (index == 3 && tag == "started" && fields.size() == 2) {
            file_.run.started = timeFrom(fields[1]);
            return file_.run.started.isValid() || fail(QStringLiteral("неверное время"));
        }
        if (index > 3 && tag == "rename" && fields.size() == 7)
            return parseEntry(index, fields);
        if (index > 3 && tag == "refused" && fields.size() == 2) {
            const std::optional<quint64> entry = numberFrom(fields[1]);
            if (!entry || *entry != file_.run.entries.size() || *entry == 0)
                return fail(QStringLiteral("строка %1 не читается").arg(index + 1));
            file_.run.entries.back().refused = true;
            return true;
        }
        if (index > 3 && tag == "end" && fields.size() == 3) {
            file_.run.ended = timeFrom(fields[1]);
            file_.run.closed = true;
            return file_.run.ended.isValid() || fail(QStringLiteral("неверное время"));
        }
        return fail(QStringLiteral("строка %1 не читается").arg(index + 1));
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
        return fail(QStringLiteral("неизвестный вид переименования"));
    }

    bool parseEntry(qsizetype index, const QList<QByteArray>& fields) {
        JournalEntry entry;
        entry.time = timeFrom(fields[1]);
        const std::optional<QByteArray> folder = unescapeField(fields[2]);
        const std::optional<QByteArray> oldName = unescapeField(fields[3]);
        const std::optional<QByteArray> newName = unescapeField(fields[4]);
        const std::optional<quint64> device = numberFrom(fields[5]);
        const std::optional<quint64> inode = numberFrom(fields[6]);
        if (!entry.time.isValid() || !folder || !oldName || !newName || !device || !inode ||
            !folder->startsWith('/') || !folder->endsWith('/') || oldName->isEmpty() ||
            newName->isEmpty() || oldName->contains('/') || newName->contains('/'))
            return fail(QStringLiteral("строка %1 не читается").arg(index + 1));
        entry.folder = QFile::decodeName(*folder);
        entry.oldName = QFile::decodeName(*oldName);
        entry.newName = QFile::decodeName(*newName);
        entry.file = {*device, *inode};
        file_.run.entries.push_back(std::move(entry));
        return true;
    }

    bool fail(const QString& problem) {
        file_.state = JournalState::Damaged;
        file_.problem = problem;
        return false;
    }

    JournalFile& file_;
    bool sawKind_ = false;
};

QString systemErrorText(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
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

std::optional<FileIdentity> fileIdentityOf(const QString& path) {
    struct stat entry {};
    if (path.isEmpty() || ::lstat(QFile::encodeName(path).constData(), &entry) != 0)
        return std::nullopt;
    return FileIdentity{quint64(entry.st_dev), quint64(entry.st_ino)};
}

int JournalRun::attemptedCount() const {
    return int(std::count_if(entries.begin(), entries.end(),
                             [](const JournalEntry& entry) { return !entry.refused; }));
}

JournalFile readJournalFile(const QString& path, const QString& machine) {
    JournalFile file;
    file.run.path = path;
    file.run.number = journalNumberOf(QFileInfo(path).fileName());
    QFile input(path);
    if (!input.open(QIODevice::ReadOnly)) {
        file.state = JournalState::Damaged;
        file.problem = input.errorString();
        return file;
    }
    JournalParser parser(file);
    if (parser.parse(input.readAll()) && file.run.machine != machine)
        file.state = JournalState::Foreign;
    return file;
}

std::vector<JournalFile> readJournalFolder(const QString& folder, const QString& machine) {
    std::vector<JournalFile> files;
    for (const auto& [number, path] : journalPaths(folder))
        files.push_back(readJournalFile(path, machine));
    return files;
}

std::vector<bool> undoneRuns(const std::vector<JournalFile>& files) {
    std::vector<bool> undone(files.size(), false);
    // From the newest down: an undo counts only when it is not undone itself.
    for (std::size_t i = files.size(); i-- > 0;) {
        const JournalFile& file = files[i];
        if (file.state != JournalState::Usable || file.run.kind != JournalRunKind::Undo ||
            undone[i])
            continue;
        for (std::size_t j = 0; j < i; ++j) {
            if (files[j].run.number == file.run.undoesNumber)
                undone[j] = true;
        }
    }
    return undone;
}

QString unusableJournalMessage(const JournalFile& file) {
    if (file.state == JournalState::Foreign)
        return QStringLiteral("Журнал переименований %1 записан на другом компьютере. Он не "
                              "используется, файлы не тронуты.")
            .arg(QDir::toNativeSeparators(file.run.path));
    return QStringLiteral("Журнал переименований %1 поврежден (%2). Он не используется, файлы "
                          "не тронуты.")
        .arg(QDir::toNativeSeparators(file.run.path), file.problem);
}

void pruneJournals(const QString& folder, const QDateTime& now) {
    const std::vector<std::pair<int, QString>> paths = journalPaths(folder);
    const std::size_t beyondKept =
        paths.size() > std::size_t(kJournalsKept) ? paths.size() - kJournalsKept : 0;
    const QDateTime oldest = now.addDays(-kJournalDaysKept);
    for (std::size_t i = 0; i < paths.size(); ++i) {
        const QString& path = paths[i].second;
        if (i < beyondKept || QFileInfo(path).lastModified() < oldest)
            QFile::remove(path);
    }
}

JournalWriter::JournalWriter(const QString& folder, JournalRunKind kind, int undoesNumber) {
    if (!QDir().mkpath(folder))
        throw Error(QStringLiteral("Не удалось создать папку журнала переименований %1. "
                                   "Файлы не переименованы.")
                        .arg(QDir::toNativeSeparators(folder)));
    const std::vector<std::pair<int, QString>> existing = journalPaths(folder);
    number_ = existing.empty() ? 1 : existing.back().first + 1;
    for (;; ++number_) {
        path_ = QDir(folder).filePath(journalFileName(number_));
        descriptor_ = ::open(QFile::encodeName(path_).constData(),
                             O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_APPEND, 0600);
        if (descriptor_ >= 0)
            break;
        if (errno != EEXIST) // another run took the number just now: the next one
            throw Error(QStringLiteral("Не удалось создать журнал переименований %1: %2. "
                                       "Файлы не переименованы.")
                            .arg(QDir::toNativeSeparators(path_), systemErrorText(errno)));
    }
    QByteArray header = kHeaderLine + '\n';
    header += "machine\t" + journalMachineId().toUtf8() + '\n';
    header += kind == JournalRunKind::Undo ? "run\tundo\t" + QByteArray::number(undoesNumber)
                                           : QByteArray("run\trename");
    header += "\nstarted\t" + timeText(QDateTime::currentDateTimeUtc());
    writeLine(header);
    sync();
    pruneJournals(folder, QDateTime::currentDateTimeUtc());
}

JournalWriter::~JournalWriter() {
    if (descriptor_ >= 0)
        ::close(descriptor_);
}

void JournalWriter::planned(const QString& folder, const QString& oldName, const QString& newName,
                            const FileIdentity& file) {
    QByteArray line = "rename\t" + timeText(QDateTime::currentDateTimeUtc());
    for (const QString& field : {folder, oldName, newName})
        line += '\t' + escapeField(QFile::encodeName(field));
    line += '\t' + QByteArray::number(file.device) + '\t' + QByteArray::number(file.inode);
    writeLine(line);
    ++plannedCount_;
}

void JournalWriter::refused() {
    writeLine("refused\t" + QByteArray::number(plannedCount_));
}

void JournalWriter::close(int renamedCount) {
    if (renamedCount == 0) {
        ::close(descriptor_);
        descriptor_ = -1;
        QFile::remove(path_);
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
            throw Error(QStringLiteral("Не удалось записать журнал переименований %1: %2. "
                                       "Переименование остановлено.")
                            .arg(QDir::toNativeSeparators(path_),
                                 systemErrorText(step < 0 ? errno : ENOSPC)));
        written += step;
    }
}

void JournalWriter::sync() {
    if (::fdatasync(descriptor_) != 0)
        throw Error(QStringLiteral("Не удалось записать журнал переименований %1: %2. "
                                   "Переименование остановлено.")
                        .arg(QDir::toNativeSeparators(path_), systemErrorText(errno)));
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
