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

typedef float Sides __attribute__((vector_size(2 * sizeof(float))));

Sides slot(const float* rings, int index)
{
    Sides v;
    __builtin_memcpy(&v, rings + 2 * (index & kMask), sizeof v);
    return v;
}

void setSlot(float* rings, int index, Sides v)
{
    __builtin_memcpy(rings + 2 * (index & kMask), &v, sizeof v);
}

// One frame of both sides: the upsampling writes and the delayed read.
Sides step(float* rings, Sides& feedback, Sides x, const Flanger::Settings& s, int index, int readPos,
           float denormal)
{
    const Sides prev = slot(rings, index - 1);
    const Sides next = denormal + x + feedback;
    setSlot(rings, index + 1, next);
    setSlot(rings, index, (next + prev) / 2.0f);
    const Sides y = x + s.mix * slot(rings, readPos);
    feedback = y * s.feedback;
    return y;
}

} // namespace

void Flanger::reset()
{
    rings_.fill(0.0f);
    index_ = 0;
    feedbackL_ = 0.0f;
    feedbackR_ = 0.0f;
}

void Flanger::process(float& left, float& right, const Settings& s, float mod, float denormal)
{
    Sides feedback = {feedbackL_, feedbackR_};
    const Sides y = step(rings_.data(), feedback, Sides{0.1f * left, 0.1f * right}, s, index_,
                         readPosition(s, mod, index_), denormal);
    feedbackL_ = feedback[0];
    feedbackR_ = feedback[1];
    index_ = (index_ + 2) & kMask;
    left = 10.0f * y[0];
    right = 10.0f * y[1];
}

void Flanger::processSpan(float* left, float* right, int frames, const Settings& settings, FlangerLfo& lfo,
                          const float* denormal)
{
    // Copies: the ring writes could otherwise be read as changing the settings
    // or the LFO, which would then go through memory on every frame.
    const Settings s = settings;
    FlangerLfo mod = lfo;
    float* const rings = rings_.data();
    Sides feedback = {feedbackL_, feedbackR_};
    int index = index_;
    for (int i = 0; i < frames; ++i) {
        const Sides x = {0.1f * left[i], 0.1f * right[i]};
        const Sides y = step(rings, feedback, x, s, index, readPosition(s, mod.step(), index), denormal[i]);
        index = (index + 2) & kMask;
        left[i] = 10.0f * y[0];
        right[i] = 10.0f * y[1];
    }
    lfo = mod;
    index_ = index;
    feedbackL_ = feedback[0];
    feedbackR_ = feedback[1];
}

} // namespace grelmond
