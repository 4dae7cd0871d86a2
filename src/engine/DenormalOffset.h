#pragma once

#include <cstdint>

namespace grelmond {

// The alternating ±1e-20 added into every recursive path keeps filter states out
// of denormal numbers without a branch per sample; either sign does its job.
// The sign follows a frame's place in its instance's stream, so neither the
// host's block split nor another instance changes a bit of the sound.
class DenormalOffset {
public:
    static constexpr float kSize = 1e-20f;

    // The offset "before" a frame of the stream: frame f itself uses the
    // opposite sign, -before(f), which is before(f + 1).
    static constexpr float before(std::int64_t frame) { return (frame & 1) == 0 ? kSize : -kSize; }
};

} // namespace grelmond
