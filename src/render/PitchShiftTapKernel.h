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

// Here rather than std::min, whose out-of-line copy the linker may take from
// a file built for another CPU.
constexpr int least(int a, int b)
{
    return a < b ? a : b;
}

// How many of the next `frames` frames' phases, stepping from `phase` by
// `ratio` (0.5 to 1.5) one float add at a time as process() does, are exactly
// phase + k × step. While the sums stay in the binade of `phase` (below the
// next power of two) every float there is a multiple of its unit u, phase
// among them, so each add rounds the ratio alone to a multiple of u: the same
// `step` every frame, unless the ratio lies exactly halfway between two
// multiples, where ties to even would alternate with the phase's last bit.
// Then, and for a phase under 2 or another ratio, no frames.
inline int exactSteps(float phase, float ratio, int frames, float& step)
{
    if (!(phase >= 2.0f && phase < static_cast<float>(kRing) && ratio >= 0.5f && ratio <= 1.5f))
        return 0;
    std::uint32_t bits;
    __builtin_memcpy(&bits, &phase, sizeof bits);
    const std::uint32_t exponent = bits >> 23;
    const std::uint32_t topBits = (exponent + 1) << 23, halfUnitBits = (exponent - 24) << 23;
    float top, halfUnit;
    __builtin_memcpy(&top, &topBits, sizeof top);
    __builtin_memcpy(&halfUnit, &halfUnitBits, sizeof halfUnit);
    // Both differences are exact (their operands lie within a factor of two).
    step = (phase + ratio) - phase;
    const float miss = ratio - step;
    if (!(miss < halfUnit && -miss < halfUnit))
        return 0;
    // k × step is exact (a multiple of u below 2^24 u), and so is phase plus
    // it while below top; the first k reaching top ends the run.
    int k = least(frames, static_cast<int>((top - phase) / step));
    while (k > 0 && !(phase + static_cast<float>(k) * step < top))
        --k;
    return k;
}

// Reads::any(mask) tells whether a lane of a comparison is set;
// Reads::weights(table, index, steady) loads the crossfade weight
// table[index[j]] into lane j; Reads::heads(ring, at, steady, r0, r1, r2, r3)
// loads the ring at at, at + 1, at + half and at + half + 1 (wrapped) per lane.
// `steady` promises a whole group at a ratio of 0.5 to 1.5. In leanRun(), with
// Reads::kScalarHeads it loads through
// Reads::pairs(ring, at, offset, r0, r1, r2, r3), the slot pairs at at[j] and
// at[j] + offset, none past the ring's end, else through weights() and heads().
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
        float ratio;
        V scale, dry, mix, gain; // every lane the same
        bool forward;
        bool steady; // a ratio of 0.5 to 1.5, as the ensemble and chorus use
        I lane;
    };

    static V splat(float x) { return splat(x, std::make_index_sequence<kLanes>()); }
    template <std::size_t... J>
    static V splat(float x, std::index_sequence<J...>)
    {
        return V{((void)J, x)...};
    }

    // process()'s output from the frame's input x, weight w, fraction f and
    // the heads' slot pairs (r0, r1) and (r2, r3).
    static V mixed(const Group& g, V x, V w, V f, V r0, V r1, V r2, V r3)
    {
        const V a = r0 + (r1 - r0) * f;
        const V b = r2 + (r3 - r2) * f;
        return g.scale * (g.dry * x + g.mix * (w * a + (1.0f - w) * b));
    }

    // A whole group's output y (or with Add its sum) and its inputs x into the
    // ring from `slot`, which has room for them.
    template <bool Add>
    static void put(const Group& g, V x, V y, float* out, int slot)
    {
        if constexpr (Add) {
            V sum;
            __builtin_memcpy(&sum, out, sizeof sum);
            y = sum + g.gain * y;
        }
        __builtin_memcpy(out, &y, sizeof y);
        __builtin_memcpy(g.ring + slot, &x, sizeof x);
    }

    // put() at the write position, wrapping at the ring's end.
    template <bool Add>
    static void emit(const Group& g, V x, V y, float* out)
    {
        if (g.first + kLanes <= kRing) {
            put<Add>(g, x, y, out, g.first);
            return;
        }
        for (int j = 0; j < kLanes; ++j) {
            out[j] = Add ? out[j] + g.gain[j] * y[j] : y[j];
            g.ring[(g.first + j) & kMask] = x[j];
        }
    }

    // Whole groups in a run, checked once for the run rather than group by
    // group: a ratio of 0.5 to 1.5, phases that step evenly (exactSteps()), no
    // wrap of the phase or of the write position, every head's slot pairs
    // within one half of the ring and clear of the slots its group writes. The
    // phases then come from one add each off the run's first, with no chain
    // of adds through the run. With Reads::kScalarHeads the heads' slots come
    // from scalar conversions, the second head's at a fixed offset from the
    // first's, so no head index moves out of a vector register. Returns the
    // groups done (none where the run's ends fail the checks).
    template <bool Add>
    static int leanRun(Group& g, const float* in, float* out, int groups)
    {
        // Short runs: one whose last frames fail the checks leaves only a
        // group to group(), and the next run starts a group later.
        constexpr int kMaxRun = 16;
        if (!g.steady)
            return 0;
        float step;
        const int most = least(least(groups * kLanes, (kRing - g.first) & ~(kLanes - 1)), kMaxRun * kLanes);
        const int m = exactSteps(g.phase, g.ratio, most, step) & ~(kLanes - 1);
        if (m <= 0 || !leanFits(g.phase + step, g.phase + static_cast<float>(m) * step, g.first, m))
            return 0;
        float end;
        if constexpr (Reads::kScalarHeads) {
            const int offset = static_cast<int>(g.phase + step) & kHalf ? -kHalf : kHalf;
            // Every frame's head before its step lies within the same quarter
            // ring (sign and half) from the frame's write slot (leanFits()), where
            // twice the weight index is linear in that place: ±place + c.
            const int quarter = (static_cast<int>(g.phase + step) - g.first) >> 11;
            const int c = quarter & 1 ? (quarter + 1) * kHalf : -quarter * kHalf;
            end = quarter & 1 ? leanGroups<Add, true>(g, in, out, m, step, offset, c)
                              : leanGroups<Add, false>(g, in, out, m, step, offset, c);
        } else {
            end = leanVectorGroups<Add>(g, in, out, m, step);
        }
        g.first = (g.first + m) & kMask;
        g.phase = end;
        return m / kLanes;
    }

    // leanRun()'s m frames; returns the phase after them. Flip: the weight
    // index falls as the head's place from the write slot grows.
    template <bool Add, bool Flip>
    static float leanGroups(const Group& g, const float* in, float* out, int m, float step, int offset, int c)
    {
        float by[kLanes + 1]; // j steps, exactly
        for (int j = 0; j <= kLanes; ++j)
            by[j] = static_cast<float>(j) * step;
        V ahead;
        __builtin_memcpy(&ahead, by + 1, sizeof ahead);
        float phase = g.phase;
        unsigned back = static_cast<unsigned>(static_cast<int>(phase));
        for (int k = 0; k < m; k += kLanes) {
            const V after = splat(phase) + ahead;
            unsigned at[kLanes], index[kLanes];
            for (int j = 0; j < kLanes; ++j) {
                at[j] = static_cast<unsigned>(static_cast<int>(phase + by[j + 1]));
                const int place = static_cast<int>(j == 0 ? back : at[j - 1]) - (g.first + k + j);
                index[j] = static_cast<unsigned>(Flip ? c - place : c + place) >> 1;
            }
            back = at[kLanes - 1];
            const V w = gather(g.weights, index, std::make_index_sequence<kLanes>());
            const V f = after - __builtin_convertvector(__builtin_convertvector(after, I), V);
            V r0, r1, r2, r3;
            Reads::pairs(g.ring, at, offset, r0, r1, r2, r3);
            V x;
            __builtin_memcpy(&x, in + k, sizeof x);
            put<Add>(g, x, mixed(g, x, w, f, r0, r1, r2, r3), out + k, g.first + k);
            phase += by[kLanes];
        }
        return phase;
    }

    // leanRun()'s m frames with the heads' and weights' indices kept in
    // vector lanes, for Reads that load through them; returns the phase after.
    template <bool Add>
    static float leanVectorGroups(const Group& g, const float* in, float* out, int m, float step)
    {
        V steps; // j steps, exactly
        for (int j = 0; j < kLanes; ++j)
            steps[j] = static_cast<float>(j) * step;
        const V one = splat(step);
        const float whole = static_cast<float>(kLanes) * step;
        float phase = g.phase;
        for (int k = 0; k < m; k += kLanes) {
            const V before = splat(phase) + steps;
            const V after = before + one;
            const I at = __builtin_convertvector(after, I);
            I dist = (g.first + k + g.lane) - __builtin_convertvector(before, I);
            dist = dist < 0 ? -dist : dist;
            const I fold = dist <= kHalf ? dist : kRing - dist;
            const V w = Reads::weights(g.weights, fold >> 1, true);
            const V f = after - __builtin_convertvector(at, V);
            V r0, r1, r2, r3;
            Reads::heads(g.ring, at, true, r0, r1, r2, r3);
            V x;
            __builtin_memcpy(&x, in + k, sizeof x);
            put<Add>(g, x, mixed(g, x, w, f, r0, r1, r2, r3), out + k, g.first + k);
            phase += whole;
        }
        return phase;
    }

    template <std::size_t... J>
    static V gather(const float* table, const unsigned* index, std::index_sequence<J...>)
    {
        return V{table[index[J]]...};
    }

    // Whether m frames, the heads after the first at phase `a` and after the
    // last at `z`, from write position `first` (at most kRing - m) meet
    // leanRun()'s terms. The phases step evenly forward, so a head's place
    // behind or ahead of its frame's write slot moves one way, by at most a
    // slot a frame, and the run's first and last frames bound all between.
    static bool leanFits(float a, float z, int first, int m)
    {
        const int i = static_cast<int>(a);
        const int j = static_cast<int>(z);
        if (j + 1 > kMask || (i & kHalf) != ((j + 1) & kHalf))
            return false;
        // A frame reads a slot its group has written when its head is 0 to
        // kLanes slots behind its own write slot, in either half of the ring;
        // two slots of margin.
        const int ri = i - first;
        const int rj = j - (first + m - 1);
        const auto clear = [](int r) { return (r & (kHalf - 1)) >= 3 && (r & (kHalf - 1)) <= kHalf - 3 - kLanes; };
        return clear(ri) && clear(rj) && (ri & ~(kHalf - 1)) == (rj & ~(kHalf - 1));
    }

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
        return true;
    }

    // Whole groups, then the last few frames as a part group; returns the
    // frames done, stopping before a group that must go through process().
    template <bool Add>
    static int run(grelmond::PitchShiftLanes& s, const float* in, float* out, int frames, float mix, float ratio,
                   float gain)
    {
        Group g{s.ring, s.weights, s.writeIndex, s.readPhase, ratio, splat(1.0f + ratio / 2.0f),
                splat(1.0f - mix), splat(mix), splat(gain), ratio >= 0.0f, ratio >= 0.5f && ratio <= 1.5f, I{}};
        for (int j = 0; j < kLanes; ++j)
            g.lane[j] = j;
        int k = 0;
        while (k + kLanes <= frames) {
            if (const int n = leanRun<Add>(g, in + k, out + k, (frames - k) / kLanes)) {
                k += n * kLanes;
                continue;
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
