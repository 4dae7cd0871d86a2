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

} // namespace grelmond
