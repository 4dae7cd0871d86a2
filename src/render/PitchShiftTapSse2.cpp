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
    static bool any(IntLanes4 mask) { return _mm_movemask_ps(reinterpret_cast<__m128>(mask)) != 0; }
    static Lanes4 weights(const float* table, IntLanes4 index, bool) { return pick(table, index); }
    static void heads(const float* ring, IntLanes4 at, bool, Lanes4& r0, Lanes4& r1, Lanes4& r2, Lanes4& r3)
    {
        r0 = pick(ring, at);
        r1 = pick(ring, (at + 1) & kMask);
        r2 = pick(ring, (at + kHalf) & kMask);
        r3 = pick(ring, (at + kHalf + 1) & kMask);
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
