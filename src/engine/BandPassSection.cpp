#include "engine/BandPassSection.h"

#include <algorithm>
#include <cmath>

namespace grelmond {

float BandPassCoefficients::limitFrequency(float f, float sampleRate)
{
    const float top = 0.45f * sampleRate;
    if (!(f >= 1.0f)) // also catches NaN
        return 1.0f;
    return std::min(f, top);
}

BandPassCoefficients BandPassCoefficients::design(float f, float D, float sampleRate)
{
    const float w = 6.2831853072f * limitFrequency(f, sampleRate) / sampleRate;
    return designAngle(std::max(w, lowestAngle), D);
}

BandPassCoefficients BandPassCoefficients::designAngle(float w, float D)
{
    const float alpha = std::sin(w) / D;
    BandPassCoefficients c;
    c.b0 = alpha;
    c.b1 = 0.0f;
    c.b2 = -alpha;
    c.a0 = 1.0f + alpha;
    c.a1 = -2.0f * std::cos(w);
    c.a2 = 1.0f - alpha;
    return c;
}

void BandPassHistory::resetNonFinite()
{
    if (!std::isfinite(x1) || !std::isfinite(x2) || !std::isfinite(y1) || !std::isfinite(y2))
        clear();
}

} // namespace grelmond
