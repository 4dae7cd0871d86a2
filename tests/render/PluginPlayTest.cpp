#include "PluginLoader.h"
#include "PluginPlayer.h"
#include "SoundMeasures.h"
#include "engine/FlushDenormals.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <random>
#include <vector>

using namespace vst;
using testsupport::PluginInstance;
using testsupport::PluginLoader;
using testsupport::ScriptedHost;

namespace {

using Midi = testsupport::MidiMessage;
using Player = testsupport::PluginPlayer;

float peak(const std::vector<float>& x, size_t from = 0, size_t to = SIZE_MAX)
{
    float p = 0.0f;
    for (size_t i = from; i < std::min(to, x.size()); ++i)
        p = std::max(p, std::abs(x[i]));
    return p;
}

class PluginPlay : public ::testing::Test {
protected:
    PluginLoader loader;
    void SetUp() override { ASSERT_TRUE(loader.loaded()) << loader.error(); }
};

constexpr float kSilence = 1e-15f;

} // namespace

TEST_F(PluginPlay, SineNote57At440HzIdenticalOnBothChannels)
{
    for (float rate : {44100.0f, 48000.0f, 96000.0f}) {
        Player p(loader, rate);
        ASSERT_TRUE(p.ok());
        p.sinePatch();
        p.events({{0, 0x90, 57, 127}});
        p.render(static_cast<int>(rate / 2));
        EXPECT_NEAR(soundtest::frequency(p.left, rate, static_cast<size_t>(rate / 10), p.left.size()), 440.0, 1.0) << rate;
        EXPECT_GT(peak(p.left), 1e-3f);
        EXPECT_EQ(p.left, p.right);
    }
}

TEST_F(PluginPlay, NoteStartsAtItsFrameOffset)
{
    Player p(loader);
    p.sinePatch();
    p.events({{700, 0x90, 57, 127}});
    p.render(1024, 1024);
    EXPECT_LT(peak(p.left, 0, 700), kSilence);
    EXPECT_GT(peak(p.left, 700, 720), 1e-4f);
}

TEST_F(PluginPlay, NoteOffsVelocityZeroAndSustainPedal)
{
    const int second = 44100;
    auto tail = [](Player& p) { return peak(p.left, p.left.size() - 4410); };

    Player off(loader), zero(loader);
    for (Player* p : {&off, &zero}) {
        p->sinePatch();
        p->events({{0, 0x90, 57, 100}, {0, 0x90, 57, 100}});
        p->render(4410);
    }
    off.events({{100, 0x80, 57, 0}});
    zero.events({{100, 0x90, 57, 0}});
    off.render(second);
    zero.render(second);
    EXPECT_EQ(off.left, zero.left);
    EXPECT_LT(tail(off), kSilence); // one note-off released both voices

    Player pedal(loader);
    pedal.sinePatch();
    pedal.events({{0, 0xB0, 64, 127}, {0, 0x90, 57, 100}, {10, 0x80, 57, 0}});
    pedal.render(second);
    EXPECT_GT(tail(pedal), 1e-3f);
    pedal.events({{300, 0xB0, 64, 0}});
    pedal.render(second);
    EXPECT_LT(tail(pedal), kSilence);
}

TEST_F(PluginPlay, ProgramChangeAndControlKeyboard)
{
    Player p(loader);
    p.events({{0, 0xC0, 70, 0}});
    EXPECT_EQ(p.plugin().dispatch(effGetProgram), 6);

    p.sinePatch();
    p.events({{0, 0x90, 30, 100}});
    p.render(4410);
    EXPECT_LT(peak(p.left), kSilence); // a control key plays nothing
    p.events({{0, 0x90, 20, 100}, {0, 0x90, 30, 100}});
    p.render(4410);
    EXPECT_GT(peak(p.left, 4410), 1e-3f); // the split moved down to 23
}

TEST_F(PluginPlay, SilenceCarriesOnlyTheAlternatingResidue)
{
    Player p(loader);
    p.sinePatch();
    p.render(2048);
    const float gain = 16.0f; // at most the gain of the loudest volume setting
    EXPECT_GT(peak(p.left), 0.0f);
    EXPECT_LT(peak(p.left), 4e-20f * gain);
}

TEST_F(PluginPlay, AccumulateAddsAndReplaceOverwrites)
{
    Player replace(loader), accumulate(loader);
    for (Player* p : {&replace, &accumulate}) {
        p->sinePatch();
        p->events({{0, 0x90, 57, 127}});
    }
    replace.render(1024, 512);
    std::vector<float> buffer(512, 0.0f), right(512, 0.0f);
    float* outputs[2] = {buffer.data(), right.data()};
    AEffect* e = accumulate.plugin().effect();
    e->process(e, nullptr, outputs, 512);
    e->process(e, nullptr, outputs, 512);
    for (size_t i = 0; i < 512; ++i)
        ASSERT_NEAR(buffer[i], replace.left[i] + replace.left[512 + i], 1e-6f) << i;
}

TEST_F(PluginPlay, InstancesAreIndependent)
{
    auto solo = [&](int program) {
        Player p(loader);
        p.plugin().dispatch(effSetProgram, 0, program);
        p.set(61, 1.0f);
        p.events({{0, 0x90, 60, 110}, {5, 0x90, 67, 90}});
        p.render(22050, 256);
        return p.left;
    };
    const std::vector<float> a = solo(3), b = solo(12);

    Player pa(loader), pb(loader);
    pa.plugin().dispatch(effSetProgram, 0, 3);
    pb.plugin().dispatch(effSetProgram, 0, 12);
    pa.set(61, 1.0f);
    pb.set(61, 1.0f);
    pa.events({{0, 0x90, 60, 110}, {5, 0x90, 67, 90}});
    pb.events({{0, 0x90, 60, 110}, {5, 0x90, 67, 90}});
    for (int block = 0; block < 22050 / 256 + 1; ++block) {
        const int n = std::min(256, 22050 - block * 256);
        if (n > 0) {
            pa.render(n, 256);
            pb.render(n, 256);
        }
    }
    for (auto [mine, alone] : {std::pair{&pa.left, &a}, std::pair{&pb.left, &b}}) {
        ASSERT_EQ(mine->size(), alone->size());
        float worst = 0.0f;
        for (size_t i = 0; i < alone->size(); ++i)
            worst = std::max(worst, std::abs((*mine)[i] - (*alone)[i]));
        EXPECT_LE(worst, 1e-6f * std::max(peak(*alone), 1e-3f));
    }
}

TEST_F(PluginPlay, GlobalFlangerSkippedForInVoiceFlanging)
{
    auto render = [&](float mix, float function) {
        Player p(loader);
        p.sinePatch();
        p.set(22, mix);
        p.set(57, function);
        p.set(58, 0.0f);
        p.events({{0, 0x90, 57, 127}});
        p.render(8192);
        return p.left;
    };
    EXPECT_EQ(render(1.0f, 0.0f), render(0.0f, 0.0f));
    EXPECT_NE(render(1.0f, 0.9f), render(0.0f, 0.9f));
}

TEST_F(PluginPlay, DelayMixAndExactLength)
{
    auto firstSound = [](const std::vector<float>& x) {
        for (size_t i = 0; i < x.size(); ++i)
            if (std::abs(x[i]) > 1e-6f)
                return static_cast<long>(i);
        return -1L;
    };
    Player p(loader);
    p.sinePatch();
    p.set(49, 0.1f); // 4800 frames
    p.set(50, 1.0f); // left: delayed only
    p.set(51, 0.0f);
    p.set(53, 0.1f);
    p.set(54, 0.0f); // right: dry only
    p.events({{0, 0x90, 57, 127}});
    p.render(8192);
    const long dry = firstSound(p.right);
    ASSERT_GE(dry, 0);
    EXPECT_EQ(firstSound(p.left), dry + 4800);
}

TEST_F(PluginPlay, SynchronisedDelayFollowsHostTempo)
{
    VstTimeInfo time{};
    time.tempo = 120.0;
    time.sampleRate = 48000.0;
    time.flags = kVstTempoValid | kVstTransportPlaying;
    Player p(loader, 48000.0f);
    p.host().timeInfo = &time;
    p.sinePatch();
    p.set(49, 0.3f); // one 32nd of a 96000-frame bar: 3000 frames
    p.set(50, 1.0f);
    p.set(51, 0.0f);
    p.set(52, 1.0f);
    p.events({{0, 0x90, 57, 127}});
    p.render(6000);
    long first = -1;
    for (size_t i = 0; i < p.left.size() && first < 0; ++i)
        if (std::abs(p.left[i]) > 1e-6f)
            first = static_cast<long>(i);
    EXPECT_GE(first, 3000);
    EXPECT_LE(first, 3005);
    EXPECT_GT(p.host().count(audioMasterGetTime), 0);
}

TEST_F(PluginPlay, LongRandomRenderStaysFinite)
{
    Player p(loader);
    std::mt19937 random(7);
    std::uniform_real_distribution<float> value(0.0f, 1.0f);
    std::uniform_int_distribution<int> note(0, 127);
    for (int round = 0; round < 40; ++round) {
        for (int i = 0; i < 64; ++i)
            p.set(i, value(random));
        p.set(63, 0.5f);
        p.events({{0, 0x90, static_cast<unsigned char>(note(random)), 100},
                  {10, 0xE0, static_cast<unsigned char>(note(random)), static_cast<unsigned char>(note(random))},
                  {20, 0xB0, 1, static_cast<unsigned char>(note(random))},
                  {30, 0x80, static_cast<unsigned char>(note(random)), 0}});
        p.render(4410, 441 + round);
    }
    for (float v : p.left)
        ASSERT_TRUE(std::isfinite(v));
}

TEST_F(PluginPlay, ExtremeRatesAndOddBlocks)
{
    for (float rate : {8000.0f, 384000.0f}) {
        for (int block : {1, 7, 4097}) {
            Player p(loader, rate);
            p.sinePatch();
            p.events({{0, 0x90, 57, 127}});
            p.render(static_cast<int>(rate / 20), block);
            EXPECT_GT(peak(p.left), 1e-3f) << rate << " " << block;
            for (float v : p.left)
                ASSERT_TRUE(std::isfinite(v));
        }
    }
    Player p(loader);
    float* none[2] = {nullptr, nullptr};
    p.plugin().effect()->processReplacing(p.plugin().effect(), nullptr, none, 512);
    p.plugin().effect()->process(p.plugin().effect(), nullptr, nullptr, 512);
    p.render(0);
    EXPECT_TRUE(p.left.empty());
}

TEST_F(PluginPlay, HostFloatingPointControlSurvivesRendering)
{
    using grelmond::FlushDenormals;
    Player p(loader);
    p.sinePatch();
    p.events({{0, 0x90, 57, 127}});
    const std::uint32_t original = FlushDenormals::controlWord();
    // A host that keeps denormals, and one that flushes them itself.
    for (std::uint32_t host : {original & ~FlushDenormals::kFlushBits, original | FlushDenormals::kFlushBits}) {
        FlushDenormals::setControlWord(host);
        p.render(512);
        p.render(512, 512, true);
        const std::uint32_t after = FlushDenormals::controlWord();
        FlushDenormals::setControlWord(original);
        EXPECT_EQ(after & ~0x3Fu, host & ~0x3Fu); // all but the sticky exception flags
    }
}

namespace {

struct TimedMidi {
    int frame;
    unsigned char status, data1, data2;
};

// Plays a score cut into host blocks of `block` frames: each block gets the
// events that fall into it, at their offsets within the block.
std::vector<float> playScore(PluginLoader& loader, float rate, const std::vector<std::pair<int, float>>& values,
                             const std::vector<TimedMidi>& score, int frames, int block)
{
    Player p(loader, rate);
    for (auto [index, value] : values)
        p.set(index, value);
    size_t next = 0;
    for (int start = 0; start < frames; start += block) {
        const int n = std::min(block, frames - start);
        std::vector<Midi> due;
        for (; next < score.size() && score[next].frame < start + n; ++next)
            due.push_back({score[next].frame - start, score[next].status, score[next].data1, score[next].data2});
        if (!due.empty())
            p.events(due);
        p.render(n, n);
    }
    return p.left;
}

} // namespace

TEST_F(PluginPlay, EveryBlockSizePlaysTheSameSound)
{
    // Two detuned oscillators through "5 Vox A" and the filter, pitch LFO;
    // notes, bend and wheel off any block boundary.
    const std::vector<std::pair<int, float>> values = {{0, 0.7f}, {2, 0.45f}, {3, 0.8f}, {4, 0.4f}, {6, 0.55f},
        {7, 0.8f}, {11, 0.0f}, {12, 0.6f}, {13, 0.3f}, {39, 0.0f}, {47, 0.5f}, {57, 4.5f / 25.1f}, {58, 0.8f}};
    const std::vector<TimedMidi> score = {{1001, 0x90, 57, 100}, {5003, 0x90, 64, 90}, {12301, 0xE0, 0, 80},
        {20001, 0x80, 57, 0}, {24589, 0xB0, 1, 90}, {26459, 0x90, 60, 127}, {30871, 0x80, 64, 0},
        {35000, 0x80, 60, 0}};
    const int frames = 44100;
    const std::vector<float> reference = playScore(loader, 44100.0f, values, score, frames, 512);
    EXPECT_GT(peak(reference), 0.05f);
    for (int block : {1, 2, 3, 4096}) {
        const std::vector<float> out = playScore(loader, 44100.0f, values, score, frames, block);
        ASSERT_EQ(out.size(), reference.size());
        float worst = 0.0f;
        for (size_t i = 0; i < out.size(); ++i)
            worst = std::max(worst, std::fabs(out[i] - reference[i]));
        EXPECT_EQ(worst, 0.0f) << "block " << block;
    }

    // Rates at or below 100 Hz and meaningless rates play nothing musical (at
    // most a faint transient of a waveform's held first sample), and do not fail.
    for (float rate : {100.0f, 50.0f, 1.0f, 0.0f, -44100.0f, std::nanf("")}) {
        for (int block : {1, 512}) {
            const std::vector<float> out = playScore(loader, rate, values, score, 2000, block);
            for (float v : out)
                ASSERT_TRUE(std::isfinite(v) && std::fabs(v) < 0.01f) << rate << " " << block << " " << v;
        }
    }
}

// A host may leave any rounding mode set; the sound and the host's own control
// word are the same afterwards whatever it was.
TEST_F(PluginPlay, HostRoundingModeNeitherChangesTheSoundNorIsLost)
{
    using grelmond::FlushDenormals;
    const std::uint32_t original = FlushDenormals::controlWord();
    const std::uint32_t base = original & ~(FlushDenormals::kRoundingBits | FlushDenormals::kFlushBits | 0x3Fu);
    std::vector<float> reference;
    for (std::uint32_t mode : {0x0000u, 0x2000u, 0x4000u, 0x6000u}) {
        FlushDenormals::setControlWord(base | mode);
        Player p(loader);
        ASSERT_TRUE(p.ok());
        p.program(5);
        p.events({{0, 0x90, 48, 127}, {10, 0x90, 55, 100}, {300, 0x90, 64, 90}, {400, 0xE0, 0, 90}});
        p.render(22050);
        EXPECT_EQ(FlushDenormals::controlWord() & ~0x3Fu, base | mode);
        FlushDenormals::setControlWord(original);
        ASSERT_GT(peak(p.left), 1e-3f);
        if (mode == 0)
            reference = p.left;
        else
            EXPECT_EQ(p.left, reference) << "rounding mode " << mode;
    }
}

// Voices that draw noise draw from their own generators, so how the host cuts
// the stream into blocks never reorders their draws.
TEST_F(PluginPlay, NoiseVoicesSoundTheSameWhateverTheBlockSplit)
{
    std::vector<float> reference;
    for (int block : {4096, 1, 7, 64, 752, 272}) {
        Player p(loader);
        p.sinePatch();
        p.set(57, 10.5f / 25.1f); // the noise function
        p.set(58, 1.0f);
        p.events({{0, 0x90, 57, 127}, {0, 0x90, 64, 100}, {0, 0x90, 69, 90}});
        p.render(8192, block);
        ASSERT_GT(peak(p.left), 1e-3f);
        if (reference.empty())
            reference = p.left;
        else
            EXPECT_EQ(p.left, reference) << "blocks of " << block;
    }
}
