#include "render/DelayLine.h"

#include <algorithm>

namespace grelmond {

int DelayLine::clampLength(int frames)
{
    return std::clamp(frames, 1, kCapacity);
}

void DelayLine::reset()
{
    buffer_.fill(0.0f);
    position_ = 0;
    clearPending_.store(false, std::memory_order_relaxed);
}

void DelayLine::setLength(int frames)
{
    length_.store(clampLength(frames), std::memory_order_relaxed);
    clearPending_.store(true, std::memory_order_release);
}

void DelayLine::syncLength()
{
    if (clearPending_.exchange(false, std::memory_order_acquire))
        std::fill_n(buffer_.begin(), length(), 0.0f);
}

float DelayLine::process(float x, float mix, float feedback, int active, float denormal)
{
    // Reading before writing at the same place gives a delay of exactly `active` frames.
    if (position_ >= active)
        position_ = 0;
    const float y = (1.0f - mix) * x + mix * buffer_[position_];
    buffer_[position_] = 0.75f * feedback * y + denormal + x;
    position_ = position_ + 1 < active ? position_ + 1 : 0;
    return y;
}

} // namespace grelmond
