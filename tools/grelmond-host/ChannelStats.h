#pragma once

// Peak, RMS and counts of non-finite samples of one output channel.

#include <cstdint>
#include <string>

namespace host {

class ChannelStats {
public:
    void add(const float* samples, int frames);

    float peak() const { return peak_; }
    double rms() const;
    std::int64_t nans() const { return nans_; }
    std::int64_t infinities() const { return infinities_; }
    std::int64_t frames() const { return frames_; }

    // "peak 0.501 (-6.0 dBFS)  rms 0.250 (-12.0 dBFS)  nan 0  inf 0"
    std::string summary() const;

private:
    float peak_ = 0.0f;
    double sumSquares_ = 0.0;
    std::int64_t frames_ = 0;
    std::int64_t nans_ = 0;
    std::int64_t infinities_ = 0;
};

} // namespace host
