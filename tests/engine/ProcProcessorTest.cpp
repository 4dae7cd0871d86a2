#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "engine/EngineRandom.h"
#include "engine/ProcProcessor.h"

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

TEST(ProcProcessor, FunctionIndexAndLevel)
{
    EXPECT_EQ(ProcProcessor::functionIndex(0.0f), 0);
    EXPECT_EQ(ProcProcessor::functionIndex(0.996f), 24);
    EXPECT_EQ(ProcProcessor::functionIndex(0.99603f), 25);
    EXPECT_EQ(ProcProcessor::functionIndex(1.0f), 25);
    EXPECT_EQ(ProcProcessor::functionIndex(-0.2f), 0);
    EXPECT_EQ(ProcProcessor::functionIndex(NAN), 0);
    EXPECT_EQ(ProcProcessor::functionIndex(7.0f), 25);
    EXPECT_STREQ(ProcProcessor::functionName(0), "1 Flanging");
    EXPECT_STREQ(ProcProcessor::functionName(15), "16 Chaos (4th Osc)");
    EXPECT_STREQ(ProcProcessor::functionName(25), "26 Phaser 2");
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
        for (int f = 0; f < ProcProcessor::functionCount; ++f) {
            for (float level : {0.0f, 1.0f}) {
                for (float depth : {0.0f, 1.0f}) {
                    ProcRig rig(f, level, depth, sr);
                    rig.in.flangerFeedback = 1.0f;
                    float peak[2] = {0.0f, 0.0f};
                    bool finite = true;
                    for (int c = 0; c < 1000; ++c) {
                        const ProcPitch p = rig.block();
                        ASSERT_TRUE(std::isfinite(p.procPitch + p.chaosOffset[0] + p.chaosOffset[1] + p.chaosOffset[2]));
                        float& pk = peak[c < 500 ? 0 : 1];
                        for (int i = 0; i < chunk; ++i) {
                            const float out = rig.step(rig.dry(), 0.05f);
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
