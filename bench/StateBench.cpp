// The host state's cost on the host's main thread: a whole bank written and
// read with every value exact.
#include "core/Instrument.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

using grelmond::Instrument;

static void BM_SaveBankState(benchmark::State& state)
{
    auto instrument = std::make_unique<Instrument>();
    std::string text;
    for (auto _ : state) {
        instrument->saveState(Instrument::StateScope::Bank, text);
        benchmark::DoNotOptimize(text.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_SaveBankState)->Unit(benchmark::kMillisecond);

static void BM_LoadBankState(benchmark::State& state)
{
    auto instrument = std::make_unique<Instrument>();
    std::string text;
    instrument->saveState(Instrument::StateScope::Bank, text);
    for (auto _ : state)
        benchmark::DoNotOptimize(instrument->loadState(Instrument::StateScope::Bank, text.data(), text.size()));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_LoadBankState)->Unit(benchmark::kMillisecond);
