#pragma once

#include <array>

namespace grelmond {

// One side of the stereo delay. The buffer holds the largest tempo-synchronised
// length, so no selectable length is ever cut. The read position is the write
// position one length earlier, so the delay equals the length in use exactly.
// Audio thread only; a delay-time change silences the used part of the buffer
// through data().
class DelayLine {
public:
    static constexpr int kCapacity = 192000;

    void reset();
    // Returns the mixed signal y and stores x plus 0.75 × feedback × y.
    // length: the length in use, clamped to 1..capacity.
    float process(float x, float mix, float feedback, int length, float denormal);

    float* data() { return buffer_.data(); }
    static int clampLength(int frames);

private:
    std::array<float, kCapacity> buffer_{};
    int position_ = 0;
};

} // namespace grelmond
