#include "params/EnvelopeTemplate.h"

#include <cmath>

#include "params/ParameterTable.h"
#include "params/VolumeCurve.h"

namespace grelmond {

int32_t EnvelopeTemplate::ticksOf(float v) {
  v = clampParameterValue(v);
  // Computed in float so the steps match the engine's own tables.
  float s = 2.0f * v - std::log10(v + 1.0f) / std::log10(2.0f);
  float t = clampParameterValue(s * s);
  return static_cast<int32_t>(3000.0f * VolumeCurve::at(static_cast<int32_t>(t * 4095.0f)));
}

void EnvelopeTemplate::setAttack(int32_t ticks) {
  attack_.store(ticks, std::memory_order_relaxed);
  if (target_) target_->setAttack(ticks);
}

void EnvelopeTemplate::setDecay(int32_t ticks) {
  decay_.store(ticks, std::memory_order_relaxed);
  if (target_) target_->setDecay(ticks);
}

void EnvelopeTemplate::setSustain(float level) {
  sustain_.store(level, std::memory_order_relaxed);
  if (target_) target_->setSustain(level);
}

void EnvelopeTemplate::setRelease(int32_t ticks) {
  release_.store(ticks, std::memory_order_relaxed);
  if (target_) target_->setRelease(ticks);
}

} // namespace grelmond
