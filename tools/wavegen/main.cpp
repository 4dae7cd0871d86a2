// Writes the waveform data file: fifteen band-limited looped waveforms
// (pulse, sawtooth and square, one per key band) as raw 16-bit little-endian
// samples, RMS-matched to the built-in sine.

#include "BandLimitedWave.h"

#include "engine/Waveform.h"
#include "engine/WaveformSet.h"

#include <cmath>
#include <cstdio>
#include <string>

namespace {

constexpr int bands = 5;
constexpr int referenceNotes[bands] = {45, 57, 69, 81, 93};
constexpr wavegen::Shape shapes[3] = {wavegen::Shape::Pulse, wavegen::Shape::Sawtooth, wavegen::Shape::Square};
// RMS of the built-in sine of peak 5300.
const double sineRms = 5300.0 / std::sqrt(2.0);

bool writeWave(std::FILE* f, const std::vector<int16_t>& samples) {
    for (int16_t s : samples) {
        auto u = static_cast<uint16_t>(s);
        unsigned char bytes[2] = {static_cast<unsigned char>(u & 0xff), static_cast<unsigned char>(u >> 8)};
        if (std::fwrite(bytes, 1, 2, f) != 2) return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: wavegen OUTPUT\n");
        return 2;
    }
    // Written beside the target and renamed, so a reader never sees half a file.
    const std::string partial = std::string(argv[1]) + ".partial";
    std::FILE* f = std::fopen(partial.c_str(), "wb");
    if (!f) {
        std::perror(partial.c_str());
        return 1;
    }
    bool ok = true;
    for (int waveform = 1; waveform <= grelmond::WaveformSet::fileWaveforms && ok; ++waveform) {
        int shape = (waveform - 1) / bands;
        int band = (waveform - 1) % bands;
        wavegen::WaveRecipe recipe{shapes[shape], referenceNotes[band], grelmond::WaveformSet::loopLength(waveform),
                               grelmond::Waveform::length};
        ok = writeWave(f, wavegen::makeWave(recipe, sineRms));
    }
    ok = std::fclose(f) == 0 && ok;
    if (!ok || std::rename(partial.c_str(), argv[1]) != 0) {
        std::fprintf(stderr, "wavegen: could not write %s\n", argv[1]);
        std::remove(partial.c_str());
        return 1;
    }
    return 0;
}
