#pragma once

#include <cstdint>

namespace grelmond {

class LadderFilter;

// Up to sixteen voices' ladders side by side, one lane each, for the batched
// path. Every lane performs the float operations of LadderFilter::process in
// the same order, so each voice's output is the one its own filter gives.
struct LadderLanes {
    static constexpr int kLanes = 16;

    // The per-frame inputs: x and y hold frame i of lane l at [i × kLanes + l];
    // run[i] and highPass[i] are the frame's filter switches, shared by all lanes.
    struct Frames {
        const float* x = nullptr;
        float* y = nullptr;
        const std::uint8_t* run = nullptr;
        const std::uint8_t* highPass = nullptr;
        int count = 0;
    };

    void load(int lane, const LadderFilter& filter, float denormal);
    void store(int lane, LadderFilter& filter) const;

    // Lanes first..first+3 or first..first+7 with SSE2; first..first+7 or
    // all sixteen with AVX2 (only where the CPU has it).
    void run4(int first, const Frames& f);
    void run8Sse2(int first, const Frames& f);
    void run8(int first, const Frames& f);
    void run16(const Frames& f);

    alignas(64) float e1[kLanes], e2[kLanes];
    alignas(64) float y0[kLanes], y1[kLanes], y2[kLanes], y3[kLanes], y4[kLanes];
    alignas(64) float envCut[kLanes], baseCut[kLanes], res[kLanes];
    alignas(64) float d[kLanes];
};

} // namespace grelmond
