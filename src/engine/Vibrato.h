#pragma once

namespace grelmond {

// The voice's vibrato: a triangle on the note clock, smoothed in two stages.
// Shared by the three oscillators; every increment computation steps it once.
class Vibrato {
public:
    // noteClock in ticks; pitchRate is the "PitcRate" value. Returns about ±0.5.
    float step(float noteClock, float pitchRate);
    float value() const { return stageB_; }
    void reset() { *this = Vibrato(); }
    // Follows the note clock when it is moved down by whole ticks.
    void shift(float ticks) { start_ -= ticks; }
    void resetNonFinite();

private:
    float start_ = 0.0f;
    float stageA_ = 0.0f;
    float stageB_ = 0.0f;
};

} // namespace grelmond
