#pragma once

#include <atomic>
#include <cstdint>

namespace grelmond {

// Which program is current, and the one step of making another one current.
//
// Selections arrive from the host's threads at once: effSetProgram on the
// main or GUI thread, the editor's arrows, MIDI program changes on the audio
// thread. The index is one atomic, read once by whoever needs it. Bringing a
// program's values into the live parameters is done by one thread at a time
// and never waited for: a thread that finds another one applying only posts
// its selection, and the applying thread takes up the newest one before it
// lets go. So the live values always end as one whole program, the last one
// selected, and no thread (the audio thread least of all) ever blocks.
//
// The audio thread must not be kept applying other threads' selections for
// as long as they keep coming: it selects through selectOnce and finishes
// through resume, one whole pass each, leaving newer selections to the next
// block (or to the thread that posts one while nobody applies).
class ProgramSelection {
public:
    int32_t current() const { return current_.load(std::memory_order_acquire); }

    // Makes index current, then either applies it here through
    // apply(index, superseded) or leaves that to the thread already applying.
    // apply should stop early once superseded() is true; it is then called
    // again with the newer index.
    template <class Apply>
    void select(int32_t index, Apply&& apply)
    {
        current_.store(index, std::memory_order_release);
        selections_.fetch_add(1, std::memory_order_acq_rel);
        while (!applying_.test_and_set(std::memory_order_acquire)) {
            uint32_t seen;
            do {
                seen = selections_.load(std::memory_order_acquire);
                apply(current(), [this, seen] { return selections_.load(std::memory_order_acquire) != seen; });
            } while (selections_.load(std::memory_order_acquire) != seen);
            appliedThrough_.store(seen, std::memory_order_relaxed);
            applying_.clear(std::memory_order_release);
            // A selection posted between the last look and letting go is
            // taken up here, unless its own thread got there first.
            if (selections_.load(std::memory_order_acquire) == seen)
                return;
        }
    }

    // One whole pass of apply(index, never superseded) at most.
    template <class Apply>
    void selectOnce(int32_t index, Apply&& apply)
    {
        current_.store(index, std::memory_order_release);
        selections_.fetch_add(1, std::memory_order_acq_rel);
        applyOnce(apply);
    }

    // The audio thread at the start of a block: the pass selectOnce left
    // for later, if any.
    template <class Apply>
    void resume(Apply&& apply)
    {
        if (selections_.load(std::memory_order_acquire) != appliedThrough_.load(std::memory_order_relaxed))
            applyOnce(apply);
    }

    // Passes the audio thread made through selectOnce and resume.
    uint32_t boundedPasses() const { return boundedPasses_.load(std::memory_order_relaxed); }

private:
    template <class Apply>
    void applyOnce(Apply&& apply)
    {
        // A thread already applying takes up the newest selection itself.
        if (applying_.test_and_set(std::memory_order_acquire))
            return;
        const uint32_t seen = selections_.load(std::memory_order_acquire);
        apply(current(), [] { return false; });
        boundedPasses_.fetch_add(1, std::memory_order_relaxed);
        appliedThrough_.store(seen, std::memory_order_relaxed);
        // Selections posted during the pass found the flag taken and left
        // their work to the next resume.
        applying_.clear(std::memory_order_release);
    }

    std::atomic<int32_t> current_{0};
    std::atomic<uint32_t> selections_{0};
    std::atomic_flag applying_ = ATOMIC_FLAG_INIT;
    // The count of selections the last whole pass covered; written by the
    // thread holding applying_.
    std::atomic<uint32_t> appliedThrough_{0};
    std::atomic<uint32_t> boundedPasses_{0};
};

} // namespace grelmond
