// A selection storm: a MIDI program change in every 64-frame block while
// another thread selects programs without pause. The audio thread's share of
// the work must stay bounded: the counters give the mean and the longest
// block in the audio thread's own CPU time (a wall clock would also count the
// other thread taking the core), beside the same blocks with no other thread.

#include "formats/vst2/PluginEntry.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <ctime>
#include <cstdlib>
#include <thread>
#include <vector>

namespace {

using namespace vst;

constexpr int kFrames = 64;

VstIntPtr stormHost(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float)
{
    return opcode == audioMasterVersion ? 2400 : opcode == audioMasterGetSampleRate ? 44100 : 0;
}

void sendProgramChange(AEffect* e, int program)
{
    VstMidiEvent change{};
    change.type = kVstMidiType;
    change.byteSize = sizeof change;
    change.midiData[0] = static_cast<char>(0xC0);
    change.midiData[1] = static_cast<char>(program & 0x3F);
    VstEvents events{};
    events.numEvents = 1;
    events.events[0] = reinterpret_cast<VstEvent*>(&change);
    e->dispatcher(e, effProcessEvents, 0, 0, &events, 0.0f);
}

double threadMicroseconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e6 + static_cast<double>(now.tv_nsec) / 1e3;
}

void BM_SelectionStorm(benchmark::State& state)
{
    setenv("GRELMOND_INSTALL_PATH", GRELMOND_PLUGIN_DIR, 0);
    AEffect* e = grelmond::createPluginInstance(stormHost);
    if (e == nullptr) {
        state.SkipWithError("cannot create the plug-in");
        return;
    }
    e->dispatcher(e, effOpen, 0, 0, nullptr, 0.0f);
    e->dispatcher(e, effSetSampleRate, 0, 0, nullptr, 44100.0f);
    e->dispatcher(e, effSetBlockSize, 0, kFrames, nullptr, 0.0f);
    e->dispatcher(e, effMainsChanged, 0, 1, nullptr, 0.0f);

    std::atomic<bool> stop{false};
    std::thread other;
    if (state.range(0) != 0)
        other = std::thread([&] {
            for (int p = 0; !stop.load(std::memory_order_relaxed); p = (p + 5) % 64)
                e->dispatcher(e, effSetProgram, 0, p, nullptr, 0.0f);
        });

    std::vector<float> left(kFrames), right(kFrames);
    float* outputs[2] = {left.data(), right.data()};
    double total = 0.0, longest = 0.0;
    long blocks = 0;
    int program = 0;
    for (auto _ : state) {
        const double start = threadMicroseconds();
        sendProgramChange(e, program = (program + 7) % 64);
        e->processReplacing(e, nullptr, outputs, kFrames);
        const double us = threadMicroseconds() - start;
        total += us;
        longest = std::max(longest, us);
        ++blocks;
    }
    stop = true;
    if (other.joinable())
        other.join();
    e->dispatcher(e, effMainsChanged, 0, 0, nullptr, 0.0f);
    e->dispatcher(e, effClose, 0, 0, nullptr, 0.0f);
    state.counters["mean_us"] = blocks > 0 ? total / static_cast<double>(blocks) : 0.0;
    state.counters["longest_us"] = longest;
}

BENCHMARK(BM_SelectionStorm)->ArgName("other_thread")->Arg(0)->Arg(1)->Iterations(20000)->UseRealTime();

} // namespace
