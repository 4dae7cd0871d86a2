// The span-wise effect chain against the frame-by-frame one: every sample must
// be the same bits, through the voices' tails and long silence, at the lane
// widths the CPU runs.

#include "PluginPlayer.h"
#include "ScopedEnv.h"
#include "TempFolder.h"
#include "TestPaths.h"
#include "engine/SimdPath.h"
#include "render/DelayLine.h"
#include "render/PitchShiftTap.h"

#include <gtest/gtest.h>

#include <string>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <memory>
#include <random>
#include <vector>

using namespace grelmond;
using testsupport::PluginLoader;
using testsupport::PluginPlayer;

namespace {

// Index of the first sample whose bits differ, or -1.
long firstDifference(const std::vector<float>& a, const std::vector<float>& b)
{
    if (a.size() != b.size())
        return 0;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::memcmp(&a[i], &b[i], sizeof(float)) != 0)
            return static_cast<long>(i);
    return -1;
}

std::vector<bool> widths()
{
    std::vector<bool> wide{false};
    if (simdPathAvailable(SimdPath::Avx2))
        wide.push_back(true);
    return wide;
}

} // namespace

// Ratios that keep a head on the write position (1), walk it across (near 1),
// spread eight frames over more than a window (2.5), run backwards or are not
// numbers (0.5 and 1.5 bound the ratios the lanes read through windows);
// spans of every length up to five groups.
TEST(PitchShiftSpan, MatchesProcessFrameByFrame)
{
    std::mt19937 random(7);
    std::uniform_real_distribution<float> sample(-1.0f, 1.0f);
    std::uniform_int_distribution<int> spanLength(0, 40);
    for (bool wide : widths()) {
        for (float ratio : {1.0f, 1.016f, 0.992f, 1.5f, 0.5f, 2.5f, -0.7f, NAN}) {
            for (float mix : {1.0f, 0.25f}) {
                auto reference = std::make_unique<PitchShiftTap>();
                auto spans = std::make_unique<PitchShiftTap>();
                std::vector<float> in, expected, got;
                for (int done = 0; done < 20000;) {
                    const int n = spanLength(random);
                    in.resize(static_cast<size_t>(n));
                    for (float& x : in)
                        x = done % 3000 < 1500 ? sample(random) : 0.0f;
                    for (float x : in)
                        expected.push_back(reference->process(x, mix, ratio));
                    const size_t at = got.size();
                    got.resize(at + in.size());
                    spans->processSpan(in.data(), got.data() + at, n, mix, ratio, wide);
                    done += n;
                }
                EXPECT_EQ(firstDifference(expected, got), -1) << "ratio " << ratio << " mix " << mix << " wide " << wide;
            }
        }
    }
}

// Long spans at the ratios the ensemble and chorus use, and at ratios halfway
// between two of a binade's phase steps: the lanes' steady runs, in place and
// adding into the input or another buffer as the ensemble's copies do,
// through phase wraps and heads passing the write position.
TEST(PitchShiftSpan, SteadyRunsMatchProcessFrameByFrame)
{
    std::mt19937 random(9);
    std::uniform_real_distribution<float> sample(-1.0f, 1.0f);
    std::uniform_int_distribution<int> spanLength(0, 200);
    const float ratios[] = {1.0f + 0x1p-13f, 1.0f + 0x1p-14f, 1.0f - 0x1p-13f, 0.995f, 1.005f, 1.12f, 0.61f,
                            1.37f, 0.5f, 1.5f, 1.0f};
    for (bool wide : widths()) {
        for (float ratio : ratios) {
            for (int mode = 0; mode < 3; ++mode) {
                // 0: in place; 1: adding into the input; 2: adding into another buffer.
                const float mix = mode == 0 ? 0.4f : 1.0f;
                const float gain = 0.8f;
                auto reference = std::make_unique<PitchShiftTap>();
                auto spans = std::make_unique<PitchShiftTap>();
                // Heads a few hundred slots from the write position, where a
                // ratio near 1 keeps them.
                for (int i = 0; i < 700 + 97 * mode; ++i) {
                    const float x = sample(random);
                    reference->process(x, mix, 1.5f);
                    spans->process(x, mix, 1.5f);
                }
                std::vector<float> expected, got, in, sum;
                for (int done = 0; done < 30000;) {
                    const int n = spanLength(random);
                    in.resize(static_cast<size_t>(n));
                    sum.resize(in.size());
                    for (size_t i = 0; i < in.size(); ++i) {
                        in[i] = sample(random);
                        sum[i] = sample(random);
                    }
                    for (size_t i = 0; i < in.size(); ++i) {
                        const float y = reference->process(in[i], mix, ratio);
                        expected.push_back(mode == 0 ? y : (mode == 1 ? in[i] : sum[i]) + gain * y);
                    }
                    if (mode == 0) {
                        spans->processSpan(in.data(), in.data(), n, mix, ratio, wide);
                        got.insert(got.end(), in.begin(), in.end());
                    } else if (mode == 1) {
                        spans->addSpan(in.data(), in.data(), n, mix, ratio, gain, wide);
                        got.insert(got.end(), in.begin(), in.end());
                    } else {
                        spans->addSpan(in.data(), sum.data(), n, mix, ratio, gain, wide);
                        got.insert(got.end(), sum.begin(), sum.end());
                    }
                    done += n;
                }
                EXPECT_EQ(firstDifference(expected, got), -1) << "ratio " << ratio << " mode " << mode << " wide " << wide;
            }
        }
    }
}

// Delay lengths from one frame up, changing from span to span, and spans of
// every length: the lanes must leave the ring and its position as frames do.
TEST(DelaySpan, MatchesProcessFrameByFrame)
{
    std::mt19937 random(11);
    std::uniform_real_distribution<float> sample(-1.0f, 1.0f);
    std::uniform_int_distribution<int> spanLength(0, 40), delayLength(1, 60);
    DelayLine reference, spans;
    std::vector<float> expected, got, in, offsets;
    float d = 1e-20f;
    for (int span = 0; span < 2000; ++span) {
        const int n = spanLength(random);
        const int length = span % 50 < 25 ? delayLength(random) : 37;
        in.resize(static_cast<size_t>(n));
        offsets.resize(in.size());
        for (int i = 0; i < n; ++i) {
            in[static_cast<size_t>(i)] = sample(random);
            offsets[static_cast<size_t>(i)] = d = -d;
        }
        for (int i = 0; i < n; ++i)
            expected.push_back(reference.process(in[static_cast<size_t>(i)], 0.4f, 0.9f, length, offsets[static_cast<size_t>(i)]));
        spans.processSpan(in.data(), n, 0.4f, 0.9f, length, offsets.data());
        got.insert(got.end(), in.begin(), in.end());
    }
    EXPECT_EQ(firstDifference(expected, got), -1);
}

namespace {

// A second copy of the plug-in's library: its own process-wide values (the
// denormal offset flips once per frame across all instances of a library), so
// two instances render side by side exactly as each would alone.
class EffectChain : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        folder_ = new TempFolder;
        namespace fs = std::filesystem;
        const std::string library = fs::path(testpaths::pluginPath()).filename().string();
        for (const std::string& name : {library, std::string("Grelmond.dlx"), std::string("GrelmondDefault.grb")})
            fs::copy_file(fs::path(testpaths::pluginDir()) / name, folder_->file(name));
        copy_ = new PluginLoader(folder_->file(library));
    }
    static void TearDownTestSuite()
    {
        delete copy_;
        delete folder_;
    }
    void SetUp() override
    {
        ASSERT_TRUE(loader_.loaded()) << loader_.error();
        ASSERT_TRUE(copy_->loaded()) << copy_->error();
    }

    PluginLoader loader_;
    static inline TempFolder* folder_ = nullptr;
    static inline PluginLoader* copy_ = nullptr;
};

// Every effect at work on the heaviest proc function: ten ensemble copies,
// flanger, chorus and both delays with feedback.
void everyEffect(PluginPlayer& p)
{
    for (int osc = 0; osc < 3; ++osc)
        p.set(osc * 4 + 3, 0.8f);
    const std::pair<int, float> values[] = {{57, 11.5f / 25.1f}, {58, 1.0f}, {28, 1.0f}, {29, 1.0f}, {22, 0.6f},
        {31, 1.0f}, {41, 1.0f}, {50, 0.5f}, {54, 0.5f}, {51, 0.5f}, {55, 0.5f}};
    for (auto [index, value] : values)
        p.set(index, value);
}

// A chord, its release at 1 s, a change of detune and chorus depth at 1.5 s,
// of both delay times at 2 s, then silence until the delays and rings have long died away, in blocks of
// the sizes hosts pass.
void play(PluginPlayer& p, int program)
{
    if (program < 0)
        everyEffect(p);
    else
        p.program(program);
    const int rate = static_cast<int>(p.sampleRate());
    const int blocks[] = {512, 441, 1, 7, 1024, 333, 64, 999, 2, 128, 4096, 37};
    int done = 0;
    for (int b = 0; done < 7 * rate; ++b) {
        if (done == 0)
            p.events({{3, 0x90, 48, 100}, {3, 0x90, 55, 90}, {200, 0x90, 64, 80}});
        const int n = std::min(blocks[b % std::size(blocks)], 7 * rate - done);
        if (done <= rate && rate < done + n)
            p.events({{rate - done, 0x80, 48, 0}, {rate - done, 0x80, 55, 0}, {rate - done, 0x80, 64, 0}});
        if (done <= rate * 3 / 2 && rate * 3 / 2 < done + n) {
            p.set(29, 0.6f);
            p.set(41, 0.3f);
        }
        if (done <= rate * 2 && rate * 2 < done + n) {
            p.set(49, 0.2f);
            p.set(53, 0.9f);
        }
        p.render(n, n);
        done += n;
    }
}

} // namespace

TEST_F(EffectChain, SpansMatchTheFrameByFrameChainBitForBit)
{
    // -1: every effect by parameters; then the ensemble, flanger, chorus and
    // echo programs of the factory bank.
    const int programs[] = {-1, 8, 11, 16, 17, 18, 23};
    for (const char* simd : {"avx2", "sse2"}) {
        if (std::strcmp(simd, "avx2") == 0 && !simdPathAvailable(SimdPath::Avx2))
            continue;
        ScopedEnv path("GRELMOND_SIMD", simd);
        for (float rate : {44100.0f, 48000.0f, 96000.0f}) {
            for (int program : programs) {
                std::unique_ptr<PluginPlayer> reference;
                {
                    ScopedEnv frames("GRELMOND_EFFECTS", "reference");
                    reference = std::make_unique<PluginPlayer>(loader_, rate, 4096);
                }
                PluginPlayer spans(*copy_, rate, 4096);
                ASSERT_TRUE(reference->ok() && spans.ok());
                play(*reference, program);
                play(spans, program);
                const size_t tail = static_cast<size_t>(rate) * 6;
                float ringing = 0.0f;
                for (size_t i = static_cast<size_t>(rate) * 2; i < tail; ++i)
                    ringing = std::max(ringing, std::fabs(reference->left[i]) + std::fabs(reference->right[i]));
                EXPECT_GT(ringing, 0.0f) << program;
                EXPECT_EQ(firstDifference(reference->left, spans.left), -1) << simd << " " << rate << " " << program;
                EXPECT_EQ(firstDifference(reference->right, spans.right), -1) << simd << " " << rate << " " << program;
            }
        }
    }
}
