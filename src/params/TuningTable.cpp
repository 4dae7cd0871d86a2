#include "params/TuningTable.h"

#include <algorithm>
#include <cmath>

namespace grelmond {

namespace {
// Below a ten-millionth of a cent a note counts as untuned, so that a scale
// of equal steps leaves the sound exactly as equal temperament does.
constexpr double kNegligible = 1e-9;
} // namespace

void TuningTable::reset() {
    deviation_.fill(0.0f);
    mapped_.fill(true);
}

void TuningTable::set(int note, double deviation) {
    if (!inRange(note)) return;
    if (!std::isfinite(deviation) || std::fabs(deviation) < kNegligible) deviation = 0.0;
    const double limit = kMaxDeviation;
    deviation_[static_cast<unsigned>(note)] = static_cast<float>(std::clamp(deviation, -limit, limit));
    mapped_[static_cast<unsigned>(note)] = true;
}

void TuningTable::unmap(int note) {
    if (!inRange(note)) return;
    deviation_[static_cast<unsigned>(note)] = 0.0f;
    mapped_[static_cast<unsigned>(note)] = false;
}

bool TuningTable::isEqualTemperament() const { return *this == TuningTable(); }

} // namespace grelmond
