#pragma once

#include <atomic>
#include <cstdint>

#include "params/ParameterTable.h"

namespace grelmond {

// The last value set for every parameter, as the host, the editor and
// note-on read it back. Parameters 28 and 29 are held in two entries each,
// always equal; 42 and 46 hold their curved value.
//
// Written by setParameter (any thread), read by the audio thread and the
// editor: each entry is one relaxed atomic float.
class ParameterMirror {
public:
  static constexpr int32_t kEntries = kNumParameters + 2;

  ParameterMirror() {
    for (auto& e : entries_) e.store(0.0f, std::memory_order_relaxed);
  }

  // 0 for an index outside 0..63.
  float get(ParameterId index) const {
    if (!isParameterId(index)) return 0.0f;
    return entries_[entryOf(index)].load(std::memory_order_relaxed);
  }

  void set(ParameterId index, float value) {
    if (!isParameterId(index)) return;
    int32_t e = entryOf(index);
    entries_[e].store(value, std::memory_order_relaxed);
    if (index == 28 || index == 29) entries_[e + 1].store(value, std::memory_order_relaxed);
  }

  // Raw entry access, 0..65, for code that walks the whole block.
  float entry(int32_t e) const { return entries_[e].load(std::memory_order_relaxed); }

private:
  // 0..28 map to themselves; 28 and 29 take two entries each, so 29 is at 30
  // and everything above 29 moves up by two.
  static constexpr int32_t entryOf(ParameterId index) {
    return index <= 28 ? index : index == 29 ? 30 : index + 2;
  }

  std::atomic<float> entries_[kEntries];
};

static_assert(std::atomic<float>::is_always_lock_free);

} // namespace grelmond
