#include "params/DelayTime.h"

#include <algorithm>
#include <cmath>

#include "params/ParameterTable.h"

namespace grelmond {

int32_t DelayTime::lengthOf(float v) {
  return static_cast<int32_t>(static_cast<float>(kBase) * clampParameterValue(v));
}

int32_t DelayTime::lengthAt(float v, float sampleRate) {
  const int32_t length = lengthOf(v);
  if (sampleRate == kReferenceRate || !(sampleRate > 0.0f) || !std::isfinite(sampleRate)) return length;
  const double frames = std::round(static_cast<double>(length) * sampleRate / kReferenceRate);
  return static_cast<int32_t>(std::min(frames, 1e9));
}

int32_t DelayTime::apply(float v, float sampleRate, float* buffer, int32_t bufferSize) {
  int32_t length = lengthAt(v, sampleRate);
  if (buffer == nullptr) return length;
  length = std::min(length, std::max(bufferSize, 0));
  std::fill(buffer, buffer + length, 0.0f);
  return length;
}

} // namespace grelmond
