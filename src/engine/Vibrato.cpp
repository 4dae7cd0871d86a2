#include "engine/Vibrato.h"

#include <algorithm>
#include <cmath>

namespace grelmond {

namespace {
constexpr float referenceRate = 44100.0f;
}

float Vibrato::step(float noteClock, float pitchRate) {
    float r = std::clamp(pitchRate, 0.01f, 0.99f);
    // Counted at 44.1 kHz whatever the host's rate, so the vibrato runs as
    // fast at every rate.
    float period = (1.0f - r) * referenceRate / 1000.0f;
    if (noteClock > start_ + period) start_ = noteClock;
    float w = noteClock - start_;
    float half = period / 2.0f;
    float t = w < half ? w / half - 0.5f : 0.5f - (w - half) / half;
    stageA_ = 0.7f * stageA_ + 0.3f * t;
    stageB_ = 0.7f * stageB_ + 0.3f * stageA_;
    return stageB_;
}

void Vibrato::resetNonFinite() {
    if (!std::isfinite(start_) || !std::isfinite(stageA_) || !std::isfinite(stageB_)) reset();
}

} // namespace grelmond
