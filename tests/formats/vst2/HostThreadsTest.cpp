// An instance driven from several threads at once, as hosts do: program
// selections on the main and GUI threads, MIDI program changes and rendering
// on the audio thread, automation, chunks taken and given.
#include "PluginLoader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <random>
#include <string>
#include <thread>
#include <vector>

using namespace vst;
using testsupport::PluginInstance;
using testsupport::PluginLoader;

namespace {

using ProgramValues = std::array<float, 64>;
using namespace std::chrono_literals;

ProgramValues liveValues(PluginInstance& plugin)
{
    ProgramValues v{};
    for (int i = 0; i < 64; ++i)
        v[i] = plugin.getParameter(i);
    return v;
}

std::vector<ProgramValues> everyProgram(PluginInstance& plugin)
{
    std::vector<ProgramValues> all;
    for (int p = 0; p < 64; ++p) {
        plugin.dispatch(effSetProgram, 0, p);
        all.push_back(liveValues(plugin));
    }
    return all;
}

std::string chunkOf(PluginInstance& plugin, int index)
{
    void* data = nullptr;
    const VstIntPtr size = plugin.dispatch(effGetChunk, index, 0, &data);
    return size > 0 ? std::string(static_cast<const char*>(data), size) : std::string();
}

VstIntPtr setChunk(PluginInstance& plugin, std::string chunk, int index)
{
    return plugin.dispatch(effSetChunk, index, static_cast<VstIntPtr>(chunk.size()), chunk.data());
}

// The audio thread: blocks of varying size with notes and, when asked,
// MIDI program changes in between.
class AudioThread {
public:
    AudioThread(PluginInstance& plugin, bool programChanges) : plugin_(plugin), programChanges_(programChanges)
    {
        plugin.dispatch(effSetSampleRate, 0, 0, nullptr, 44100.0f);
        plugin.dispatch(effSetBlockSize, 0, 1024);
        plugin.dispatch(effMainsChanged, 0, 1);
        thread_ = std::thread([this] { run(); });
    }
    ~AudioThread() { stop(); }

    void stop()
    {
        running_.store(false);
        if (thread_.joinable())
            thread_.join();
    }
    bool heardNonFinite() const { return nonFinite_; }
    int blocks() const { return blocks_.load(); }

private:
    void run()
    {
        std::mt19937 random(7);
        std::vector<float> left(1024), right(1024);
        float* outputs[] = {left.data(), right.data()};
        while (running_.load()) {
            VstMidiEvent events[2]{};
            for (VstMidiEvent& e : events) {
                e.type = kVstMidiType;
                e.byteSize = sizeof e;
            }
            const int note = 48 + static_cast<int>(random() % 24);
            events[0].midiData[0] = static_cast<char>(random() % 2 ? 0x90 : 0x80);
            events[0].midiData[1] = static_cast<char>(note);
            events[0].midiData[2] = 100;
            events[1].midiData[0] = static_cast<char>(0xC0);
            events[1].midiData[1] = static_cast<char>(random() % 128);
            struct {
                VstInt32 numEvents;
                VstIntPtr reserved;
                VstEvent* events[2];
            } list{programChanges_ ? 2 : 1, 0, {reinterpret_cast<VstEvent*>(&events[0]),
                                                reinterpret_cast<VstEvent*>(&events[1])}};
            plugin_.dispatch(effProcessEvents, 0, 0, &list);
            const int frames = 64 << (random() % 5);
            plugin_.effect()->processReplacing(plugin_.effect(), nullptr, outputs, frames);
            for (int n = 0; n < frames; ++n)
                nonFinite_ = nonFinite_ || !std::isfinite(left[n]) || !std::isfinite(right[n]);
            ++blocks_;
        }
    }

    PluginInstance& plugin_;
    bool programChanges_;
    std::atomic<bool> running_{true};
    bool nonFinite_ = false;
    std::atomic<int> blocks_{0};
    std::thread thread_;
};

// Selecting programs only reads them: with two threads selecting and MIDI
// program changes arriving, every stored program stays as it was, and the
// live values end up as one whole program, the current one.
TEST(HostThreads, ConcurrentSelectionsLeaveEveryProgramUnchanged)
{
    PluginLoader loader;
    ASSERT_TRUE(loader.loaded()) << loader.error();
    auto plugin = loader.create(nullptr);
    ASSERT_NE(plugin, nullptr);
    const std::vector<ProgramValues> before = everyProgram(*plugin);

    {
        AudioThread audio(*plugin, true);
        std::atomic<bool> running{true};
        auto selecting = [&](unsigned seed) {
            std::mt19937 random(seed);
            while (running.load())
                plugin->dispatch(effSetProgram, 0, static_cast<VstIntPtr>(random() % 64));
        };
        std::thread main(selecting, 1u), gui(selecting, 2u);
        // At least 1.5 s and enough blocks, also on a slow (sanitized) build.
        const auto start = std::chrono::steady_clock::now();
        while (std::chrono::steady_clock::now() - start < 1500ms ||
               (audio.blocks() < 200 && std::chrono::steady_clock::now() - start < 60s))
            std::this_thread::sleep_for(10ms);
        running.store(false);
        main.join();
        gui.join();
        audio.stop();
        EXPECT_GE(audio.blocks(), 200);
        EXPECT_FALSE(audio.heardNonFinite());
        // A selection the audio thread left for its next block is applied then.
        plugin->effect()->processReplacing(plugin->effect(), nullptr, nullptr, 0);
    }

    const int current = static_cast<int>(plugin->dispatch(effGetProgram));
    EXPECT_EQ(liveValues(*plugin), before[current]) << "live values of program " << current;
    const std::vector<ProgramValues> after = everyProgram(*plugin);
    for (int p = 0; p < 64; ++p)
        EXPECT_EQ(after[p], before[p]) << "program " << p;
}

// The host saves while the instance plays and is automated: every chunk it
// gets is whole and loads, and loading one while rendering is safe.
TEST(HostThreads, ChunksWhileRenderingAndAutomating)
{
    PluginLoader loader;
    ASSERT_TRUE(loader.loaded()) << loader.error();
    auto plugin = loader.create(nullptr);
    auto copy = loader.create(nullptr);
    ASSERT_NE(plugin, nullptr);
    ASSERT_NE(copy, nullptr);
    plugin->dispatch(effSetProgram, 0, 9);
    const std::string start = chunkOf(*plugin, 0);

    AudioThread audio(*plugin, false);
    std::atomic<bool> running{true};
    std::thread automation([&] {
        std::mt19937 random(3);
        while (running.load()) {
            plugin->setParameter(static_cast<int>(random() % 64), static_cast<float>(random() % 1001) / 1000.0f);
            std::this_thread::sleep_for(100us);
        }
    });
    std::thread gui([&] {
        while (running.load()) {
            plugin->dispatch(effEditIdle);
            char name[64] = {};
            plugin->dispatch(effGetProgramName, 0, 0, name);
            std::this_thread::sleep_for(1ms);
        }
    });

    int loaded = 0;
    for (int round = 0; round < 20; ++round) {
        const std::string bank = chunkOf(*plugin, 0);
        const std::string patch = chunkOf(*plugin, 1);
        EXPECT_EQ(setChunk(*copy, bank, 0), 1) << round;
        EXPECT_EQ(setChunk(*copy, patch, 1), 1) << round;
        EXPECT_EQ(copy->dispatch(effGetProgram), 9);
        loaded += setChunk(*plugin, round % 2 ? bank : start, 0) == 1;
    }
    running.store(false);
    automation.join();
    gui.join();
    audio.stop();
    EXPECT_EQ(loaded, 20);
    EXPECT_FALSE(audio.heardNonFinite());
}

// Two threads saving at once, each reading its chunk while the other takes the
// next one: the memory one call returned stays that thread's until its own
// next call (a ThreadSanitizer build sees any buffer freed under a reader).
TEST(HostThreads, TwoThreadsTakingChunksReadWholeChunks)
{
    PluginLoader loader;
    ASSERT_TRUE(loader.loaded()) << loader.error();
    auto plugin = loader.create(nullptr);
    ASSERT_NE(plugin, nullptr);
    plugin->dispatch(effSetProgram, 0, 5);
    const std::array<std::string, 2> expected{chunkOf(*plugin, 0), chunkOf(*plugin, 1)};
    std::atomic<int> wrong{0};
    auto saver = [&](int first) {
        for (int round = 0; round < 60; ++round) {
            const int index = (first + round) % 2;
            void* data = nullptr;
            const VstIntPtr size = plugin->dispatch(effGetChunk, index, 0, &data);
            // Read slowly, unlocked, as a host copying into its session would.
            std::string copy;
            for (VstIntPtr i = 0; i < size; i += 4096) {
                copy.append(static_cast<const char*>(data) + i, static_cast<std::size_t>(std::min<VstIntPtr>(4096, size - i)));
                std::this_thread::yield();
            }
            wrong += copy != expected[static_cast<std::size_t>(index)];
        }
    };
    std::thread a(saver, 0);
    std::thread b(saver, 1);
    a.join();
    b.join();
    EXPECT_EQ(wrong.load(), 0);
}

// Delay times set from the GUI and automation threads while the audio thread
// plays through both delays: the delay buffers belong to the audio thread
// alone (a ThreadSanitizer build checks that), and nothing but finite sound
// comes out.
TEST(HostThreads, DelayTimesSetWhileRendering)
{
    PluginLoader loader;
    ASSERT_TRUE(loader.loaded()) << loader.error();
    auto plugin = loader.create(nullptr);
    ASSERT_NE(plugin, nullptr);
    for (int mix : {50, 54})
        plugin->setParameter(mix, 0.8f);

    AudioThread audio(*plugin, false);
    std::atomic<bool> running{true};
    auto setting = [&](unsigned seed) {
        std::mt19937 random(seed);
        while (running.load()) {
            plugin->setParameter(random() % 2 ? 49 : 53, static_cast<float>(random() % 1001) / 1000.0f);
            std::this_thread::sleep_for(200us);
        }
    };
    std::thread gui(setting, 4u), automation(setting, 5u);
    const auto start = std::chrono::steady_clock::now();
    while (std::chrono::steady_clock::now() - start < 300ms ||
           (audio.blocks() < 100 && std::chrono::steady_clock::now() - start < 60s))
        std::this_thread::sleep_for(10ms);
    running.store(false);
    gui.join();
    automation.join();
    audio.stop();
    EXPECT_GE(audio.blocks(), 100);
    EXPECT_FALSE(audio.heardNonFinite());
}

} // namespace
