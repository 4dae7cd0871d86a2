#include "engine/LadderFilter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using grelmond::LadderFilter;

namespace {

// Feedback gain the ladder applies at a given cutoff and resonance value.
float effectiveResonance(float f, float res) {
    float q = 1.0f - f;
    return res * (1.0f + 0.5f * q * (1.0f - q + 5.6f * q * q));
}

float settle(LadderFilter& filter, float x, int frames = 20000) {
    float y = 0.0f;
    for (int i = 0; i < frames; ++i) y = filter.process(x, 0.0f, false);
    return y;
}

} // namespace

TEST(LadderFilter, BlockValuesScaleWithRateAndClamp) {
    LadderFilter f;
    f.blockSetup(1.0f, 0.5f, 1.0f, 0.0f, 1.0f, 44100.0f);
    EXPECT_NEAR(f.block().baseCut, 0.907f, 0.001f);
    EXPECT_NEAR(f.block().envCut, 0.4525f, 0.0005f);
    EXPECT_FLOAT_EQ(f.block().res, 0.5f * 0.880362f);
    f.blockSetup(1.0f, 0.0f, 1.0f, 0.0f, 1.0f, 40000.0f);
    EXPECT_FLOAT_EQ(f.block().baseCut, 0.99f);
    f.blockSetup(1.0f, 0.0f, 1.0f, 0.0f, 1.0f, 8000.0f);
    EXPECT_FLOAT_EQ(f.block().envCut, 0.99f);
    // No envelope amount and no velocity sensitivity: the envelope has no say.
    f.blockSetup(0.2f, 0.0f, 0.0f, 0.0f, 1.0f, 44100.0f);
    EXPECT_FLOAT_EQ(f.block().envCut, 0.0f);
    f.blockSetup(0.2f, 0.0f, 1.0f, 0.0f, 0.0f, 44100.0f);
    EXPECT_FLOAT_EQ(f.block().envCut, 0.0f);
}

TEST(LadderFilter, ConstantInputGainFollowsResonance) {
    const float x = 0.01f;
    for (float resonance : {0.0f, 0.5f, 1.0f}) {
        LadderFilter f;
        f.blockSetup(0.5f, resonance, 0.0f, 0.0f, 0.0f, 44100.0f);
        float base = f.block().baseCut;
        float r = effectiveResonance(base, f.block().res);
        EXPECT_NEAR(settle(f, x) / x, 1.0f / (1.0f + r), 1e-3f) << "resonance " << resonance;
    }
}

TEST(LadderFilter, HighPassIsInputMinusLowPass) {
    LadderFilter low, high;
    low.blockSetup(0.3f, 0.7f, 0.5f, 0.0f, 0.6f, 48000.0f);
    high.blockSetup(0.3f, 0.7f, 0.5f, 0.0f, 0.6f, 48000.0f);
    for (int i = 0; i < 2000; ++i) {
        float x = 0.3f * std::sin(0.05f * i) + 0.1f * std::sin(0.9f * i);
        float y = low.process(x, 0.0f, false);
        EXPECT_FLOAT_EQ(high.process(x, 0.0f, true), x - y);
    }
}

TEST(LadderFilter, NonFiniteStateIsCleared) {
    LadderFilter f;
    f.blockSetup(0.5f, 1.0f, 0.0f, 0.0f, 0.0f, 44100.0f);
    f.process(std::numeric_limits<float>::infinity(), 0.0f, false);
    f.resetNonFinite();
    for (int i = 0; i < 5; ++i) EXPECT_TRUE(std::isfinite(f.stage(i)));
    EXPECT_TRUE(std::isfinite(settle(f, 0.1f, 1000)));
}

// A resonant patch played hard, with the cutoff swept as automation would:
// the soft clip's output stays within ±0.69 instead of running away.
TEST(LadderFilter, LoudResonantInputStaysBounded) {
    for (float cutoff : {0.05f, 0.3f, 0.7f, 1.0f}) {
        LadderFilter f;
        float worst = 0.0f;
        for (int block = 0; block < 200; ++block) {
            f.blockSetup(cutoff * (0.5f + 0.5f * std::sin(0.3f * block)), 1.0f, 1.0f, 1.0f,
                         (block % 7) / 7.0f, 44100.0f);
            for (int i = 0; i < 441; ++i) {
                float x = ((i / 20) % 2 == 0 ? 3.0f : -3.0f) + 0.5f * std::sin(0.01f * i);
                worst = std::max(worst, std::abs(f.process(x, 1e-20f, false)));
            }
        }
        EXPECT_LE(worst, 0.69f) << "cutoff " << cutoff;
    }
}
