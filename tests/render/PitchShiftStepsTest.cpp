// The lane kernels' even steps of the read phase against the serial float adds
// they stand for: every claimed frame must be the same bits.

#include "render/PitchShiftTapKernel.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>

namespace {

std::uint32_t bitsOf(float x)
{
    std::uint32_t b;
    std::memcpy(&b, &x, sizeof b);
    return b;
}

float nextUp(float x)
{
    return std::nextafter(x, 2.0f * x);
}

// Frames claimed by exactSteps() that the serial adds do not reach, or -1.
int firstWrongStep(float phase, float ratio, int frames, int& claimed)
{
    float step = 0.0f;
    claimed = exactSteps(phase, ratio, frames, step);
    float p = phase;
    for (int k = 1; k <= claimed; ++k) {
        p += ratio;
        if (bitsOf(p) != bitsOf(phase + static_cast<float>(k) * step))
            return k;
    }
    return -1;
}

} // namespace

// Every float ratio from 0.5 to 1.5, from a phase in the lowest, a middle and
// the highest binade the kernels step in.
TEST(PitchShiftSteps, EveryRatioMatchesTheSerialAdds)
{
    std::mt19937 random(3);
    for (float low : {2.0f, 1024.0f, 2048.0f}) {
        std::uniform_real_distribution<float> place(low, 1.25f * low);
        int wrong = 0, used = 0;
        for (float ratio = 0.5f; ratio <= 1.5f; ratio = nextUp(ratio)) {
            int claimed = 0;
            if (firstWrongStep(place(random), ratio, 4, claimed) >= 0)
                ++wrong;
            used += claimed > 0;
        }
        EXPECT_EQ(wrong, 0) << low;
        // Only ratios halfway between two of the binade's steps, and runs
        // reaching the binade's top in the lowest one, are left to the adds.
        EXPECT_GT(used, low > 2.0f ? 3 * (1 << 22) - 20000 : 1 << 23) << low;
    }
}

// Long runs in every binade, up to its top, and the ratios halfway between
// two steps (where ties to even alternate the rounding), which must be refused.
TEST(PitchShiftSteps, RunsEndAtTheBinadeAndRefuseTies)
{
    std::mt19937 random(5);
    std::uniform_real_distribution<float> ratios(0.5f, 1.5f);
    for (float low = 2.0f; low < 4096.0f; low *= 2.0f) {
        const float unit = std::ldexp(1.0f, std::ilogb(low) - 23);
        std::uniform_real_distribution<float> place(low, 2.0f * low);
        for (int i = 0; i < 2000; ++i) {
            const float phase = i % 10 == 0 ? std::nextafter(2.0f * low, 0.0f) - static_cast<float>(i % 7) * unit
                                             : place(random);
            const float ratio = ratios(random);
            int claimed = 0;
            ASSERT_EQ(firstWrongStep(phase, ratio, 64, claimed), -1) << phase << " " << ratio;
            if (phase + 64.0f * 1.5f + 1.0f < 2.0f * low && std::fmod(ratio, unit) != unit / 2.0f) {
                EXPECT_EQ(claimed, 64) << phase << " " << ratio;
            }
        }
        for (float tie : {1.0f + unit / 2.0f, 1.0f - unit / 2.0f, 0.75f + 1.5f * unit}) {
            int claimed = 0;
            EXPECT_EQ(firstWrongStep(low + 3.0f * unit, tie, 64, claimed), -1);
            EXPECT_EQ(claimed, 0) << low << " " << tie;
            EXPECT_EQ(firstWrongStep(low + 3.0f * unit, nextUp(tie), 64, claimed), -1);
        }
    }
}

// Phases the kernels leave to the serial adds: under 2, at the ring's end,
// not a number; and ratios outside 0.5 to 1.5.
TEST(PitchShiftSteps, NoStepsOutsideTheRing)
{
    float step = 0.0f;
    for (float phase : {0.0f, 1.5f, 4096.0f, 5000.0f, -3.0f, NAN})
        EXPECT_EQ(exactSteps(phase, 1.0f, 64, step), 0) << phase;
    for (float ratio : {NAN, 0.0f, 0.25f, 1.75f, -1.0f})
        EXPECT_EQ(exactSteps(100.0f, ratio, 64, step), 0) << ratio;
}
