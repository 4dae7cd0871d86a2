#pragma once

#include <atomic>
#include <cstdint>

namespace grelmond {

// Receives the settings of one of the three envelopes (filter, proc,
// amplitude) and rebuilds its shape; the voice engine's envelopes implement
// this. Times are in ticks of one hundredth of a second.
class EnvelopeTarget {
public:
  virtual ~EnvelopeTarget() = default;
  virtual void setAttack(int32_t ticks) = 0;
  virtual void setDecay(int32_t ticks) = 0;
  virtual void setSustain(float level) = 0;
  virtual void setRelease(int32_t ticks) = 0;
};

// The last settings given to one envelope, kept by the parameter code so
// they can be read back whether or not an engine envelope is attached.
class EnvelopeTemplate {
public:
  static constexpr int32_t kMaxTicks = 3000;

  // Ticks for a normalised envelope time: steep, 0 at 0, 2993 at 1.
  static int32_t ticksOf(float v);

  int32_t attack() const { return attack_.load(std::memory_order_relaxed); }
  int32_t decay() const { return decay_.load(std::memory_order_relaxed); }
  float sustain() const { return sustain_.load(std::memory_order_relaxed); }
  int32_t release() const { return release_.load(std::memory_order_relaxed); }

  // Store and forward to the attached envelope, if any.
  void setAttack(int32_t ticks);
  void setDecay(int32_t ticks);
  void setSustain(float level);
  void setRelease(int32_t ticks);

  // The engine envelope that follows this template; null detaches.
  // Attach before the audio thread runs.
  void attach(EnvelopeTarget* target) { target_ = target; }

private:
  // The engine's envelopes start from these until parameters arrive.
  std::atomic<int32_t> attack_{10};
  std::atomic<int32_t> decay_{50};
  std::atomic<float> sustain_{0.5f};
  std::atomic<int32_t> release_{300};
  EnvelopeTarget* target_ = nullptr;
};

} // namespace grelmond
