#pragma once

#include <cstdint>

namespace grelmond {

// Delay time setting: a normalised time selects a length of a fixed base of
// 48000 samples at 44.1 kHz (1.088 s at full time); other sample rates get as
// many frames as make the same time.
class DelayTime {
public:
  static constexpr int32_t kBase = 48000;
  static constexpr float kReferenceRate = 44100.0f;

  // trunc(kBase * v) for v clamped to 0..1: the length at 44.1 kHz.
  static int32_t lengthOf(float v);
  // The same time in frames at sampleRate (lengthOf(v) at 44.1 kHz).
  static int32_t lengthAt(float v, float sampleRate);
};

} // namespace grelmond
