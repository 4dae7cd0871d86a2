#pragma once

#include "params/ParameterTable.h"

#include <atomic>
#include <cstdint>
#include <cstring>

namespace grelmond::lv2 {

// The parameter ports as the host moves them. A port is applied only when its
// value differs from the last one seen, so that a program selected inside the
// plug-in (MIDI, the editor, a restored state) holds until the host next
// moves a port. Values compare as bits: a NaN the host leaves in a port is
// applied once, not in every block. Audio thread, except adoptAtNextRun().
class PortChanges {
public:
  void connect(ParameterId index, const float* port) {
    if (isParameterId(index))
      ports_[index] = port;
  }
  // What the instance holds before the first run: ports equal to it are not applied.
  void setSeen(ParameterId index, float value) {
    if (isParameterId(index))
      seen_[index] = bitsOf(value);
  }

  // Calls apply(index, value) for every connected port that moved.
  template <class Apply>
  void applyMoved(Apply&& apply) {
    if (adopt_.exchange(false, std::memory_order_acquire))
      adoptCurrent();
    for (ParameterId index = 0; index < kNumParameters; ++index) {
      if (ports_[index] == nullptr)
        continue;
      const float value = *ports_[index];
      if (bitsOf(value) == seen_[index])
        continue;
      seen_[index] = bitsOf(value);
      apply(index, value);
    }
  }

  // The values now in the ports count as seen.
  void adoptCurrent() {
    for (ParameterId index = 0; index < kNumParameters; ++index)
      if (ports_[index] != nullptr)
        seen_[index] = bitsOf(*ports_[index]);
  }
  // The same at the start of the next run (from a thread outside run()).
  void adoptAtNextRun() { adopt_.store(true, std::memory_order_release); }

private:
  static uint32_t bitsOf(float value) {
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
  }

  const float* ports_[kNumParameters] = {};
  uint32_t seen_[kNumParameters] = {};
  std::atomic<bool> adopt_{false};
};

} // namespace grelmond::lv2
