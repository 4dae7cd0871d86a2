#pragma once

#include <array>

namespace grelmond {

// A ring written one frame per call and read by two heads half a ring apart that
// move by `ratio` per call; the head near the write position is faded out, so the
// copy is pitch-shifted without clicks. Audio thread only.
class PitchShiftTap {
public:
    static constexpr int kSize = 4096;

    void reset();
    float process(float input, float mix, float ratio);

    static float lerp(float a, float b, float f) { return a + (b - a) * f; }

private:
    std::array<float, kSize> ring_{};
    int writeIndex_ = 0;
    float readPhase_ = 0.0f;
};

} // namespace grelmond
