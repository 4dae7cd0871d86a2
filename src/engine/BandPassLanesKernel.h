#pragma once

// The band-pass bank's frame step over the lanes of a GCC vector type V; see
// LadderLanesKernel.h for why each instruction set has its own copy.

#include "engine/BandPassLanes.h"
#include "engine/LaneAccess.h"

namespace {

// The number of sections is a constant of each copy, so their states stay in
// registers or fixed slots and no frame tests how many there are.
template <class V, int n>
void bandPassSections(grelmond::BandPassLanes& s, int first, const grelmond::BandPassLanes::Frames& f)
{
    constexpr int stride = grelmond::BandPassLanes::kLanes;
    constexpr int sections = n > 0 ? n : 1;
    V b0[sections], b1[sections], b2[sections], a1[sections], a2[sections], g[sections];
    V x1[sections], x2[sections], y1[sections], y2[sections];
    for (int k = 0; k < n; ++k) {
        b0[k] = loadLanes<V>(s.b0[k] + first);
        b1[k] = loadLanes<V>(s.b1[k] + first);
        b2[k] = loadLanes<V>(s.b2[k] + first);
        a1[k] = loadLanes<V>(s.a1[k] + first);
        a2[k] = loadLanes<V>(s.a2[k] + first);
        g[k] = loadLanes<V>(s.gain[k] + first);
        x1[k] = loadLanes<V>(s.x1[k] + first);
        x2[k] = loadLanes<V>(s.x2[k] + first);
        y1[k] = loadLanes<V>(s.y1[k] + first);
        y2[k] = loadLanes<V>(s.y2[k] + first);
    }
    V d = loadLanes<V>(s.d + first);
    // Local copies: stores through out could otherwise alias f's fields.
    const float* const mix = f.mix;
    const float* const third = f.third;
    const float* const amp = f.amp;
    float* const out = f.out;
    const int count = f.count;
    for (int i = 0; i < count; ++i) {
        d = -d;
        const int at = i * stride + first;
        const V u = loadLanes<V>(mix + at);
        V v = V{} + 0.0f;
        for (int k = 0; k < n; ++k) {
            const V y = b0[k] * u + b1[k] * x1[k] + b2[k] * x2[k] - a1[k] * y1[k] - a2[k] * y2[k] + d;
            x2[k] = x1[k];
            x1[k] = u + d;
            y2[k] = y1[k];
            y1[k] = y;
            v += g[k] * y;
        }
        v = v + loadLanes<V>(third + at);
        v *= loadLanes<V>(amp + at);
        storeLanes(out + at, v);
    }
    for (int k = 0; k < n; ++k) {
        storeLanes(s.x1[k] + first, x1[k]);
        storeLanes(s.x2[k] + first, x2[k]);
        storeLanes(s.y1[k] + first, y1[k]);
        storeLanes(s.y2[k] + first, y2[k]);
    }
    storeLanes(s.d + first, d);
}

template <class V>
void bandPassFrames(grelmond::BandPassLanes& s, int first, const grelmond::BandPassLanes::Frames& f)
{
    static_assert(grelmond::BandPassLanes::kSections == 6);
    switch (s.active < 0 ? 0 : (s.active > 6 ? 6 : s.active)) {
    case 0: bandPassSections<V, 0>(s, first, f); break;
    case 1: bandPassSections<V, 1>(s, first, f); break;
    case 2: bandPassSections<V, 2>(s, first, f); break;
    case 3: bandPassSections<V, 3>(s, first, f); break;
    case 4: bandPassSections<V, 4>(s, first, f); break;
    case 5: bandPassSections<V, 5>(s, first, f); break;
    default: bandPassSections<V, 6>(s, first, f); break;
    }
}

} // namespace
