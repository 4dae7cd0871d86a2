#pragma once

#include "engine/ProcBandPassBank.h"

namespace grelmond {

// Up to eight voices' band-pass banks side by side, one lane each, for the
// batched path; every lane performs ProcBandPassBank::process's float
// operations in the same order. All lanes run the same number of sections.
struct BandPassLanes {
    static constexpr int kLanes = 8;
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

    void run4(int first, const Frames& f);
    void run8(const Frames& f);
    void runOne(int lane, ProcBandPassBank& bank, const Frames& f) const;

    int active = 0;
    alignas(32) float b0[kSections][kLanes], b1[kSections][kLanes], b2[kSections][kLanes];
    alignas(32) float a1[kSections][kLanes], a2[kSections][kLanes], gain[kSections][kLanes];
    alignas(32) float x1[kSections][kLanes], x2[kSections][kLanes], y1[kSections][kLanes], y2[kSections][kLanes];
    alignas(32) float d[kLanes];
};

} // namespace grelmond
