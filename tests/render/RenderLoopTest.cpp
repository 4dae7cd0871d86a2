#include "render/RenderLoop.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

using namespace grelmond;

namespace {

// Stands in for the plug-in: fixed settings, an optional host tempo and one
// "voice" that adds a constant level.
class FakeClient : public RenderClient {
public:
    RenderSettings settings;
    bool hasTempo = false;
    double tempo = 120.0;
    float level = 0.0f;
    float poison = 0.0f;
    std::vector<int> chunks;
    int tempoQueries = 0;
    int filterClears = 0;

    FakeClient() { settings.volumeGain = 1.0f; }

    void readSettings(RenderSettings& s) override { s = settings; }
    bool hostTempo(double& t) override
    {
        ++tempoQueries;
        t = tempo;
        return hasTempo;
    }
    void renderVoices(float* left, float* right, const VoiceChunk& chunk) override
    {
        chunks.push_back(chunk.frames);
        for (int i = 0; i < chunk.frames; ++i) {
            left[i] += level + poison;
            right[i] += level;
        }
    }
    void clearVoiceFilters() override { ++filterClears; }
};

struct Fixture : ::testing::Test {
    std::unique_ptr<RenderLoop> loop = std::make_unique<RenderLoop>();
    FakeClient client;
    std::vector<float> left, right;

    void render(int frames, double rate = 44100.0, RenderLoop::Mode mode = RenderLoop::Mode::Replace)
    {
        left.resize(frames);
        right.resize(frames);
        loop->render(client, left.data(), right.data(), frames, rate, mode);
    }
};

} // namespace

TEST_F(Fixture, ChunksOfTenMillisecondsRunOnAcrossBlocks)
{
    render(1000);
    EXPECT_EQ(client.chunks, (std::vector<int>{441, 441, 118}));
    client.chunks.clear();
    render(500);
    EXPECT_EQ(client.chunks, (std::vector<int>{323, 177}));
    EXPECT_EQ(loop->sampleCounter(), 1500);

    client.chunks.clear();
    render(0);
    EXPECT_TRUE(client.chunks.empty());
    // A chunk ends at the length it began with; the next one takes the new rate.
    int open = 441 - 177;
    for (double rate : {8000.0, 384000.0, 50.0}) {
        client.chunks.clear();
        render(5000, rate);
        EXPECT_EQ(client.chunks[0], open);
        EXPECT_EQ(client.chunks[1], RenderLoop::chunkSize(rate));
        open = RenderLoop::chunkSize(rate) - client.chunks.back();
    }
    EXPECT_EQ(RenderLoop::chunkSize(50.0), 1);

    // A day of running is past any 32-bit frame count.
    const std::int64_t day = 24LL * 3600 * 44100;
    loop->setSampleCounter(day);
    client.settings.chorusMix = 0.5f;
    client.settings.pitchRate = client.settings.pitchDepth = 1.0f;
    render(1000);
    EXPECT_EQ(loop->sampleCounter(), day + 1000);
    for (float v : left)
        ASSERT_TRUE(std::isfinite(v));
    EXPECT_EQ(RenderLoop::chunkSize(std::nan("")), 1);
}

TEST_F(Fixture, SynchronisedLengthsFollowHostTempo)
{
    client.settings.delay[0] = {12000, 1.0f, 1.0f, 0.0f, 1.0f};
    client.settings.delay[1] = {38400, 0.8f, 0.0f, 0.0f, 0.0f};
    render(441);
    EXPECT_EQ(client.tempoQueries, 1);
    EXPECT_EQ(loop->tempoSync().length(0, 12000), 12000); // no tempo yet: the unsynchronised length

    client.hasTempo = true;
    render(441, 48000.0);
    EXPECT_EQ(loop->tempoSync().length(0, 12000), 96000);
    EXPECT_EQ(loop->tempoSync().length(1, 38400), 48000);
    client.hasTempo = false;
    render(441, 48000.0);
    EXPECT_EQ(loop->tempoSync().length(0, 12000), 96000);

    client.settings.delay[0].sync = 0.0f;
    client.tempoQueries = 0;
    render(441);
    EXPECT_EQ(client.tempoQueries, 0);
}

TEST_F(Fixture, NonFiniteNeverReachesTheHostAndStateRecovers)
{
    client.settings.delay[0] = {4800, 0.1f, 0.5f, 0.9f, 0.0f};
    client.settings.chorusMix = 0.5f;
    client.settings.chorusDepth = 1.0f;
    client.settings.ensembleCopies = 10;
    client.settings.detune = 0.04f;
    client.level = 0.1f;
    client.poison = std::nanf("");
    render(1000);
    client.poison = 0.0f;
    render(20000);
    for (float v : left)
        ASSERT_TRUE(std::isfinite(v));
    EXPECT_NE(left.back(), 0.0f);
}

TEST_F(Fixture, RunawayFramesAreSilencedAndTheVoicesStartAfresh)
{
    client.settings.delay[0] = {4800, 0.5f, 0.5f, 0.0f, 0.0f};
    client.level = 0.5f * RenderLoop::kRunaway; // loud, but still a sound
    render(441);
    EXPECT_EQ(loop->silencedFrames(), 0);
    EXPECT_EQ(client.filterClears, 0);
    EXPECT_GT(left.back(), 0.1f * RenderLoop::kRunaway);

    client.level = 3.0e38f; // finite, and a disaster
    render(441);
    for (float v : left)
        ASSERT_EQ(v, 0.0f);
    EXPECT_EQ(loop->silencedFrames(), 441);
    EXPECT_EQ(client.filterClears, 1);

    // Nothing of it lingers in the delays once the voices are back to normal.
    client.level = 0.1f;
    render(10000);
    EXPECT_EQ(loop->silencedFrames(), 441);
    for (float v : left)
        ASSERT_LT(std::fabs(v), 1.0f);
    EXPECT_NE(left.back(), 0.0f);
}

namespace {

// Largest magnitude in left[from, to).
float peak(const std::vector<float>& x, int from, int to)
{
    float p = 0.0f;
    for (int i = from; i < to; ++i)
        p = std::max(p, std::fabs(x[static_cast<std::size_t>(i)]));
    return p;
}

// Renders `frames` in blocks of `block`, keeping the left channel.
std::vector<float> play(Fixture& f, int frames, int block)
{
    std::vector<float> out;
    for (int done = 0; done < frames; done += block) {
        f.render(std::min(block, frames - done));
        out.insert(out.end(), f.left.begin(), f.left.end());
    }
    return out;
}

constexpr float kSilent = 1e-6f;

struct DelayRestart : Fixture {
    // A steady level through a wet-only delay with no feedback: once the delay
    // is full, everything it reads is 1, so any silence shows.
    void SetUp() override
    {
        client.level = 1.0f;
        client.settings.delay[0] = {4800, 0.1f, 1.0f, 0.0f, 0.0f, 0};
        play(*this, 10000, 512);
    }
    void restart(int length)
    {
        client.settings.delay[0].length = length;
        ++client.settings.delay[0].restarts;
    }
};

} // namespace

// A delay-time change arrives as a new length with a new restart count: from
// the first frame at that length the delay reads silence for one whole length,
// in any block size, and then the echo of what was played after the change.
TEST_F(DelayRestart, ReadsSilenceForOneNewLength)
{
    for (int block : {64, 441, 4096}) {
        for (int length : {48000, 100, 4800, 4800}) { // longer, shorter than a block, longer again, the same
            restart(length);
            const std::vector<float> out = play(*this, length + 200, block);
            EXPECT_LT(peak(out, 0, length), kSilent) << block << " " << length;
            EXPECT_GT(peak(out, length, length + 200), 0.5f) << block << " " << length;
        }
    }
}

// The restart count is raised before the length is released, so the loop may
// see the count one span before the length; nothing old is heard either way.
// A length change without a restart (start values, a tempo-locked length)
// silences nothing.
TEST_F(DelayRestart, CountSeenBeforeItsLengthAndLengthsWithoutRestart)
{
    ++client.settings.delay[0].restarts;
    play(*this, 64, 64);
    client.settings.delay[0].length = 20000;
    std::vector<float> out = play(*this, 20200, 64);
    EXPECT_LT(peak(out, 0, 20000), kSilent);
    EXPECT_GT(peak(out, 20000, 20200), 0.5f);

    for (int length : {3000, 30000, 1}) {
        client.settings.delay[0].length = length;
        out = play(*this, 6000, 441);
        EXPECT_GT(*std::min_element(out.begin(), out.end()), 0.5f) << length;
    }
}
