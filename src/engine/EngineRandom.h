#pragma once

#include <cstdint>

namespace grelmond {

// Park-Miller minimal standard generator (state x 16807 mod 2^31 - 1).
// Each voice starts its own at the stream of its pool slot whenever it is
// created; it is used only on the audio thread.
class EngineRandom {
public:
    EngineRandom() = default;

    void seed(int32_t value);
    // Seed 1's sequence started `stream` × 2^24 draws in: stream 0 is seed(1).
    // Voices each draw from their own stream, so their noise is neither the
    // same in every voice nor ordered by the host's block split.
    void seedStream(int stream);
    int32_t state() const { return state_; }

    // New state shifted right by one bit.
    int32_t next();
    // The next `count` outputs of next() into out, leaving the generator as
    // that many calls would; four streams run side by side, each jumping four
    // states at a time, so the draws do not wait on one another.
    void nextMany(int32_t* out, int count);
    // Lowest 16 bits of the next output, 0 to 65535.
    int32_t raw16() { return next() & 65535; }
    // raw16 scaled to 0 to 1.
    float rnd16() { return static_cast<float>(raw16()) / 65535.0f; }

private:
    int32_t state_ = 1;
};

} // namespace grelmond
