#pragma once

#include <array>
#include <cmath>
#include <cstdlib>

namespace grelmond {

// A ring written one frame per call and read by two heads half a ring apart that
// move by `ratio` per call; the head near the write position is faded out, so the
// copy is pitch-shifted without clicks. Audio thread only.
class PitchShiftTap {
public:
    static constexpr int kSize = 4096;
    // Crossfade weight by half the distance between write position and read head.
    static constexpr int kWeights = kSize / 4 + 1;

    void reset();
    // Inline: the ensemble runs up to 32 of these per frame, voices or not.
    float process(float input, float mix, float ratio);
    // The same as process() frame after frame, out[k] being what it returns for
    // in[k], with the float arithmetic of each frame unchanged; several frames
    // are worked in the lanes of one vector: eight with AVX2 when `wide` (only
    // where the CPU has it), four with SSE2 otherwise. `out` may be `in`.
    void processSpan(const float* in, float* out, int frames, float mix, float ratio, bool wide);
    // The same adding: sum[k] += gain × process(in[k]). `sum` may be `in`.
    void addSpan(const float* in, float* sum, int frames, float mix, float ratio, float gain, bool wide);

    static float lerp(float a, float b, float f) { return a + (b - a) * f; }
    // The read phase one frame on. Ratios stay near 1, but a stray value must
    // not walk the heads out of the ring.
    static float advanced(float phase, float ratio)
    {
        phase += ratio;
        return phase >= 0.0f && phase < kSize ? phase : wrapped(phase);
    }
    static float weight(int halfDistance) { return weights_[static_cast<std::size_t>(halfDistance)]; }

private:
    // The sine table's first quarter scaled to 0..1, filled as the library loads.
    static const std::array<float, kWeights> weights_;

    static float wrapped(float phase);
    // Hands the span to `lanes(state, k)` from frame k on, and what it leaves
    // to `one(k)` frame by frame.
    template <class Lanes, class One>
    void runSpan(int frames, bool wide, Lanes&& lanes, One&& one);

    std::array<float, kSize> ring_{};
    int writeIndex_ = 0;
    float readPhase_ = 0.0f;
};

inline float PitchShiftTap::process(float input, float mix, float ratio)
{
    constexpr int mask = kSize - 1;
    constexpr int half = kSize / 2;

    const int dist = std::abs(writeIndex_ - static_cast<int>(readPhase_));
    const int fold = dist <= half ? dist : kSize - dist;

    ring_[writeIndex_] = input;
    writeIndex_ = (writeIndex_ + 1) & mask;

    readPhase_ = advanced(readPhase_, ratio);

    const float w = weights_[static_cast<std::size_t>(fold / 2)];
    const int i = static_cast<int>(readPhase_);
    const float f = readPhase_ - static_cast<float>(i);
    const float a = lerp(ring_[i], ring_[(i + 1) & mask], f);
    const float b = lerp(ring_[(i + half) & mask], ring_[(i + half + 1) & mask], f);

    return (1.0f + ratio / 2.0f) * ((1.0f - mix) * input + mix * (w * a + (1.0f - w) * b));
}

} // namespace grelmond
