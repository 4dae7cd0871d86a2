#include "engine/Oscillator.h"
#include "engine/OscillatorPitch.h"
#include "engine/EngineHolder.h"
#include "engine/Waveform.h"
#include "engine/WaveformSet.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <utility>

namespace op = grelmond::OscillatorPitch;

TEST(OscillatorPitch, ShapeAndBandChoice) {
    EXPECT_EQ(op::shapeClass(0.0f), 0);
    EXPECT_EQ(op::shapeClass(0.32f), 0);
    EXPECT_EQ(op::shapeClass(0.33f), 1);
    EXPECT_EQ(op::shapeClass(0.967f), 2);
    EXPECT_EQ(op::shapeClass(0.968f), 3);
    EXPECT_EQ(op::shapeClass(1.0f), 3);

    auto choice = [](int shape, float key) {
        op::WaveChoice c = op::choose(shape, key);
        return std::make_pair(c.waveform, c.reference);
    };
    EXPECT_EQ(choice(0, 100.0f), std::make_pair(0, 57));
    EXPECT_EQ(choice(1, 51.9f), std::make_pair(1, 45));
    EXPECT_EQ(choice(2, 52.0f), std::make_pair(7, 57));
    EXPECT_EQ(choice(3, 64.0f), std::make_pair(13, 69));
    EXPECT_EQ(choice(3, 76.0f), std::make_pair(14, 81));
    EXPECT_EQ(choice(3, 88.0f), std::make_pair(15, 93));
}

TEST(OscillatorPitch, KeyAndSemitoneOffset) {
    EXPECT_FLOAT_EQ(op::key(0, 0.0f), 0.0f);
    EXPECT_FLOAT_EQ(op::key(127, 1.0f), 127.0f);
    EXPECT_FLOAT_EQ(op::key(60, 0.75f), 66.0f);
    EXPECT_EQ(op::semitoneOffset(51.9f, 45), 6);
    EXPECT_EQ(op::semitoneOffset(52.0f, 57), -5);
    EXPECT_EQ(op::semitoneOffset(44.5f, 45), 0);
    EXPECT_EQ(op::semitoneOffset(45.9f, 45), 0);
}

TEST(OscillatorPitch, OctaveFold) {
    EXPECT_FLOAT_EQ(op::octaveFold(12.0f).semitones, 12.0f);
    EXPECT_FLOAT_EQ(op::octaveFold(12.0f).factor, 1.0f);
    EXPECT_FLOAT_EQ(op::octaveFold(12.5f).semitones, 0.5f);
    EXPECT_FLOAT_EQ(op::octaveFold(12.5f).factor, 2.0f);
    EXPECT_FLOAT_EQ(op::octaveFold(-0.5f).semitones, 11.5f);
    EXPECT_FLOAT_EQ(op::octaveFold(-0.5f).factor, 0.5f);
    EXPECT_FLOAT_EQ(op::octaveFold(-30.0f).factor, 0.125f);
    EXPECT_FLOAT_EQ(op::octaveFold(-30.0f).semitones, 6.0f);
    EXPECT_TRUE(std::isfinite(op::octaveFold(NAN).factor));
}

TEST(OscillatorPitch, FineSeparation) {
    float offsets[3];
    const float same[3] = {0.5f, 0.5f, 0.5f};
    op::fineOffsets(same, offsets);
    EXPECT_FLOAT_EQ(offsets[0], 0.0f);
    EXPECT_FLOAT_EQ(offsets[1], -0.01f);
    EXPECT_FLOAT_EQ(offsets[2], 0.02f);
    const float apart[3] = {0.0f, 0.5f, 1.0f};
    op::fineOffsets(apart, offsets);
    EXPECT_FLOAT_EQ(offsets[0], -1.0f);
    EXPECT_FLOAT_EQ(offsets[1], 0.0f);
    EXPECT_FLOAT_EQ(offsets[2], 1.0f);
    const float pair[3] = {0.2f, 0.205f, 0.9f};
    op::fineOffsets(pair, offsets);
    EXPECT_FLOAT_EQ(offsets[1], (0.205f - 0.5f) * 2.0f - 0.01f);
    EXPECT_FLOAT_EQ(offsets[2], 0.8f);
}

TEST(Oscillator, ReadsCounterTimesIncrementAndWrapsInsideTheBuffer) {
    grelmond::Waveform w(nullptr);
    auto samples = std::make_unique<int16_t[]>(grelmond::Waveform::length);
    for (int i = 0; i < grelmond::Waveform::length; ++i) samples[i] = static_cast<int16_t>(i % 1000);
    w.attachSamples(std::move(samples));
    w.setLoopLength(1000);

    grelmond::Oscillator o;
    o.setup(&w, 0, 1.0f);
    o.setIncrement(2.5f, false);
    // The first two frames both read position 0.
    EXPECT_FLOAT_EQ(o.sample(), 0.0f);
    o.advance();
    EXPECT_FLOAT_EQ(o.sample(), 0.0f);
    o.advance();
    EXPECT_FLOAT_EQ(o.sample(), 2.5f / 32767.0f);
    for (int i = 0; i < 1000; ++i) {
        o.advance();
        float v = o.sample() * 32767.0f;
        EXPECT_GE(v, 0.0f);
        EXPECT_LE(v, 999.0f);
        EXPECT_LE(o.phasePosition() + o.wrapOffset(), 1000.0f);
    }
    // A changed increment continues from the read position, one new step on.
    float before = o.phasePosition() + o.wrapOffset();
    o.setIncrement(3.3f, true);
    o.advance();
    EXPECT_NEAR(o.phasePosition() + o.wrapOffset(), before + o.increment(), 1e-3f);
    // Re-derived as position / whole steps, so within 3.3 / steps of 3.3.
    EXPECT_NEAR(o.increment(), 3.3f, 3.3f / std::floor(before / 3.3f));
}

// Across a loop wrap the read position moves on by one increment, as on
// every other frame: no position is read twice.
TEST(Oscillator, WrapContinuesByOneIncrement) {
    grelmond::Waveform w(nullptr);
    auto samples = std::make_unique<int16_t[]>(grelmond::Waveform::length);
    for (int i = 0; i < grelmond::Waveform::length; ++i) samples[i] = static_cast<int16_t>(i % 1000);
    w.attachSamples(std::move(samples));
    w.setLoopLength(1000);

    for (float inc : {1.0f, 2.5f, 0.73f}) {
        grelmond::Oscillator o;
        o.setup(&w, 0, 1.0f);
        o.setIncrement(inc, false);
        o.sample();
        o.advance();
        o.sample();
        float previous = o.phasePosition() + o.wrapOffset(); // the position just read
        int wraps = 0;
        for (int i = 0; i < 5000; ++i) {
            o.advance();
            o.sample();
            float position = o.phasePosition() + o.wrapOffset();
            float step = position - previous;
            if (step < 0.0f) {
                step += 1000.0f;
                ++wraps;
            }
            ASSERT_NEAR(step, inc, 0.01f) << "increment " << inc << " frame " << i;
            previous = position;
        }
        EXPECT_GE(wraps, 3);
    }
}

// The built-in sine holds a whole number of periods in its loop: read at its
// own rate over two loop passes it stays one unbroken sine.
TEST(Oscillator, SineRunsOnUnbrokenAcrossItsLoop) {
    grelmond::EngineHolder engine;
    engine.loadWaveforms("/nonexistent");
    const grelmond::Waveform* sine = engine.waveforms().at(0);
    ASSERT_NE(sine, nullptr);
    const int loop = sine->loopLength();
    grelmond::Oscillator o;
    o.setup(sine, 0, 1.0f);
    o.setIncrement(1.0f, false);
    o.sample();
    o.advance();
    // Sample n of the output is read at position n - 1.
    const double cyclesPerSample = 990.0 / loop;
    double worst = 0.0;
    for (int n = 1; n < 2 * loop + 500; ++n) {
        double expected = std::sin(2.0 * M_PI * cyclesPerSample * (n - 1)) * 5300.0 / 32767.0;
        worst = std::max(worst, std::abs(o.sample() - expected));
        o.advance();
    }
    EXPECT_LT(worst, 1.5 / 32767.0);
}
