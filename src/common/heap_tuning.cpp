#include "common/heap_tuning.h"

#include <QByteArray>
#include <QFile>
#include <cstdint>
#include <cstdlib>
#include <linux/mman.h>
#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>

namespace songwick {
namespace {

// The heap grows by this much beyond each request.
constexpr int kHeapStep = 64 << 20;
// Blocks up to this size come from the heap too, so that a growing table or list file reuses
// the heap's pages instead of faulting in a fresh mapping at each step (glibc's largest).
constexpr int kLargestHeapBlock = 32 << 20;
// Freed memory at the heap's top is handed back only beyond this much.
constexpr int kKeptFreeMemory = 2 * kHeapStep;
// glibc gives a thread's arena a heap of this size, aligned to it, which the step above makes
// writable whole from the start.
constexpr std::uintptr_t kThreadHeapSize = 64 << 20;
constexpr std::size_t kHugePage = 2 << 20;

void adviseHugePages(std::uintptr_t start, std::uintptr_t end) {
    if (end > start)
        ::madvise(reinterpret_cast<void*>(start), end - start, MADV_HUGEPAGE);
}

// Whether one writable anonymous mapping of the process covers `start` to `end`.
bool isInAnonymousMapping(std::uintptr_t start, std::uintptr_t end) {
    QFile maps(QStringLiteral("/proc/self/maps"));
    if (!maps.open(QIODevice::ReadOnly))
        return false;
    // "start-end perms offset device inode [path]", addresses in hexadecimal.
    for (const QByteArray& line : maps.readAll().split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() < 5)
            continue;
        const QList<QByteArray> range = fields[0].split('-');
        bool startRead = false;
        bool endRead = false;
        const std::uintptr_t from = range.value(0).toULongLong(&startRead, 16);
        const std::uintptr_t to = range.value(1).toULongLong(&endRead, 16);
        if (startRead && endRead && from <= start && start < to)
            return end <= to && fields[1].startsWith("rw") && fields.size() == 5 &&
                   fields[4] == "0";
    }
    return false;
}

} // namespace

void tuneHeapForLargeTables() {
    mallopt(M_MMAP_THRESHOLD, kLargestHeapBlock);
    mallopt(M_TRIM_THRESHOLD, kKeptFreeMemory);
    mallopt(M_TOP_PAD, kHeapStep);
    // One large block makes the heap grow by a whole step now, so that the advice below
    // covers the memory the work to come will use; it is freed at once and stays in the heap.
    void* block = std::malloc(kLargestHeapBlock / 2);
    if (block == nullptr)
        return;
    const auto page = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
    const std::uintptr_t start = (reinterpret_cast<std::uintptr_t>(block) + page - 1) & ~(page - 1);
    // A block the system mapped apart lies above the heap's end: then there is nothing to advise.
    adviseHugePages(start, reinterpret_cast<std::uintptr_t>(::sbrk(0)));
    std::free(block);
}

void tuneThisThreadsHeap() {
    void* block = std::malloc(1); // the thread's first allocation takes it an arena
    const auto address = reinterpret_cast<std::uintptr_t>(block);
    std::free(block);
    const std::uintptr_t heap = address & ~(kThreadHeapSize - 1);
    if (address == 0 || !isInAnonymousMapping(heap, heap + kThreadHeapSize))
        return;
    adviseHugePages(heap, heap + kThreadHeapSize);
    // The heap's first pages, which the library wrote when it set the arena up, are small
    // pages: made one huge page now, so that the rest of the first huge page costs no faults.
    ::madvise(reinterpret_cast<void*>(heap), kHugePage, MADV_COLLAPSE);
}

} // namespace songwick
