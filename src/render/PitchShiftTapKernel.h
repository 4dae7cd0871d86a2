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

// Reads::weights(table, index) loads the crossfade weight table[index[j]]
// into lane j; Reads::heads(ring, at, r0, r1, r2, r3) loads the ring at at,
// at + 1, at + half and at + half + 1 (wrapped) per lane.
template <class V, class I, class Reads>
struct TapLanes {
    static constexpr int kLanes = sizeof(V) / sizeof(float);

    static bool any(I v)
    {
        std::uint64_t words[sizeof(I) / sizeof(std::uint64_t)];
        __builtin_memcpy(words, &v, sizeof words);
        std::uint64_t all = 0;
        for (std::uint64_t w : words)
            all |= w;
        return all != 0;
    }

    // The read phase before and after each frame's step, one add per frame in
    // order as process() makes them; false when the phase leaves the ring.
    template <std::size_t... J>
    static bool phases(float start, float ratio, V& before, V& after, std::index_sequence<J...>)
    {
        float p[kLanes + 1];
        p[0] = start;
        ((p[J + 1] = p[J] + ratio), ...);
        before = V{p[J]...};
        after = V{p[J + 1]...};
        return ((p[J + 1] >= 0.0f && p[J + 1] < kRing) && ...);
    }

    static int run(grelmond::PitchShiftLanes& s, const float* in, float* out, int frames, float mix, float ratio)
    {
        I lane;
        for (int j = 0; j < kLanes; ++j)
            lane[j] = j;
        const float scale = 1.0f + ratio / 2.0f;
        const float dry = 1.0f - mix;
        float* const ring = s.ring;
        int first = s.writeIndex;
        float phase = s.readPhase;
        int k = 0;
        for (; k + kLanes <= frames; k += kLanes) {
            V before, after;
            if (!phases(phase, ratio, before, after, std::make_index_sequence<kLanes>()))
                break;
            const I at = __builtin_convertvector(after, I);
            const I i0 = at, i1 = (at + 1) & kMask, i2 = (at + kHalf) & kMask, i3 = (at + kHalf + 1) & kMask;
            // Where process() writes before it reads.
            const I hit = (((i0 - first) & kMask) <= lane) | (((i1 - first) & kMask) <= lane) |
                          (((i2 - first) & kMask) <= lane) | (((i3 - first) & kMask) <= lane);
            if (any(hit))
                break;
            V x;
            __builtin_memcpy(&x, in + k, sizeof x);
            I dist = ((first + lane) & kMask) - __builtin_convertvector(before, I);
            dist = dist < 0 ? -dist : dist;
            const I fold = dist <= kHalf ? dist : kRing - dist;
            const V w = Reads::weights(s.weights, fold / 2);
            const V f = after - __builtin_convertvector(at, V);
            V r0, r1, r2, r3;
            Reads::heads(ring, at, r0, r1, r2, r3);
            const V a = r0 + (r1 - r0) * f;
            const V b = r2 + (r3 - r2) * f;
            const V y = scale * (dry * x + mix * (w * a + (1.0f - w) * b));
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
