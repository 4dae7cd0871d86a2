#pragma once

#include "render/PitchShiftTap.h"

#include <cstdint>

namespace grelmond {

// Two pitch-shift taps detuned in opposite directions around unity by a
// triangle LFO: the phase ramps up and the direction flips at each wrap.
// setup() once per chunk, process() per frame; audio thread only.
class Chorus {
public:
    void reset();
    // chunk: whole chunks elapsed; rate: the chorus rate (0..0.1).
    void setup(std::int64_t chunk, float rate);
    // mix: 0 bypasses the chorus, 0.5 is half dry.
    void process(float& left, float& right, float mix, float depth);
    // process() for each frame of a span; wide: eight frames per step (AVX2).
    void processSpan(float* left, float* right, int frames, float mix, float depth, bool wide);

    float lfo() const { return lfo_; }
    int direction() const { return direction_; }

private:
    PitchShiftTap left_;
    PitchShiftTap right_;
    int phase_ = 0;
    int direction_ = 1;
    float lfo_ = 0.0f;
};

} // namespace grelmond
