#pragma once

#include <cstdint>

namespace grelmond {

class Waveform;

// One of a voice's three oscillators: reads a looped waveform at
// counter × increment with linear interpolation. Audio thread only.
class Oscillator {
public:
    // Block setup: waveform, whole-semitone distance from its reference note, gain.
    void setup(const Waveform* waveform, int semitones, float gain);
    bool active() const { return gain_ > 0.0f; }
    float gain() const { return gain_; }
    int semitones() const { return semitones_; }

    // Raw increment for a pitch (semitones beyond the key's offset, vibrato included).
    float rawIncrement(float pitchWithVibrato, float sampleRate) const;
    // Sets this block's increment; with reposition the counter is re-derived so
    // that the read position does not jump when the increment changes.
    float setIncrement(float inc, bool reposition);
    float increment() const { return inc_; }

    float sample();
    void advance() {
        phasePosition_ = static_cast<float>(phaseCounter_) * inc_;
        ++phaseCounter_;
    }

    void reset();
    void resetNonFinite();

    float phasePosition() const { return phasePosition_; }
    int32_t phaseCounter() const { return phaseCounter_; }
    float wrapOffset() const { return wrapOffset_; }

private:
    friend struct OscillatorLanes;

    const int16_t* samples_ = nullptr;
    float loopLength_ = 0.0f;
    int semitones_ = 0;
    float gain_ = 0.0f;
    float inc_ = 0.0f;
    float phasePosition_ = 0.0f;
    int32_t phaseCounter_ = 0;
    float wrapOffset_ = 0.0f;
};

} // namespace grelmond
