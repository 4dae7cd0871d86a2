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
