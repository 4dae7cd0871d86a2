#pragma once

#include <array>

#include "engine/BandPassSection.h"

namespace grelmond {

class EngineRandom;

// The band-pass proc functions: the formant, sweep and six-band banks and the
// quantising "10 BP Dist". Part of a voice; used only on the audio thread.
class ProcBandPassBank {
public:
    static constexpr int sections = 6;

    // True for the function indices this bank renders (4-9, 11-14, 20-23).
    static bool handles(int function);

    // Back to the state of a new voice: every history 0.
    void reset();

    // Once per render call: centre frequencies, section design, gains.
    void blockSetup(int function, float procLevel, float keyDepth, float sampleRate);

    // Per frame for the three- and six-band functions: the gain-weighted sum.
    float process(float dry, float denormal);

    // Per frame for "10 BP Dist": quantiser, noise and band-passes, before its fade-in.
    float processDistortion(float dry, float denormal, EngineRandom& random);

    // Clears every history that holds NaN or infinity.
    void resetNonFinite();

    const BandPassCoefficients& coefficients(int section) const { return design_[section]; }
    float gain(int section) const { return gains_[section]; }
    float centre(int section) const { return centres_[section]; }
    const BandPassHistory& history(int section) const { return histories_[section]; }
    int activeSections() const { return active_; }

private:
    friend struct BandPassLanes;
    friend class ProcLanes;

    void setThreeBand(int function, float x);
    void setSixBand(int function, float x);
    void setDistortion(float x);
    void designAll(float sampleRate);

    std::array<BandPassCoefficients, sections> design_{};
    std::array<BandPassNormalised, sections> coeffs_{};
    std::array<BandPassHistory, sections> histories_{};
    std::array<BandPassHistory, 2> distortionHistories_{};
    std::array<float, sections> gains_{};
    std::array<float, sections> centres_{};
    float width_ = 48.0f;
    int active_ = 0;
    // What each section's coefficients were designed from: a held note asks
    // for the same design chunk after chunk, and the design is pure.
    struct Designed {
        float centre = -1.0f;
        float width = -1.0f;
        float rate = -1.0f;
    };
    std::array<Designed, sections> designed_{};
};

} // namespace grelmond
