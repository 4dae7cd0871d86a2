#pragma once

// The ladder's frame step over N lanes of a GCC vector type V. Included by one
// source file per instruction set, each compiled with its own target flags and
// -ffp-contract=off, so the products and sums stay separately rounded exactly
// as in LadderFilter::process. Internal linkage keeps the copies apart.

#include "engine/LadderLanes.h"

namespace {

template <class V>
V loadLanes(const float* p)
{
    V v;
    __builtin_memcpy(&v, p, sizeof v);
    return v;
}

template <class V>
void storeLanes(float* p, V v)
{
    __builtin_memcpy(p, &v, sizeof v);
}

template <class V>
void ladderFrames(grelmond::LadderLanes& s, int first, const grelmond::LadderLanes::Frames& f)
{
    constexpr int stride = grelmond::LadderLanes::kLanes;
    V e1 = loadLanes<V>(s.e1 + first), e2 = loadLanes<V>(s.e2 + first);
    V y0 = loadLanes<V>(s.y0 + first), y1 = loadLanes<V>(s.y1 + first), y2 = loadLanes<V>(s.y2 + first);
    V y3 = loadLanes<V>(s.y3 + first), y4 = loadLanes<V>(s.y4 + first);
    const V envCut = loadLanes<V>(s.envCut + first);
    const V baseCut = loadLanes<V>(s.baseCut + first);
    const V res = loadLanes<V>(s.res + first);
    V d = loadLanes<V>(s.d + first);
    for (int i = 0; i < f.count; ++i) {
        d = -d;
        const V x = loadLanes<V>(f.x + i * stride + first);
        if (!f.run[i]) {
            storeLanes(f.y + i * stride + first, x);
            continue;
        }
        e1 = 0.9f * e1 + 0.1f * envCut;
        e2 = 0.9f * e2 + 0.1f * e1;
        const V fc = baseCut + (1.0f - baseCut) * e2;
        const V q = 1.0f - fc;
        const V p = fc + 0.8f * fc * q;
        const V k = 2.0f * p - 1.0f;
        const V r = res * (1.0f + 0.5f * q * (1.0f - q + 5.6f * q * q));
        const V u = x - r * y4;
        V t1 = y1;
        y1 = (u + y0) * p + d - y1 * k;
        const V t2 = y2;
        y2 = (y1 + t1) * p + d - y2 * k;
        t1 = y3;
        y3 = (y2 + t2) * p + d - y3 * k;
        y4 = (y3 + t1) * p + d - y4 * k;
        y4 = y4 < -2.0f ? -2.0f : (2.0f < y4 ? 2.0f : y4); // std::clamp, NaN passing through
        y4 = y4 - 0.32f * y4 * y4 * y4;
        y0 = u + d;
        storeLanes(f.y + i * stride + first, f.highPass[i] ? x - y4 : y4);
    }
    storeLanes(s.e1 + first, e1);
    storeLanes(s.e2 + first, e2);
    storeLanes(s.y0 + first, y0);
    storeLanes(s.y1 + first, y1);
    storeLanes(s.y2 + first, y2);
    storeLanes(s.y3 + first, y3);
    storeLanes(s.y4 + first, y4);
    storeLanes(s.d + first, d);
}

} // namespace
