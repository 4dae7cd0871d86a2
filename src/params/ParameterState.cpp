#include "params/ParameterState.h"

#include "params/DelayTime.h"
#include "params/VolumeCurve.h"

#include <algorithm>
#include <cmath>

namespace grelmond {
namespace {

bool isCurved(ParameterId index) {
  return index == param::kFilterLfoRate || index == param::kFilterCutoff;
}

int32_t truncTimesTen(float v) { return static_cast<int32_t>(10.0f * v + 0.1f); }

} // namespace

int32_t ParameterState::oscillatorCountOf(float v) { return truncTimesTen(v) * 3 + 3; }

// A setting of 0 would turn the ensemble off altogether; very small values
// keep a slight detune instead.
float ParameterState::detuneOf(float v) { return 0.04f * (v < 0.001f ? 0.1f : v); }

float ParameterState::mainGainOf(float v) { return 16.0f * VolumeCurve::ofValue(v); }

void ParameterState::setDelayCapacity(int32_t frames) {
  delayCapacity_.store(std::max(frames, 0), std::memory_order_relaxed);
}

float ParameterState::apply(ParameterId index, float v) {
  if (!isParameterId(index)) return 0.0f;
  v = clampParameterValue(v);
  set_[index].store(v, std::memory_order_relaxed);
  mirror_.set(index, isCurved(index) ? VolumeCurve::ofValue(v) : v);
  applyRenderValue(index, v);
  applyEnvelope(index, v);
  applyDelay(index, v);
  return v;
}

void ParameterState::applyRenderValue(ParameterId index, float v) {
  switch (index) {
  case param::kFine1:
  case param::kFine2:
  case param::kFine3:
  case param::kPitchDepth:
    render_.set(index, BipolarCurve::ofValue(v));
    break;
  case param::kTotalOscillators:
    render_.setOscillatorCount(oscillatorCountOf(v));
    break;
  case param::kDetune:
    render_.setDetuneAmount(detuneOf(v));
    break;
  case param::kChorusMix:
    render_.set(index, v / 2.0f);
    break;
  case param::kFlangerRate:
    render_.set(index, BipolarCurve::ofValue(v) / 10.0f);
    break;
  case param::kFlangerFeedback:
    render_.set(index, 0.6f * v);
    break;
  case param::kChorusRate:
    render_.set(index, v / 10.0f);
    break;
  case param::kFilterLfoRate:
    render_.set(index, VolumeCurve::ofValue(v) / 10.0f);
    break;
  case param::kFilterCutoff:
    render_.set(index, VolumeCurve::ofValue(v));
    break;
  case param::kLeftDelayTime:
  case param::kRightDelayTime:
    break; // lengths are set with the restart of their echo
  case param::kMainVolume:
    render_.set(index, mainGainOf(v));
    break;
  default:
    render_.set(index, v);
    break;
  }
}

void ParameterState::applyEnvelope(ParameterId index, float v) {
  Envelope which;
  if (index >= param::kFilterAttack && index <= param::kFilterRelease)
    which = kFilterEnvelope;
  else if (index >= param::kProcAttack && index <= param::kProcRelease)
    which = kProcEnvelope;
  else if (index >= param::kAmpAttack && index <= param::kAmpRelease)
    which = kAmpEnvelope;
  else
    return;

  EnvelopeTemplate& e = envelopes_[which];
  int32_t first = which == kFilterEnvelope ? param::kFilterAttack
                  : which == kProcEnvelope ? param::kProcAttack
                                           : param::kAmpAttack;
  switch (index - first) {
  case 0: e.setAttack(EnvelopeTemplate::ticksOf(v)); break;
  case 1: e.setDecay(EnvelopeTemplate::ticksOf(v)); break;
  case 2: e.setSustain(v); break;
  default: e.setRelease(EnvelopeTemplate::ticksOf(v)); break;
  }
}

void ParameterState::applyDelay(ParameterId index, float v) {
  if (index != param::kLeftDelayTime && index != param::kRightDelayTime) return;
  const int32_t length = limitDelay(DelayTime::lengthAt(v, delayRate_.load(std::memory_order_relaxed)));
  if (index == param::kLeftDelayTime)
    render_.restartLeftDelay(length);
  else
    render_.restartRightDelay(length);
}

void ParameterState::setDelaySampleRate(float sampleRate) {
  delayRate_.store(sampleRate > 0.0f && std::isfinite(sampleRate) ? sampleRate : DelayTime::kReferenceRate,
                   std::memory_order_relaxed);
  applyDelay(param::kLeftDelayTime, mirror_.get(param::kLeftDelayTime));
  applyDelay(param::kRightDelayTime, mirror_.get(param::kRightDelayTime));
}

int32_t ParameterState::limitDelay(int32_t length) const {
  return std::min(length, delayCapacity_.load(std::memory_order_relaxed));
}

void ParameterState::applyStartValues(const Program& program) {
  for (ParameterId i = 0; i < kNumParameters; ++i) {
    float v = clampParameterValue(program.value(i));
    set_[i].store(v, std::memory_order_relaxed);
    mirror_.set(i, v);
    switch (i) {
    case param::kFine1:
    case param::kFine2:
    case param::kFine3:
    case param::kPitchDepth:
    case param::kFilterCutoff:
      render_.set(i, v);
      break;
    case param::kFlangerRate:
    case param::kFilterLfoRate:
      render_.set(i, v / 10.0f);
      break;
    case param::kTotalOscillators:
      render_.setOscillatorCount(truncTimesTen(v) * 3 + 6);
      break;
    case param::kDetune:
      render_.setDetuneAmount(0.04f * v);
      break;
    case param::kLeftDelayTime:
      render_.setLeftDelayLength(limitDelay(DelayTime::lengthAt(v, delayRate_.load(std::memory_order_relaxed))));
      break;
    case param::kRightDelayTime:
      render_.setRightDelayLength(limitDelay(DelayTime::lengthAt(v, delayRate_.load(std::memory_order_relaxed))));
      break;
    default:
      applyRenderValue(i, v);
      break;
    }
  }
}

} // namespace grelmond
