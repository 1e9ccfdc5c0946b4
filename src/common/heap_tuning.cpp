#include "common/heap_tuning.h"

#include <cstdint>
#include <cstdlib>
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
    const auto end = reinterpret_cast<std::uintptr_t>(::sbrk(0));
    // A block the system mapped apart lies above the heap's end: then there is nothing to advise.
    if (end > start)
        ::madvise(reinterpret_cast<void*>(start), end - start, MADV_HUGEPAGE);
    std::free(block);
}

} // namespace songwick
