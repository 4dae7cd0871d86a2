#pragma once

#include <atomic>

namespace grelmond {

// The alternating ±1e-20 added into every recursive path keeps filter states out
// of denormal numbers without a branch per sample. One value for the whole
// process; any instance or voice may flip it, and either sign does its job.
class DenormalOffset {
public:
    static float flip()
    {
        const float next = -value_.load(std::memory_order_relaxed);
        value_.store(next, std::memory_order_relaxed);
        return next;
    }
    static float current() { return value_.load(std::memory_order_relaxed); }

private:
    static inline std::atomic<float> value_{1e-20f};
};

} // namespace grelmond
