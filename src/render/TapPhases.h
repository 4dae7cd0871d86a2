#pragma once

#include <array>

namespace grelmond {

// The read phases of several PitchShiftTaps over a run of frames, worked with
// one tap per vector lane: every lane makes the float add and wrap of
// PitchShiftTap::advanced, so a row holds the very phases process() reaches,
// and no tap's serial chain of adds holds up the kernels. Audio thread only.
class TapPhases {
public:
    static constexpr int kMaxTaps = 32;
    static constexpr int kMaxFrames = 64;

    // Row t: start[t], then the phase after each of `frames` frames at
    // ratio[t], and a few frames more that a part group of lanes may read.
    // False, with no table, when a start or ratio lies where the lanes could
    // not wrap as process() does (a backward, large or not-a-number ratio).
    bool fill(const float* start, const float* ratio, int taps, int frames);
    const float* row(int tap) const { return table_.data() + tap * kStride; }

private:
    // Room for the frames, the start and eight frames past the end.
    static constexpr int kStride = kMaxFrames + 12;

    alignas(16) std::array<float, kMaxTaps * kStride> table_{};
};

} // namespace grelmond
