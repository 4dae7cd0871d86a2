#include "render/Chorus.h"
#include "render/DelayLine.h"
#include "render/Ensemble.h"
#include "render/Flanger.h"
#include "render/PitchShiftTap.h"
#include "render/TempoSync.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <numbers>
#include <vector>

using namespace grelmond;

namespace {

// Frequency from rising zero crossings, ignoring the first `skip` samples.
double measureFrequency(const std::vector<float>& x, double rate, size_t skip)
{
    size_t first = 0, last = 0, count = 0;
    for (size_t i = skip + 1; i < x.size(); ++i) {
        if (x[i - 1] < 0.0f && x[i] >= 0.0f) {
            if (count == 0)
                first = i;
            last = i;
            ++count;
        }
    }
    return count < 2 ? 0.0 : (count - 1) * rate / static_cast<double>(last - first);
}

} // namespace

TEST(PitchShiftTap, ShiftsPitchByRatioAndScalesByHalfRatio)
{
    auto tap = std::make_unique<PitchShiftTap>();
    const double rate = 44100.0;
    std::vector<float> out(44100);
    for (size_t i = 0; i < out.size(); ++i)
        out[i] = tap->process(static_cast<float>(std::sin(2 * std::numbers::pi * 1000.0 * i / rate)), 1.0f, 1.016f);
    EXPECT_NEAR(measureFrequency(out, rate, 8192), 1016.0, 3.0);

    // Ratio 1 is a pure delay: a steady input comes back at (1 + 1/2) times its level.
    tap->reset();
    float y = 0.0f;
    for (int i = 0; i < 5000; ++i)
        y = tap->process(0.5f, 1.0f, 1.0f);
    EXPECT_NEAR(y, 0.75f, 1e-5f);
    // Mix 0 passes the input, still scaled by (1 + ratio / 2).
    EXPECT_FLOAT_EQ(tap->process(0.2f, 0.0f, 1.0f), 0.3f);
}

TEST(Ensemble, TapTablesForTenCopies)
{
    auto ensemble = std::make_unique<Ensemble>();
    ensemble->setup(10, 0.04f);
    ASSERT_EQ(ensemble->tapCount(), 10);
    const float upper[] = {1.016f, 1.0128f, 1.01024f};
    const float lower[] = {0.992f, 0.9936f, 0.99488f};
    for (int t = 0; t < 3; ++t) {
        EXPECT_NEAR(ensemble->ratio(t), upper[t], 1e-6f);
        EXPECT_NEAR(ensemble->ratio(5 + t), lower[t], 1e-6f);
    }
    EXPECT_FLOAT_EQ(ensemble->gain(0), 0.5f);
    EXPECT_FLOAT_EQ(ensemble->gain(1), 0.4f);
    EXPECT_FLOAT_EQ(ensemble->gain(5), 1.0f);
    EXPECT_FLOAT_EQ(ensemble->gain(6), 0.8f);
}

TEST(Ensemble, OneCopyGoesRightAndNoneIsTransparent)
{
    auto ensemble = std::make_unique<Ensemble>();
    ensemble->setup(1, 0.004f);
    ASSERT_EQ(ensemble->tapCount(), 1);
    EXPECT_LT(ensemble->ratio(0), 1.0f);
    float l = 0.0f, r = 0.0f;
    for (int i = 0; i < 3000; ++i) {
        l = 0.25f;
        r = 0.0f;
        ensemble->process(l, r);
    }
    EXPECT_FLOAT_EQ(l, 0.25f);
    EXPECT_GT(r, 0.1f); // the lower copy of the left signal

    for (auto [copies, detune] : {std::pair{0, 0.04f}, std::pair{10, 0.0f}}) {
        ensemble->setup(copies, detune);
        EXPECT_EQ(ensemble->tapCount(), 0);
        l = 0.3f;
        r = -0.2f;
        ensemble->process(l, r);
        EXPECT_EQ(l, 0.3f);
        EXPECT_EQ(r, -0.2f);
    }
}

TEST(Flanger, DelayRunsFromTwoAndAHalfToOneHundredFiftyFiveAndAHalfFrames)
{
    struct Case {
        float freq;
        int echo; // the impulse returns split over frames echo and echo + 1
    };
    for (Case c : {Case{0.0f, 155}, Case{1.0f, 2}}) {
        auto flanger = std::make_unique<Flanger>();
        const Flanger::Settings s{1.0f, c.freq, 0.0f, 0.0f};
        std::vector<float> out(200);
        for (size_t i = 0; i < out.size(); ++i) {
            float l = i == 0 ? 1.0f : 0.0f, r = l;
            flanger->process(l, r, s, 0.5f, 0.0f);
            out[i] = l;
            EXPECT_FLOAT_EQ(l, r);
        }
        EXPECT_NEAR(out[0], 1.0f, 1e-6f);
        EXPECT_NEAR(out[c.echo], 0.5f, 1e-6f) << c.freq;
        EXPECT_NEAR(out[c.echo + 1], 0.5f, 1e-6f) << c.freq;
        float rest = 0.0f;
        for (size_t i = 1; i < out.size(); ++i)
            if (i != size_t(c.echo) && i != size_t(c.echo + 1))
                rest += std::abs(out[i]);
        EXPECT_LT(rest, 1e-5f);
    }
}

TEST(Chorus, TriangleTurnsAtEachWrapAndStaysStillAtRateZero)
{
    Chorus chorus;
    const float rate = 0.1f; // 40.96 phase units per chunk: one wrap per 100 chunks
    float prev = 0.0f;
    int turns = 0;
    for (int h = 0; h < 400; ++h) {
        const int before = chorus.direction();
        chorus.setup(h, rate);
        turns += chorus.direction() != before;
        EXPECT_LE(std::abs(chorus.lfo() - prev), 41.0f / 4096.0f) << h;
        prev = chorus.lfo();
    }
    EXPECT_EQ(turns, 3);

    Chorus still;
    for (int h = 0; h < 50; ++h) {
        still.setup(h, 0.0f);
        EXPECT_EQ(still.lfo(), 0.0f);
    }
}

TEST(DelayLine, DelayEqualsSelectedLength)
{
    auto delay = std::make_unique<DelayLine>();
    for (int length : {1, 100, 48000, DelayLine::kCapacity}) {
        delay->reset();
        int echo = -1;
        for (int i = 0; i <= length + 1; ++i) {
            const float y = delay->process(i == 0 ? 1.0f : 0.0f, 1.0f, 0.0f, length, 0.0f);
            if (y != 0.0f) {
                EXPECT_EQ(echo, -1);
                echo = i;
            }
        }
        EXPECT_EQ(echo, length);
    }
}

TEST(DelayLine, MixAndFeedback)
{
    auto delay = std::make_unique<DelayLine>();
    // Mix 0: dry signal only; the delayed copy is stored all the same.
    EXPECT_FLOAT_EQ(delay->process(0.5f, 0.0f, 0.0f, 10, 0.0f), 0.5f);
    for (int i = 1; i < 10; ++i)
        delay->process(0.0f, 0.0f, 0.0f, 10, 0.0f);
    EXPECT_FLOAT_EQ(delay->process(0.0f, 1.0f, 1.0f, 10, 0.0f), 0.5f);
    for (int i = 1; i < 10; ++i)
        delay->process(0.0f, 1.0f, 1.0f, 10, 0.0f);
    // The feedback path carries the output at 0.75 × feedback.
    EXPECT_FLOAT_EQ(delay->process(0.0f, 1.0f, 1.0f, 10, 0.0f), 0.375f);
    // Length 0 counts as 1.
    delay->reset();
    EXPECT_EQ(delay->process(0.25f, 1.0f, 0.0f, 0, 0.0f), 0.0f);
    EXPECT_EQ(delay->process(0.0f, 1.0f, 0.0f, 0, 0.0f), 0.25f);
}

TEST(TempoSync, BarLengthAndDivisions)
{
    EXPECT_EQ(TempoSync::barFrames(48000, 120), 96000);
    EXPECT_EQ(TempoSync::barFrames(44100, 120), 88200);
    // Halved until it lasts less than 4.35 s, the same time at every rate.
    EXPECT_EQ(TempoSync::barFrames(192000, 60), 768000);
    EXPECT_EQ(TempoSync::barFrames(44100, 30), 176400);
    EXPECT_EQ(TempoSync::barFrames(192000, 30), 768000);
    EXPECT_LT(TempoSync::barFrames(44100, 1e-30), TempoSync::kLimit); // halved, no overflow
    EXPECT_EQ(TempoSync::barFrames(44100, 0), 0);
    EXPECT_EQ(TempoSync::barFrames(44100, std::nan("")), 0);
    EXPECT_EQ(TempoSync::barFrames(44100, -120), 0);

    EXPECT_EQ(TempoSync::division(96000, 1.0f), 96000);
    EXPECT_EQ(TempoSync::division(96000, 0.875f), 96000);
    EXPECT_EQ(TempoSync::division(96000, 0.8f), 48000);
    EXPECT_EQ(TempoSync::division(96000, 0.5f), 12000);
    EXPECT_EQ(TempoSync::division(96000, 0.124f), 750);
}
