#include "render/Ensemble.h"

#include <algorithm>

namespace grelmond {

void Ensemble::reset()
{
    ratio_.fill(0.0f);
    gain_.fill(0.0f);
    for (auto& tap : taps_)
        tap.reset();
    tapCount_ = 0;
}

void Ensemble::setup(int copies, float detune)
{
    tapCount_ = (copies <= 0 || detune == 0.0f) ? 0 : std::min(copies, kMaxTaps);
    const int upper = tapCount_ / 2;

    float shift = 0.4f * detune;
    float level = 0.5f;
    for (int t = 0; t < upper; ++t) {
        ratio_[t] = 1.0f + shift;
        gain_[t] = level;
        shift /= 1.25f;
        level /= 1.25f;
    }
    shift = 0.2f * detune;
    level = 1.0f;
    for (int t = upper; t < tapCount_; ++t) {
        ratio_[t] = 1.0f - shift;
        gain_[t] = level;
        shift /= 1.25f;
        level /= 1.25f;
    }
}

void Ensemble::process(float& left, float& right)
{
    const int upper = tapCount_ / 2;
    for (int t = 0; t < upper; ++t)
        left += gain_[t] * taps_[t].process(left, 1.0f, ratio_[t]);
    for (int t = upper; t < tapCount_; ++t)
        right += gain_[t] * taps_[t].process(left, 1.0f, ratio_[t]);
}

void Ensemble::processSpan(float* left, float* right, int frames, bool wide)
{
    const int upper = tapCount_ / 2;
    for (int t = 0; t < tapCount_; ++t)
        taps_[t].addSpan(left, t < upper ? left : right, frames, 1.0f, ratio_[t], gain_[t], wide);
}

} // namespace grelmond
