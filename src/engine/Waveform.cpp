#include "engine/Waveform.h"

#include <algorithm>

namespace grelmond {

Waveform::Waveform(SampleStore* owner) : owner_(owner) {}

void Waveform::attachSamples(std::unique_ptr<int16_t[]> samples) { samples_ = std::move(samples); }

void Waveform::setLoopLength(int n) { loopLength_ = std::clamp(n, 1, maxLoopLength); }

void Waveform::retain() { users_.fetch_add(1, std::memory_order_relaxed); }

bool Waveform::release() { return users_.fetch_sub(1, std::memory_order_acq_rel) == 1; }

} // namespace grelmond
