#include "render/PitchLfo.h"

#include "render/LfoPhase.h"

#include <cmath>
#include <numbers>

namespace grelmond {

float PitchLfo::value(std::int64_t chunk, float rate, float depth)
{
    const int phase = lfoPhase(chunk, 409.6 * rate);
    const float mod = static_cast<float>(std::sin(2.0 * std::numbers::pi * phase / 4096.0)) * depth;
    return mod < 0.0012f ? 0.0f : mod;
}

} // namespace grelmond
