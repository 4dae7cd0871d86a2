#pragma once

#include <atomic>

namespace grelmond {

// The control keyboard below the split and the smoothed modulation depth it
// sets. controlNote() and glide() run on the audio thread; resetForProgram()
// may come from any thread, so the shared values are atomics.
class KeyDepth {
public:
    static constexpr int kInitialSplit = 35;

    void reset();
    // True when the note belongs to the control keyboard (and was consumed).
    bool controlNote(int note);
    // Once per chunk: two smoothing stages with coefficient k (0 immediate, near 1 slow).
    void glide(float k);
    // A program change restarts the depth at 1 without touching the stages.
    void resetForProgram();

    int split() const { return split_; }
    float target() const { return target_.load(std::memory_order_relaxed); }
    float value() const { return value_.load(std::memory_order_relaxed); }

private:
    int split_ = kInitialSplit;
    std::atomic<float> target_{1.0f};
    std::atomic<float> value_{1.0f};
    float smooth1_ = 0.0f;
    float smooth2_ = 0.0f;
};

} // namespace grelmond
