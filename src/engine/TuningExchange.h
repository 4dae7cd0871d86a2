#pragma once

#include "params/TuningTable.h"

#include <array>
#include <atomic>

namespace grelmond {

// Hands whole tuning tables from the user-interface side to the audio thread
// without a lock: three slots, one written, one read, one in between whose
// index is swapped atomically. One writer at a time (callers on the
// user-interface side serialise), one reader (the audio thread).
class TuningExchange {
public:
    // Makes table the next one the reader takes; a newer publish replaces an untaken one.
    void publish(const TuningTable& table);
    // Copies the newest published table into table; false when none arrived
    // since the last take. Never allocates or waits.
    bool take(TuningTable& table);

private:
    static constexpr int kFresh = 4;
    static constexpr int kIndex = 3;

    std::array<TuningTable, 3> slots_;
    int writing_ = 0;
    int reading_ = 2;
    std::atomic<int> between_{1};
};

} // namespace grelmond
