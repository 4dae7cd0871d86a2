#include "SoundMeasures.h"

#include <algorithm>
#include <cmath>
#include <complex>

namespace soundtest {

namespace {

struct Biquad {
    double b0, b1, b2, a1, a2, x1 = 0, x2 = 0, y1 = 0, y2 = 0;
    double run(double x)
    {
        const double y = b0 * x + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
        x2 = x1;
        x1 = x;
        y2 = y1;
        y1 = y;
        return y;
    }
};

Biquad highPassSection(double cutoff, double q, double rate)
{
    const double w = 2.0 * M_PI * cutoff / rate, alpha = std::sin(w) / (2.0 * q), c = std::cos(w);
    const double a0 = 1.0 + alpha;
    return {(1.0 + c) / 2.0 / a0, -(1.0 + c) / a0, (1.0 + c) / 2.0 / a0, -2.0 * c / a0, (1.0 - alpha) / a0};
}

void fft(std::vector<std::complex<double>>& a)
{
    const std::size_t n = a.size();
    for (std::size_t i = 1, j = 0; i < n; ++i) {
        std::size_t bit = n >> 1;
        for (; j & bit; bit >>= 1)
            j ^= bit;
        j ^= bit;
        if (i < j)
            std::swap(a[i], a[j]);
    }
    for (std::size_t len = 2; len <= n; len <<= 1) {
        const std::complex<double> w = std::polar(1.0, -2.0 * M_PI / static_cast<double>(len));
        for (std::size_t i = 0; i < n; i += len) {
            std::complex<double> wk = 1.0;
            for (std::size_t k = 0; k < len / 2; ++k, wk *= w) {
                const auto u = a[i + k], v = a[i + k + len / 2] * wk;
                a[i + k] = u + v;
                a[i + k + len / 2] = u - v;
            }
        }
    }
}

} // namespace

std::vector<float> highPass(const std::vector<float>& x, double cutoff, double sampleRate)
{
    // Butterworth pole pairs of an 8th-order filter.
    std::vector<Biquad> sections;
    for (int k = 0; k < 4; ++k)
        sections.push_back(highPassSection(cutoff, 1.0 / (2.0 * std::cos(M_PI * (2 * k + 1) / 16.0)), sampleRate));
    std::vector<float> y(x.size());
    for (std::size_t i = 0; i < x.size(); ++i) {
        double v = x[i];
        for (Biquad& s : sections)
            v = s.run(v);
        y[i] = static_cast<float>(v);
    }
    return y;
}

float peak(const std::vector<float>& x, std::size_t from, std::size_t to)
{
    float p = 0.0f;
    for (std::size_t i = from; i < std::min(to, x.size()); ++i)
        p = std::max(p, std::abs(x[i]));
    return p;
}

double rms(const std::vector<float>& x, std::size_t from, std::size_t to)
{
    to = std::min(to, x.size());
    if (to <= from)
        return 0.0;
    double sum = 0.0;
    for (std::size_t i = from; i < to; ++i)
        sum += double(x[i]) * x[i];
    return std::sqrt(sum / static_cast<double>(to - from));
}

double decibels(double ratio) { return 20.0 * std::log10(std::max(ratio, 1e-30)); }

double frequency(const std::vector<float>& x, double sampleRate, std::size_t from, std::size_t to)
{
    double first = -1.0, last = -1.0;
    long count = 0;
    for (std::size_t i = from + 1; i < std::min(to, x.size()); ++i) {
        if (x[i - 1] < 0.0f && x[i] >= 0.0f) {
            const double at = static_cast<double>(i - 1) + x[i - 1] / (double(x[i - 1]) - x[i]);
            if (count++ == 0)
                first = at;
            last = at;
        }
    }
    return count < 2 ? 0.0 : static_cast<double>(count - 1) * sampleRate / (last - first);
}

long firstAbove(const std::vector<float>& x, float threshold, std::size_t from)
{
    for (std::size_t i = from; i < x.size(); ++i)
        if (std::abs(x[i]) > threshold)
            return static_cast<long>(i);
    return -1;
}

double nonHarmonicShare(const std::vector<float>& x, std::size_t from, std::size_t length, double f0,
                        double sampleRate, int guard)
{
    std::vector<std::complex<double>> a(length);
    for (std::size_t i = 0; i < length; ++i) {
        const double t = 2.0 * M_PI * static_cast<double>(i) / static_cast<double>(length);
        const double w = 0.35875 - 0.48829 * std::cos(t) + 0.14128 * std::cos(2 * t) - 0.01168 * std::cos(3 * t);
        a[i] = w * (from + i < x.size() ? x[from + i] : 0.0f);
    }
    fft(a);
    const double binWidth = sampleRate / static_cast<double>(length);
    double total = 0.0, away = 0.0;
    for (std::size_t k = 1; k < length / 2; ++k) {
        const double e = std::norm(a[k]);
        const double f = static_cast<double>(k) * binWidth;
        const double harmonic = std::round(f / f0) * f0;
        total += e;
        if (harmonic < 0.5 * f0 || std::abs(f - harmonic) > guard * binWidth)
            away += e;
    }
    return 10.0 * std::log10(std::max(away, 1e-300) / std::max(total, 1e-300));
}

} // namespace soundtest
