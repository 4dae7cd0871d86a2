#include "params/VolumeCurve.h"

#include <array>
#include <cmath>

#include "params/ParameterTable.h"

namespace grelmond {
namespace {

std::array<float, VolumeCurve::kSize> buildTable() {
  std::array<float, VolumeCurve::kSize> t{};
  for (int32_t i = 0; i < VolumeCurve::kSize; ++i) {
    double x = (std::pow(4096.0, i / 4096.0) - 1.0) / 4096.0;
    t[i] = static_cast<float>(std::round(x * 1e6) / 1e6);
  }
  return t;
}

int32_t indexOf(float v) {
  return static_cast<int32_t>(clampParameterValue(v) * 4095.0f);
}

} // namespace

const float* VolumeCurve::table() {
  static const std::array<float, kSize> t = buildTable();
  return t.data();
}

float VolumeCurve::at(int32_t i) {
  if (i < 0) i = 0;
  if (i >= kSize) i = kSize - 1;
  return table()[i];
}

float VolumeCurve::ofValue(float v) { return table()[indexOf(v)]; }

float BipolarCurve::ofValue(float v) {
  v = clampParameterValue(v);
  float distance = v >= 0.5f ? v - 0.5f : 0.5f - v;
  float curved = 0.5f * VolumeCurve::at(static_cast<int32_t>(distance * 2.0f * 4095.0f));
  return v >= 0.5f ? 0.5f + curved : 0.5f - curved;
}

} // namespace grelmond
