#pragma once

namespace grelmond {

// The main volume as applied per frame: a new value is reached by a smooth
// glide of about 10 ms (two one-pole stages, each frame moving on from the
// previous frame's value) instead of a jump, which would click. A steady
// value is passed through exactly. Audio thread only.
class GainGlide {
public:
    // Forgets the value: the next setup() starts at its target at once.
    void reset() { started_ = false; }
    // Once per chunk with the gain to reach.
    void setup(float target, double sampleRate);
    // The gain of the next frame.
    float next()
    {
        if (!gliding_)
            return target_;
        return step();
    }

    bool gliding() const { return gliding_; }

private:
    float step();

    bool started_ = false;
    bool gliding_ = false;
    float target_ = 0.0f;
    float stage1_ = 0.0f;
    float stage2_ = 0.0f;
    float coefficient_ = 0.0f;
    double coefficientRate_ = 0.0;
};

} // namespace grelmond
