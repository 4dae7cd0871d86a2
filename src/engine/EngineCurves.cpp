#include "engine/EngineCurves.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {
std::array<float, EngineCurves::volumeCurveSize> makeTable() {
    std::array<float, EngineCurves::volumeCurveSize> t{};
    for (int i = 0; i < EngineCurves::volumeCurveSize; ++i) {
        double v = (std::pow(4096.0, i / 4096.0) - 1.0) / 4096.0;
        t[static_cast<std::size_t>(i)] = static_cast<float>(std::round(v * 1e6) / 1e6);
    }
    return t;
}
const std::array<float, EngineCurves::volumeCurveSize> table = makeTable();
} // namespace

float engineVolumeCurve(int index) {
    return table[static_cast<std::size_t>(std::clamp(index, 0, EngineCurves::volumeCurveSize - 1))];
}
