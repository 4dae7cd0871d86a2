#include "engine/Keygroup.h"

namespace grelmond {

bool Keygroup::addWaveform(Waveform* w) {
    if (waveformCount_ >= waveformSlots) return false;
    waveforms_[static_cast<std::size_t>(waveformCount_++)] = w;
    return true;
}

void Keygroup::setEnvelopes(Envelope* amplitude, Envelope* filter, Envelope* proc) {
    amplitude_ = amplitude;
    filter_ = filter;
    proc_ = proc;
}

} // namespace grelmond
