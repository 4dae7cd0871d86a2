#pragma once

#include "engine/Oscillator.h"
#include "engine/Vibrato.h"

#include <array>

namespace grelmond {

class Envelope;
class Keygroup;
class Waveform;

// A voice's view of the sound: its references to the keygroup's waveforms
// and envelopes, and the note's clock, release and oscillator phase state.
// Owned by its voice; audio thread only once the voice is started.
class VoiceContext {
public:
    enum EnvelopeSlot { amplitudeEnvelope, filterEnvelope, procEnvelope, envelopeCount };

    // Takes one reference on every waveform and resets the note state.
    void attach(const Keygroup& keygroup);
    // Gives the waveform references back; safe to call twice.
    void detach();
    bool attached() const { return waveformCount > 0; }

    const Waveform* waveform(int i) const { return i >= 0 && i < waveformCount ? waveforms[i] : nullptr; }
    const Envelope* envelope(int slot) const { return envelopes[slot]; }

    // Moves the note clock on by a render call's length in ticks. Past the
    // envelopes' reach the clock is kept in one octave of float32 values, with
    // the rounding of every step carried into the next, so that it neither
    // stops nor drifts however long a note is held and however small the calls.
    void advanceClock(float ticks);

    std::array<Waveform*, 16> waveforms{};
    int waveformCount = 0;
    std::array<const Envelope*, envelopeCount> envelopes{};
    float lastPitch = 0.0f;
    bool finishedMark = false;
    std::array<Oscillator, 3> oscillators{};
    float noteClock = 0.0f;
    float clockCarry = 0.0f; // rounding not yet added to noteClock
    float releaseTime = 0.0f;
    std::array<float, envelopeCount> releaseLevel{};
    Vibrato vibrato;
};

} // namespace grelmond
