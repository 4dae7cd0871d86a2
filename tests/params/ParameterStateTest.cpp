#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "params/InitProgram.h"
#include "params/ParameterState.h"
#include "params/VolumeCurve.h"

using namespace grelmond;

namespace {

const float kSweep[] = {0.0f, 0.001f, 0.05f, 0.09f, 0.5f, 0.7f, 1.0f};

struct RecordingEnvelope : EnvelopeTarget {
  std::vector<int> calls; // attack 0, decay 1, sustain 2, release 3
  void setAttack(int32_t) override { calls.push_back(0); }
  void setDecay(int32_t) override { calls.push_back(1); }
  void setSustain(float) override { calls.push_back(2); }
  void setRelease(int32_t) override { calls.push_back(3); }
};

} // namespace

TEST(ParameterState, OscillatorCountAndDetune) {
  ParameterState s;
  const std::pair<float, int> counts[] = {{1.0f, 33}, {0.0f, 3}, {0.05f, 3}, {0.09f, 6}, {0.5f, 18}};
  for (auto [v, n] : counts) {
    s.apply(param::kTotalOscillators, v);
    EXPECT_EQ(s.renderValues().oscillatorCount(), n) << v;
    EXPECT_EQ(s.mirror().get(param::kTotalOscillators), v);
  }
  s.apply(param::kDetune, 0.0f);
  EXPECT_FLOAT_EQ(s.renderValues().detuneAmount(), 0.004f);
  s.apply(param::kDetune, 0.001f);
  EXPECT_FLOAT_EQ(s.renderValues().detuneAmount(), 0.04f * 0.001f);
  s.apply(param::kDetune, 1.0f);
  EXPECT_FLOAT_EQ(s.renderValues().detuneAmount(), 0.04f);
}

TEST(ParameterState, CurvedValuesReplaceTheMirrorEntry) {
  ParameterState s;
  s.apply(param::kFilterCutoff, 0.5f);
  EXPECT_FLOAT_EQ(s.mirror().get(param::kFilterCutoff), 0.015349f);
  EXPECT_FLOAT_EQ(s.renderValues().filterCutoff(), 0.015349f);
  s.apply(param::kFilterLfoRate, 1.0f);
  EXPECT_FLOAT_EQ(s.mirror().get(param::kFilterLfoRate), 0.997727f);
  EXPECT_FLOAT_EQ(s.renderValues().filterLfoRate(), 0.0997727f);

  s.apply(param::kFine1, 0.5f);
  EXPECT_EQ(s.mirror().get(param::kFine1), 0.5f);
  EXPECT_FLOAT_EQ(s.renderValues().get(param::kFine1), 0.5f);
  s.apply(param::kFine1, 1.0f);
  EXPECT_FLOAT_EQ(s.renderValues().get(param::kFine1), 0.5f + 0.5f * 0.997727f);
}

TEST(ParameterState, RenderSideConversionsOverASweep) {
  ParameterState s;
  for (float v : kSweep) {
    for (ParameterId i = 0; i < kNumParameters; ++i) s.apply(i, v);
    const RenderValues& r = s.renderValues();
    EXPECT_FLOAT_EQ(r.chorusMix(), v / 2) << v;
    EXPECT_FLOAT_EQ(r.flangerRate(), BipolarCurve::ofValue(v) / 10) << v;
    EXPECT_FLOAT_EQ(r.flangerFeedback(), 0.6f * v) << v;
    EXPECT_FLOAT_EQ(r.chorusRate(), v / 10) << v;
    EXPECT_FLOAT_EQ(r.mainGain(), 16 * VolumeCurve::at(int(v * 4095))) << v;
    EXPECT_EQ(r.leftDelayLength(), int(48000 * v)) << v;
    EXPECT_EQ(r.rightDelayLength(), int(48000 * v)) << v;
    EXPECT_EQ(r.get(47), v);
    EXPECT_EQ(s.mirror().get(28), v);
    EXPECT_EQ(s.mirror().get(63), v);
  }
  EXPECT_FLOAT_EQ(s.renderValues().mainGain(), 16 * 0.997727f);
}

TEST(ParameterState, EnvelopeTimesAndForwarding) {
  ParameterState s;
  RecordingEnvelope amp;
  s.attachEnvelope(ParameterState::kAmpEnvelope, &amp);
  s.apply(param::kFilterAttack, 1.0f);
  EXPECT_EQ(s.envelope(ParameterState::kFilterEnvelope).attack(), 2993);
  s.apply(param::kFilterAttack, 0.0f);
  EXPECT_EQ(s.envelope(ParameterState::kFilterEnvelope).attack(), 0);
  s.apply(param::kProcRelease, 0.5f);
  EXPECT_EQ(s.envelope(ParameterState::kProcEnvelope).release(), 2);
  s.apply(param::kProcSustain, 0.3f);
  EXPECT_FLOAT_EQ(s.envelope(ParameterState::kProcEnvelope).sustain(), 0.3f);
  EXPECT_EQ(EnvelopeTemplate::ticksOf(0.75f), 38);
  EXPECT_EQ(EnvelopeTemplate::ticksOf(0.9f), 419);

  for (ParameterId i = param::kAmpAttack; i <= param::kAmpRelease; ++i) s.apply(i, 0.9f);
  EXPECT_EQ(amp.calls, (std::vector<int>{0, 1, 2, 3}));
  EXPECT_EQ(s.envelope(ParameterState::kAmpEnvelope).decay(), 419);
  EXPECT_FLOAT_EQ(s.renderValues().get(param::kAmpSustain), 0.9f);
}

// Every delay-time setting, even to the same value, restarts its own side's
// echo (the render loop then plays silence for the new length); lengths stay
// within the buffers.
TEST(ParameterState, DelayTimeRestartsItsOwnSideWithinTheCapacity) {
  ParameterState s;
  const RenderValues& r = s.renderValues();
  s.setDelayCapacity(40000);
  s.apply(param::kRightDelayTime, 0.25f);
  EXPECT_EQ(r.rightDelayLength(), 12000);
  EXPECT_EQ(r.rightDelayRestarts(), 1u);
  EXPECT_EQ(r.leftDelayRestarts(), 0u);
  s.apply(param::kRightDelayTime, 0.25f);
  EXPECT_EQ(r.rightDelayRestarts(), 2u);
  s.apply(param::kLeftDelayTime, 1.0f);
  EXPECT_EQ(r.leftDelayLength(), 40000);
  EXPECT_EQ(r.leftDelayRestarts(), 1u);
  for (ParameterId i = param::kLeftDelayTime + 1; i < param::kRightDelayTime; ++i) s.apply(i, 0.5f);
  EXPECT_EQ(r.leftDelayRestarts(), 1u);
  EXPECT_EQ(r.rightDelayRestarts(), 2u);
}

TEST(ParameterState, OutOfRangeValuesAreClampedAndOddIndicesIgnored) {
  ParameterState s;
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  EXPECT_EQ(s.apply(param::kFilterCutoff, nan), 0.0f);
  EXPECT_EQ(s.mirror().get(param::kFilterCutoff), 0.0f);
  EXPECT_EQ(s.apply(param::kMainVolume, 7.0f), 1.0f);
  EXPECT_FLOAT_EQ(s.renderValues().mainGain(), 16 * 0.997727f);
  s.apply(param::kTotalOscillators, inf);
  EXPECT_EQ(s.renderValues().oscillatorCount(), 33);
  s.apply(param::kFine2, -inf);
  EXPECT_FLOAT_EQ(s.renderValues().get(param::kFine2), 0.5f - 0.5f * 0.997727f);
  s.apply(param::kFilterAttack, -3.0f);
  EXPECT_EQ(s.envelope(ParameterState::kFilterEnvelope).attack(), 0);
  s.apply(param::kLeftDelayTime, 5.0f);
  EXPECT_EQ(s.renderValues().leftDelayLength(), 48000);

  EXPECT_EQ(s.apply(64, 1.0f), 0.0f);
  EXPECT_EQ(s.apply(-1, 1.0f), 0.0f);
  EXPECT_EQ(s.mirror().get(64), 0.0f);
}

TEST(ParameterState, StartValuesDifferUntilNextSet) {
  ParameterState s;
  InitProgram init;
  init.setValue(param::kDetune, 0.0f);
  init.setValue(param::kFine1, 1.0f);
  s.apply(param::kFilterAttack, 1.0f); // envelopes keep what was set before
  s.applyStartValues(init);

  const RenderValues& r = s.renderValues();
  EXPECT_EQ(r.oscillatorCount(), 21); // 5 * 3 + 6
  EXPECT_EQ(r.detuneAmount(), 0.0f);
  EXPECT_EQ(r.get(param::kFine1), 1.0f);
  EXPECT_EQ(r.flangerRate(), 0.05f);
  EXPECT_EQ(s.mirror().get(param::kFilterCutoff), 0.5f);
  EXPECT_EQ(r.filterCutoff(), 0.5f);
  EXPECT_EQ(s.mirror().get(param::kFilterLfoRate), 0.5f);
  EXPECT_FLOAT_EQ(r.filterLfoRate(), 0.05f);
  EXPECT_FLOAT_EQ(r.mainGain(), 16 * VolumeCurve::at(2047));
  EXPECT_EQ(r.leftDelayLength(), 24000);
  EXPECT_EQ(r.leftDelayRestarts(), 0u); // set before any sound
  EXPECT_FLOAT_EQ(r.flangerFeedback(), 0.18f);
  EXPECT_EQ(s.envelope(ParameterState::kFilterEnvelope).attack(), 2993);

  s.apply(param::kTotalOscillators, 0.5f);
  EXPECT_EQ(r.oscillatorCount(), 18);
}

TEST(ParameterState, DelayLengthsKeepTheirTimeAtEveryRate) {
  ParameterState s;
  s.setDelayCapacity(120000);
  s.apply(param::kLeftDelayTime, 0.5f);
  s.apply(param::kRightDelayTime, 1.0f);
  EXPECT_EQ(s.renderValues().leftDelayLength(), 24000);
  s.setDelaySampleRate(96000.0f);
  EXPECT_EQ(s.renderValues().leftDelayLength(), 52245); // 24000 frames at 44.1 kHz
  EXPECT_EQ(s.renderValues().rightDelayLength(), 104490);
  EXPECT_EQ(s.renderValues().leftDelayRestarts(), 2u); // a new rate restarts both echoes
  EXPECT_EQ(s.renderValues().rightDelayRestarts(), 2u);
  s.apply(param::kLeftDelayTime, 0.25f);
  EXPECT_EQ(s.renderValues().leftDelayLength(), 26122);
  s.setDelaySampleRate(44100.0f);
  EXPECT_EQ(s.renderValues().rightDelayLength(), 48000);
}
