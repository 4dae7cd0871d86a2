#include "PortPoints.h"

#include "editor/ValueConverters.h"

namespace grelmond::lv2 {

namespace {

constexpr int kFunctionCount = 26;

bool isWaveSwitch(ParameterId index) { return index == 0 || index == 4 || index == 8; }

std::vector<ScalePoint> wavePoints() {
  // The shape class is trunc(value × 3.1): the switch's four positions.
  return {{0.0f, "Sine"}, {1.0f / 3.0f, "Pulse"}, {2.0f / 3.0f, "Saw"}, {1.0f, "Square"}};
}

std::vector<ScalePoint> functionPoints() {
  std::vector<ScalePoint> points;
  for (int i = 0; i < kFunctionCount; ++i) {
    const float value = static_cast<float>(i) / (kFunctionCount - 1);
    char text[kValueTextSize];
    functionNameText(value, text);
    std::string label = text;
    label.erase(0, label.find_first_not_of(' '));
    points.push_back({value, label});
  }
  return points;
}

} // namespace

std::vector<ScalePoint> scalePoints(ParameterId index) {
  if (isWaveSwitch(index))
    return wavePoints();
  if (index == 57)
    return functionPoints();
  if (isToggle(index))
    return {{0.0f, "Off"}, {1.0f, "On"}};
  return {};
}

bool isToggle(ParameterId index) {
  switch (index) {
  case 30: // proc invert
  case 36: // flanger sync
  case param::kFilterBypass:
  case param::kFilterHighPass:
  case 52: // left delay sync
  case 56: // right delay sync
    return true;
  default:
    return false;
  }
}

} // namespace grelmond::lv2
