#pragma once

// Measurements on rendered audio for the sound tests.

#include <cstddef>
#include <vector>

namespace soundtest {

// The signal through an 8th-order Butterworth high-pass (four biquads): what
// clicks and zipper noise leave above a low note's harmonics.
std::vector<float> highPass(const std::vector<float>& x, double cutoff, double sampleRate);

float peak(const std::vector<float>& x, std::size_t from = 0, std::size_t to = static_cast<std::size_t>(-1));
double rms(const std::vector<float>& x, std::size_t from = 0, std::size_t to = static_cast<std::size_t>(-1));
double decibels(double ratio);

// Frequency from the rising zero crossings in [from, to), interpolated
// between samples.
double frequency(const std::vector<float>& x, double sampleRate, std::size_t from, std::size_t to);

// The first index whose magnitude exceeds threshold, or -1.
long firstAbove(const std::vector<float>& x, float threshold, std::size_t from = 0);

// Share of a window's energy that lies away from the harmonics of f0
// (Blackman-Harris window, bins within `guard` of a harmonic count as
// harmonic), in dB.
double nonHarmonicShare(const std::vector<float>& x, std::size_t from, std::size_t length, double f0,
                        double sampleRate, int guard = 6);

} // namespace soundtest
