#include "render/TempoSync.h"

#include "render/DelayLine.h"

#include <cmath>
#include <cstdint>

namespace grelmond {

int TempoSync::barFrames(double sampleRate, double tempo)
{
    if (!(sampleRate > 0.0) || !(tempo > 0.0) || !std::isfinite(sampleRate) || !std::isfinite(tempo))
        return 0;
    double frames = std::trunc(240.0 * sampleRate / tempo);
    // Halving in double first keeps absurdly slow tempos from overflowing.
    while (frames >= 4.0 * kLimit)
        frames = std::floor(frames / 2.0);
    auto bar = static_cast<std::int64_t>(frames);
    while (bar >= kLimit)
        bar /= 2;
    return static_cast<int>(bar);
}

int TempoSync::division(int bar, float v)
{
    int shift = 7;
    if (v >= 0.875f)
        shift = 0;
    else if (v >= 0.75f)
        shift = 1;
    else if (v >= 0.625f)
        shift = 2;
    else if (v >= 0.5f)
        shift = 3;
    else if (v >= 0.375f)
        shift = 4;
    else if (v >= 0.25f)
        shift = 5;
    else if (v >= 0.125f)
        shift = 6;
    return bar >> shift;
}

void TempoSync::update(double sampleRate, double tempo, float leftTime, float rightTime)
{
    const int bar = barFrames(sampleRate, tempo);
    if (bar <= 0)
        return;
    left_ = DelayLine::clampLength(division(bar, leftTime));
    right_ = DelayLine::clampLength(division(bar, rightTime));
}

} // namespace grelmond
