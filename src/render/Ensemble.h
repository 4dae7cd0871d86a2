#pragma once

#include "render/PitchShiftTap.h"

#include <array>

namespace grelmond {

// Pitch-shifted copies that thicken the summed voices: upper copies go to the
// left channel, lower copies to the right. setup() once per chunk, process()
// per frame; audio thread only.
class Ensemble {
public:
    static constexpr int kMaxTaps = 32;

    void reset();
    // copies: the number of pitch-shifted copies; detune: the detune amount.
    void setup(int copies, float detune);
    void process(float& left, float& right);
    // process() for each frame of a span, worked one copy at a time: a copy's
    // input is the left channel with the copies before it added, frame by frame.
    // wide: eight frames per step (AVX2) instead of four.
    void processSpan(float* left, float* right, int frames, bool wide);

    int tapCount() const { return tapCount_; }
    float ratio(int tap) const { return ratio_[tap]; }
    float gain(int tap) const { return gain_[tap]; }

private:
    std::array<float, kMaxTaps> ratio_{};
    std::array<float, kMaxTaps> gain_{};
    std::array<PitchShiftTap, kMaxTaps> taps_{};
    int tapCount_ = 0;
};

} // namespace grelmond
