#pragma once

#include <atomic>
#include <cstdint>
#include <memory>

namespace grelmond {

class SampleStore;

// One looped 16-bit waveform. Reference counted: the store holds one
// reference for as long as it lives, each voice context one more.
class Waveform {
public:
    static constexpr int length = 99225;
    static constexpr int nativeRate = 44100;
    // An oscillator reads sample[i + 1] for positions up to the loop length.
    static constexpr int maxLoopLength = length - 2;

    explicit Waveform(SampleStore* owner);

    // Takes over a buffer of `length` samples; null leaves the waveform silent.
    void attachSamples(std::unique_ptr<int16_t[]> samples);
    const int16_t* samples() const { return samples_.get(); }
    int16_t* samples() { return samples_.get(); }

    int sampleRate() const { return sampleRate_; }
    int loopLength() const { return loopLength_; }
    void setLoopLength(int n);

    void retain();
    // True when this was the last reference.
    bool release();
    int users() const { return users_.load(std::memory_order_relaxed); }
    SampleStore* owner() const { return owner_; }

private:
    SampleStore* owner_;
    std::atomic<int> users_{1};
    int sampleRate_ = nativeRate;
    std::unique_ptr<int16_t[]> samples_;
    // Never the full length: the read of sample[i + 1] must stay inside the buffer.
    int loopLength_ = maxLoopLength;
};

} // namespace grelmond
