#include "render/Flanger.h"

#include <algorithm>

namespace grelmond {

namespace {

constexpr int kMask = Flanger::kSize - 1;
constexpr int kSweep = 306;

int readPosition(const Flanger::Settings& s, float mod, int index)
{
    float sweep = (s.freq + (1.0f - s.freq) * s.depth * mod) * kSweep;
    if (!(sweep >= 0.0f)) // also catches NaN
        sweep = 0.0f;
    const int d = static_cast<int>(std::min(sweep, static_cast<float>(kSweep)));
    return (((index - 310) & kMask) + d) & kMask;
}

float side(float* ring, float& feedback, float x, float mix, int index, int readPos, float denormal)
{
    const float prev = ring[(index - 1) & kMask];
    const float next = denormal + x + feedback;
    ring[(index + 1) & kMask] = next;
    ring[index & kMask] = (next + prev) / 2.0f;
    return x + mix * ring[readPos];
}

} // namespace

void Flanger::reset()
{
    ringL_.fill(0.0f);
    ringR_.fill(0.0f);
    index_ = 0;
    feedbackL_ = 0.0f;
    feedbackR_ = 0.0f;
}

void Flanger::process(float& left, float& right, const Settings& s, float mod, float denormal)
{
    const float xL = 0.1f * left;
    const float xR = 0.1f * right;
    const int r = readPosition(s, mod, index_);

    const float yL = side(ringL_.data(), feedbackL_, xL, s.mix, index_, r, denormal);
    feedbackL_ = yL * s.feedback;
    const float yR = side(ringR_.data(), feedbackR_, xR, s.mix, index_, r, denormal);
    feedbackR_ = yR * s.feedback;

    index_ = (index_ + 2) & kMask;
    left = 10.0f * yL;
    right = 10.0f * yR;
}

void Flanger::processSpan(float* left, float* right, int frames, const Settings& settings, FlangerLfo& lfo,
                          const float* denormal)
{
    // A copy: the ring writes could otherwise be read as changing the settings.
    const Settings s = settings;
    float* const ringL = ringL_.data();
    float* const ringR = ringR_.data();
    int index = index_;
    float feedbackL = feedbackL_;
    float feedbackR = feedbackR_;
    for (int i = 0; i < frames; ++i) {
        const float xL = 0.1f * left[i];
        const float xR = 0.1f * right[i];
        const int r = readPosition(s, lfo.step(), index);
        const float yL = side(ringL, feedbackL, xL, s.mix, index, r, denormal[i]);
        feedbackL = yL * s.feedback;
        const float yR = side(ringR, feedbackR, xR, s.mix, index, r, denormal[i]);
        feedbackR = yR * s.feedback;
        index = (index + 2) & kMask;
        left[i] = 10.0f * yL;
        right[i] = 10.0f * yR;
    }
    index_ = index;
    feedbackL_ = feedbackL;
    feedbackR_ = feedbackR;
}

} // namespace grelmond
