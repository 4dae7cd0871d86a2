#include "engine/Oscillator.h"
#include "engine/OscillatorLanes.h"
#include "engine/SimdPath.h"
#include "engine/Waveform.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

using grelmond::Oscillator;
using grelmond::OscillatorLanes;
using grelmond::SimdPath;
using grelmond::Waveform;

namespace {

constexpr int kFrames = 700;

// Short loops, so every lane wraps several times inside one call.
std::unique_ptr<Waveform> makeWave(std::mt19937& rng, int loop)
{
    auto wave = std::make_unique<Waveform>(nullptr);
    std::unique_ptr<int16_t[]> samples(new int16_t[Waveform::length]);
    std::uniform_int_distribution<int> value(-32768, 32767);
    for (int i = 0; i < Waveform::length; ++i)
        samples[i] = static_cast<int16_t>(value(rng));
    wave->attachSamples(std::move(samples));
    wave->setLoopLength(loop);
    return wave;
}

struct Lane {
    Oscillator osc[3];
    float amp1 = 0.0f, amp2 = 0.0f, level = 0.0f;
};

struct Output {
    std::vector<float> mix, third, amp;
    explicit Output(int lanes) : mix(kFrames * OscillatorLanes::kLanes), third(mix.size()), amp(mix.size()) {}
    void put(int i, int lane, float m, float t, float a)
    {
        mix[i * OscillatorLanes::kLanes + lane] = m;
        third[i * OscillatorLanes::kLanes + lane] = t;
        amp[i * OscillatorLanes::kLanes + lane] = a;
    }
};

// The voice's own frame loop, one lane at a time.
void renderOne(Lane& l, int lane, Output& out)
{
    for (int i = 0; i < kFrames; ++i) {
        l.amp1 = 0.9f * l.amp1 + 0.1f * l.level;
        l.amp2 = 0.9f * l.amp2 + 0.1f * l.amp1;
        float s[3];
        for (int k = 0; k < 3; ++k)
            s[k] = l.osc[k].active() ? l.osc[k].sample() : 0.0f;
        out.put(i, lane, (s[0] + s[1]) * (1.0f / 8.0f), s[2] * (1.0f / 8.0f), l.amp2);
        for (auto& o : l.osc)
            if (o.gain() * l.amp2 > 0.0f)
                o.advance();
    }
}

bool same(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }

} // namespace

// Every lane matches the scalar loop bit for bit and ends in the same state,
// whatever its neighbours do: wraps at different frames, silent or waveless
// oscillators, a voice whose amplitude is zero (it never advances), retuned
// counters, and lanes at every position of a group.
TEST(OscillatorLanes, EveryLaneMatchesTheVoiceLoop)
{
    std::mt19937 rng(7);
    std::vector<std::unique_ptr<Waveform>> waves;
    for (int loop : {97, 331, 1024, 5000})
        waves.push_back(makeWave(rng, loop));
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);

    struct Run {
        const char* name;
        SimdPath needs;
        int first, width;
    };
    const Run runs[] = {{"sse2 first", SimdPath::Sse2, 0, 4}, {"sse2 last", SimdPath::Sse2, 12, 4},
                        {"avx2 low", SimdPath::Avx2, 0, 8}, {"avx2 high", SimdPath::Avx2, 8, 8}};
    for (const Run& run : runs) {
        if (!grelmond::simdPathAvailable(run.needs))
            continue;
        for (int trial = 0; trial < 20; ++trial) {
            Lane lanes[OscillatorLanes::kLanes];
            OscillatorLanes batch;
            for (int lane = 0; lane < OscillatorLanes::kLanes; ++lane) {
                Lane& l = lanes[lane];
                for (int k = 0; k < 3; ++k) {
                    const float pick = unit(rng);
                    const Waveform* wave = pick < 0.1f ? nullptr : waves[rng() % waves.size()].get();
                    const float gain = pick < 0.25f ? 0.0f : unit(rng);
                    l.osc[k].setup(wave, 0, gain);
                    l.osc[k].setIncrement(0.2f + 6.0f * unit(rng), false);
                    for (int skip = static_cast<int>(rng() % 300); skip > 0; --skip)
                        if (l.osc[k].active()) {
                            l.osc[k].sample();
                            l.osc[k].advance();
                        }
                    l.osc[k].setIncrement(0.2f + 6.0f * unit(rng), true);
                }
                l.level = unit(rng) < 0.2f ? 0.0f : unit(rng);
                l.amp1 = l.level == 0.0f ? 0.0f : unit(rng);
                l.amp2 = l.level == 0.0f ? 0.0f : unit(rng);
                for (int k = 0; k < 3; ++k)
                    batch.load(lane, k, l.osc[k]);
                batch.ampStage1[lane] = l.amp1;
                batch.ampStage2[lane] = l.amp2;
                batch.ampLevel[lane] = l.level;
            }
            Output expected(OscillatorLanes::kLanes), got(OscillatorLanes::kLanes);
            OscillatorLanes::Frames f;
            f.mix = got.mix.data();
            f.third = got.third.data();
            f.amp = got.amp.data();
            f.count = kFrames;
            if (run.width == 8)
                batch.run8(run.first, f);
            else
                batch.run4(run.first, f);

            for (int lane = run.first; lane < run.first + run.width; ++lane) {
                renderOne(lanes[lane], lane, expected);
                for (int i = 0; i < kFrames; ++i) {
                    const int at = i * OscillatorLanes::kLanes + lane;
                    ASSERT_TRUE(same(got.mix[at], expected.mix[at]) && same(got.third[at], expected.third[at]) &&
                                same(got.amp[at], expected.amp[at]))
                        << run.name << " trial " << trial << " lane " << lane << " frame " << i;
                }
                for (int k = 0; k < 3; ++k) {
                    Oscillator stored = lanes[lane].osc[k];
                    batch.store(lane, k, stored);
                    EXPECT_TRUE(same(stored.phasePosition(), lanes[lane].osc[k].phasePosition()) &&
                                same(stored.wrapOffset(), lanes[lane].osc[k].wrapOffset()) &&
                                stored.phaseCounter() == lanes[lane].osc[k].phaseCounter())
                        << run.name << " lane " << lane << " oscillator " << k;
                }
                EXPECT_TRUE(same(batch.ampStage1[lane], lanes[lane].amp1) &&
                            same(batch.ampStage2[lane], lanes[lane].amp2));
            }
        }
    }
}
