#include "render/GainGlide.h"

#include <algorithm>
#include <cmath>

namespace grelmond {

namespace {

// Each stage's time constant: the two together are 99 % there after 10 ms.
constexpr double timeConstant = 0.0015;
// Closer than this (relative) the glide ends on the target exactly: a last
// step 100 dB below the gain.
constexpr float arrival = 1e-5f;

bool near(float a, float b)
{
    return std::abs(a - b) <= arrival * std::max(std::abs(a), std::abs(b));
}

} // namespace

void GainGlide::setup(float target, double sampleRate)
{
    if (!std::isfinite(target))
        target = 0.0f;
    if (!started_) {
        started_ = true;
        gliding_ = false;
        stage1_ = stage2_ = target_ = target;
        return;
    }
    if (sampleRate != coefficientRate_ && sampleRate > 0.0) {
        coefficientRate_ = sampleRate;
        coefficient_ = static_cast<float>(1.0 - std::exp(-1.0 / (timeConstant * sampleRate)));
    }
    if (target != target_) {
        if (!gliding_)
            stage1_ = stage2_ = target_;
        target_ = target;
        gliding_ = true;
    }
}

float GainGlide::step()
{
    stage1_ += coefficient_ * (target_ - stage1_);
    stage2_ += coefficient_ * (stage1_ - stage2_);
    if (near(stage1_, target_) && near(stage2_, target_)) {
        stage1_ = stage2_ = target_;
        gliding_ = false;
    }
    return stage2_;
}

} // namespace grelmond
