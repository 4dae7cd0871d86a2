#pragma once

#include <cstdint>

namespace grelmond {

// Sets round-to-nearest for its lifetime and gives the caller's control word
// back on destruction, leaving the flush bits as the caller had them. Values a
// host call computes (parameter curves, numbers read from text, the waveforms)
// then do not depend on the rounding mode the host happened to leave set.
class RoundToNearest {
public:
    RoundToNearest();
    ~RoundToNearest();
    RoundToNearest(const RoundToNearest&) = delete;
    RoundToNearest& operator=(const RoundToNearest&) = delete;

private:
    std::uint32_t saved_;
};

} // namespace grelmond
