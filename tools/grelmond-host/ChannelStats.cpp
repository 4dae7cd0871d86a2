#include "ChannelStats.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace host {

namespace {
double decibels(double level)
{
    return level > 0.0 ? 20.0 * std::log10(level) : -INFINITY;
}
}

void ChannelStats::add(const float* samples, int frames)
{
    for (int i = 0; i < frames; ++i) {
        const float v = samples[i];
        ++frames_;
        if (std::isnan(v)) {
            ++nans_;
            continue;
        }
        if (std::isinf(v)) {
            ++infinities_;
            continue;
        }
        peak_ = std::max(peak_, std::abs(v));
        sumSquares_ += static_cast<double>(v) * v;
    }
}

double ChannelStats::rms() const
{
    return frames_ > 0 ? std::sqrt(sumSquares_ / static_cast<double>(frames_)) : 0.0;
}

std::string ChannelStats::summary() const
{
    char text[160];
    std::snprintf(text, sizeof text, "peak %.6f (%.1f dBFS)  rms %.6f (%.1f dBFS)  nan %lld  inf %lld", peak_,
                  decibels(peak_), rms(), decibels(rms()), static_cast<long long>(nans_),
                  static_cast<long long>(infinities_));
    return text;
}

} // namespace host
