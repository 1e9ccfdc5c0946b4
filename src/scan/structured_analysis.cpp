#include "scan/structured_analysis.h"

#include "scan/structured_reading.h"

#include <algorithm>
#include <iterator>

namespace songwick {

StructuredAnalysis::StructuredAnalysis(const StructuredReadingOptions& options)
    : options_(options), thread_([this] { run(); }) {}

StructuredAnalysis::~StructuredAnalysis() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    jobAdded_.notify_one();
    thread_.join();
}

StructuredAnalysis::Slot StructuredAnalysis::takeSlot() {
    std::unique_lock lock(mutex_);
    if (unfinished_ >= kMostUnfinished)
        waitUntilUnfinished(lock, kResumeAt);
    if (freeSlots_.empty())
        return {};
    Slot slot = std::move(freeSlots_.back());
    freeSlots_.pop_back();
    return slot;
}

void StructuredAnalysis::returnSlot(Slot slot) {
    const std::lock_guard lock(mutex_);
    freeSlots_.push_back(reusable(std::move(slot)));
}

void StructuredAnalysis::add(Slot slot, QString folder, QString fileName) {
    bool wake = false;
    {
        const std::lock_guard lock(mutex_);
        jobs_.push_back({std::move(slot), std::move(folder), std::move(fileName)});
        ++unfinished_;
        wake = threadIdle_ && jobs_.size() >= kWakeBatch;
    }
    ++pending_;
    if (wake)
        jobAdded_.notify_one();
}

std::vector<StructuredAnalysis::Outcome>& StructuredAnalysis::takeOutcomes(bool waitForAll) {
    taken_.clear();
    {
        std::unique_lock lock(mutex_);
        if (waitForAll && unfinished_ > 0)
            waitUntilUnfinished(lock, 0);
        taken_.swap(finished_);
    }
    pending_ -= static_cast<int>(taken_.size());
    return taken_;
}

// Waits until no more than `most` files are left to analyse, starting the thread on those
// that wait for it.
void StructuredAnalysis::waitUntilUnfinished(std::unique_lock<std::mutex>& lock, int most) {
    if (threadIdle_)
        jobAdded_.notify_one();
    callerWaiting_ = true;
    jobFinished_.wait(lock, [this, most] { return unfinished_ <= most; });
    callerWaiting_ = false;
}

void StructuredAnalysis::run() {
    StructuredReader reader(options_);
    std::vector<Job> batch;
    std::vector<Outcome> outcomes;
    std::vector<Slot> freed;
    std::unique_lock lock(mutex_);
    for (;;) {
        threadIdle_ = true;
        jobAdded_.wait(lock, [this] { return stopping_ || !jobs_.empty(); });
        threadIdle_ = false;
        if (stopping_)
            return;
        batch.swap(jobs_);
        lock.unlock();
        for (std::size_t i = 0; i < batch.size(); ++i) {
            Job& job = batch[i];
            Outcome& outcome = outcomes.emplace_back();
            try {
                StructuredTexts texts = reader.read(job.slot.structure, job.fileName);
                outcome.record = makeStructuredRecord(job.folder, job.fileName, texts);
                outcome.codePage = std::move(texts.codePage.key);
            } catch (...) {
                outcome.error = std::current_exception();
            }
            freed.push_back(reusable(std::move(job.slot)));
            if (outcomes.size() == kPublishEvery || i + 1 == batch.size())
                publish(outcomes, freed);
        }
        batch.clear();
        lock.lock();
    }
}

// Hands the outcomes of analysed files, and the slots they were read into, over to the caller.
void StructuredAnalysis::publish(std::vector<Outcome>& outcomes, std::vector<Slot>& freed) {
    const std::lock_guard lock(mutex_);
    std::move(outcomes.begin(), outcomes.end(), std::back_inserter(finished_));
    std::move(freed.begin(), freed.end(), std::back_inserter(freeSlots_));
    unfinished_ -= static_cast<int>(outcomes.size());
    outcomes.clear();
    freed.clear();
    if (callerWaiting_ && unfinished_ <= kResumeAt)
        jobFinished_.notify_one();
}

// A slot kept for the next file, unless a large file grew its buffer far beyond karaoke sizes.
StructuredAnalysis::Slot StructuredAnalysis::reusable(Slot slot) {
    constexpr qsizetype kLargestKept = 1 << 20;
    if (slot.buffer.capacity() > kLargestKept)
        slot.buffer = QByteArray();
    return slot;
}

} // namespace songwick
