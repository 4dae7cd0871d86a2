#include "render/KeyDepth.h"

#include <algorithm>

namespace grelmond {

void KeyDepth::reset()
{
    split_ = kInitialSplit;
    target_.store(1.0f, std::memory_order_relaxed);
    value_.store(1.0f, std::memory_order_relaxed);
    smooth1_ = 0.0f;
    smooth2_ = 0.0f;
}

bool KeyDepth::controlNote(int note)
{
    if (note > split_)
        return false;
    if (note <= split_ - 12)
        split_ -= 12;
    // A note far below the split would give a negative depth, which drives the
    // band-pass centres negative; the depth is a scale from 0 to 1.
    const float depth = static_cast<float>(note - split_ + 11) / 11.0f;
    target_.store(std::clamp(depth, 0.0f, 1.0f), std::memory_order_relaxed);
    return true;
}

void KeyDepth::glide(float k)
{
    if (!(k >= 0.0f)) // also catches NaN
        k = 0.0f;
    k = std::min(k, 1.0f);
    const float target = target_.load(std::memory_order_relaxed);
    smooth1_ = (1.0f - k) * target + k * smooth1_;
    smooth2_ = (1.0f - k) * smooth1_ + k * smooth2_;
    value_.store(smooth2_, std::memory_order_relaxed);
}

void KeyDepth::resetForProgram()
{
    target_.store(1.0f, std::memory_order_relaxed);
    value_.store(1.0f, std::memory_order_relaxed);
}

} // namespace grelmond
