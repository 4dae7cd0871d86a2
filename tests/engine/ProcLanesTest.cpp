#include "engine/EngineRandom.h"
#include "engine/ProcLanes.h"
#include "engine/ProcProcessor.h"
#include "engine/SimdPath.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <random>
#include <vector>

using grelmond::EngineRandom;
using grelmond::ProcBlockInput;
using grelmond::ProcLanes;
using grelmond::ProcProcessor;
using grelmond::SimdPath;

namespace {

constexpr int kLanes = 8;
constexpr int kFrames = 1500;
constexpr int kBlocks = 5; // long enough for the flanging's fade-in to end

// Frames for both sides: what the voice would hand in, values on and around
// every quantiser and waveshaper threshold included.
struct Frames {
    std::vector<float> mix, third, amp;

    explicit Frames(std::mt19937& rng)
        : mix(kFrames * ProcLanes::kLanes), third(mix.size()), amp(mix.size())
    {
        const float edges[] = {0.3f, -0.3f, 0.1f, -0.1f, 0.0f, 1.5f, -1.5f};
        std::uniform_real_distribution<float> wide(-0.6f, 0.6f), unit(0.0f, 1.0f);
        for (std::size_t i = 0; i < mix.size(); ++i) {
            mix[i] = i % 13 == 0 ? edges[(i / 13) % 7] : wide(rng);
            third[i] = wide(rng) * 0.2f;
            amp[i] = unit(rng);
        }
    }
};

ProcBlockInput blockInput(std::mt19937& rng, int function)
{
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    ProcBlockInput in;
    in.function = function;
    in.procLevel = unit(rng);
    in.procEnv = unit(rng);
    in.keyDepth = unit(rng) < 0.2f ? 0.0f : unit(rng);
    in.sampleRate = 48000.0f;
    in.flangerFeedback = unit(rng);
    return in;
}

// Oscillator 1's increment: slow, fast and, now and then, far beyond one
// carrier cycle per frame.
float increment(std::mt19937& rng, int lane)
{
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    return lane == 5 ? 3000.0f * unit(rng) : 4.0f * unit(rng);
}

// Renders kBlocks blocks of `function` voice by voice and in lanes of
// `width`, from the same states and draws; every output bit must agree. A
// NaN reaches one lane in the second block: from the third on, after the
// voices' resetNonFinite(), every output is finite again.
void compare(int function, int width, std::uint32_t seed)
{
    std::mt19937 rng(seed);
    std::vector<ProcProcessor> voice(kLanes), lane(kLanes);
    EngineRandom voiceRandom, laneRandom;
    voiceRandom.seed(7);
    laneRandom.seed(7);
    ProcLanes lanes(kFrames);
    for (int block = 0; block < kBlocks; ++block) {
        Frames in(rng);
        if (block == 1)
            for (int i = 100; i < 103; ++i)
                in.mix[static_cast<std::size_t>(i * ProcLanes::kLanes + 3)] = NAN; // into lane 3's ring
        std::vector<float> out = in.mix;
        float d[kLanes];
        for (int l = 0; l < kLanes; ++l) {
            const ProcBlockInput b = blockInput(rng, function);
            const float inc = increment(rng, l);
            d[l] = (l + block) % 2 == 0 ? 1e-20f : -1e-20f;
            for (ProcProcessor* p : {&voice[l], &lane[l]}) {
                p->blockSetup(b);
                p->setOscillator1Increment(inc);
                p->resetNonFinite();
            }
            float dd = d[l];
            for (int i = 0; i < kFrames; ++i) {
                dd = -dd;
                const std::size_t at = static_cast<std::size_t>(i * ProcLanes::kLanes + l);
                out[at] = voice[l].process(in.mix[at], in.third[at], dd, voiceRandom) * in.amp[at];
            }
        }
        lanes.function = function;
        for (int l = 0; l < kLanes; ++l) {
            lanes.load(l, lane[l], d[l]);
            lanes.draw(l, kFrames, laneRandom);
        }
        ProcLanes::Frames f{in.mix.data(), in.third.data(), in.amp.data(), kFrames};
        for (int first = 0; first < kLanes; first += width)
            width == 8 ? lanes.run8(first, f) : lanes.run4(first, f);
        for (int l = 0; l < kLanes; ++l)
            lanes.store(l, lane[l]);
        for (int i = 0; i < kFrames; ++i)
            for (int l = 0; l < kLanes; ++l) {
                const std::size_t at = static_cast<std::size_t>(i * ProcLanes::kLanes + l);
                if (std::isnan(out[at]) && std::isnan(in.mix[at]))
                    continue;
                ASSERT_TRUE(block < 2 || std::isfinite(out[at])) << "function " << function << ", frame " << i;
                ASSERT_EQ(std::bit_cast<std::uint32_t>(out[at]), std::bit_cast<std::uint32_t>(in.mix[at]))
                    << "function " << function << ", " << width << " lanes, block " << block << ", frame " << i
                    << ", lane " << l << ": " << out[at] << " against " << in.mix[at];
            }
        ASSERT_EQ(voiceRandom.state(), laneRandom.state());
        for (int l = 0; l < kLanes; ++l) {
            ASSERT_EQ(voice[l].counter(), lane[l].counter());
            ASSERT_EQ(std::bit_cast<std::uint32_t>(voice[l].chaosState()),
                      std::bit_cast<std::uint32_t>(lane[l].chaosState()));
        }
    }
}

} // namespace

// Every function ProcLanes runs, directly against the voice's own proc stage:
// thresholds, no control keyboard, carriers far past one cycle per frame, the
// draws in voice order and the state handed back between blocks.
TEST(ProcLanes, EveryLaneFunctionMatchesTheVoicesProcStage)
{
    std::vector<int> widths{4};
    if (grelmond::simdPathAvailable(SimdPath::Avx2))
        widths.push_back(8);
    int checked = 0;
    for (int function = 0; function < ProcProcessor::functionCount; ++function) {
        if (!ProcLanes::handles(function))
            continue;
        ++checked;
        for (int width : widths)
            compare(function, width, static_cast<std::uint32_t>(function * 31 + width));
    }
    EXPECT_GE(checked, 10);
}
