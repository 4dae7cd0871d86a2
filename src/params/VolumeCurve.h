#pragma once

#include <cstdint>

namespace grelmond {

// Exponential table of 4096 values from 0 to just below 1, used for volume,
// cutoff, rates and envelope times. Entries are rounded to six decimals so
// every consumer sees exactly the same steps.
class VolumeCurve {
public:
  static constexpr int32_t kSize = 4096;

  // Entry i, 0 to 4095. Safe from any thread once constructed; the table is
  // built on first use.
  static float at(int32_t i);

  // Entry trunc(v * 4095) for a normalised v; v is clamped to 0..1 first.
  static float ofValue(float v);

  static const float* table();
};

// Symmetric use of the volume curve around 0.5: flat near the middle, steep
// towards both ends.
class BipolarCurve {
public:
  static float ofValue(float v);
};

} // namespace grelmond
