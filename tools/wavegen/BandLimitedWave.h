#pragma once

#include <cstdint>
#include <vector>

namespace wavegen {

enum class Shape { Pulse, Sawtooth, Square };

struct WaveRecipe {
    Shape shape;
    int referenceNote; // MIDI note whose pitch the waveform plays at 44.1 kHz
    int loopLength;    // samples after which the oscillator wraps
    int length;        // samples written
};

// Whole number of periods in the loop that comes closest to the reference pitch.
int periodsInLoop(int referenceNote, int loopLength);
// Highest harmonic that stays below the ceiling when played `headroom` semitones up.
int highestHarmonic(double fundamental, double ceilingHz, double headroomSemitones);

// Additive, band-limited, scaled to the given RMS over one loop.
std::vector<int16_t> makeWave(const WaveRecipe& recipe, double targetRms);

} // namespace wavegen
