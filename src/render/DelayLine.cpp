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
}

float DelayLine::process(float x, float mix, float feedback, int length, float denormal)
{
    // Reading before writing at the same place delays by exactly `length` frames.
    if (position_ >= length)
        position_ = 0;
    const float y = (1.0f - mix) * x + mix * buffer_[position_];
    buffer_[position_] = 0.75f * feedback * y + denormal + x;
    position_ = position_ + 1 < length ? position_ + 1 : 0;
    return y;
}

} // namespace grelmond
