#include "render/FlangerLfo.h"
#include "render/KeyDepth.h"
#include "render/LfoPhase.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace grelmond;

namespace {
constexpr std::int64_t kChunksPerDay = 24LL * 3600 * 100;
}

TEST(LfoPhase, StaysExactAfterADayOfRunning)
{
    for (double step : {409.6 * 0.37, 4096.0 * 0.0123, 40.96 * 0.9}) {
        for (std::int64_t h = kChunksPerDay; h < kChunksPerDay + 2000; ++h) {
            const long double exact = std::truncl(static_cast<long double>(h) * static_cast<long double>(step));
            const int expected = static_cast<int>(std::fmod(exact, 4096.0L));
            const int phase = lfoPhase(h, step);
            // The double product may round across an integer only at an exact boundary.
            EXPECT_LE(std::abs(phase - expected) % 4095, 1) << h;
            const int advance = (lfoPhase(h + 1, step) - phase + 4096) % 4096;
            ASSERT_GE(advance, static_cast<int>(step) % 4096) << h;
            ASSERT_LE(advance, static_cast<int>(step) % 4096 + 1) << h;
        }
    }
    EXPECT_EQ(lfoPhase(-5, 409.6), lfoPhase(-5, 409.6) & 4095);
}

TEST(FlangerLfo, TriangleAndSampleAndHold)
{
    FlangerLfo lfo;
    for (std::int64_t h = 0; h < 500; ++h) {
        lfo.setup(h, 0.05f, 0.0f);
        EXPECT_GE(lfo.value(), 0.0f);
        EXPECT_LE(lfo.value(), 1.0f);
    }

    lfo.reset();
    int changes = 0, wraps = 0;
    for (std::int64_t h = 0; h < 500; ++h) {
        const float before = lfo.value();
        const int phase = lfo.phase();
        lfo.setup(h, 0.03f, 1.0f); // 122.88 units per chunk
        wraps += lfo.phase() < phase;
        changes += lfo.value() != before;
        EXPECT_GE(lfo.value(), 0.0f);
        EXPECT_LT(lfo.value(), 1.0f);
    }
    EXPECT_GT(wraps, 10);
    EXPECT_EQ(changes, wraps);
    const float smoothed = lfo.step();
    EXPECT_GE(smoothed, 0.5f);
    EXPECT_LE(smoothed, 1.0f);
}

TEST(KeyDepth, ControlKeyboardAndMovingSplit)
{
    KeyDepth depth;
    EXPECT_FALSE(depth.controlNote(36));
    EXPECT_TRUE(depth.controlNote(30));
    EXPECT_FLOAT_EQ(depth.target(), 6.0f / 11.0f);
    EXPECT_TRUE(depth.controlNote(35));
    EXPECT_FLOAT_EQ(depth.target(), 1.0f);
    EXPECT_TRUE(depth.controlNote(20));
    EXPECT_EQ(depth.split(), 23);
    EXPECT_FLOAT_EQ(depth.target(), 8.0f / 11.0f);
    EXPECT_FALSE(depth.controlNote(30)); // above the lowered split: a playing note now

    KeyDepth fresh;
    EXPECT_TRUE(fresh.controlNote(0));
    EXPECT_EQ(fresh.split(), 23);
    EXPECT_EQ(fresh.target(), 0.0f); // clamped, not negative
}

TEST(KeyDepth, Glide)
{
    KeyDepth depth;
    depth.glide(0.5f);
    EXPECT_FLOAT_EQ(depth.value(), 0.25f); // stages start at 0
    for (int i = 0; i < 60; ++i)
        depth.glide(0.5f);
    EXPECT_NEAR(depth.value(), 1.0f, 1e-4f);

    depth.controlNote(24);
    depth.glide(0.0f);
    EXPECT_EQ(depth.value(), 0.0f);

    depth.controlNote(35);
    for (int i = 0; i < 10; ++i)
        depth.glide(1.0f);
    EXPECT_EQ(depth.value(), 0.0f);

    depth.resetForProgram();
    EXPECT_EQ(depth.value(), 1.0f);
    depth.glide(0.5f); // glides back up from the kept stages
    EXPECT_LT(depth.value(), 1.0f);
}
