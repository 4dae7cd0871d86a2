#include "render/Chorus.h"

#include "render/LfoPhase.h"

namespace grelmond {

void Chorus::reset()
{
    left_.reset();
    right_.reset();
    phase_ = 0;
    direction_ = 1;
    lfo_ = 0.0f;
}

void Chorus::setup(std::int64_t chunk, float rate)
{
    const int phase = lfoPhase(chunk, 409.6 * rate);
    // Flip on the wrap itself: a phase of exactly 0 is skipped at most rates and
    // is met on every chunk at rate 0, which would buzz instead of sweep.
    if (phase < phase_)
        direction_ = -direction_;
    phase_ = phase;
    const float u = static_cast<float>(phase) / 4096.0f;
    lfo_ = direction_ > 0 ? u : 1.0f - u;
}

void Chorus::process(float& left, float& right, float mix, float depth)
{
    const float spread = lfo_ * 0.025f * depth;
    left = left_.process(left, mix, 0.995f - spread);
    right = right_.process(right, mix, 1.005f + spread);
}

void Chorus::processSpan(float* left, float* right, int frames, float mix, float depth, bool wide)
{
    const float spread = lfo_ * 0.025f * depth;
    left_.processSpan(left, left, frames, mix, 0.995f - spread, wide);
    right_.processSpan(right, right, frames, mix, 1.005f + spread, wide);
}

} // namespace grelmond
