#pragma once

// PitchShiftTap::process over N frames at once, in the lanes of a GCC vector
// type. Included by one source file per instruction set, each compiled with its
// own target flags and -ffp-contract=off, so every lane rounds exactly as
// process() does. Internal linkage keeps the copies apart, and nothing here
// calls an inline function shared with code built for other CPUs.

#include "render/PitchShiftLanes.h"

#include <cstdint>
#include <utility>

namespace {

constexpr int kRing = 4096; // PitchShiftTap::kSize
constexpr int kMask = kRing - 1;
constexpr int kHalf = kRing / 2;

// Reads::any(mask) tells whether a lane of a comparison is set;
// Reads::weights(table, index) loads the crossfade weight table[index[j]]
// into lane j; Reads::heads(ring, at, r0, r1, r2, r3) loads the ring at at,
// at + 1, at + half and at + half + 1 (wrapped) per lane.
template <class V, class I, class Reads>
struct TapLanes {
    static constexpr int kLanes = sizeof(V) / sizeof(float);

    // The read phase before and after each frame's step, one add per frame in
    // order as process() makes them.
    template <std::size_t... J>
    static void phases(float start, float ratio, V& before, V& after, std::index_sequence<J...>)
    {
        float p[kLanes + 1];
        p[0] = start;
        ((p[J + 1] = p[J] + ratio), ...);
        before = V{p[J]...};
        after = V{p[J + 1]...};
    }

    // Whether a head may read a slot this group writes at or before the
    // reading frame, as process() writes before it reads. With the phase moving
    // forward the heads cover [at[0], at[last] + 1] and the same half a ring on:
    // when neither meets the group's slots no lane can.
    static bool mayHit(I at, int first, bool forward, I lane)
    {
        const int span = at[kLanes - 1] + 1 - at[0];
        const int a = (at[0] - first) & kMask;
        const int b = (at[0] + kHalf - first) & kMask;
        if (forward && a >= kLanes && a + span < kRing && b >= kLanes && b + span < kRing)
            return false;
        const I i0 = at, i1 = (at + 1) & kMask, i2 = (at + kHalf) & kMask, i3 = (at + kHalf + 1) & kMask;
        return Reads::any((((i0 - first) & kMask) <= lane) | (((i1 - first) & kMask) <= lane) |
                          (((i2 - first) & kMask) <= lane) | (((i3 - first) & kMask) <= lane));
    }

    // out[k] = process(in[k]) or, with Add, out[k] += gain × process(in[k]).
    template <bool Add>
    static int run(grelmond::PitchShiftLanes& s, const float* in, float* out, int frames, float mix, float ratio,
                   float gain)
    {
        I lane;
        for (int j = 0; j < kLanes; ++j)
            lane[j] = j;
        const float scale = 1.0f + ratio / 2.0f;
        const float dry = 1.0f - mix;
        const bool forward = ratio >= 0.0f;
        float* const ring = s.ring;
        int first = s.writeIndex;
        float phase = s.readPhase;
        int k = 0;
        for (; k + kLanes <= frames; k += kLanes) {
            V before, after;
            phases(phase, ratio, before, after, std::make_index_sequence<kLanes>());
            // A phase leaving the ring (or not a number) is wrapped by process().
            if (!(forward && after[kLanes - 1] < static_cast<float>(kRing)) &&
                Reads::any(~((after >= 0.0f) & (after < static_cast<float>(kRing)))))
                break;
            const I at = __builtin_convertvector(after, I);
            if (mayHit(at, first, forward, lane))
                break;
            V x;
            __builtin_memcpy(&x, in + k, sizeof x);
            I dist = ((first + lane) & kMask) - __builtin_convertvector(before, I);
            dist = dist < 0 ? -dist : dist;
            const I fold = dist <= kHalf ? dist : kRing - dist;
            const V w = Reads::weights(s.weights, fold >> 1);
            const V f = after - __builtin_convertvector(at, V);
            V r0, r1, r2, r3;
            Reads::heads(ring, at, r0, r1, r2, r3);
            const V a = r0 + (r1 - r0) * f;
            const V b = r2 + (r3 - r2) * f;
            V y = scale * (dry * x + mix * (w * a + (1.0f - w) * b));
            if constexpr (Add) {
                V sum;
                __builtin_memcpy(&sum, out + k, sizeof sum);
                y = sum + gain * y;
            }
            __builtin_memcpy(out + k, &y, sizeof y);
            if (first + kLanes <= kRing) {
                __builtin_memcpy(ring + first, &x, sizeof x);
            } else {
                for (int j = 0; j < kLanes; ++j)
                    ring[(first + j) & kMask] = x[j];
            }
            first = (first + kLanes) & kMask;
            phase = after[kLanes - 1];
        }
        s.writeIndex = first;
        s.readPhase = phase;
        return k;
    }
};

} // namespace
