#include "render/GainGlide.h"

#include <gtest/gtest.h>

#include <cmath>

using grelmond::GainGlide;

// The first value and every steady value pass exactly; a change glides
// smoothly, without overshoot, and ends exactly on the new value.
TEST(GainGlide, SteadyExactChangeSmoothAndComplete)
{
    GainGlide g;
    g.setup(3.5f, 44100.0);
    for (int i = 0; i < 1000; ++i)
        ASSERT_EQ(g.next(), 3.5f);
    g.setup(3.5f, 44100.0);
    EXPECT_EQ(g.next(), 3.5f);

    g.setup(19.0f, 44100.0);
    float previous = 3.5f, largestStep = 0.0f;
    int frames = 0;
    while (g.gliding() && frames < 44100) {
        const float v = g.next();
        ASSERT_GE(v, previous);
        ASSERT_LE(v, 19.0f);
        largestStep = std::max(largestStep, v - previous);
        previous = v;
        ++frames;
    }
    EXPECT_EQ(g.next(), 19.0f);
    EXPECT_GT(frames, 300);     // not a jump
    EXPECT_LT(frames, 2000);    // done within a few tens of milliseconds
    EXPECT_LT(largestStep, 0.02f * 15.5f);
    EXPECT_NEAR(previous, 19.0f, 19.0f * 1e-5f);
}

// Reset forgets the value: the next one is taken at once, as at start-up.
TEST(GainGlide, ResetTakesTheNextValueAtOnce)
{
    GainGlide g;
    g.setup(1.0f, 48000.0);
    g.setup(2.0f, 48000.0);
    EXPECT_LT(g.next(), 1.1f);
    g.reset();
    g.setup(0.25f, 48000.0);
    EXPECT_EQ(g.next(), 0.25f);
    EXPECT_FALSE(g.gliding());
}
