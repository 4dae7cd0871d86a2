#include "render/PitchShiftTap.h"

#include "render/SineTable.h"

#include <cmath>
#include <cstdlib>

namespace grelmond {

void PitchShiftTap::reset()
{
    ring_.fill(0.0f);
    writeIndex_ = 0;
    readPhase_ = 0.0f;
}

float PitchShiftTap::process(float input, float mix, float ratio)
{
    constexpr int mask = kSize - 1;
    constexpr int half = kSize / 2;

    const int dist = std::abs(writeIndex_ - static_cast<int>(readPhase_));
    const int fold = dist <= half ? dist : kSize - dist;

    ring_[writeIndex_] = input;
    writeIndex_ = (writeIndex_ + 1) & mask;

    readPhase_ += ratio;
    // Ratios stay near 1, but a stray value must not walk the heads out of the ring.
    if (readPhase_ >= kSize || readPhase_ < 0.0f || !std::isfinite(readPhase_))
        readPhase_ = std::fmod(std::isfinite(readPhase_) ? readPhase_ : 0.0f, static_cast<float>(kSize));
    if (readPhase_ < 0.0f)
        readPhase_ += kSize;
    if (readPhase_ >= kSize)
        readPhase_ = 0.0f;

    const float w = SineTable::instance()[fold / 2] / 32767.0f;
    const int i = static_cast<int>(readPhase_);
    const float f = readPhase_ - static_cast<float>(i);
    const float a = lerp(ring_[i], ring_[(i + 1) & mask], f);
    const float b = lerp(ring_[(i + half) & mask], ring_[(i + half + 1) & mask], f);

    return (1.0f + ratio / 2.0f) * ((1.0f - mix) * input + mix * (w * a + (1.0f - w) * b));
}

} // namespace grelmond
