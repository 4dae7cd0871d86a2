#include "render/FlangerLfo.h"

#include "render/LfoPhase.h"

namespace grelmond {

void FlangerLfo::reset()
{
    seed_ = 1;
    phase_ = 0;
    value_ = 0.0f;
    smooth1_ = 0.0f;
    smooth2_ = 0.0f;
}

int FlangerLfo::nextRandom()
{
    seed_ = seed_ * 214013u + 2531011u;
    return static_cast<int>((seed_ >> 16) & 0x7fff);
}

void FlangerLfo::setup(std::int64_t chunk, float rate, float random)
{
    if (random != 0.0f) {
        const int old = phase_;
        phase_ = lfoPhase(chunk, 4096.0 * rate);
        if (phase_ < old)
            value_ = static_cast<float>(nextRandom()) / 32768.0f;
        return;
    }
    phase_ = lfoPhase(chunk, 40.96 * rate);
    const float u = static_cast<float>(phase_) / 4096.0f;
    value_ = u < 0.5f ? 2.0f * u : 2.0f * (1.0f - u);
}

} // namespace grelmond
