#pragma once

#include <array>
#include <atomic>

namespace grelmond {

// One side of the stereo delay. The buffer holds the largest tempo-synchronised
// length, so no selectable length is ever cut. The read position is the write
// position one length earlier, so the delay equals the selected length exactly.
// setLength() may come from any thread: it only posts the new length, and the
// audio thread silences the buffer at its next chunk (syncLength()).
class DelayLine {
public:
    static constexpr int kCapacity = 192000;

    void reset();
    // Selects a length in frames (clamped to 1..capacity); that part of the buffer is silenced.
    void setLength(int frames);
    int length() const { return length_.load(std::memory_order_relaxed); }
    // Audio thread, once per chunk: carries out a posted silencing.
    void syncLength();

    // Returns the mixed signal y; feeds back 0.75 × feedback × y. active: the length in use.
    float process(float x, float mix, float feedback, int active, float denormal);

    static int clampLength(int frames);

private:
    std::array<float, kCapacity> buffer_{};
    std::atomic<int> length_{1};
    std::atomic<bool> clearPending_{false};
    int position_ = 0;
};

} // namespace grelmond
