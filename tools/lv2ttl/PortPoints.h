#pragma once

#include "params/ParameterTable.h"

#include <string>
#include <vector>

namespace grelmond::lv2 {

struct ScalePoint {
  float value;
  std::string label;
};

// The named positions of a switch-like parameter (oscillator waves, the
// processor function); empty for the others.
std::vector<ScalePoint> scalePoints(ParameterId index);

// On/off parameters: the engine takes any value above 0 as on.
bool isToggle(ParameterId index);

} // namespace grelmond::lv2
