#pragma once

namespace grelmond {

// The voice's four-pole resonant low-pass (with optional high-pass output),
// cutoff gliding towards the filter envelope's block value frame by frame.
// Lives inside a voice: audio thread only.
class LadderFilter {
public:
    struct Block {
        float envCut = 0.0f;
        float baseCut = 0.0f;
        float res = 0.0f;
    };

    // Once per render call. cutoff already carries the filter LFO.
    void blockSetup(float cutoff, float resonance, float envAmount, float filterVelocity, float filterEnvValue,
                    float sampleRate);

    // d is the engine's alternating denormal offset.
    float process(float x, float d, bool highPass);

    void reset();
    // Zeroes the ladder stages, keeping the block values and cutoff smoothing.
    void clearStages();
    void resetNonFinite();

    const Block& block() const { return block_; }
    float stage(int i) const { return y_[i]; }

private:
    friend struct LadderLanes;

    Block block_;
    float y_[5] = {0.0f, 0.0f, 0.0f, 0.0f, 0.0f};
    float e1_ = 0.0f;
    float e2_ = 0.0f;
};

} // namespace grelmond
