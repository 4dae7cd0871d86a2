#include "render/TapPhases.h"

#include "render/PitchShiftTap.h"

#include <xmmintrin.h>

namespace grelmond {

namespace {

constexpr float kRing = static_cast<float>(PitchShiftTap::kSize);

// One frame on for four taps. A phase in [kRing, 2 kRing) minus kRing is exact
// and is what the library's fmod gives, so the lanes wrap bit for bit.
__m128 advanced(__m128 phase, __m128 ratio)
{
    const __m128 p = _mm_add_ps(phase, ratio);
    return _mm_sub_ps(p, _mm_and_ps(_mm_cmpge_ps(p, _mm_set1_ps(kRing)), _mm_set1_ps(kRing)));
}

// Four frames on for four taps, frame by frame in f0..f3. The ratios are not
// negative, so no lane wraps unless the last frame reaches the ring's end; the
// adds alone then give the same bits, with no compare in the chain.
__m128 fourFrames(__m128 p, __m128 ratio, __m128& f0, __m128& f1, __m128& f2, __m128& f3)
{
    f0 = _mm_add_ps(p, ratio);
    f1 = _mm_add_ps(f0, ratio);
    f2 = _mm_add_ps(f1, ratio);
    f3 = _mm_add_ps(f2, ratio);
    if (_mm_movemask_ps(_mm_cmpge_ps(f3, _mm_set1_ps(kRing))) != 0) {
        f0 = advanced(p, ratio);
        f1 = advanced(f0, ratio);
        f2 = advanced(f1, ratio);
        f3 = advanced(f2, ratio);
    }
    return f3;
}

bool tableable(float start, float ratio)
{
    return start >= 0.0f && start < kRing && ratio >= 0.0f && ratio <= 2.0f;
}

} // namespace

bool TapPhases::fill(const float* start, const float* ratio, int taps, int frames)
{
    if (taps > kMaxTaps || frames > kMaxFrames)
        return false;
    for (int t = 0; t < taps; ++t)
        if (!tableable(start[t], ratio[t]))
            return false;
    constexpr int kGroups = kMaxTaps / 4;
    const int groups = (taps + 3) / 4;
    __m128 p[kGroups], step[kGroups];
    for (int g = 0; g < groups; ++g) {
        alignas(16) float s[4] = {}, r[4] = {};
        for (int j = 0; j < 4 && 4 * g + j < taps; ++j) {
            s[j] = start[4 * g + j];
            r[j] = ratio[4 * g + j];
        }
        p[g] = _mm_load_ps(s);
        step[g] = _mm_load_ps(r);
        for (int j = 0; j < 4; ++j)
            table_[static_cast<std::size_t>((4 * g + j) * kStride)] = s[j];
    }
    // Whole blocks of four frames, eight past the end; the taps' chains
    // interleaved, so their latencies overlap.
    const int steps = (frames + 8 + 3) & ~3;
    for (int k = 1; k <= steps; k += 4) {
        for (int g = 0; g < groups; ++g) {
            __m128 f0, f1, f2, f3;
            p[g] = fourFrames(p[g], step[g], f0, f1, f2, f3);
            _MM_TRANSPOSE4_PS(f0, f1, f2, f3);
            float* rows = table_.data() + 4 * g * kStride + k;
            _mm_storeu_ps(rows, f0);
            _mm_storeu_ps(rows + kStride, f1);
            _mm_storeu_ps(rows + 2 * kStride, f2);
            _mm_storeu_ps(rows + 3 * kStride, f3);
        }
    }
    return true;
}

} // namespace grelmond
