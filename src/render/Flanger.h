#pragma once

#include "render/FlangerLfo.h"

#include <array>

namespace grelmond {

// The global stereo flanger. Its rings hold two entries per frame (linear
// upsampling by 2), so the shortest delay is 2.5 frames. Audio thread only.
class Flanger {
public:
    static constexpr int kSize = 4096;

    struct Settings {
        float mix;      // 0 bypasses the flanger
        float freq;     // base delay position, 0..1
        float depth;    // LFO sweep, 0..1
        float feedback; // already scaled to 0..0.6
    };

    void reset();
    // mod: the smoothed flanger LFO, 0.5..1.
    void process(float& left, float& right, const Settings& s, float mod, float denormal);
    // process() for each frame of a span, with the LFO stepped once per frame
    // and each frame's offset.
    void processSpan(float* left, float* right, int frames, const Settings& s, FlangerLfo& lfo,
                     const float* denormal);

private:
    // Both sides' rings, one entry of each side per slot (left, right), so a
    // frame works both sides in the two lanes of one vector.
    std::array<float, 2 * kSize> rings_{};
    int index_ = 0; // kept reduced to the ring, so it never overflows in a long session
    float feedbackL_ = 0.0f;
    float feedbackR_ = 0.0f;
};

} // namespace grelmond
