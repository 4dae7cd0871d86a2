#include "SoundMeasures.h"

#include <ebur128.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <numbers>

namespace bankmeter {

namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;

// Hann-windowed partial at `hz` of the window starting at `start`, phase
// referred to frame 0 so that a partial exactly at `hz` keeps its phase.
std::complex<double> partial(const std::vector<float>& x, double rate, double hz, std::size_t start,
                             std::size_t length)
{
    std::complex<double> sum;
    const double w = kTwoPi * hz / rate;
    for (std::size_t n = 0; n < length; ++n) {
        const double hann = 0.5 - 0.5 * std::cos(kTwoPi * static_cast<double>(n) / static_cast<double>(length));
        sum += hann * x[start + n] * std::polar(1.0, -w * static_cast<double>(start + n));
    }
    // The amplitude of a steady sinusoid: the Hann window sums to length / 2.
    return sum * (4.0 / static_cast<double>(length));
}

double rms(const std::vector<float>& x, std::size_t from, std::size_t to)
{
    double sum = 0.0;
    for (std::size_t i = from; i < to; ++i)
        sum += static_cast<double>(x[i]) * x[i];
    return to > from ? std::sqrt(sum / static_cast<double>(to - from)) : 0.0;
}

} // namespace

double momentaryMaxLufs(const std::vector<float>& stereo, double sampleRate)
{
    ebur128_state* meter = ebur128_init(2, static_cast<unsigned long>(sampleRate), EBUR128_MODE_M);
    if (meter == nullptr)
        return -HUGE_VAL;
    const std::size_t frames = stereo.size() / 2;
    const std::size_t step = static_cast<std::size_t>(sampleRate / 10.0);
    double loudest = -HUGE_VAL;
    for (std::size_t at = 0; at + step <= frames; at += step) {
        if (ebur128_add_frames_float(meter, stereo.data() + 2 * at, step) != EBUR128_SUCCESS)
            break;
        double lufs = -HUGE_VAL;
        // The first three steps hold less than one 400 ms window.
        if (at >= 3 * step && ebur128_loudness_momentary(meter, &lufs) == EBUR128_SUCCESS)
            loudest = std::max(loudest, lufs);
    }
    ebur128_destroy(&meter);
    return loudest;
}

double samplePeak(const std::vector<float>& stereo)
{
    double peak = 0.0;
    for (float v : stereo)
        peak = std::max(peak, static_cast<double>(std::abs(v)));
    return peak;
}

double dcRelativeDb(const std::vector<float>& stereo)
{
    double worst = -HUGE_VAL;
    for (int channel = 0; channel < 2; ++channel) {
        double sum = 0.0, squares = 0.0;
        std::size_t count = 0;
        for (std::size_t i = channel; i < stereo.size(); i += 2, ++count) {
            sum += stereo[i];
            squares += static_cast<double>(stereo[i]) * stereo[i];
        }
        if (count == 0 || squares <= 0.0 || sum == 0.0)
            continue;
        const double mean = sum / static_cast<double>(count);
        worst = std::max(worst, 20.0 * std::log10(std::abs(mean) / std::sqrt(squares / static_cast<double>(count))));
    }
    return worst;
}

double fundamentalNear(const std::vector<float>& mono, double sampleRate, double nearHz, std::size_t from,
                       std::size_t to)
{
    // 100 ms windows every 10 ms: a partial within a semitone of nearHz drifts
    // by less than half a turn from one window to the next.
    const std::size_t length = static_cast<std::size_t>(sampleRate / 10.0);
    const std::size_t hop = static_cast<std::size_t>(sampleRate / 100.0);
    to = std::min(to, mono.size());
    if (to < from + length + 10 * hop)
        return 0.0;
    const double level = rms(mono, from, to) * std::sqrt(2.0);
    double unwrapped = 0.0, previous = 0.0, amplitude = 0.0, below = 0.0;
    double st = 0.0, sp = 0.0, stt = 0.0, stp = 0.0;
    int count = 0;
    for (std::size_t start = from; start + length <= to; start += hop, ++count) {
        const std::complex<double> p = partial(mono, sampleRate, nearHz, start, length);
        const double phase = std::arg(p);
        if (count > 0) {
            double step = phase - previous;
            step -= kTwoPi * std::round(step / kTwoPi);
            unwrapped += step;
        }
        previous = phase;
        amplitude += std::abs(p);
        below += std::abs(partial(mono, sampleRate, nearHz / 2.0, start, length));
        const double t = static_cast<double>(start) / sampleRate;
        st += t;
        sp += unwrapped;
        stt += t * t;
        stp += t * unwrapped;
    }
    amplitude /= count;
    below /= count;
    if (level <= 0.0 || amplitude < 0.1 * level || below > 0.1 * amplitude)
        return 0.0;
    const double slope = (count * stp - st * sp) / (count * stt - st * st); // radians per second
    return nearHz + slope / kTwoPi;
}

double cents(double hz, double referenceHz)
{
    return hz > 0.0 && referenceHz > 0.0 ? 1200.0 * std::log2(hz / referenceHz) : -HUGE_VAL;
}

} // namespace bankmeter
