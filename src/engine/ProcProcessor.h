#pragma once

#include <array>
#include <cstdint>

#include "engine/ProcBandPassBank.h"

namespace grelmond {

class EngineRandom;

// Values the voice hands in once per render call, read by it from the
// parameter mirror and its proc envelope.
struct ProcBlockInput {
    int function = 0;             // functionIndex("ProcFunct"), 0 to 25
    float procLevel = 0.0f;       // procLevel(...)
    float procEnv = 0.0f;         // the proc envelope's value
    float keyDepth = 1.0f;        // control-keyboard depth, 0 to 1
    float sampleRate = 44100.0f;  // host sample rate
    float flangerFeedback = 0.0f; // "FlLfoFed"
};

// Pitch changes the block set-up asks of the oscillators, in semitones.
struct ProcPitch {
    float procPitch = 0.0f;                         // added to oscillators 1 and 2 only
    std::array<float, 3> chaosOffset{0.0f, 0.0f, 0.0f}; // added to each pitchOffset
};

// The voice's character stage between the oscillator mix and the amplitude
// envelope. One per voice; constructed with the voice and used only on the
// audio thread.
//
// Per render call the voice calls, in this order:
//   1. blockSetup(), before the oscillator increments, and adds the returned
//      pitch changes to the oscillators;
//   2. setOscillator1Increment() with oscillator 1's increment of this block,
//      computed even when oscillator 1's volume is 0 (needed when
//      needsOscillator1Increment(function));
//   3. process() once per frame with dry = (s1 + s2) / 8 and third = s3 / 8;
//      the result already contains third;
//   4. resetNonFinite() once per render call.
class ProcProcessor {
public:
    static constexpr int functionCount = 26;
    static constexpr int ringSize = 4096;

    ProcProcessor();

    // Back to the state of a newly created voice.
    void reset();
    // Zeroes the recursive state (band-pass histories, phaser, flanging ring
    // and feedback) so that no function runs on what another one left behind;
    // counters, chaos and carrier phase carry on. blockSetup() calls it when
    // the function changes during a note.
    void clearHistories();

    // trunc("ProcFunct" x 25.1), held to 0 to 25.
    static int functionIndex(float procFunct);
    // "ProcAmoun" x procEnv, inverted by "PrcInvrt".
    static float procLevel(float procAmount, float procEnv, float invert);
    // Display name of a function ("1 Flanging" ... "26 Phaser 2"); "" outside 0 to 25.
    static const char* functionName(int function);
    // "4 Ring Mod" and "16 Chaos (4th Osc)" run a carrier at oscillator 1's rate.
    static bool needsOscillator1Increment(int function);

    ProcPitch blockSetup(const ProcBlockInput& in);
    void setOscillator1Increment(float increment);

    // d is the engine's alternating denormal offset of this frame.
    float process(float dry, float third, float denormal, EngineRandom& random);

    // Zeroes any recursive state that has become NaN or infinite.
    void resetNonFinite();

    int function() const { return function_; }
    int32_t counter() const { return counter_; }
    float chaosState() const { return chaosState_; }
    float phaserCoefficient() const { return ap_; }
    const ProcBandPassBank& bank() const { return bank_; }
    ProcBandPassBank& bank() { return bank_; }
    // True when process() is the band-pass bank's weighted sum plus the third
    // oscillator and nothing else, so the bank may run outside the voice.
    bool bankOnly() const { return function_ != 9 && ProcBandPassBank::handles(function_); }

private:
    friend class ProcLanes;

    float flanging(float dry, float denormal);
    float ringMod(float dry);
    float noise(float dry, EngineRandom& random) const;
    float chaosOscillator(float dry);
    float waveshaping1(float dry) const;
    float waveshaping2(float dry);
    float phaser(float dry, float denormal);
    float fadeA(float y, float fadeValue, float dry);
    void smoothProcLevel();
    float carrierPhase(float step);
    void countCarrier();
    float stepChaos(float m);
    void advanceCounter(int32_t by);

    ProcBandPassBank bank_;
    std::array<float, ringSize> ring_{};
    // The largest exponent field written into the ring since the last look:
    // all ones when a NaN or infinity went in.
    uint32_t ringExponents_ = 0;
    bool setUp_ = false; // a block has been set up since the voice started

    // Block values.
    int function_ = 0;
    float procLevel_ = 0.0f;
    float procEnv_ = 0.0f;
    float keyDepth_ = 1.0f;
    float m_ = 0.0f;
    float flangerFeedbackGain_ = 0.0f;
    float osc1Increment_ = 0.0f;
    float ap_ = -0.95f;

    // Running state, carried across functions during a note.
    int32_t counter_ = 0;
    float flangerFeedback_ = 0.0f;
    int32_t carrierCounter_ = 0;
    float carrierPhase_ = 0.0f;
    float chaosState_ = 0.5f;
    float p1_ = 0.0f, p2_ = 0.0f;
    float phaserXp_ = 0.998833f;
    float phaserA1_ = 0.0705552f;
    float phaserA2_ = -0.00898442f;
    float phaserFeedback_ = 0.0f;
};

} // namespace grelmond
