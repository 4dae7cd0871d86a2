#include "engine/LadderFilter.h"

#include "params/VolumeCurve.h"

#include <algorithm>
#include <cmath>

namespace grelmond {

namespace {

constexpr float maxCut = 0.99f;
constexpr float resonanceScale = 0.880362f;
constexpr float clipLimit = 2.0f;

float limitCut(float c) { return c >= 1.0f ? maxCut : c; }

} // namespace

void LadderFilter::blockSetup(float cutoff, float resonance, float envAmount, float filterVelocity,
                              float filterEnvValue, float sampleRate) {
    float envScale = envAmount + (1.0f - envAmount) * filterVelocity;
    float scaled = filterEnvValue * envScale * 4095.0f;
    int index = std::isfinite(scaled) ? std::clamp(static_cast<int>(std::floor(scaled)), 0, 4095) : 0;
    float rateScale = 40000.0f / sampleRate;
    block_.envCut = limitCut(VolumeCurve::at(index) * rateScale / 2.0f);
    block_.baseCut = limitCut(cutoff * rateScale);
    block_.res = resonance * resonanceScale;
}

float LadderFilter::process(float x, float d, bool highPass) {
    e1_ = 0.9f * e1_ + 0.1f * block_.envCut;
    e2_ = 0.9f * e2_ + 0.1f * e1_;
    float f = block_.baseCut + (1.0f - block_.baseCut) * e2_;
    float q = 1.0f - f;
    float p = f + 0.8f * f * q;
    float k = 2.0f * p - 1.0f;
    float r = block_.res * (1.0f + 0.5f * q * (1.0f - q + 5.6f * q * q));
    float u = x - r * y_[4];
    float t1 = y_[1];
    y_[1] = (u + y_[0]) * p + d - y_[1] * k;
    float t2 = y_[2];
    y_[2] = (y_[1] + t1) * p + d - y_[2] * k;
    t1 = y_[3];
    y_[3] = (y_[2] + t2) * p + d - y_[3] * k;
    y_[4] = (y_[3] + t1) * p + d - y_[4] * k;
    // The cubic turns back above |y4| = 1.02 and, fed back, runs away past
    // about 2.5; held to -2..2 its output stays within ±0.69.
    y_[4] = std::clamp(y_[4], -clipLimit, clipLimit);
    y_[4] = y_[4] - 0.32f * y_[4] * y_[4] * y_[4];
    y_[0] = u + d;
    return highPass ? x - y_[4] : y_[4];
}

void LadderFilter::reset() { *this = LadderFilter(); }

void LadderFilter::clearStages() {
    for (float& s : y_) s = 0.0f;
}

void LadderFilter::resetNonFinite() {
    // The stages feed each other, so one bad stage clears the whole ladder.
    bool bad = false;
    for (float s : y_) bad = bad || !std::isfinite(s);
    if (bad)
        for (float& s : y_) s = 0.0f;
    if (!std::isfinite(e1_)) e1_ = 0.0f;
    if (!std::isfinite(e2_)) e2_ = 0.0f;
}

} // namespace grelmond
