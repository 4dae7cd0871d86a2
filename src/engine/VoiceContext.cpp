#include "engine/VoiceContext.h"

#include "storage/Keygroup.h"
#include "storage/Waveform.h"

namespace grelmond {

void VoiceContext::attach(const Keygroup& keygroup) {
    detach();
    waveformCount = keygroup.waveformCount();
    for (int i = 0; i < waveformCount; ++i) {
        waveforms[static_cast<std::size_t>(i)] = keygroup.waveform(i);
        if (waveforms[static_cast<std::size_t>(i)]) waveforms[static_cast<std::size_t>(i)]->retain();
    }
    envelopes = {keygroup.amplitude(), keygroup.filter(), keygroup.proc()};
    lastPitch = 0.0f;
    finishedMark = false;
    for (Oscillator& o : oscillators) o.reset();
    noteClock = 0.0f;
    releaseTime = 0.0f;
    releaseLevel = {};
    vibrato.reset();
}

void VoiceContext::detach() {
    for (int i = 0; i < waveformCount; ++i) {
        // The store keeps its own reference, so this never frees a waveform.
        if (Waveform* w = waveforms[static_cast<std::size_t>(i)]) w->release();
        waveforms[static_cast<std::size_t>(i)] = nullptr;
    }
    waveformCount = 0;
}

} // namespace grelmond
