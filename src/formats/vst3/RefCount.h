#pragma once

// The reference count behind addRef/release of the adapter's objects; hosts
// may call them from any thread.

#include <atomic>
#include <cstdint>

namespace grelmond::vst3 {

class RefCount {
public:
    std::uint32_t add() { return count_.fetch_add(1, std::memory_order_relaxed) + 1; }
    // The count left; the owner deletes itself at 0.
    std::uint32_t drop() { return count_.fetch_sub(1, std::memory_order_acq_rel) - 1; }

private:
    std::atomic<std::uint32_t> count_{1};
};

} // namespace grelmond::vst3
