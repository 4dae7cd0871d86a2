#pragma once

#include <cstdint>

#include "params/EnvelopeTemplate.h"

namespace grelmond {

// Lets any envelope class with setAttack/setDecay/setSustain/setRelease
// follow a parameter template without the parameter code knowing its type.
template <class EnvelopeType>
class EnvelopeAdapter final : public EnvelopeTarget {
public:
  explicit EnvelopeAdapter(EnvelopeType* envelope = nullptr) : envelope_(envelope) {}
  void bind(EnvelopeType* envelope) { envelope_ = envelope; }

  void setAttack(int32_t ticks) override {
    if (envelope_) envelope_->setAttack(ticks);
  }
  void setDecay(int32_t ticks) override {
    if (envelope_) envelope_->setDecay(ticks);
  }
  void setSustain(float level) override {
    if (envelope_) envelope_->setSustain(level);
  }
  void setRelease(int32_t ticks) override {
    if (envelope_) envelope_->setRelease(ticks);
  }

private:
  EnvelopeType* envelope_;
};

} // namespace grelmond
