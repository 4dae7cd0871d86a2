#include "params/DelayTime.h"

#include <algorithm>

#include "params/ParameterTable.h"

namespace grelmond {

int32_t DelayTime::lengthOf(float v) {
  return static_cast<int32_t>(static_cast<float>(kBase) * clampParameterValue(v));
}

int32_t DelayTime::apply(float v, float* buffer, int32_t bufferSize) {
  int32_t length = lengthOf(v);
  if (buffer == nullptr) return length;
  length = std::min(length, std::max(bufferSize, 0));
  std::fill(buffer, buffer + length, 0.0f);
  return length;
}

} // namespace grelmond
