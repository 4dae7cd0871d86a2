#pragma once

#include <atomic>
#include <cstdint>

#include "params/ParameterTable.h"

namespace grelmond {

// Render-side value of every parameter and the engine values derived from
// them, as setParameter leaves them. Read by the render loop once per chunk
// or frame, by the voices at block set-up and by the editor's update.
//
// Written by setParameter (any thread); every value is a single relaxed
// atomic, so a change is picked up at the next read without locks. A delay
// length and its restart count are the one ordered pair: the count is raised
// before the length is released, so a reader that takes the length first
// never sees a new length without its restart.
class RenderValues {
public:
  RenderValues() {
    for (auto& v : values_) v.store(0.0f, std::memory_order_relaxed);
  }

  // Render-side value of a parameter (the plain value or its conversion).
  // Slots 28, 29, 49 and 53 hold no float: use the accessors below.
  // 0 for an index outside 0..63.
  float get(ParameterId index) const {
    return isParameterId(index) ? values_[index].load(std::memory_order_relaxed) : 0.0f;
  }
  void set(ParameterId index, float value) {
    if (isParameterId(index)) values_[index].store(value, std::memory_order_relaxed);
  }

  // Named reads of the converted values.
  float chorusMix() const { return get(param::kChorusMix); }          // "chor mix" / 2
  float flangerRate() const { return get(param::kFlangerRate); }      // bipolar "flang rate" / 10
  float flangerFeedback() const { return get(param::kFlangerFeedback); } // 0.6 x "flang feed"
  float chorusRate() const { return get(param::kChorusRate); }        // "chor rate" / 10
  float filterLfoRate() const { return get(param::kFilterLfoRate); }  // curved "filt lfo rate" / 10
  float filterCutoff() const { return get(param::kFilterCutoff); }    // curved "filt cutoff"
  float mainGain() const { return get(param::kMainVolume); }          // 16 x curved "volume"

  // Oscillator count, always a multiple of 3; the ensemble uses
  // (count - 3) / 3 copies.
  int32_t oscillatorCount() const { return oscillatorCount_.load(std::memory_order_relaxed); }
  void setOscillatorCount(int32_t n) { oscillatorCount_.store(n, std::memory_order_relaxed); }

  float detuneAmount() const { return detuneAmount_.load(std::memory_order_relaxed); }
  void setDetuneAmount(float d) { detuneAmount_.store(d, std::memory_order_relaxed); }

  // Delay lengths in samples, 0 to the delay buffer size.
  int32_t leftDelayLength() const { return leftDelayLength_.load(std::memory_order_acquire); }
  int32_t rightDelayLength() const { return rightDelayLength_.load(std::memory_order_acquire); }
  void setLeftDelayLength(int32_t n) { leftDelayLength_.store(n, std::memory_order_relaxed); }
  void setRightDelayLength(int32_t n) { rightDelayLength_.store(n, std::memory_order_relaxed); }
  // A delay-time change: the new length, and the renderer silences what that
  // length reads before it plays it. The counts only ever grow (and wrap).
  void restartLeftDelay(int32_t n) { restart(leftDelayRestarts_, leftDelayLength_, n); }
  void restartRightDelay(int32_t n) { restart(rightDelayRestarts_, rightDelayLength_, n); }
  uint32_t leftDelayRestarts() const { return leftDelayRestarts_.load(std::memory_order_relaxed); }
  uint32_t rightDelayRestarts() const { return rightDelayRestarts_.load(std::memory_order_relaxed); }

private:
  std::atomic<float> values_[kNumParameters];
  std::atomic<int32_t> oscillatorCount_{0};
  std::atomic<float> detuneAmount_{0.0f};
  std::atomic<int32_t> leftDelayLength_{0};
  std::atomic<int32_t> rightDelayLength_{0};
  std::atomic<uint32_t> leftDelayRestarts_{0};
  std::atomic<uint32_t> rightDelayRestarts_{0};

  static void restart(std::atomic<uint32_t>& restarts, std::atomic<int32_t>& length, int32_t n) {
    restarts.fetch_add(1, std::memory_order_relaxed);
    length.store(n, std::memory_order_release);
  }
};

static_assert(std::atomic<int32_t>::is_always_lock_free);
static_assert(std::atomic<uint32_t>::is_always_lock_free);

} // namespace grelmond
