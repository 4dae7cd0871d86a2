#pragma once

#include <cstdint>
#include <vector>

namespace grelmond {

class EngineRandom;
class ProcProcessor;

// Up to sixteen voices' proc functions side by side, one lane each, for the
// batched path. All lanes run the same function; every lane performs
// ProcProcessor::process's float operations in the same order, so each voice
// keeps its own samples. The sines stay library calls, one per lane and frame,
// made in runs between the vector passes; the flanging rings are read and
// written lane by lane. Random draws are taken ahead, voice after voice in
// the order the voices would have drawn them, by draw().
class ProcLanes {
public:
    static constexpr int kLanes = 16;
    static constexpr int kDrawsPerFrame = 2;

    // Frame i of lane l at [i × kLanes + l]: mix in, (proc + third) × amp out.
    struct Frames {
        float* mix = nullptr;
        const float* third = nullptr;
        const float* amp = nullptr;
        int count = 0;
    };

    // maxFrames: the longest call; sizes the buffer of draws taken ahead.
    explicit ProcLanes(int maxFrames);

    // The functions that run in lanes.
    static bool handles(int function);

    void load(int lane, ProcProcessor& proc, float denormal);
    // Takes the random numbers lane `lane` will use over `frames` frames.
    void draw(int lane, int frames, EngineRandom& random);
    void store(int lane, ProcProcessor& proc) const;
    // A lane no voice uses: zero state, writing only into a scratch ring.
    void clear(int lane);

    // Lanes first..first+3 with SSE2, first..first+7 with AVX2 (only where
    // the CPU has it).
    void run4(int first, const Frames& f);
    void run8(int first, const Frames& f);

    int function = 0;
    alignas(64) float procLevel[kLanes], procEnv[kLanes], keyDepth[kLanes], m[kLanes];
    alignas(64) float flangerGain[kLanes], increment[kLanes], ap[kLanes];
    alignas(64) std::int32_t counter[kLanes], carrierCounter[kLanes];
    alignas(64) std::int32_t ringExponents[kLanes]; // see ProcProcessor: all ones after a NaN or infinity
    alignas(64) float flangerFeedback[kLanes], carrierPhase[kLanes], chaos[kLanes], p1[kLanes], p2[kLanes];
    alignas(64) float xp[kLanes], a1[kLanes], a2[kLanes], phaserFeedback[kLanes];
    alignas(64) float d[kLanes];
    // "10 BP Dist": sections 0 and 1, then the histories of the two main
    // band-passes (0, 1) and of the two distortion band-passes (2, 3).
    alignas(64) float cb0[2][kLanes], cb1[2][kLanes], cb2[2][kLanes], ca1[2][kLanes], ca2[2][kLanes];
    alignas(64) float hx1[4][kLanes], hx2[4][kLanes], hy1[4][kLanes], hy2[4][kLanes];
    float* ring[kLanes] = {};
    // Frame i's draw k of lane l at [(i × kDrawsPerFrame + k) × kLanes + l].
    std::vector<float> draws;

private:
    std::vector<std::int32_t> raw_; // one lane's generator outputs
    std::vector<float> scratchRing_;
};

} // namespace grelmond
