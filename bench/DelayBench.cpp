// What a delay-time change costs the audio thread at 384 kHz, the largest
// buffers: silencing in one go (the whole buffer, or the longest length a
// delay time selects) against the span-by-span silencing the render loop does.

#include "params/DelayTime.h"
#include "render/DelayLine.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>

using namespace grelmond;

namespace {

constexpr double kRate = 384000.0;

std::unique_ptr<DelayLine> largestLine()
{
    auto line = std::make_unique<DelayLine>();
    line->setCapacity(DelayLine::capacityFor(kRate));
    return line;
}

int longestTimeLength() { return DelayTime::lengthAt(1.0f, static_cast<float>(kRate)); }

} // namespace

// Every frame of the buffer at once.
static void BM_DelaySilenceWholeBuffer(benchmark::State& state)
{
    auto line = largestLine();
    for (auto _ : state) {
        line->reset();
        benchmark::ClobberMemory();
    }
    state.counters["frames"] = line->capacity();
}
BENCHMARK(BM_DelaySilenceWholeBuffer)->Unit(benchmark::kMicrosecond);

// The whole longest delay-time length at once: a span as long as the length.
static void BM_DelaySilenceLongestLength(benchmark::State& state)
{
    auto line = largestLine();
    const int length = longestTimeLength();
    std::uint32_t restarts = 0;
    for (auto _ : state) {
        line->prepare(length, length, ++restarts);
        benchmark::ClobberMemory();
    }
    state.counters["frames"] = length;
}
BENCHMARK(BM_DelaySilenceLongestLength)->Unit(benchmark::kMicrosecond);

// One block of range(0) frames at the longest length, as the render loop runs
// it: with range(1) set, every block follows a delay-time change.
static void BM_DelayBlock(benchmark::State& state)
{
    auto line = largestLine();
    const int length = longestTimeLength();
    const int frames = static_cast<int>(state.range(0));
    std::uint32_t restarts = 0;
    float x = 0.25f;
    for (auto _ : state) {
        if (state.range(1) != 0)
            ++restarts;
        line->prepare(frames, length, restarts);
        for (int i = 0; i < frames; ++i)
            x = line->process(x, 0.5f, 0.5f, length, 0.0f);
        benchmark::DoNotOptimize(x);
    }
}
BENCHMARK(BM_DelayBlock)->Args({64, 0})->Args({64, 1})->Args({3840, 0})->Args({3840, 1});
