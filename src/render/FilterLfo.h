#pragma once

#include <cstdint>

namespace grelmond {

// The global filter LFO: a sine from 0 to 1, smoothed over two chunks, that
// opens the cutoff towards 1 by its depth. Once per chunk; audio thread only.
class FilterLfo {
public:
    void reset();
    // chunk: whole chunks elapsed; rate: the filter LFO rate (0..0.1).
    void setup(std::int64_t chunk, float rate);
    float value() const { return smooth2_; }
    float modulatedCutoff(float cutoff, float depth) const { return cutoff + (1.0f - cutoff) * depth * smooth2_; }

private:
    float smooth1_ = 0.0f;
    float smooth2_ = 0.0f;
};

} // namespace grelmond
