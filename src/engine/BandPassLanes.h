#pragma once

#include "engine/ProcBandPassBank.h"

namespace grelmond {

// Up to sixteen voices' band-pass banks side by side, one lane each, for the
// batched path; every lane performs ProcBandPassBank::process's float
// operations in the same order. All lanes run the same number of sections.
struct BandPassLanes {
    static constexpr int kLanes = 16;
    static constexpr int kSections = ProcBandPassBank::sections;

    // Frame i of lane l at [i × kLanes + l]: the oscillator mix, the third
    // oscillator and the amplitude in; (bank + third) × amplitude out.
    struct Frames {
        const float* mix = nullptr;
        const float* third = nullptr;
        const float* amp = nullptr;
        float* out = nullptr;
        int count = 0;
    };

    void load(int lane, const ProcBandPassBank& bank, float denormal);
    void store(int lane, ProcBandPassBank& bank) const;
    void clear(int lane);

    // Lanes first..first+3 with SSE2, first..first+7 with AVX2 (only where
    // the CPU has it).
    void run4(int first, const Frames& f);
    void run8(int first, const Frames& f);

    int active = 0;
    alignas(64) float b0[kSections][kLanes], b1[kSections][kLanes], b2[kSections][kLanes];
    alignas(64) float a1[kSections][kLanes], a2[kSections][kLanes], gain[kSections][kLanes];
    alignas(64) float x1[kSections][kLanes], x2[kSections][kLanes], y1[kSections][kLanes], y2[kSections][kLanes];
    alignas(64) float d[kLanes];
};

} // namespace grelmond
