#include "BandLimitedWave.h"

#include <algorithm>
#include <cmath>

namespace wavegen {

namespace {

constexpr double pi = 3.14159265358979323846;
constexpr double rate = 44100.0;
constexpr double pulseDuty = 0.25;

double noteHz(int note) { return 440.0 * std::pow(2.0, (note - 57) / 12.0); }

// Harmonic k of a shape at cycle position x (0 to 1).
double harmonic(Shape shape, int k, double x) {
    double w = 2.0 * pi * k * x;
    switch (shape) {
    case Shape::Sawtooth:
        return std::sin(w) / k;
    case Shape::Square:
        return k % 2 ? std::sin(w) / k : 0.0;
    case Shape::Pulse:
        return std::sin(pi * k * pulseDuty) / k * std::cos(w - pi * k * pulseDuty);
    }
    return 0.0;
}

} // namespace

int periodsInLoop(int referenceNote, int loopLength) {
    return std::max(1, static_cast<int>(std::lround(noteHz(referenceNote) * loopLength / rate)));
}

int highestHarmonic(double fundamental, double ceilingHz, double headroomSemitones) {
    double top = fundamental * std::pow(2.0, headroomSemitones / 12.0);
    return std::max(1, static_cast<int>(std::floor(ceilingHz / top)));
}

std::vector<int16_t> makeWave(const WaveRecipe& recipe, double targetRms) {
    int periods = periodsInLoop(recipe.referenceNote, recipe.loopLength);
    double fundamental = periods * rate / recipe.loopLength;
    int top = highestHarmonic(fundamental, 20000.0, 9.0);

    // The cycle position of sample j; computed from j so the loop closes exactly.
    std::vector<double> wave(static_cast<std::size_t>(recipe.length));
    for (int j = 0; j < recipe.length; ++j) {
        double x = std::fmod(static_cast<double>(j) * periods / recipe.loopLength, 1.0);
        double v = 0.0;
        for (int k = 1; k <= top; ++k) v += harmonic(recipe.shape, k, x);
        wave[static_cast<std::size_t>(j)] = v;
    }

    double sum = 0.0;
    for (int j = 0; j < recipe.loopLength; ++j) sum += wave[static_cast<std::size_t>(j)] * wave[static_cast<std::size_t>(j)];
    double rms = std::sqrt(sum / recipe.loopLength);
    double gain = rms > 0.0 ? targetRms / rms : 0.0;

    std::vector<int16_t> out(wave.size());
    for (std::size_t j = 0; j < wave.size(); ++j)
        out[j] = static_cast<int16_t>(std::clamp(std::lround(wave[j] * gain), -32767L, 32767L));
    return out;
}

} // namespace wavegen
