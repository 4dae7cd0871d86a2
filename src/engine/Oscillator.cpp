#include "engine/Oscillator.h"

#include "engine/OscillatorPitch.h"
#include "engine/Waveform.h"

#include <cmath>

namespace grelmond {

void Oscillator::setup(const Waveform* waveform, int semitones, float gain) {
    samples_ = waveform ? waveform->samples() : nullptr;
    loopLength_ = waveform ? static_cast<float>(waveform->loopLength()) : 0.0f;
    semitones_ = semitones;
    // A waveform without samples (failed allocation) plays as a silent oscillator.
    gain_ = samples_ && gain > 0.0f ? gain : 0.0f;
}

float Oscillator::rawIncrement(float pitchWithVibrato, float sampleRate) const {
    OscillatorPitch::Fold fold = OscillatorPitch::octaveFold(static_cast<float>(semitones_) + pitchWithVibrato);
    return (static_cast<float>(Waveform::nativeRate) / sampleRate) * fold.factor *
           std::exp2(fold.semitones / 12.0f);
}

float Oscillator::setIncrement(float inc, bool reposition) {
    if (reposition) {
        int32_t n = static_cast<int32_t>(phasePosition_ / inc);
        // The counter always runs one step ahead of the position just read;
        // re-deriving it without that step would read one position twice on
        // every retune, which with differing oscillator pitches is every block.
        phaseCounter_ = n != 0 ? n + 1 : 0;
        if (n != 0) inc = phasePosition_ / static_cast<float>(n);
    }
    inc_ = inc;
    return inc;
}

float Oscillator::sample() {
    if (phasePosition_ + wrapOffset_ > loopLength_) {
        wrapOffset_ = phasePosition_ + wrapOffset_ - loopLength_;
        while (wrapOffset_ > loopLength_) wrapOffset_ -= loopLength_;
        // The position just read counts as step 0, so the next advance moves
        // on by one increment instead of reading the wrapped position twice.
        phasePosition_ = 0.0f;
        phaseCounter_ = 1;
    }
    float p = phasePosition_ + wrapOffset_;
    int i = static_cast<int>(p);
    float a = samples_[i];
    float b = samples_[i + 1];
    return (a + (p - static_cast<float>(i)) * (b - a)) / 32767.0f * gain_;
}

void Oscillator::reset() {
    inc_ = 0.0f;
    phasePosition_ = 0.0f;
    phaseCounter_ = 0;
    wrapOffset_ = 0.0f;
}

void Oscillator::resetNonFinite() {
    if (!std::isfinite(phasePosition_) || !std::isfinite(wrapOffset_)) {
        phasePosition_ = 0.0f;
        phaseCounter_ = 0;
        wrapOffset_ = 0.0f;
    }
}

} // namespace grelmond
