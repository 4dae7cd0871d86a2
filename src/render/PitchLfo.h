#pragma once

#include <cstdint>

namespace grelmond {

// The global vibrato: a sine of up to 10 Hz whose positive half, in semitones,
// reaches every voice. Computed once per chunk; audio thread only.
class PitchLfo {
public:
    // chunk: whole chunks elapsed; rate 1 runs at 10 Hz.
    static float value(std::int64_t chunk, float rate, float depth);
};

} // namespace grelmond
