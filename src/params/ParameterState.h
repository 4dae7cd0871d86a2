#pragma once

#include <atomic>
#include <cstdint>

#include "params/DelayTime.h"
#include "params/EnvelopeTemplate.h"
#include "params/ParameterMirror.h"
#include "params/ParameterTable.h"
#include "params/Program.h"
#include "params/RenderValues.h"

namespace grelmond {

// What setting a parameter does beyond storing it in the program: the
// mirror entry, the render-side value and the derived engine values
// (oscillator count, detune, envelope settings, delay lengths, main gain).
//
// apply() may be called from the host's audio or user-interface thread; it
// allocates nothing and takes no lock. Attach buffers and envelopes before
// the audio thread starts.
class ParameterState {
public:
  enum Envelope { kFilterEnvelope, kProcEnvelope, kAmpEnvelope, kNumEnvelopes };

  ParameterState() = default;
  ParameterState(const ParameterState&) = delete;
  ParameterState& operator=(const ParameterState&) = delete;

  // Sets parameter index to v (clamped to 0..1, NaN as 0) and returns the
  // value that the program should store. Indices outside 0..63 change
  // nothing and return 0.
  float apply(ParameterId index, float v);

  // Writes a program's values straight into the mirror and render values
  // as at start-up: a few values differ from what apply() gives, until the
  // parameter is next set. Envelopes are not touched, nor echoes restarted.
  void applyStartValues(const Program& program);

  // Frames the delay buffers hold: no length is set beyond it (no limit
  // until set). The buffers themselves belong to the audio thread, which
  // silences them when a delay-time change asks for it.
  void setDelayCapacity(int32_t frames);
  // The sample rate the delay lengths are counted at (44.1 kHz until set);
  // sets both lengths anew, restarting both echoes. Not on the audio thread.
  void setDelaySampleRate(float sampleRate);
  void attachEnvelope(Envelope which, EnvelopeTarget* target) { envelopes_[which].attach(target); }

  const ParameterMirror& mirror() const { return mirror_; }
  // The value last set for index, as the host gave it (clamped): hosts save
  // what they read back and set it again on reload, so nothing may be curved
  // twice. 0 for an index outside 0..63.
  float setValue(ParameterId index) const {
    return isParameterId(index) ? set_[index].load(std::memory_order_relaxed) : 0.0f;
  }
  const RenderValues& renderValues() const { return render_; }
  const EnvelopeTemplate& envelope(Envelope which) const { return envelopes_[which]; }

  // Derived values, as apply() computes them.
  static int32_t oscillatorCountOf(float v);
  static float detuneOf(float v);
  static float mainGainOf(float v);

private:
  void applyEnvelope(ParameterId index, float v);
  void applyDelay(ParameterId index, float v);
  void applyRenderValue(ParameterId index, float v);
  int32_t limitDelay(int32_t length) const;

  ParameterMirror mirror_;
  std::atomic<float> set_[kNumParameters] = {};
  RenderValues render_;
  EnvelopeTemplate envelopes_[kNumEnvelopes];
  std::atomic<int32_t> delayCapacity_{INT32_MAX};
  std::atomic<float> delayRate_{DelayTime::kReferenceRate};
};

} // namespace grelmond
