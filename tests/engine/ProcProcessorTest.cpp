#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "engine/EngineRandom.h"
#include "engine/ProcProcessor.h"

using namespace grelmond;

namespace {

constexpr double pi = 3.14159265358979;

// Drives a processor the way a voice does: a block set-up per chunk and
// oscillator mixes per frame, with the alternating denormal offset.
struct ProcRig {
    ProcProcessor proc;
    EngineRandom random;
    ProcBlockInput in;
    float denormal = 1e-20f;
    long frame = 0;

    explicit ProcRig(int function, float level = 0.5f, float keyDepth = 1.0f, float sr = 44100.0f)
    {
        in.function = function;
        in.procLevel = level;
        in.procEnv = level;
        in.keyDepth = keyDepth;
        in.sampleRate = sr;
        in.flangerFeedback = 0.3f;
    }

    ProcPitch block()
    {
        const ProcPitch p = proc.blockSetup(in);
        proc.setOscillator1Increment(44100.0f / in.sampleRate); // note 57 on the sine
        return p;
    }

    // Oscillators 1 and 2 at full volume (gain 0.75) on two unrelated pitches.
    float dry() const
    {
        const double t = static_cast<double>(frame) / in.sampleRate;
        return static_cast<float>(0.75 * (std::sin(2 * pi * 110.0 * t) + std::sin(2 * pi * 277.0 * t)) / 8.0);
    }

    float step(float dryValue, float third)
    {
        denormal = -denormal;
        ++frame;
        return proc.process(dryValue, third, denormal, random);
    }
};

int64_t parkMiller(int64_t s) { return s * 16807 % 2147483647; }

} // namespace

TEST(EngineRandom, MatchesTheMinimalStandardSequence)
{
    EngineRandom r;
    r.seed(1);
    int64_t s = 1;
    for (int i = 0; i < 100000; ++i) {
        s = parkMiller(s);
        ASSERT_EQ(r.next(), static_cast<int32_t>(s >> 1)) << "step " << i;
    }
    r.seed(1);
    EXPECT_EQ(r.next(), 16807 >> 1);
    EXPECT_EQ(r.raw16(), (282475249 >> 1) & 65535);
    r.seed(0); // would otherwise stick at 0
    EXPECT_NE(r.next(), 0);
}

// Draws taken in bulk are the single draws' numbers, whatever the count's
// remainder by the streams, and leave the generator where they would.
TEST(EngineRandom, ManyAtOnceMatchOneAtATime)
{
    for (int32_t seed : {1, 2147483646, 123456789, 65535}) {
        for (int count : {1, 2, 3, 4, 5, 7, 8, 441, 882, 8192}) {
            EngineRandom single, many;
            single.seed(seed);
            many.seed(seed);
            std::vector<int32_t> out(static_cast<std::size_t>(count));
            many.nextMany(out.data(), count);
            for (int k = 0; k < count; ++k)
                ASSERT_EQ(out[static_cast<std::size_t>(k)], single.next()) << "seed " << seed << ", draw " << k;
            ASSERT_EQ(many.state(), single.state()) << "seed " << seed << ", count " << count;
            ASSERT_EQ(many.next(), single.next());
        }
    }
}

// Stream 0 is the seed every voice had before; stream k is the same sequence
// 2^24 draws in (checked by stepping there), so voices never draw alike.
TEST(EngineRandom, StreamsAreSeedOnesSequenceFarApart)
{
    EngineRandom first, stream0;
    first.seed(1);
    stream0.seedStream(0);
    EXPECT_EQ(stream0.state(), first.state());

    EngineRandom walker;
    walker.seed(1);
    std::vector<int32_t> skip(1 << 16);
    for (int k = 0; k < 256; ++k)
        walker.nextMany(skip.data(), static_cast<int>(skip.size()));
    EngineRandom stream1;
    stream1.seedStream(1);
    EXPECT_EQ(stream1.state(), walker.state());

    EngineRandom a, b;
    a.seedStream(1);
    b.seedStream(127);
    int same = 0;
    for (int k = 0; k < 1000; ++k)
        same += a.raw16() == b.raw16();
    EXPECT_LT(same, 5);
}

TEST(ProcProcessor, FunctionIndexAndLevel)
{
    EXPECT_EQ(ProcProcessor::functionIndex(0.0f), 0);
    EXPECT_EQ(ProcProcessor::functionIndex(0.996f), 24);
    EXPECT_EQ(ProcProcessor::functionIndex(0.99603f), 25);
    EXPECT_EQ(ProcProcessor::functionIndex(1.0f), 25);
    EXPECT_EQ(ProcProcessor::functionIndex(NAN), 0);
    EXPECT_EQ(ProcProcessor::functionIndex(7.0f), 25);
    EXPECT_STREQ(ProcProcessor::functionName(26), "");

    EXPECT_EQ(ProcProcessor::procLevel(0.0f, 0.3f, 1.0f), 1.0f); // full effect without envelope
    EXPECT_FLOAT_EQ(ProcProcessor::procLevel(0.5f, 0.4f, 0.0f), 0.2f);
}

// Every function at the extremes of what it reads, for 10 seconds, with no
// reset of non-finite state: stays finite, within a sane bound, and does not
// keep growing in its second half.
TEST(ProcProcessor, EveryFunctionStaysFiniteAndBoundedAtTheExtremes)
{
    for (float sr : {8000.0f, 44100.0f, 96000.0f}) {
        const int chunk = static_cast<int>(sr / 100);
        // One second of the oscillator mix (whole periods), looped.
        std::vector<float> input(static_cast<std::size_t>(sr));
        ProcRig source(0, 0.0f, 1.0f, sr);
        for (float& v : input) {
            v = source.dry();
            ++source.frame;
        }
        for (int f = 0; f < ProcProcessor::functionCount; ++f) {
            for (float level : {0.0f, 1.0f}) {
                for (float depth : {0.0f, 1.0f}) {
                    ProcRig rig(f, level, depth, sr);
                    rig.in.flangerFeedback = 1.0f;
                    std::size_t at = 0;
                    float peak[2] = {0.0f, 0.0f};
                    bool finite = true;
                    for (int c = 0; c < 1000; ++c) {
                        const ProcPitch p = rig.block();
                        ASSERT_TRUE(std::isfinite(p.procPitch + p.chaosOffset[0] + p.chaosOffset[1] + p.chaosOffset[2]));
                        float& pk = peak[c < 500 ? 0 : 1];
                        for (int i = 0; i < chunk; ++i) {
                            const float out = rig.step(input[at], 0.05f);
                            at = at + 1 == input.size() ? 0 : at + 1;
                            finite = finite && std::isfinite(out);
                            pk = std::max(pk, std::fabs(out));
                        }
                    }
                    ASSERT_TRUE(finite && peak[1] < 40.0f && peak[1] <= peak[0] * 1.05f + 0.25f)
                        << ProcProcessor::functionName(f) << " sr " << sr << " level " << level
                        << " depth " << depth << " peaks " << peak[0] << " " << peak[1];
                }
            }
        }
    }
}

TEST(ProcProcessor, FlangingPassesTheDrySignalFor2048Frames)
{
    ProcRig rig(0, 1.0f, 1.0f);
    rig.block();
    for (int i = 0; i < 2048; ++i) {
        const float dry = rig.dry();
        ASSERT_EQ(rig.step(dry, 0.0f), dry) << "frame " << i;
    }
    float difference = 0.0f; // and flanges once faded in
    for (int i = 0; i < 2048; ++i) {
        const float dry = rig.dry();
        difference = std::max(difference, std::fabs(rig.step(dry, 0.0f) - dry));
    }
    EXPECT_GT(difference, 0.01f);
}

TEST(ProcProcessor, ThirdOscillatorIsAddedUnprocessedForEveryFunction)
{
    for (int f = 0; f < ProcProcessor::functionCount; ++f) {
        ProcRig with(f, 0.7f), without(f, 0.7f);
        for (int c = 0; c < 30; ++c) {
            with.block();
            without.block();
            for (int i = 0; i < 441; ++i) {
                const float dry = with.dry();
                const float third = 0.09f * static_cast<float>(std::sin(0.05 * with.frame));
                const float a = with.step(dry, third);
                const float b = without.step(dry, 0.0f);
                ASSERT_NEAR(a - b, third, 1e-6f) << ProcProcessor::functionName(f) << " frame " << with.frame;
            }
        }
    }
}

TEST(ProcProcessor, KeyDepthZeroAndLevelZeroTurnTheBlendsOff)
{
    struct Case { int function; float level, depth, scale; };
    // Noise, chaos oscillator and both waveshapers at keyDepth 0; waveshapers at level 0.
    for (const Case c : {Case{10, 1, 0, 1}, Case{15, 1, 0, 0.125f}, Case{18, 1, 0, 1}, Case{19, 1, 0, 1},
                         Case{18, 0, 1, 1}, Case{19, 0, 1, 1}}) {
        ProcRig rig(c.function, c.level, c.depth);
        rig.block();
        for (int i = 0; i < 1000; ++i) {
            const float dry = rig.dry();
            ASSERT_FLOAT_EQ(rig.step(dry, 0.0f), dry * c.scale) << ProcProcessor::functionName(c.function);
        }
    }
}

TEST(ProcProcessor, PitchFunctionsAskForTheirOffsets)
{
    EXPECT_FLOAT_EQ(ProcRig(1, 0.5f, 0.5f).block().procPitch, 12.0f);
    EXPECT_EQ(ProcRig(3, 1.0f, 1.0f).block().procPitch, 0.0f);
    EXPECT_EQ(ProcRig(17, 1.0f, 0.0f).block().chaosOffset[0], 0.0f);

    // "18 Chaos (All Osc)" moves the three oscillators 24 : 20 : 28, and only
    // oscillator 1 for "17 Chaos (Osc 1)"; the map jumps at every block.
    ProcRig all(17, 0.8f);
    float previous = 0.0f;
    for (int c = 0; c < 20; ++c) {
        const ProcPitch p = all.block();
        EXPECT_NE(p.chaosOffset[0], previous); // a new value at every block
        previous = p.chaosOffset[0];
        EXPECT_NEAR(p.chaosOffset[1], p.chaosOffset[0] * 20.0f / 24.0f, 1e-4f);
        EXPECT_NEAR(p.chaosOffset[2], p.chaosOffset[0] * 28.0f / 24.0f, 1e-4f);
        EXPECT_LE(std::fabs(p.chaosOffset[0]), 24.0f * 0.8f);
    }
    const ProcPitch one = ProcRig(16, 0.8f).block();
    EXPECT_TRUE(one.chaosOffset[0] != 0.0f && one.chaosOffset[1] == 0.0f);
}

TEST(ProcProcessor, FadeInOfPhasersAndBandPassDistortion)
{
    for (int f : {9, 24, 25}) {
        ProcRig rig(f, 0.6f);
        rig.block();
        for (int i = 0; i < 100; ++i) {
            const float dry = rig.dry();
            ASSERT_EQ(rig.step(dry, 0.0f), f == 9 ? 0.0f : dry) << ProcProcessor::functionName(f);
        }
        EXPECT_EQ(rig.proc.counter(), 100);
    }
}

// The carrier runs at oscillator 1's sine frequency / (mm + 0.001); with
// procLevel 0 and keyDepth 1, mm settles at 0.5.
TEST(ProcProcessor, RingModulatorCarrierFollowsOscillatorOne)
{
    for (float sr : {44100.0f, 96000.0f}) {
        ProcRig rig(3, 0.0f, 1.0f, sr);
        int crossings = 0;
        float last = 0.0f;
        for (int c = 0; c < 100; ++c) {
            rig.block();
            for (int i = 0; i < static_cast<int>(sr / 100); ++i) {
                const float v = rig.step(1.0f, 0.0f);
                crossings += (last < 0.0f) != (v < 0.0f);
                last = v;
            }
        }
        EXPECT_NEAR(crossings / 2.0, 440.0 / 0.501, 3.0) << sr;
    }
}

// Non-finite input or block values never leave a function producing NaN
// once the voice has called resetNonFinite().
TEST(ProcProcessor, NonFiniteStateIsResetAndOutOfRangeBlockValuesAreHarmless)
{
    for (int f = 0; f < ProcProcessor::functionCount; ++f) {
        ProcRig rig(f, 0.5f);
        rig.in.flangerFeedback = 0.9f;
        rig.block();
        for (int i = 0; i < 300; ++i)
            rig.step(rig.dry(), 0.0f);
        rig.step(NAN, 0.0f);
        rig.step(INFINITY, 0.0f);
        rig.proc.resetNonFinite();
        for (int i = 0; i < 5000; ++i)
            ASSERT_TRUE(std::isfinite(rig.step(rig.dry(), 0.0f))) << ProcProcessor::functionName(f) << " frame " << i;

        for (float bad : {NAN, -3.0f, 7.0f, INFINITY}) {
            ProcRig odd(f, bad, bad);
            odd.in.flangerFeedback = bad;
            odd.block();
            odd.proc.setOscillator1Increment(bad);
            for (int i = 0; i < 5000; ++i)
                ASSERT_TRUE(std::isfinite(odd.step(odd.dry(), 0.0f))) << ProcProcessor::functionName(f) << " " << bad;
        }
    }
}

// At full level the carrier runs several cycles per frame; over a long note
// its phase must not lose precision (the output would fall silent).
TEST(ProcProcessor, FastRingCarrierKeepsItsLevelOnLongNotes)
{
    ProcRig rig(3, 1.0f, 1.0f);
    double early = 0.0, late = 0.0;
    for (int c = 0; c < 6000; ++c) { // 60 seconds
        rig.block();
        for (int i = 0; i < 441; ++i) {
            const double v = rig.step(1.0f, 0.0f);
            (c < 100 ? early : late) += c < 100 || c >= 5900 ? v * v : 0.0;
        }
    }
    EXPECT_NEAR(late / early, 1.0, 0.1);
}
