#include "render/Flanger.h"

#include <algorithm>

namespace grelmond {

namespace {
constexpr int kMask = Flanger::kSize - 1;
constexpr int kSweep = 306;
}

void Flanger::reset()
{
    ringL_.fill(0.0f);
    ringR_.fill(0.0f);
    index_ = 0;
    feedbackL_ = 0.0f;
    feedbackR_ = 0.0f;
}

float Flanger::side(std::array<float, kSize>& ring, float& feedback, float x, float mix, int readPos, float denormal)
{
    const float prev = ring[(index_ - 1) & kMask];
    const float next = denormal + x + feedback;
    ring[(index_ + 1) & kMask] = next;
    ring[index_ & kMask] = (next + prev) / 2.0f;
    return x + mix * ring[readPos];
}

void Flanger::process(float& left, float& right, const Settings& s, float mod, float denormal)
{
    const float xL = 0.1f * left;
    const float xR = 0.1f * right;

    float sweep = (s.freq + (1.0f - s.freq) * s.depth * mod) * kSweep;
    if (!(sweep >= 0.0f)) // also catches NaN
        sweep = 0.0f;
    const int d = static_cast<int>(std::min(sweep, static_cast<float>(kSweep)));
    const int r = (((index_ - 310) & kMask) + d) & kMask;

    const float yL = side(ringL_, feedbackL_, xL, s.mix, r, denormal);
    feedbackL_ = yL * s.feedback;
    const float yR = side(ringR_, feedbackR_, xR, s.mix, r, denormal);
    feedbackR_ = yR * s.feedback;

    index_ = (index_ + 2) & kMask;
    left = 10.0f * yL;
    right = 10.0f * yR;
}

} // namespace grelmond
