#include "../engine/VoiceRig.h"

#include "engine/DenormalOffset.h"
#include "render/VoicePool.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using grelmond::SimdPath;
using grelmond::VoicePool;

namespace {

// Two identical engines and pools, one rendering voice by voice and one in
// SIMD lanes, fed the same notes. Their mixes must agree sample for sample:
// the batched path adds its voices in pool order, so any difference in any
// one voice shows.
struct Twin {
    struct Side {
        std::unique_ptr<VoiceRig> rig;
        VoicePool pool;
        std::vector<float> left, right;
    };
    Side side[2];
    int frames;

    Twin(SimdPath batched, int rate, void (*patch)(VoiceRig&)) : frames(rate / 100)
    {
        for (int s = 0; s < 2; ++s) {
            side[s].rig = std::make_unique<VoiceRig>(rate);
            patch(*side[s].rig);
            side[s].pool.attach(side[s].rig->engine.store(), nullptr);
            side[s].pool.setSimdPath(s == 0 ? SimdPath::Scalar : batched);
        }
    }

    void start(int note, int velocity, int delay)
    {
        for (Side& s : side)
            s.pool.start(velocity, note, delay, 0.0f);
    }
    void release(int note, int delay)
    {
        for (Side& s : side)
            s.pool.releaseKey(note, delay);
    }

    // One chunk on both sides from the same denormal offset; true if the two
    // mixes are identical.
    bool chunk()
    {
        const float offset = grelmond::DenormalOffset::before(0);
        for (Side& s : side) {
            s.left.assign(static_cast<std::size_t>(frames), offset);
            s.right.assign(static_cast<std::size_t>(frames), offset);
            s.pool.renderAll(s.left.data(), s.right.data(), s.rig->input);
            s.pool.removeFinished();
        }
        return side[0].left == side[1].left && side[0].right == side[1].right
            && side[0].pool.size() == side[1].pool.size();
    }
};

std::vector<SimdPath> batchedPaths()
{
    std::vector<SimdPath> paths;
    for (SimdPath p : {SimdPath::Sse2, SimdPath::Avx2})
        if (grelmond::simdPathAvailable(p))
            paths.push_back(p);
    return paths;
}

// Three oscillators of different shapes, the ladder resonant and moving.
void richPatch(VoiceRig& rig)
{
    const float shapes[3] = {0.5f, 0.35f, 1.0f}, coarse[3] = {0.5f, 0.5f, 0.75f}, fine[3] = {0.45f, 0.5f, 0.55f};
    for (int k = 0; k < 3; ++k) {
        rig.set(4 * k + 0, shapes[k]);
        rig.set(4 * k + 1, coarse[k]);
        rig.set(4 * k + 2, fine[k]);
        rig.set(4 * k + 3, 0.8f);
    }
    rig.set(12, 0.6f);
    rig.set(58, 0.8f);
    rig.set(39, 0.0f);
    rig.envelopes(3, 20, 0.6f, 8);
    rig.input.cutoff = 0.3f;
    rig.input.resonance = 0.9f;
    rig.input.envAmount = 0.5f;
}

TEST(VoiceBatch, EveryProcFunctionAndRateMatchesTheVoiceByVoicePath)
{
    for (SimdPath path : batchedPaths()) {
        for (int rate : {44100, 48000, 96000}) {
            for (int function = 0; function < 26; ++function) {
                Twin t(path, rate, richPatch);
                for (auto& s : t.side) {
                    s.rig->setFunction(function);
                    s.rig->set(44, function % 3 == 1 ? 1.0f : 0.0f); // high-pass output
                    s.rig->set(39, function % 5 == 4 ? 1.0f : 0.0f); // ladder bypassed
                    s.rig->set(30, function % 2 == 1 ? 1.0f : 0.0f); // proc inverted
                }
                for (int v = 0; v < 11; ++v)
                    t.start(40 + 5 * v, 60 + 6 * v, 0);
                for (int c = 0; c < 12; ++c) {
                    if (c == 4)
                        t.release(45, 0);
                    ASSERT_TRUE(t.chunk()) << grelmond::simdPathName(path) << " at " << rate << " Hz, function "
                                           << function << ", chunk " << c;
                }
            }
        }
    }
}

// A note joins every chunk and, once twenty sound, one leaves, at frame
// offsets all over the chunk, so the lanes of one and two groups fill, empty
// and repack at every position; then every voice rings out.
void comeAndGo(Twin& t, int chunks, const std::string& what)
{
    for (int c = 0; c < chunks; ++c) {
        t.start(30 + (c * 7) % 60, 100, c % 3 == 0 ? 0 : (c * 97) % t.frames);
        if (c >= 20)
            t.release(30 + ((c - 20) * 7) % 60, (c * 31) % t.frames);
        ASSERT_TRUE(t.chunk()) << what << " chunk " << c;
    }
    for (int note = 0; note < 128; ++note)
        t.release(note, 3);
    for (int c = 0; c < 40; ++c)
        ASSERT_TRUE(t.chunk()) << what << " release chunk " << c;
    EXPECT_EQ(t.side[1].pool.size(), 0) << what;
}

// The functions whose per-frame work runs in ProcLanes rather than voice by voice.
const int laneFunctions[] = {0, 1, 3, 9, 10, 15, 17, 18, 19, 24, 25};

void setFunctionBoth(Twin& t, int function)
{
    for (auto& s : t.side)
        s.rig->setFunction(function);
}

} // namespace

TEST(VoiceBatch, VoicesStartAndEndAtEveryLanePosition)
{
    for (SimdPath path : batchedPaths()) {
        Twin t(path, 44100, [](VoiceRig& rig) {
            richPatch(rig);
            rig.setFunction(11);
        });
        comeAndGo(t, 60, grelmond::simdPathName(path));
    }
}

// Lane functions with voices at every lane position, at every rate: random
// draws taken ahead must follow the pool's order whatever the groups hold.
TEST(VoiceBatch, LaneFunctionsMatchAsVoicesComeAndGo)
{
    for (SimdPath path : batchedPaths()) {
        for (int function : laneFunctions) {
            const int rate = function % 3 == 0 ? 44100 : (function % 3 == 1 ? 48000 : 96000);
            // No attack, so the fade-ins of the first frames are heard.
            Twin t(path, rate, [](VoiceRig& rig) {
                richPatch(rig);
                rig.envelopes(0, 20, 0.6f, 8);
            });
            setFunctionBoth(t, function);
            for (auto& s : t.side)
                s.rig->set(30, function % 2 == 0 ? 1.0f : 0.0f); // proc inverted: full level
            comeAndGo(t, 36, std::string(grelmond::simdPathName(path)) + " function " + std::to_string(function)
                                 + " at " + std::to_string(rate) + " Hz");
        }
    }
}

// The program changes function while voices sound: lane functions follow
// voice-by-voice ones and each other, the histories cleared on the way, the
// counters, carrier and chaos carried over; the control keyboard moves so the
// carriers run slow and very fast.
TEST(VoiceBatch, FunctionChangesWhileVoicesSound)
{
    const int sequence[] = {0, 9, 3, 19, 15, 10, 24, 11, 25, 18, 0, 16, 9, 3};
    for (SimdPath path : batchedPaths()) {
        for (int rate : {44100, 48000, 96000}) {
            Twin t(path, rate, richPatch);
            for (int v = 0; v < 13; ++v)
                t.start(36 + 4 * v, 50 + 5 * v, (v * 53) % t.frames);
            int chunk = 0;
            for (int function : sequence) {
                setFunctionBoth(t, function);
                // The first flanging stretch outlasts its fade-in.
                const int chunks = chunk == 0 ? 24 * rate / 44100 : 5;
                for (int c = 0; c < chunks; ++c, ++chunk) {
                    for (auto& s : t.side)
                        s.rig->input.keyDepth = chunk % 7 == 3 ? 0.02f : 1.0f - 0.1f * static_cast<float>(chunk % 4);
                    ASSERT_TRUE(t.chunk()) << grelmond::simdPathName(path) << " at " << rate << " Hz, function "
                                           << function << ", chunk " << chunk;
                }
            }
        }
    }
}


TEST(VoiceBatch, AFullPoolAndTheNoteBeyondItMatch)
{
    for (SimdPath path : batchedPaths()) {
        Twin t(path, 48000, [](VoiceRig& rig) {
            richPatch(rig);
            rig.setFunction(9); // draws random numbers every frame
            rig.envelopes(0, 0, 1.0f, 20);
        });
        for (int v = 0; v < VoicePool::kCapacity; ++v)
            t.start(20 + v % 90, 1 + v % 127, v % 5);
        ASSERT_TRUE(t.chunk());
        EXPECT_EQ(t.side[1].pool.size(), VoicePool::kCapacity);
        t.release(20, 0);
        t.start(100, 90, 17); // the 129th takes the released voice's place
        for (int c = 0; c < 6; ++c)
            ASSERT_TRUE(t.chunk()) << grelmond::simdPathName(path) << " chunk " << c;
        EXPECT_EQ(t.side[1].pool.size(), VoicePool::kCapacity);
    }
}
