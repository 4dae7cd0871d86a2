#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "engine/EngineRandom.h"
#include "engine/ProcProcessor.h"

using namespace grelmond;

// One proc function on one 441-frame chunk at 44.1 kHz: block set-up, the
// frames and the per-call state check, as a voice runs them.
static void BM_ProcFunctionChunk(benchmark::State& state)
{
    const int frames = 441;
    std::vector<float> dry(frames), third(frames);
    for (int i = 0; i < frames; ++i) {
        dry[i] = static_cast<float>(0.1 * std::sin(0.0627 * i) + 0.08 * std::sin(0.158 * i));
        third[i] = static_cast<float>(0.05 * std::sin(0.031 * i));
    }
    ProcProcessor proc;
    EngineRandom random;
    ProcBlockInput in;
    in.function = static_cast<int>(state.range(0));
    in.procEnv = 0.7f;
    in.procLevel = 0.6f;
    in.keyDepth = 1.0f;
    in.flangerFeedback = 0.3f;
    float d = 1e-20f;
    for (auto _ : state) {
        proc.blockSetup(in);
        proc.setOscillator1Increment(1.0f);
        float sum = 0.0f;
        for (int i = 0; i < frames; ++i) {
            d = -d;
            sum += proc.process(dry[i], third[i], d, random);
        }
        proc.resetNonFinite();
        benchmark::DoNotOptimize(sum);
    }
    state.SetLabel(ProcProcessor::functionName(in.function));
    state.counters["ns/frame"] = benchmark::Counter(static_cast<double>(state.iterations()) * frames,
        benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_ProcFunctionChunk)->DenseRange(0, ProcProcessor::functionCount - 1);
