#pragma once

#include <exception>
#include <optional>
#include <system_error>
#include <thread>

namespace songwick {

// Does work on the items [first, end) in two halves at once: work(0, first, middle) on this
// thread and work(1, middle, end) on a second one. A range of fewer than `fewest` items, done
// faster than a thread starts, or one for which no thread is to be had, is done as
// work(0, first, end) alone. Returns the number of parts; what the second part threw is thrown
// here once both are done.
template <typename Work>
int inTwoHalves(int first, int end, int fewest, const Work& work) {
    if (end - first < fewest) {
        work(0, first, end);
        return 1;
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
            return 1;
        }
        work(0, first, middle);
    }
    if (laterFailure)
        std::rethrow_exception(laterFailure);
    return 2;
}

} // namespace songwick
