#include <benchmark/benchmark.h>

#include "engine/Envelope.h"
#include "params/DelayTime.h"
#include "params/InitProgram.h"
#include "params/ParameterState.h"
#include "params/ProgramBank.h"

using namespace grelmond;

// One program switch as the audio thread does it on a MIDI program change:
// all 64 values, including both delays restarted at their full length (the
// silencing itself is the render loop's) and, with the engine's envelopes
// attached, twelve envelope rebuilds.
static void BM_ApplyWholeProgram(benchmark::State& state) {
  ParameterState params;
  Envelope amp(10, 50, 0.5f, 300, nullptr, false), filter(10, 50, 0.5f, 300, nullptr, false),
      proc(10, 50, 0.5f, 300, nullptr, false);
  if (state.range(0) != 0) {
    params.attachEnvelope(ParameterState::kAmpEnvelope, &amp);
    params.attachEnvelope(ParameterState::kFilterEnvelope, &filter);
    params.attachEnvelope(ParameterState::kProcEnvelope, &proc);
  }
  params.setDelayCapacity(DelayTime::kBase);
  InitProgram program;
  program.setValue(param::kLeftDelayTime, 1.0f);
  program.setValue(param::kRightDelayTime, 1.0f);
  for (ParameterId i : {14, 15, 17, 18, 19, 21, 59, 60, 62}) program.setValue(i, 1.0f); // longest shapes
  for (auto _ : state) {
    for (ParameterId i : ProgramBank::kApplyOrder) params.apply(i, program.value(i));
    benchmark::DoNotOptimize(params.renderValues().mainGain());
  }
}
BENCHMARK(BM_ApplyWholeProgram)->Arg(0)->Arg(1);

static void BM_ApplyCutoff(benchmark::State& state) {
  ParameterState params;
  float v = 0.0f;
  for (auto _ : state) {
    params.apply(param::kFilterCutoff, v);
    v = v < 1.0f ? v + 0.001f : 0.0f;
  }
}
BENCHMARK(BM_ApplyCutoff);
