#pragma once

#include <atomic>
#include <cstdint>

namespace grelmond {

// Parameter changes waiting for the editor's idle. Hosts may set parameters
// on their audio thread while the user-interface thread builds or tears down
// the controls, so a notification only records the value here; the idle, on
// the user-interface thread, applies it.
class PendingParameters {
public:
    static constexpr int kCount = 64;

    PendingParameters();

    // Any thread. Indices outside 0..63 are ignored.
    void record(int index, float value);
    // User-interface thread: the set of pending indices (bit i for index i),
    // which are no longer pending afterwards.
    uint64_t take();
    // Sets an index's value without making it pending.
    void seed(int index, float value);
    // The latest value recorded or seeded for an index.
    float value(int index) const;

private:
    std::atomic<float> values_[kCount];
    std::atomic<uint64_t> pending_{0};
};

} // namespace grelmond
