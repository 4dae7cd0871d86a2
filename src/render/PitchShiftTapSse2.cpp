#include "render/PitchShiftTapKernel.h"
#include "render/PitchShiftTap.h"

#include <emmintrin.h>

namespace grelmond {

static_assert(kRing == PitchShiftTap::kSize && kRing / 4 + 1 == PitchShiftTap::kWeights);

namespace {

typedef float Lanes4 __attribute__((vector_size(16)));
typedef std::int32_t IntLanes4 __attribute__((vector_size(16)));

Lanes4 pick(const float* table, IntLanes4 index)
{
    return Lanes4{table[index[0]], table[index[1]], table[index[2]], table[index[3]]};
}

struct PerLane {
    static constexpr bool kScalarHeads = true;
    static bool any(IntLanes4 mask) { return _mm_movemask_ps(reinterpret_cast<__m128>(mask)) != 0; }
    static Lanes4 weights(const float* table, IntLanes4 index, bool) { return pick(table, index); }
    static void heads(const float* ring, IntLanes4 at, bool, Lanes4& r0, Lanes4& r1, Lanes4& r2, Lanes4& r3)
    {
        const int a[4] = {at[0], at[1], at[2], at[3]};
        const int b[4] = {(a[0] + kHalf) & kMask, (a[1] + kHalf) & kMask, (a[2] + kHalf) & kMask,
                          (a[3] + kHalf) & kMask};
        // Each head reads two neighbouring slots: one 64-bit load per lane
        // where no pair passes the ring's end.
        bool inside = true;
        for (int j = 0; j < 4; ++j)
            inside = inside && a[j] != kMask && b[j] != kMask;
        if (inside) {
            pairs(ring, a, r0, r1);
            pairs(ring, b, r2, r3);
            return;
        }
        r0 = pick(ring, at);
        r1 = pick(ring, (at + 1) & kMask);
        r2 = pick(ring, (at + kHalf) & kMask);
        r3 = pick(ring, (at + kHalf + 1) & kMask);
    }

    // The pairs at a[j] into r0, r1 and at a[j] + offset into r2, r3.
    static void pairs(const float* ring, const unsigned* a, int offset, Lanes4& r0, Lanes4& r1, Lanes4& r2,
                      Lanes4& r3)
    {
        pairs(ring, a, r0, r1);
        pairs(ring + offset, a, r2, r3);
    }

    // ring[a[j]] into lane j of first, the slot after it into second.
    template <class Index>
    static void pairs(const float* ring, const Index* a, Lanes4& first, Lanes4& second)
    {
        const __m128 p01 = pairs(ring + a[0], ring + a[1]);
        const __m128 p23 = pairs(ring + a[2], ring + a[3]);
        first = reinterpret_cast<Lanes4>(_mm_shuffle_ps(p01, p23, _MM_SHUFFLE(2, 0, 2, 0)));
        second = reinterpret_cast<Lanes4>(_mm_shuffle_ps(p01, p23, _MM_SHUFFLE(3, 1, 3, 1)));
    }

    // Two neighbouring floats from each of two places; the places need not be
    // aligned for an 8-byte load, so they are copied rather than dereferenced.
    static __m128 pairs(const float* low, const float* high)
    {
        double a, b;
        __builtin_memcpy(&a, low, sizeof a);
        __builtin_memcpy(&b, high, sizeof b);
        return _mm_castpd_ps(_mm_set_pd(b, a));
    }
};

} // namespace

int PitchShiftLanes::run4(const float* in, float* out, int frames, float mix, float ratio)
{
    return TapLanes<Lanes4, IntLanes4, PerLane>::run<false>(*this, in, out, frames, mix, ratio, 0.0f);
}

int PitchShiftLanes::add4(const float* in, float* out, int frames, float mix, float ratio, float gain)
{
    return TapLanes<Lanes4, IntLanes4, PerLane>::run<true>(*this, in, out, frames, mix, ratio, gain);
}

} // namespace grelmond
