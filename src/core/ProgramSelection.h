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
            applying_.clear(std::memory_order_release);
            // A selection posted between the last look and letting go is
            // taken up here, unless its own thread got there first.
            if (selections_.load(std::memory_order_acquire) == seen)
                return;
        }
    }

private:
    std::atomic<int32_t> current_{0};
    std::atomic<uint32_t> selections_{0};
    std::atomic_flag applying_ = ATOMIC_FLAG_INIT;
};

} // namespace grelmond
