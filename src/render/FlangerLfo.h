#pragma once

#include <cstdint>

namespace grelmond {

// The flanger's modulator: a triangle, or a sample-and-hold value drawn each time
// the phase wraps. Stepped once per chunk, smoothed per frame; audio thread only.
class FlangerLfo {
public:
    void reset();
    // chunk: whole chunks elapsed; random: non-zero selects sample and hold.
    void setup(std::int64_t chunk, float rate, float random);
    // Per frame: the smoothed modulation, 0.5..1.
    float step()
    {
        smooth1_ = 0.995f * smooth1_ + 0.005f * value_;
        smooth2_ = 0.995f * smooth2_ + 0.005f * smooth1_;
        return (smooth2_ + 1.0f) / 2.0f;
    }

    float value() const { return value_; }
    int phase() const { return phase_; }

private:
    // 0..32767, a per-instance stream so instances do not disturb each other.
    int nextRandom();

    std::uint32_t seed_ = 1;
    int phase_ = 0;
    float value_ = 0.0f;
    float smooth1_ = 0.0f;
    float smooth2_ = 0.0f;
};

} // namespace grelmond
