#include "render/DelayLine.h"

#include <algorithm>
#include <cmath>

namespace grelmond {

DelayLine::DelayLine() : buffer_(kCapacity, 0.0f) {}

int DelayLine::capacityFor(double sampleRate)
{
    if (!(sampleRate > kReferenceRate))
        return kCapacity;
    const double rate = std::min(sampleRate, kHighestRate);
    return static_cast<int>(std::ceil(kCapacity * rate / kReferenceRate));
}

void DelayLine::setCapacity(int frames)
{
    if (frames <= capacity())
        return;
    buffer_.assign(static_cast<std::size_t>(frames), 0.0f);
    position_ = 0;
    unheard_ = 0;
}

int DelayLine::clampLength(int frames) const
{
    return std::clamp(frames, 1, capacity());
}

void DelayLine::reset()
{
    std::fill(buffer_.begin(), buffer_.end(), 0.0f);
    position_ = 0;
    unheard_ = 0;
}

void DelayLine::prepare(int frames, int length, std::uint32_t restarts)
{
    length = clampLength(length);
    // A length that changes before the silence is through starts it over:
    // what was played since may lie outside the new length, and what lies
    // there unread is old.
    if (restarts != restarts_ || (unheard_ > 0 && length != length_)) {
        restarts_ = restarts;
        unheard_ = length;
    }
    length_ = length;
    silenceAhead(std::clamp(frames, 0, unheard_), length);
}

// Silences the `frames` places process() reads next, from where it wraps.
void DelayLine::silenceAhead(int frames, int length)
{
    if (frames == 0)
        return;
    const int start = position_ >= length ? 0 : position_;
    const int first = std::min(frames, length - start);
    std::fill_n(buffer_.begin() + start, first, 0.0f);
    std::fill_n(buffer_.begin(), frames - first, 0.0f);
    unheard_ -= frames;
}

float DelayLine::process(float x, float mix, float feedback, int length, float denormal)
{
    // Reading before writing at the same place delays by exactly `length` frames.
    if (position_ >= length)
        position_ = 0;
    const float y = (1.0f - mix) * x + mix * buffer_[static_cast<std::size_t>(position_)];
    buffer_[static_cast<std::size_t>(position_)] = 0.75f * feedback * y + denormal + x;
    position_ = position_ + 1 < length ? position_ + 1 : 0;
    return y;
}

void DelayLine::processSpan(float* x, int frames, float mix, float feedback, int length, const float* denormal)
{
    // Within a run of positions that does not wrap, each frame reads and then
    // writes its own slot, so four frames can go at once in SSE2 lanes.
    typedef float Lanes __attribute__((vector_size(16)));
    constexpr int lanes = 4;
    if (frames <= 0)
        return;
    float* const buffer = buffer_.data();
    int position = position_;
    for (int i = 0; i < frames;) {
        if (position >= length)
            position = 0;
        const int end = i + std::min(frames - i, length - position);
        for (; i + lanes <= end; i += lanes, position += lanes) {
            Lanes in, held, d;
            __builtin_memcpy(&in, x + i, sizeof in);
            __builtin_memcpy(&held, buffer + position, sizeof held);
            __builtin_memcpy(&d, denormal + i, sizeof d);
            const Lanes y = (1.0f - mix) * in + mix * held;
            const Lanes stored = 0.75f * feedback * y + d + in;
            __builtin_memcpy(buffer + position, &stored, sizeof stored);
            __builtin_memcpy(x + i, &y, sizeof y);
        }
        for (; i < end; ++i, ++position) {
            const float y = (1.0f - mix) * x[i] + mix * buffer[position];
            buffer[position] = 0.75f * feedback * y + denormal[i] + x[i];
            x[i] = y;
        }
    }
    position_ = position == length ? 0 : position;
}

} // namespace grelmond
