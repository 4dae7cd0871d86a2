#pragma once

#include <cmath>
#include <cstdint>

namespace grelmond {

// Phase 0..4095 of a control-rate LFO after `chunk` chunks at `step` phase units
// per chunk. The product is taken in double so the phase stays exact for days of
// continuous running instead of turning into a staircase.
inline int lfoPhase(std::int64_t chunk, double step)
{
    const double x = std::trunc(static_cast<double>(chunk) * step);
    if (!std::isfinite(x))
        return 0;
    const double r = std::fmod(x, 4096.0);
    return static_cast<int>(r < 0.0 ? r + 4096.0 : r) & 4095;
}

} // namespace grelmond
