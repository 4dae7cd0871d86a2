#pragma once

// The ladder's frame step over N lanes of a GCC vector type V. Included by one
// source file per instruction set, each compiled with its own target flags and
// -ffp-contract=off, so the products and sums stay separately rounded exactly
// as in LadderFilter::process. Internal linkage keeps the copies apart.

#include "engine/LadderLanes.h"
#include "engine/LaneAccess.h"

namespace {

// G groups of lanes side by side, frame by frame: the ladder is one long
// chain of dependent operations per frame, so a second group keeps the
// arithmetic units busy while the first waits.
template <class V, int G = 1>
void ladderFrames(grelmond::LadderLanes& s, int first, const grelmond::LadderLanes::Frames& f)
{
    constexpr int stride = grelmond::LadderLanes::kLanes;
    constexpr int width = static_cast<int>(sizeof(V) / sizeof(float));
    V e1[G], e2[G], y0[G], y1[G], y2[G], y3[G], y4[G], envCut[G], baseCut[G], res[G], d[G];
    for (int g = 0; g < G; ++g) {
        const int at = first + g * width;
        e1[g] = loadLanes<V>(s.e1 + at);
        e2[g] = loadLanes<V>(s.e2 + at);
        y0[g] = loadLanes<V>(s.y0 + at);
        y1[g] = loadLanes<V>(s.y1 + at);
        y2[g] = loadLanes<V>(s.y2 + at);
        y3[g] = loadLanes<V>(s.y3 + at);
        y4[g] = loadLanes<V>(s.y4 + at);
        envCut[g] = loadLanes<V>(s.envCut + at);
        baseCut[g] = loadLanes<V>(s.baseCut + at);
        res[g] = loadLanes<V>(s.res + at);
        d[g] = loadLanes<V>(s.d + at);
    }
    // Local copies: stores through y could otherwise alias f's fields.
    const float* const xs = f.x;
    float* const ys = f.y;
    const std::uint8_t* const run = f.run;
    const std::uint8_t* const highPass = f.highPass;
    const int count = f.count;
    for (int i = 0; i < count; ++i) {
        for (int g = 0; g < G; ++g) {
            const int at = i * stride + first + g * width;
            d[g] = -d[g];
            const V x = loadLanes<V>(xs + at);
            if (!run[i]) {
                storeLanes(ys + at, x);
                continue;
            }
            e1[g] = 0.9f * e1[g] + 0.1f * envCut[g];
            e2[g] = 0.9f * e2[g] + 0.1f * e1[g];
            const V fc = baseCut[g] + (1.0f - baseCut[g]) * e2[g];
            const V q = 1.0f - fc;
            const V p = fc + 0.8f * fc * q;
            const V k = 2.0f * p - 1.0f;
            const V r = res[g] * (1.0f + 0.5f * q * (1.0f - q + 5.6f * q * q));
            const V u = x - r * y4[g];
            V t1 = y1[g];
            y1[g] = (u + y0[g]) * p + d[g] - y1[g] * k;
            const V t2 = y2[g];
            y2[g] = (y1[g] + t1) * p + d[g] - y2[g] * k;
            t1 = y3[g];
            y3[g] = (y2[g] + t2) * p + d[g] - y3[g] * k;
            V z = (y3[g] + t1) * p + d[g] - y4[g] * k;
            z = z < -2.0f ? -2.0f : (2.0f < z ? 2.0f : z); // std::clamp, NaN passing through
            y4[g] = z - 0.32f * z * z * z;
            y0[g] = u + d[g];
            storeLanes(ys + at, highPass[i] ? x - y4[g] : y4[g]);
        }
    }
    for (int g = 0; g < G; ++g) {
        const int at = first + g * width;
        storeLanes(s.e1 + at, e1[g]);
        storeLanes(s.e2 + at, e2[g]);
        storeLanes(s.y0 + at, y0[g]);
        storeLanes(s.y1 + at, y1[g]);
        storeLanes(s.y2 + at, y2[g]);
        storeLanes(s.y3 + at, y3[g]);
        storeLanes(s.y4 + at, y4[g]);
        storeLanes(s.d + at, d[g]);
    }
}

} // namespace
