#pragma once

#include <cstdint>
#include <vector>

namespace grelmond {

// One side of the stereo delay. The buffer holds the largest length the
// current sample rate can select, so no length is ever cut. The read position
// is the write position one length earlier, so the delay equals the length in
// use exactly. Sized off the audio thread (construction, sample-rate change);
// everything else, including the silencing a delay-time change asks for, on
// the audio thread only.
class DelayLine {
public:
    // Frames held at 44.1 kHz and below; higher rates hold as many seconds.
    static constexpr int kCapacity = 192000;
    static constexpr double kReferenceRate = 44100.0;
    static constexpr double kHighestRate = 384000.0;

    DelayLine();

    // The capacity a sample rate needs (rates above kHighestRate get its).
    static int capacityFor(double sampleRate);
    // Allocates: grows the buffer to `frames` and silences it. Never on the
    // audio thread.
    void setCapacity(int frames);
    int capacity() const { return static_cast<int>(buffer_.size()); }

    void reset();
    // Before each span of `frames` frames at `length`. A `restarts` count
    // other than the last one seen (one more per delay-time setting) makes
    // the next `length` frames read silence, so the echo starts afresh. The
    // silence is laid just ahead of the read position, one span at a time:
    // no block pays for the whole length at once.
    void prepare(int frames, int length, std::uint32_t restarts);
    // Returns the mixed signal y and stores x plus 0.75 × feedback × y.
    // length: the length in use, clamped to 1..capacity.
    float process(float x, float mix, float feedback, int length, float denormal);
    // process() for each frame of a span, in place, with each frame's offset.
    void processSpan(float* x, int frames, float mix, float feedback, int length, const float* denormal);

    int clampLength(int frames) const;

private:
    void silenceAhead(int frames, int length);

    std::vector<float> buffer_;
    int position_ = 0;
    int length_ = 0;
    std::uint32_t restarts_ = 0;
    // Frames still to read as silence since the last restart.
    int unheard_ = 0;
};

} // namespace grelmond
