#pragma once

#include <exception>
#include <optional>
#include <system_error>
#include <thread>

namespace songwick {

// Fewer rows of a table are gone through faster than a second thread starts.
constexpr int kRowsWorthASecondThread = 4096;

// Does work on the items [first, end) in two halves at once: work(0, first, middle) on this
// thread and work(1, middle, end) on a second one. A range of fewer than `fewest` items, or one
// for which no thread is to be had, is done as work(0, first, end) alone. What the second part
// threw is thrown here once both are done.
template <typename Work> void inTwoHalves(int first, int end, int fewest, const Work& work) {
    if (end - first < fewest) {
        work(0, first, end);
        return;
    }
    const int middle = first + (end - first) / 2;
    std::exception_ptr laterFailure;
    {
        std::optional<std::jthread> later;
        try {
            later.emplace([&] {
                try {
                    work(1, middle, end);
                } catch (...) {
                    laterFailure = std::current_exception();
                }
            });
        } catch (const std::system_error&) {
            work(0, first, end);
            return;
        }
        work(0, first, middle);
    }
    if (laterFailure)
        std::rethrow_exception(laterFailure);
}

} // namespace songwick
