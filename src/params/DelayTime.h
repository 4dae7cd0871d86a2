#pragma once

#include <cstdint>

namespace grelmond {

// Delay time setting: a normalised time selects a length in samples of a
// fixed one-second-at-48-kHz base, independent of the sample rate.
class DelayTime {
public:
  static constexpr int32_t kBase = 48000;

  // trunc(kBase * v) for v clamped to 0..1.
  static int32_t lengthOf(float v);

  // Length for v, limited to the buffer, after silencing the part of the
  // buffer that the new length uses. Null buffer: only the length.
  static int32_t apply(float v, float* buffer, int32_t bufferSize);
};

} // namespace grelmond
