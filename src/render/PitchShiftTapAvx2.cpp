#include "render/PitchShiftTapKernel.h"

#include <immintrin.h>

namespace grelmond {

namespace {

typedef float Lanes8 __attribute__((vector_size(32)));
typedef std::int32_t IntLanes8 __attribute__((vector_size(32)));

constexpr int kWeights = kRing / 4 + 1; // PitchShiftTap::kWeights

Lanes8 gather(const float* table, IntLanes8 index)
{
    return reinterpret_cast<Lanes8>(_mm256_i32gather_ps(table, reinterpret_cast<__m256i>(index), 4));
}

Lanes8 permute(Lanes8 v, IntLanes8 index)
{
    return reinterpret_cast<Lanes8>(
        _mm256_permutevar8x32_ps(reinterpret_cast<__m256>(v), reinterpret_cast<__m256i>(index)));
}

// table[base + rel[j]] for rel 0..15, from two plain loads.
Lanes8 window(const float* base, IntLanes8 rel)
{
    Lanes8 low, high;
    __builtin_memcpy(&low, base, sizeof low);
    __builtin_memcpy(&high, base + 8, sizeof high);
    return rel > 7 ? permute(high, rel) : permute(low, rel);
}

bool anyLane(IntLanes8 mask)
{
    const __m256i m = reinterpret_cast<__m256i>(mask);
    return _mm256_testz_si256(m, m) == 0;
}

bool outside(IntLanes8 rel, int last)
{
    return anyLane((rel < 0) | (rel > last));
}

// Eight neighbouring frames read neighbouring slots (the heads move about one
// slot per frame, the weights a slot every few frames), so a window of plain
// loads serves them; gathers, slow on some CPUs, are left for the rest. With
// `steady` (a whole group at a ratio of 0.5 to 1.5) the heads of the last
// frame are at most 11 slots past the first's, and the weight index of any
// frame within 2 of the first's, so the windows need no check.
struct Windows {
    static constexpr bool kScalarHeads = false;
    static bool any(IntLanes8 mask) { return anyLane(mask); }
    static Lanes8 weights(const float* table, IntLanes8 index, bool steady)
    {
        const int near = index[0] - 3;
        const int base = near < 0 ? 0 : (near > kWeights - 8 ? kWeights - 8 : near);
        const IntLanes8 rel = index - base;
        if (!steady && outside(rel, 7))
            return gather(table, index);
        Lanes8 v;
        __builtin_memcpy(&v, table + base, sizeof v);
        return permute(v, rel);
    }

    static void heads(const float* ring, IntLanes8 at, bool steady, Lanes8& r0, Lanes8& r1, Lanes8& r2, Lanes8& r3)
    {
        const int a = at[0];
        const int b = (a + kHalf) & kMask;
        const IntLanes8 rel = at - a;
        if (a + 16 <= kRing && b + 16 <= kRing && (steady || !outside(rel, 14))) {
            r0 = window(ring + a, rel);
            r1 = window(ring + a, rel + 1);
            r2 = window(ring + b, rel);
            r3 = window(ring + b, rel + 1);
            return;
        }
        r0 = gather(ring, at);
        r1 = gather(ring, (at + 1) & kMask);
        r2 = gather(ring, (at + kHalf) & kMask);
        r3 = gather(ring, (at + kHalf + 1) & kMask);
    }
};

} // namespace

int PitchShiftLanes::run8(const float* in, float* out, int frames, float mix, float ratio)
{
    return TapLanes<Lanes8, IntLanes8, Windows>::run<false>(*this, in, out, frames, mix, ratio, 0.0f);
}

int PitchShiftLanes::add8(const float* in, float* out, int frames, float mix, float ratio, float gain)
{
    return TapLanes<Lanes8, IntLanes8, Windows>::run<true>(*this, in, out, frames, mix, ratio, gain);
}

} // namespace grelmond
