#pragma once

#include "render/MidiEvent.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace grelmond {

// A block's events held until the render reaches their frames, in fixed
// storage: the audio thread neither allocates nor keeps the sender's
// pointers, so system-exclusive bytes are copied. Events come out in the
// order they went in. Audio thread only.
class EventQueue {
public:
    static constexpr int kCapacity = 2048;
    static constexpr std::size_t kSysExBytes = 8192;

    // False, and nothing kept, when the events or the bytes are full.
    bool add(const MidiEvent& event);
    bool empty() const { return next_ == count_; }
    // The next event's frame, negative frames counted as 0; empty() must be false.
    int nextFrame() const;
    // Takes the next event off; its system-exclusive bytes stay valid until
    // the queue is next added to after being emptied.
    const MidiEvent& take();

private:
    void restartIfDrained();

    std::array<MidiEvent, kCapacity> events_{};
    std::array<std::uint8_t, kSysExBytes> bytes_{};
    int count_ = 0;
    int next_ = 0;
    std::size_t bytesUsed_ = 0;
};

} // namespace grelmond
