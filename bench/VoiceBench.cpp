#include "engine/Envelope.h"
#include "engine/ProcProcessor.h"
#include "engine/Voice.h"
#include "engine/SimdPath.h"
#include "params/ParameterMirror.h"
#include "render/VoicePool.h"
#include "engine/EngineHolder.h"
#include "engine/SampleStore.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

using namespace grelmond;

// The waveforms loaded and every envelope at attack 10, decay 50, sustain 0.8,
// release 300 ticks.
static void prepareEngine(EngineHolder& engine) {
    engine.loadWaveforms(GRELMOND_PLUGIN_DIR);
    for (Envelope* e : {engine.amplitudeEnvelope(), engine.filterEnvelope(), engine.procEnvelope()}) {
        e->setAttack(10);
        e->setDecay(50);
        e->setSustain(0.8f);
        e->setRelease(300);
    }
}

// All three oscillators on: pulse, sawtooth and square.
static void setOscillators(ParameterMirror& mirror) {
    for (int k = 0; k < 3; ++k) {
        mirror.set(4 * k + 0, 0.35f + 0.3f * k);
        mirror.set(4 * k + 1, 0.5f);
        mirror.set(4 * k + 2, 0.45f + 0.05f * k);
        mirror.set(4 * k + 3, 0.8f);
    }
}

static VoiceRenderInput renderInput(ParameterMirror& mirror, int frames) {
    VoiceRenderInput in;
    in.frames = frames;
    in.sampleRate = 44100;
    in.cutoff = 0.3f;
    in.resonance = 0.5f;
    in.envAmount = 0.5f;
    in.mirror = &mirror;
    return in;
}

// One voice rendering one 10 ms chunk at 44.1 kHz with all three oscillators
// on (pulse, sawtooth, square), the filter running and the given proc function.
static void BM_VoiceChunk(benchmark::State& state) {
    const int function = static_cast<int>(state.range(0));
    const int frames = 441;
    EngineHolder engine;
    prepareEngine(engine);
    ParameterMirror mirror;
    setOscillators(mirror);
    mirror.set(12, 0.5f);
    mirror.set(35, 0.3f);
    mirror.set(57, (function + 0.5f) / 25.1f);
    mirror.set(58, 0.7f);

    const VoiceRenderInput in = renderInput(mirror, frames);
    std::vector<float> left(frames), right(frames);
    Voice* voice = engine.store()->createVoice(100, 60, 0);
    voice->setModWheel(0.3f);
    for (auto _ : state) {
        voice->render(left.data(), right.data(), in);
        benchmark::DoNotOptimize(left.data());
        benchmark::ClobberMemory();
    }
    state.SetLabel(ProcProcessor::functionName(function));
    state.counters["per_frame"] =
        benchmark::Counter(frames, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_VoiceChunk)->DenseRange(0, 25);

// Voices of one proc function through the voice pool, voice by voice (path
// 0), in SSE2 lanes (1) or AVX2 lanes (2): ns per voice-frame.
static void renderPool(benchmark::State& state, int function, SimdPath path, int voices) {
    if (!simdPathAvailable(path)) {
        state.SkipWithError("this CPU lacks the path");
        return;
    }
    const int frames = 441;
    EngineHolder engine;
    prepareEngine(engine);
    ParameterMirror mirror;
    setOscillators(mirror);
    mirror.set(35, 0.3f);
    mirror.set(57, (function + 0.5f) / 25.1f);
    mirror.set(58, 0.7f);
    const VoiceRenderInput in = renderInput(mirror, frames);
    auto pool = std::make_unique<VoicePool>();
    pool->attach(engine.store(), nullptr);
    pool->setSimdPath(path);
    for (int v = 0; v < voices; ++v) pool->start(100, 30 + v, 0, 0.0f);
    std::vector<float> left(frames), right(frames);
    for (auto _ : state) {
        pool->renderAll(left.data(), right.data(), in);
        benchmark::DoNotOptimize(left.data());
        benchmark::ClobberMemory();
    }
    state.SetLabel(std::string(ProcProcessor::functionName(function)) + " " + simdPathName(path));
    state.counters["per_voice_frame"] = benchmark::Counter(
        frames * voices, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// 64 voices of each proc function.
static void BM_PoolChunk(benchmark::State& state) {
    renderPool(state, static_cast<int>(state.range(0)), static_cast<SimdPath>(state.range(1)), 64);
}
BENCHMARK(BM_PoolChunk)->ArgNames({"function", "path"})->ArgsProduct({benchmark::CreateDenseRange(0, 25, 1), {0, 1, 2}});

// Small and odd counts of "12 Voder 1" voices: groups with idle lanes and
// leftovers must not cost more than the voices alone.
static void BM_PoolVoices(benchmark::State& state) {
    renderPool(state, 11, static_cast<SimdPath>(state.range(1)), static_cast<int>(state.range(0)));
}
BENCHMARK(BM_PoolVoices)->ArgNames({"voices", "path"})->ArgsProduct({{1, 2, 3, 5, 9, 17}, {0, 1, 2}});
