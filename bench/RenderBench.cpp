// Whole-plug-in renders through the binary interface: processReplacing at
// 44.1 kHz in blocks of 512, with N held voices, bare or with every effect on.

#include "formats/vst2/VstAbi.h"

#include <benchmark/benchmark.h>
#include <dlfcn.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

using namespace vst;

vst::VstTimeInfo timeInfo{};

VstIntPtr benchHost(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float)
{
    switch (opcode) {
    case audioMasterVersion:
        return 2400;
    case audioMasterGetSampleRate:
        return 44100;
    case audioMasterGetTime:
        return reinterpret_cast<VstIntPtr>(&timeInfo);
    default:
        return 0;
    }
}

// GRELMOND_BENCH_PLUGIN names another build of the plug-in (an older one, for
// before/after figures in one run); its data files are looked up beside it.
const char* pluginPath()
{
    const char* other = std::getenv("GRELMOND_BENCH_PLUGIN");
    return other != nullptr && *other != '\0' ? other : GRELMOND_PLUGIN_PATH;
}

AEffect* loadEntry(const char* path, void** handle)
{
    if (*handle == nullptr)
        *handle = dlopen(path, RTLD_NOW | RTLD_LOCAL);
    if (*handle == nullptr)
        return nullptr;
    void* library = *handle;
    auto entry = reinterpret_cast<AEffect* (*)(AudioMasterCallback)>(dlsym(library, "VSTPluginMain"));
    if (entry == nullptr)
        entry = reinterpret_cast<AEffect* (*)(AudioMasterCallback)>(dlsym(library, "main"));
    return entry != nullptr ? entry(benchHost) : nullptr;
}

AEffect* createInstance()
{
    static void* library = nullptr;
    if (library == nullptr) {
        std::string dir = pluginPath();
        dir = dir.substr(0, dir.find_last_of('/'));
        setenv("GRELMOND_INSTALL_PATH", dir.c_str(), 0);
    }
    return loadEntry(pluginPath(), &library);
}

// "10 BP Dist": the proc function with the most per-frame work.
constexpr float kHeaviestProcFunction = 9.5f / 25.1f;

void setUp(AEffect* e, bool effects)
{
    auto set = [e](int index, float value) { e->setParameter(e, index, value); };
    for (int osc = 0; osc < 3; ++osc)
        set(osc * 4 + 3, 0.8f);        // all three oscillators sound
    set(57, kHeaviestProcFunction);
    set(58, 0.7f);
    set(61, 1.0f);                     // amp sustain: voices hold
    set(28, effects ? 1.0f : 0.0f);    // ensemble copies
    set(29, 1.0f);
    set(22, effects ? 0.6f : 0.0f);    // flanger
    set(31, effects ? 1.0f : 0.0f);    // chorus
    set(41, 1.0f);
    set(50, effects ? 0.5f : 0.0f);    // delays
    set(54, effects ? 0.5f : 0.0f);
    set(51, 0.5f);
    set(55, 0.5f);
}

// "12 Voder 1" at full proc amount on three oscillators, with ten ensemble
// copies, flanger, chorus and both delays when effects are on: the heaviest
// everyday patch.
constexpr float kVoder1 = 11.5f / 25.1f;

void setUpVoder(AEffect* e, bool effects)
{
    setUp(e, effects);
    e->setParameter(e, 57, kVoder1);
    e->setParameter(e, 58, 1.0f);
}

void sendNotes(AEffect* e, int count, int status)
{
    std::vector<VstMidiEvent> notes(static_cast<size_t>(count));
    std::vector<unsigned char> storage(offsetof(VstEvents, events) + notes.size() * sizeof(VstEvent*));
    auto* events = reinterpret_cast<VstEvents*>(storage.data());
    events->numEvents = count;
    for (int i = 0; i < count; ++i) {
        VstMidiEvent& n = notes[static_cast<size_t>(i)];
        n = VstMidiEvent{};
        n.type = kVstMidiType;
        n.byteSize = sizeof n;
        n.midiData[0] = static_cast<char>(status);
        n.midiData[1] = static_cast<char>(40 + i % 80);
        n.midiData[2] = status == 0x90 ? 100 : 0;
        events->events[i] = reinterpret_cast<VstEvent*>(&n);
    }
    e->dispatcher(e, effProcessEvents, 0, 0, events, 0.0f);
}

void startVoices(AEffect* e, int count)
{
    sendNotes(e, count, 0x90);
}

// Opens the instance at 44.1 kHz in blocks of 512 with the patch set up.
void openAt44k(benchmark::State& state, AEffect* e, void (*setUpPatch)(AEffect*, bool))
{
    e->dispatcher(e, effSetSampleRate, 0, 0, nullptr, 44100.0f);
    e->dispatcher(e, effSetBlockSize, 0, 512, nullptr, 0.0f);
    e->dispatcher(e, effMainsChanged, 0, 1, nullptr, 0.0f);
    if (setUpPatch != nullptr)
        setUpPatch(e, state.range(1) != 0);
}

// Plays `warmUp` blocks, then times one block per iteration and reports the
// real-time factor (seconds of audio per second of processing); closes the instance.
void timeBlocks(benchmark::State& state, AEffect* e, int warmUp)
{
    std::vector<float> left(512), right(512);
    float* outputs[2] = {left.data(), right.data()};
    for (int i = 0; i < warmUp; ++i)
        e->processReplacing(e, nullptr, outputs, 512);
    for (auto _ : state) {
        e->processReplacing(e, nullptr, outputs, 512);
        benchmark::DoNotOptimize(left.data());
    }
    state.counters["realtime"] =
        benchmark::Counter(512.0 / 44100.0, benchmark::Counter::kIsIterationInvariantRate);
    e->dispatcher(e, effClose, 0, 0, nullptr, 0.0f);
}

void openAndPlay(benchmark::State& state, AEffect* e, void (*setUpPatch)(AEffect*, bool))
{
    openAt44k(state, e, setUpPatch);
    startVoices(e, static_cast<int>(state.range(0)));
    // Past the attacks and the ensemble's first pass.
    timeBlocks(state, e, 20);
}

void BM_Render(benchmark::State& state)
{
    AEffect* e = createInstance();
    if (e == nullptr) {
        state.SkipWithError("cannot load the plug-in");
        return;
    }
    openAt44k(state, e, setUp);
    startVoices(e, static_cast<int>(state.range(0)));
    timeBlocks(state, e, 0);
}

void BM_Voder(benchmark::State& state)
{
    AEffect* e = createInstance();
    if (e == nullptr) {
        state.SkipWithError("cannot load the plug-in");
        return;
    }
    openAndPlay(state, e, setUpVoder);
}

// The silent tail: N voices of the patch above held for a second and released
// (a short release), then eight seconds on, when only the effects' rings and
// delays still sound.
void BM_VoderTail(benchmark::State& state)
{
    AEffect* e = createInstance();
    if (e == nullptr) {
        state.SkipWithError("cannot load the plug-in");
        return;
    }
    openAt44k(state, e, setUpVoder);
    e->setParameter(e, 62, 0.05f); // amp release
    const int voices = static_cast<int>(state.range(0));
    std::vector<float> left(512), right(512);
    float* outputs[2] = {left.data(), right.data()};
    startVoices(e, voices);
    for (int i = 0; i < 86; ++i)
        e->processReplacing(e, nullptr, outputs, 512);
    sendNotes(e, voices, 0x80);
    timeBlocks(state, e, 8 * 86);
}

// A peer instrument (GRELMOND_BENCH_PEER, default Debian's amsynth) playing the
// same notes with its own default patch: a yardstick, not a copy.
void BM_Peer(benchmark::State& state)
{
    const char* peer = std::getenv("GRELMOND_BENCH_PEER");
    static void* library = nullptr;
    AEffect* e = loadEntry(peer != nullptr ? peer : "/usr/lib/vst/amsynth_vst.so", &library);
    if (e == nullptr) {
        state.SkipWithError("no peer plug-in");
        return;
    }
    e->dispatcher(e, effOpen, 0, 0, nullptr, 0.0f);
    openAndPlay(state, e, nullptr);
}

BENCHMARK(BM_Voder)
    ->ArgNames({"voices", "effects"})
    ->ArgsProduct({{0, 1, 16, 64, 128}, {0, 1}})
    ->Unit(benchmark::kMicrosecond);

BENCHMARK(BM_VoderTail)
    ->ArgNames({"voices", "effects"})
    ->Args({16, 1})
    ->Unit(benchmark::kMicrosecond);

BENCHMARK(BM_Peer)
    ->ArgNames({"voices", "effects"})
    ->ArgsProduct({{0, 1, 16, 64, 128}, {0}})
    ->Unit(benchmark::kMicrosecond);

BENCHMARK(BM_Render)
    ->ArgNames({"voices", "effects"})
    ->ArgsProduct({{1, 16, 64, 128}, {0, 1}})
    ->Unit(benchmark::kMicrosecond);

} // namespace
