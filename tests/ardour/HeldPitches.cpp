#include "HeldPitches.h"

#include "SoundMeasures.h"

#include <algorithm>
#include <cmath>

namespace ardourtest {

namespace {

struct Window {
    std::size_t from = 0;
    double frequency = 0.0; // 0: too quiet to measure
};

// 20 ms windows every 10 ms, each measured where it is loud enough.
std::vector<Window> measuredWindows(const std::vector<float>& x, double sampleRate)
{
    const auto length = static_cast<std::size_t>(sampleRate / 50), hop = length / 2;
    double loudest = 0.0;
    for (std::size_t from = 0; from + length <= x.size(); from += hop)
        loudest = std::max(loudest, soundtest::rms(x, from, from + length));
    std::vector<Window> windows;
    for (std::size_t from = 0; from + length <= x.size(); from += hop) {
        const bool loud = soundtest::rms(x, from, from + length) > 0.1 * loudest;
        windows.push_back({from, loud ? soundtest::frequency(x, sampleRate, from, from + length) : 0.0});
    }
    return windows;
}

// Neighbouring windows agree within about 9 cents.
bool samePitch(double a, double b) { return a > 0.0 && b > 0.0 && std::fabs(a / b - 1.0) < 0.005; }

} // namespace

std::vector<double> heldPitches(const std::vector<float>& mono, double sampleRate, double minSeconds)
{
    const std::vector<Window> windows = measuredWindows(mono, sampleRate);
    const auto length = static_cast<std::size_t>(sampleRate / 50);
    std::vector<double> pitches;
    std::size_t first = 0;
    for (std::size_t k = 1; k <= windows.size(); ++k) {
        if (k < windows.size() && samePitch(windows[k].frequency, windows[k - 1].frequency))
            continue;
        // Windows first..k-1 agree: measured whole, less a window at each end.
        const std::size_t from = windows[first].from + length, to = windows[k - 1].from;
        if (windows[first].frequency > 0.0 && to > from && static_cast<double>(to - from) >= minSeconds * sampleRate)
            pitches.push_back(soundtest::frequency(mono, sampleRate, from, to));
        first = k;
    }
    return pitches;
}

} // namespace ardourtest
