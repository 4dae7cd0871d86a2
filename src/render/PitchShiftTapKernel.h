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
// Reads::weights(table, index, steady) loads the crossfade weight
// table[index[j]] into lane j; Reads::heads(ring, at, steady, r0, r1, r2, r3)
// loads the ring at at, at + 1, at + half and at + half + 1 (wrapped) per lane.
// `steady` promises a whole group at a ratio of 0.5 to 1.5.
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

    struct Group {
        float* ring;
        const float* weights;
        int first;   // the write index
        float phase; // the read phase
        float ratio, scale, dry, mix, gain;
        bool forward;
        bool steady; // a ratio of 0.5 to 1.5, as the ensemble and chorus use
        I lane;
    };

    // One group of frames, all kLanes of them (Full) or the first `count`:
    // out[j] = process(in[j]), or with Add out[j] += gain × process(in[j]).
    // False, with nothing changed, when the group must go through process().
    template <bool Add, bool Full>
    static bool group(Group& g, const float* in, float* out, int count)
    {
        V before, after;
        phases(g.phase, g.ratio, before, after, std::make_index_sequence<kLanes>());
        I valid = g.lane < count;
        if constexpr (Full)
            valid = g.lane >= 0;
        // A phase leaving the ring (or not a number) is wrapped by process().
        if (!(Full && g.forward && after[kLanes - 1] < static_cast<float>(kRing)) &&
            Reads::any(valid & ~((after >= 0.0f) & (after < static_cast<float>(kRing)))))
            return false;
        I at = __builtin_convertvector(after, I);
        I back = __builtin_convertvector(before, I);
        V x;
        if constexpr (Full) {
            if (mayHit(at, g.first, g.forward, g.lane))
                return false;
            __builtin_memcpy(&x, in, sizeof x);
        } else {
            // The lanes past the group take the first lane's positions, so every
            // read stays in the tables.
            at = valid ? at : at[0];
            back = valid ? back : back[0];
            const I i0 = at, i1 = (at + 1) & kMask, i2 = (at + kHalf) & kMask, i3 = (at + kHalf + 1) & kMask;
            const I lane = g.lane;
            const int first = g.first;
            if (Reads::any(valid & ((((i0 - first) & kMask) <= lane) | (((i1 - first) & kMask) <= lane) |
                                    (((i2 - first) & kMask) <= lane) | (((i3 - first) & kMask) <= lane))))
                return false;
            x = V{};
            for (int j = 0; j < count; ++j)
                x[j] = in[j];
        }
        I dist = ((g.first + g.lane) & kMask) - back;
        dist = dist < 0 ? -dist : dist;
        const I fold = dist <= kHalf ? dist : kRing - dist;
        const V w = Reads::weights(g.weights, fold >> 1, Full && g.steady);
        const V f = after - __builtin_convertvector(at, V);
        V r0, r1, r2, r3;
        Reads::heads(g.ring, at, Full && g.steady, r0, r1, r2, r3);
        const V a = r0 + (r1 - r0) * f;
        const V b = r2 + (r3 - r2) * f;
        V y = g.scale * (g.dry * x + g.mix * (w * a + (1.0f - w) * b));
        if constexpr (Full) {
            if constexpr (Add) {
                V sum;
                __builtin_memcpy(&sum, out, sizeof sum);
                y = sum + g.gain * y;
            }
            __builtin_memcpy(out, &y, sizeof y);
            if (g.first + kLanes <= kRing) {
                __builtin_memcpy(g.ring + g.first, &x, sizeof x);
            } else {
                for (int j = 0; j < kLanes; ++j)
                    g.ring[(g.first + j) & kMask] = x[j];
            }
        } else {
            for (int j = 0; j < count; ++j) {
                out[j] = Add ? out[j] + g.gain * y[j] : y[j];
                g.ring[(g.first + j) & kMask] = x[j];
            }
        }
        g.first = (g.first + count) & kMask;
        g.phase = after[count - 1];
        return true;
    }

    // Whole groups, then the last few frames as a part group; returns the
    // frames done, stopping before a group that must go through process().
    template <bool Add>
    static int run(grelmond::PitchShiftLanes& s, const float* in, float* out, int frames, float mix, float ratio,
                   float gain)
    {
        Group g{s.ring, s.weights, s.writeIndex, s.readPhase, ratio, 1.0f + ratio / 2.0f, 1.0f - mix, mix, gain,
                ratio >= 0.0f, ratio >= 0.5f && ratio <= 1.5f, I{}};
        for (int j = 0; j < kLanes; ++j)
            g.lane[j] = j;
        int k = 0;
        while (k + kLanes <= frames && group<Add, true>(g, in + k, out + k, kLanes))
            k += kLanes;
        if (k < frames && frames - k < kLanes && group<Add, false>(g, in + k, out + k, frames - k))
            k = frames;
        s.writeIndex = g.first;
        s.readPhase = g.phase;
        return k;
    }
};

} // namespace
