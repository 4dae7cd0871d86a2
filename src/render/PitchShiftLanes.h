#pragma once

namespace grelmond {

// One PitchShiftTap's ring and heads, handed to the lane kernels that run its
// process() over several frames at once (PitchShiftTapSse2.cpp, ...Avx2.cpp).
struct PitchShiftLanes {
    float* ring;
    const float* weights;
    int writeIndex;
    float readPhase;

    // Whole groups of four (SSE2) or eight (AVX2, only where the CPU has it)
    // frames; returns the frames done. Stops before a group it must leave to
    // process(): one where a head reads a slot the same group writes at or
    // before the reading frame (a head passing the write position), or where
    // the read phase wraps.
    // out[k] = process(in[k]), or with gain out[k] += gain × process(in[k]).
    int run4(const float* in, float* out, int frames, float mix, float ratio);
    int run8(const float* in, float* out, int frames, float mix, float ratio);
    int add4(const float* in, float* out, int frames, float mix, float ratio, float gain);
    int add8(const float* in, float* out, int frames, float mix, float ratio, float gain);
};

} // namespace grelmond
