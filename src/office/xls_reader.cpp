#include "office/xls_reader.h"

#include "common/error.h"
#include "common/file_name_codec.h"
#include "common/system_error.h"

#include <QCoreApplication>
#include <QFile>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <freexl.h>
#include <optional>
#include <poll.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>

#if defined(__SANITIZE_ADDRESS__)
#define SONGWICK_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define SONGWICK_ADDRESS_SANITIZER 1
#endif
#endif

namespace songwick::xls {
namespace {

// What the child sends, in the machine's byte order: the sheet's row and column counts
// (u32, u32), then for each cell with a value: its kind (u8), row (u32), column (u32), and for
// a number its double (8 bytes), for a text its length (u32) and UTF-8 bytes. Kind 0 ends the
// stream.
enum CellKind : unsigned char {
    kEnd = 0,
    kNumber = 1,
    kText = 2,
    kDate = 3,
    kDateTime = 4,
    kTime = 5,
};

// Whole stream limit: far above any sheet the limits let through.
constexpr qsizetype kMaxStreamBytes = qsizetype(256) << 20;

class Descriptor {
public:
    explicit Descriptor(int fd = -1) : fd_(fd) {}
    ~Descriptor() { reset(); }
    Descriptor(Descriptor&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    Descriptor& operator=(Descriptor&&) = delete;
    int get() const { return fd_; }
    void reset() {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = -1;
    }

private:
    int fd_;
};

class XlsHandle {
public:
    explicit XlsHandle(const char* path) : opened_(freexl_open(path, &handle_) == FREEXL_OK) {}
    ~XlsHandle() {
        if (handle_)
            freexl_close(handle_);
    }
    XlsHandle(const XlsHandle&) = delete;
    XlsHandle& operator=(const XlsHandle&) = delete;
    bool opened() const { return opened_; }
    const void* get() const { return handle_; }

private:
    const void* handle_ = nullptr;
    bool opened_;
};

// A failure of the system while reading the workbook, not a fault of the file.
Error readFailure(const QString& name, int errorNumber) {
    return Error(systemErrorMessage(QStringLiteral("прочитать файл"), name, errorNumber));
}

// The bytes as a file the BIFF library can open by name.
Descriptor memoryFile(QByteArrayView bytes, const QString& name) {
    Descriptor fd(::memfd_create("songwick-xls", MFD_CLOEXEC));
    if (fd.get() < 0)
        throw readFailure(name, errno);
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t written = ::write(fd.get(), bytes.data() + done, size_t(bytes.size() - done));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            throw readFailure(name, written < 0 ? errno : ENOSPC);
        done += written;
    }
    return fd;
}

QByteArray procPath(int fd) {
    return "/proc/self/fd/" + QByteArray::number(fd);
}

// Calls visit(row, column, cell) for every cell with a value, rows and columns from 0.
// Returns false when the file is not a workbook the library can read.
template <typename Visit>
bool visitCells(const char* path, unsigned& rows, unsigned short& columns, Visit&& visit) {
    const XlsHandle workbook(path);
    if (!workbook.opened() || freexl_select_active_worksheet(workbook.get(), 0) != FREEXL_OK ||
        freexl_worksheet_dimensions(workbook.get(), &rows, &columns) != FREEXL_OK)
        return false;
    for (unsigned row = 0; row < rows; ++row) {
        for (unsigned short column = 0; column < columns; ++column) {
            FreeXL_CellValue cell;
            if (freexl_get_cell_value(workbook.get(), row, column, &cell) == FREEXL_OK &&
                cell.type != FREEXL_CELL_NULL) {
                if (!visit(row, column, cell))
                    return true;
            }
        }
    }
    return true;
}

CellKind kindOf(const FreeXL_CellValue& cell) {
    switch (cell.type) {
    case FREEXL_CELL_INT:
    case FREEXL_CELL_DOUBLE:
        return kNumber;
    case FREEXL_CELL_DATE:
        return kDate;
    case FREEXL_CELL_DATETIME:
        return kDateTime;
    case FREEXL_CELL_TIME:
        return kTime;
    default:
        return kText;
    }
}

// "YYYY-MM-DD" and "YYYY-MM-DD hh:mm:ss" as the sheet shows them; a time stays as it is.
QString dateText(CellKind kind, const QString& text) {
    if ((kind != kDate && kind != kDateTime) || text.size() < 10 || text[4] != u'-' ||
        text[7] != u'-')
        return text;
    QString shown = text.mid(8, 2) + u'.' + text.mid(5, 2) + u'.' + text.left(4);
    if (kind == kDateTime && text.size() > 11)
        shown += u' ' + text.mid(11);
    return shown;
}

// Refuses what the sheet cannot take; returns false for a cell right of the kept columns.
bool accept(const SheetValues& values, unsigned row, unsigned column, const SheetLimits& limits,
            const QString& name) {
    if (row >= unsigned(limits.maxRow) || column >= unsigned(limits.maxColumn))
        throw Error(QCoreApplication::translate(
                        "songwick::Office",
                        "Лист книги \"%1\" больше, чем может принять таблица (%2 строк, "
                        "%3 столбцов). Файл не загружен.")
                        .arg(displayFileName(name))
                        .arg(limits.maxRow)
                        .arg(limits.maxColumn));
    if (column >= unsigned(limits.keptColumns))
        return false;
    if (values.cellCount() >= limits.maxCells)
        throw Error(QCoreApplication::translate(
                        "songwick::Office",
                        "Лист книги \"%1\" содержит больше %2 заполненных ячеек. Файл "
                        "не загружен.")
                        .arg(displayFileName(name))
                        .arg(limits.maxCells));
    return true;
}

// --- the child ---------------------------------------------------------------------------

// Writes to the pipe through a fixed buffer; nothing here allocates.
class PipeWriter {
public:
    explicit PipeWriter(int fd) : fd_(fd) {}
    void put(const void* data, size_t size) {
        const auto* bytes = static_cast<const unsigned char*>(data);
        while (size > 0) {
            if (used_ == sizeof(buffer_))
                flush();
            const size_t part = std::min(size, sizeof(buffer_) - used_);
            std::memcpy(buffer_ + used_, bytes, part);
            used_ += part;
            bytes += part;
            size -= part;
        }
    }
    void flush() {
        size_t done = 0;
        while (done < used_) {
            const ssize_t written = ::write(fd_, buffer_ + done, used_ - done);
            if (written < 0 && errno == EINTR)
                continue;
            if (written <= 0)
                _exit(3);
            done += size_t(written);
        }
        used_ = 0;
    }

private:
    int fd_;
    unsigned char buffer_[65536];
    size_t used_ = 0;
};

[[noreturn]] void runChild(int dataFd, int pipeFd, const ChildLimits& childLimits, ChildBody body) {
    const rlimit cpu{rlim_t(childLimits.seconds), rlim_t(childLimits.seconds + 1)};
    ::setrlimit(RLIMIT_CPU, &cpu);
#ifndef SONGWICK_ADDRESS_SANITIZER
    // The sanitizer reserves far more address space than any limit would leave it.
    const rlimit memory{rlim_t(childLimits.addressSpaceBytes),
                        rlim_t(childLimits.addressSpaceBytes)};
    ::setrlimit(RLIMIT_AS, &memory);
#endif
    // A crash of the library is expected now and then: it leaves no core file behind.
    const rlimit noCore{0, 0};
    ::setrlimit(RLIMIT_CORE, &noCore);
    body(dataFd, pipeFd);
    _exit(4);
}

} // namespace

void readWorkbookInChild(int dataFd, int pipeFd) {
    static PipeWriter out(pipeFd);
    unsigned rows = 0;
    unsigned short columns = 0;
    bool started = false;
    const auto startStream = [&] {
        if (started)
            return;
        started = true;
        const std::uint32_t counts[2] = {rows, columns};
        out.put(counts, sizeof counts);
    };
    const bool read =
        visitCells(procPath(dataFd).constData(), rows, columns,
                   [&](unsigned row, unsigned short column, const FreeXL_CellValue& cell) {
                       startStream();
                       const unsigned char kind = kindOf(cell);
                       out.put(&kind, 1);
                       const std::uint32_t place[2] = {row, column};
                       out.put(place, sizeof place);
                       if (kind == kNumber) {
                           const double number = cell.type == FREEXL_CELL_INT
                                                     ? double(cell.value.int_value)
                                                     : cell.value.double_value;
                           out.put(&number, sizeof number);
                       } else {
                           const char* text = cell.value.text_value ? cell.value.text_value : "";
                           const std::uint32_t length = std::uint32_t(std::strlen(text));
                           out.put(&length, sizeof length);
                           out.put(text, length);
                       }
                       return true;
                   });
    if (!read)
        _exit(2);
    startStream();
    const unsigned char end = kEnd;
    out.put(&end, 1);
    out.flush();
    _exit(0);
}

namespace {

// --- the parent --------------------------------------------------------------------------

class StreamReader {
public:
    explicit StreamReader(QByteArrayView bytes) : rest_(bytes) {}
    template <typename T> bool take(T& value) {
        if (rest_.size() < qsizetype(sizeof(T)))
            return false;
        std::memcpy(&value, rest_.data(), sizeof(T));
        rest_ = rest_.sliced(sizeof(T));
        return true;
    }
    bool takeBytes(std::uint32_t length, QByteArrayView& bytes) {
        if (rest_.size() < qsizetype(length))
            return false;
        bytes = rest_.first(length);
        rest_ = rest_.sliced(length);
        return true;
    }
    bool atEnd() const { return rest_.isEmpty(); }

private:
    QByteArrayView rest_;
};

// The cells of the child's stream; nothing when the stream is not well formed.
std::optional<SheetValues> parseStream(QByteArrayView stream, const QString& name,
                                       const SheetLimits& limits) {
    StreamReader in(stream);
    std::uint32_t counts[2];
    if (!in.take(counts))
        return std::nullopt;
    SheetValues values;
    for (;;) {
        unsigned char kind = 0;
        if (!in.take(kind))
            return std::nullopt;
        if (kind == kEnd)
            return in.atEnd() ? std::optional<SheetValues>(std::move(values)) : std::nullopt;
        std::uint32_t place[2];
        if (!in.take(place) || place[0] >= counts[0] || place[1] >= counts[1])
            return std::nullopt;
        QString text;
        if (kind == kNumber) {
            double number = 0;
            if (!in.take(number))
                return std::nullopt;
            text = numberText(number);
        } else if (kind >= kText && kind <= kTime) {
            std::uint32_t length = 0;
            QByteArrayView bytes;
            if (!in.take(length) || !in.takeBytes(length, bytes))
                return std::nullopt;
            text = dateText(CellKind(kind), QString::fromUtf8(bytes));
        } else {
            return std::nullopt;
        }
        if (accept(values, place[0], place[1], limits, name))
            values.setText(int(place[0]) + 1, int(place[1]) + 1, std::move(text));
    }
}

// Everything the child wrote, read until it closes the pipe or the deadline passes.
// Nothing when the deadline passed or the child sent more than any sheet needs.
std::optional<QByteArray> collect(int pipeFd, std::chrono::steady_clock::time_point deadline) {
    QByteArray stream;
    char buffer[65536];
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            return std::nullopt;
        pollfd item{pipeFd, POLLIN, 0};
        const int ready = ::poll(&item, 1, int(std::min<qint64>(left.count(), 1000)));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready < 0)
            return std::nullopt;
        if (ready == 0)
            continue;
        const ssize_t got = ::read(pipeFd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return std::nullopt;
        if (got == 0)
            return stream;
        if (stream.size() + got > kMaxStreamBytes)
            return std::nullopt;
        stream.append(buffer, got);
    }
}

// Waits for the child; true when it ended normally with status 0.
bool endedWell(pid_t child, bool kill) {
    if (kill)
        ::kill(child, SIGKILL);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0) {
        if (errno != EINTR)
            return false;
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

} // namespace

SheetValues readUnprotected(QByteArrayView bytes, const QString& name, const SheetLimits& limits) {
    const Descriptor data = memoryFile(bytes, name);
    SheetValues values;
    unsigned rows = 0;
    unsigned short columns = 0;
    const bool read = visitCells(
        procPath(data.get()).constData(), rows, columns,
        [&](unsigned row, unsigned short column, const FreeXL_CellValue& cell) {
            if (!accept(values, row, column, limits, name))
                return true;
            const CellKind kind = kindOf(cell);
            QString text;
            if (kind == kNumber)
                text = numberText(cell.type == FREEXL_CELL_INT ? double(cell.value.int_value)
                                                               : cell.value.double_value);
            else if (cell.value.text_value)
                text = dateText(kind, QString::fromUtf8(cell.value.text_value));
            values.setText(int(row) + 1, int(column) + 1, std::move(text));
            return true;
        });
    if (!read)
        throw Error(damagedWorkbookMessage(name));
    return values;
}

SheetValues readInChild(QByteArrayView bytes, const QString& name, const SheetLimits& limits,
                        const ChildLimits& childLimits, ChildBody body) {
    const Descriptor data = memoryFile(bytes, name);
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0)
        throw readFailure(name, errno);
    Descriptor readEnd(ends[0]);
    Descriptor writeEnd(ends[1]);
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::seconds(childLimits.seconds);
    const pid_t child = ::fork();
    if (child < 0)
        throw readFailure(name, errno);
    if (child == 0) {
        ::close(ends[0]);
        runChild(data.get(), ends[1], childLimits, body);
    }
    writeEnd.reset();
    const std::optional<QByteArray> stream = collect(readEnd.get(), deadline);
    readEnd.reset();
    const bool ended = endedWell(child, !stream.has_value());
    std::optional<SheetValues> values;
    if (stream && ended)
        values = parseStream(*stream, name, limits);
    if (!values)
        throw Error(damagedWorkbookMessage(name));
    return *std::move(values);
}

} // namespace songwick::xls

namespace songwick {

SheetValues readXlsFirstSheet(QByteArrayView bytes, const QString& name,
                              const SheetLimits& limits) {
    xls::ChildLimits childLimits;
    // The child starts as a copy of this process; the limit is on what it takes beyond that.
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (statm.open(QIODevice::ReadOnly)) {
        const qint64 pages = statm.readLine().split(' ').value(0).toLongLong();
        childLimits.addressSpaceBytes += pages * ::sysconf(_SC_PAGESIZE);
    }
    return xls::readInChild(bytes, name, limits, childLimits);
}

} // namespace songwick
