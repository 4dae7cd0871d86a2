#include "render/TempoSync.h"

#include "render/DelayLine.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace grelmond {

int TempoSync::barFrames(double sampleRate, double tempo)
{
    if (!(sampleRate > 0.0) || !(tempo > 0.0) || !std::isfinite(sampleRate) || !std::isfinite(tempo))
        return 0;
    const double limit = limitAt(sampleRate);
    double frames = std::trunc(240.0 * sampleRate / tempo);
    // Halving in double first keeps absurdly slow tempos from overflowing.
    while (frames >= 4.0 * limit)
        frames = std::floor(frames / 2.0);
    auto bar = static_cast<std::int64_t>(frames);
    while (static_cast<double>(bar) >= limit)
        bar /= 2;
    return static_cast<int>(bar);
}

double TempoSync::limitAt(double sampleRate)
{
    // 44.1 kHz gives kLimit exactly.
    return std::max(1.0, std::trunc(kLimit * (sampleRate / DelayLine::kReferenceRate)));
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
    // The render loop holds them to its buffers.
    left_ = std::max(division(bar, leftTime), 1);
    right_ = std::max(division(bar, rightTime), 1);
}

} // namespace grelmond
