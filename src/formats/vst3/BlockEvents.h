#pragma once

// One block's instrument events gathered from the host's note events and
// controller parameters, kept in frame order in fixed storage: the audio
// thread adds and sorts without allocating.

#include "core/InstrumentEvent.h"

#include <array>

namespace grelmond::vst3 {

class BlockEvents {
public:
    static constexpr int kCapacity = 2048;

    void clear() { count_ = next_ = 0; }
    // False (the event dropped) when full.
    bool add(const InstrumentEvent& event);
    // Stable by frame: events at one frame keep the order they were added in.
    void sortByFrame();
    int count() const { return count_; }
    const InstrumentEvent* data() const { return events_.data(); }
    // The next events (after those already taken) with frame < to, their
    // frames made relative to `from`, the start of the stretch they belong to.
    int take(int from, int to, const InstrumentEvent*& first);

private:
    std::array<InstrumentEvent, kCapacity> events_{};
    int count_ = 0;
    int next_ = 0;
};

} // namespace grelmond::vst3
