#pragma once

#include "catalogue/catalogue_record.h"
#include "scan/midi_structure.h"
#include "scan/reading_options.h"

#include <QByteArray>
#include <QString>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace songwick {

// Reads the texts of files from their MIDI structures on a thread of its own while the next
// files are read from disk: telling the code page and weighing the candidates costs about as
// much again as the reading. Records come back in the order their files were added.
class StructuredAnalysis {
public:
    // One file's outcome: its record, or what its analysis threw.
    struct Outcome {
        CatalogueRecord record;
        QString codePage; // the key of the code page the texts were read in
        std::exception_ptr error;
    };

    explicit StructuredAnalysis(const StructuredReadingOptions& options);
    ~StructuredAnalysis();
    StructuredAnalysis(const StructuredAnalysis&) = delete;
    StructuredAnalysis& operator=(const StructuredAnalysis&) = delete;

    // Where the next file is read: a buffer for its bytes and a structure whose events refer
    // into it. Both come back from files already analysed, so that their memory is taken and
    // given back on the caller's thread. Waits while too many files are still being analysed.
    struct Slot {
        QByteArray buffer;
        MidiStructure structure;
    };
    Slot takeSlot();
    // Gives back a slot that was not added with a file (its file could not be read).
    void returnSlot(Slot slot);
    // Adds a file's structure, read into the slot.
    void add(Slot slot, QString folder, QString fileName);

    // Files added whose outcomes have not been taken yet.
    int pending() const { return pending_; }
    // The outcomes finished so far, in order; with waitForAll, those of every file added.
    // Valid until the next call.
    std::vector<Outcome>& takeOutcomes(bool waitForAll);

private:
    struct Job {
        Slot slot;
        QString folder;
        QString fileName;
    };

    void waitUntilUnfinished(std::unique_lock<std::mutex>& lock, int most);
    void run();
    void publish(std::vector<Outcome>& outcomes, std::vector<Slot>& freed);
    static Slot reusable(Slot slot);

    // Files being analysed at most before takeSlot waits, and how few it waits for.
    static constexpr int kMostUnfinished = 96;
    static constexpr int kResumeAt = kMostUnfinished / 2;
    // Files the thread waits for before it starts again once it had nothing to do.
    static constexpr std::size_t kWakeBatch = 32;
    // Files the thread analyses before it hands their outcomes over.
    static constexpr std::size_t kPublishEvery = 8;

    const StructuredReadingOptions options_;
    int pending_ = 0;            // the caller's own count: added, outcome not taken
    std::vector<Outcome> taken_; // the caller's: the outcomes it took last
    std::mutex mutex_;
    std::condition_variable jobAdded_;
    std::condition_variable jobFinished_;
    // Each thread takes a whole vector from the other by swapping it with an empty one, so
    // that memory stays with the vectors and is never taken on one thread and given back on
    // the other: that makes both wait for the allocator.
    std::vector<Job> jobs_;
    std::vector<Outcome> finished_;
    std::vector<Slot> freeSlots_;
    int unfinished_ = 0; // added, not yet analysed
    bool threadIdle_ = false;
    bool callerWaiting_ = false;
    bool stopping_ = false;
    std::thread thread_; // last: starts once the members above exist
};

} // namespace songwick
