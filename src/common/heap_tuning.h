#pragma once

namespace songwick {

// Sets up the process's heap for the scan's many small allocations: it grows in large steps,
// keeps what is freed for the next allocation instead of handing it back, and asks for huge
// pages, so that the pages of a 45,000-file table are faulted in a few hundred steps rather
// than ten thousand (a page fault costs over 10 µs on some virtual machines). Called once,
// first thing in main(); where the system refuses a step, the heap stays as it was.
void tuneHeapForLargeTables();

// The same huge-page advice for the heap of the calling thread, where the C library gave it a
// heap of its own: called first thing in a helper thread that allocates much (the scan's folder
// listers and its second reader). Does nothing where the heap is not laid out as expected.
void tuneThisThreadsHeap();

} // namespace songwick
