#pragma once

// PitchShiftTap::process over N frames at once, in the lanes of a GCC vector
// type. Included by one source file per instruction set, each compiled with its
// own target flags and -ffp-contract=off, so every lane rounds exactly as
// process() does. Internal linkage keeps the copies apart, and nothing here
// calls an inline function shared with code built for other CPUs.

#include "render/PitchShiftLanes.h"

#include <algorithm>
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
// `steady` promises a whole group at a ratio of 0.5 to 1.5. Where Reads::kLean,
// Reads::pairs(ring, at, offset, r0, r1, r2, r3) loads the slot pairs at at[j]
// and at[j] + offset, none past the ring's end, for leanRun().
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
        const float* phases; // the phases from this group's first frame on, or null
        float ratio;
        V scale, dry, mix, gain; // every lane the same
        bool forward;
        bool steady; // a ratio of 0.5 to 1.5, as the ensemble and chorus use
        I lane;
    };

    static V splat(float x)
    {
        V v;
        for (int j = 0; j < kLanes; ++j)
            v[j] = x;
        return v;
    }

    // process()'s output from the frame's input x, weight w, fraction f and
    // the heads' slot pairs (r0, r1) and (r2, r3).
    static V mixed(const Group& g, V x, V w, V f, V r0, V r1, V r2, V r3)
    {
        const V a = r0 + (r1 - r0) * f;
        const V b = r2 + (r3 - r2) * f;
        return g.scale * (g.dry * x + g.mix * (w * a + (1.0f - w) * b));
    }

    // A whole group's output (or its sum) and the ring's writes.
    template <bool Add>
    static void emit(Group& g, V x, V y, float* out)
    {
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
    }

    // Whole groups in a run, checked once for the run rather than group by
    // group: a ratio of 0.5 to 1.5, phases from a table, no wrap of the phase
    // or of the write position, every head's slot pairs within one half of the
    // ring and clear of the slots its group writes. The heads' slots then come
    // from scalar conversions of the phases, the second head's at a fixed
    // offset from the first's, so no head index leaves a vector register.
    // Returns the groups done (none where the run's ends fail the checks).
    template <bool Add>
    static int leanRun(Group& g, const float* in, float* out, int groups)
    {
        constexpr int kMaxRun = 16;
        if (!g.steady || g.phases == nullptr)
            return 0;
        const int n = std::min({groups, (kRing - g.first) / kLanes, kMaxRun});
        const int m = n * kLanes;
        if (n <= 0 || !leanFits(g.phases, g.first, m))
            return 0;
        const float* p = g.phases;
        const int offset = static_cast<int>(p[1]) & kHalf ? -kHalf : kHalf;
        for (int k = 0; k < m; k += kLanes) {
            V before, after;
            __builtin_memcpy(&before, p + k, sizeof before);
            __builtin_memcpy(&after, p + k + 1, sizeof after);
            int at[kLanes];
            for (int j = 0; j < kLanes; ++j)
                at[j] = static_cast<int>(p[k + j + 1]);
            I dist = (g.first + k + g.lane) - __builtin_convertvector(before, I);
            dist = dist < 0 ? -dist : dist;
            const I fold = dist <= kHalf ? dist : kRing - dist;
            const V w = Reads::weights(g.weights, fold >> 1, true);
            const V f = after - __builtin_convertvector(__builtin_convertvector(after, I), V);
            V r0, r1, r2, r3;
            Reads::pairs(g.ring, at, offset, r0, r1, r2, r3);
            V x;
            __builtin_memcpy(&x, in + k, sizeof x);
            V y = mixed(g, x, w, f, r0, r1, r2, r3);
            if constexpr (Add) {
                V sum;
                __builtin_memcpy(&sum, out + k, sizeof sum);
                y = sum + g.gain * y;
            }
            __builtin_memcpy(out + k, &y, sizeof y);
            __builtin_memcpy(g.ring + g.first + k, &x, sizeof x);
        }
        g.first = (g.first + m) & kMask;
        g.phase = p[m];
        g.phases += m;
        return n;
    }

    // Whether m frames from phases p[0..m] and write position `first` (at
    // most kRing - m) meet leanRun()'s terms. Over a run the heads move
    // forward, and a head's place behind or ahead of the frame's write slot
    // changes by at most a slot a frame, evenly up to one slot of rounding
    // (the phases' float steps differ from the ratio by under 2^-13), so the
    // run's first and last frames bound every frame between them.
    static bool leanFits(const float* p, int first, int m)
    {
        const int a = static_cast<int>(p[1]);
        const int z = static_cast<int>(p[m]);
        if (!(p[m] >= p[1]) || z + 1 > kMask || (a & kHalf) != ((z + 1) & kHalf))
            return false;
        // A frame reads a slot its group has written when its head is 0 to 4
        // slots behind its own write slot, in either half of the ring; two
        // slots of margin.
        const int ra = a - first;
        const int rz = z - (first + m - 1);
        const auto clear = [](int r) { return (r & (kHalf - 1)) >= 3 && (r & (kHalf - 1)) <= kHalf - 7; };
        return clear(ra) && clear(rz) && (ra & ~(kHalf - 1)) == (rz & ~(kHalf - 1));
    }

    // One group of frames, all kLanes of them (Full) or the first `count`:
    // out[j] = process(in[j]), or with Add out[j] += gain × process(in[j]).
    // False, with nothing changed, when the group must go through process().
    template <bool Add, bool Full>
    static bool group(Group& g, const float* in, float* out, int count)
    {
        V before, after;
        I valid = g.lane < count;
        if constexpr (Full)
            valid = g.lane >= 0;
        if (g.phases != nullptr) {
            // Given phases are wrapped already (and move forward): a wrap shows
            // as a phase below the one before.
            __builtin_memcpy(&before, g.phases, sizeof before);
            __builtin_memcpy(&after, g.phases + 1, sizeof after);
            if (Reads::any(valid & (after < before)))
                return false;
        } else {
            phases(g.phase, g.ratio, before, after, std::make_index_sequence<kLanes>());
            // A phase leaving the ring (or not a number) is wrapped by process().
            if (!(Full && g.forward && after[kLanes - 1] < static_cast<float>(kRing)) &&
                Reads::any(valid & ~((after >= 0.0f) & (after < static_cast<float>(kRing)))))
                return false;
        }
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
        const V y = mixed(g, x, w, f, r0, r1, r2, r3);
        if constexpr (Full) {
            emit<Add>(g, x, y, out);
        } else {
            for (int j = 0; j < count; ++j) {
                out[j] = Add ? out[j] + g.gain[j] * y[j] : y[j];
                g.ring[(g.first + j) & kMask] = x[j];
            }
        }
        g.first = (g.first + count) & kMask;
        g.phase = after[count - 1];
        if (g.phases != nullptr)
            g.phases += count;
        return true;
    }

    // Whole groups, then the last few frames as a part group; returns the
    // frames done, stopping before a group that must go through process().
    template <bool Add>
    static int run(grelmond::PitchShiftLanes& s, const float* in, float* out, int frames, float mix, float ratio,
                   float gain)
    {
        Group g{s.ring, s.weights, s.writeIndex, s.readPhase, s.phases, ratio, splat(1.0f + ratio / 2.0f),
                splat(1.0f - mix), splat(mix), splat(gain), ratio >= 0.0f, ratio >= 0.5f && ratio <= 1.5f, I{}};
        for (int j = 0; j < kLanes; ++j)
            g.lane[j] = j;
        int k = 0;
        while (k + kLanes <= frames) {
            if constexpr (Reads::kLean) {
                if (const int n = leanRun<Add>(g, in + k, out + k, (frames - k) / kLanes)) {
                    k += n * kLanes;
                    continue;
                }
            }
            if (!group<Add, true>(g, in + k, out + k, kLanes))
                break;
            k += kLanes;
        }
        if (k < frames && frames - k < kLanes && group<Add, false>(g, in + k, out + k, frames - k))
            k = frames;
        s.writeIndex = g.first;
        s.readPhase = g.phase;
        return k;
    }
};

} // namespace
