#include "engine/VoiceContext.h"

#include "engine/Keygroup.h"
#include "engine/Waveform.h"

#include <cmath>

namespace grelmond {

namespace {
// From here the float32 clock's resolution (1/1024 tick and coarser) starts to
// bend small steps; below it the clock adds plainly.
constexpr float carriedFrom = 4096.0f;
// The clock is held in [rebasedFloor, 2 x rebasedFloor): above every attack
// plus decay (6000 ticks) and every vibrato period, and coarse enough that
// shifting by multiples of rebasedFloor is exact.
constexpr float rebasedFloor = 8192.0f;
} // namespace

void VoiceContext::advanceClock(float ticks) {
    if (noteClock < carriedFrom) {
        noteClock += ticks;
        return;
    }
    const float step = ticks + clockCarry;
    const float next = noteClock + step;
    clockCarry = step - (next - noteClock);
    noteClock = next;
    if (!(noteClock >= 2.0f * rebasedFloor)) return;
    // Only differences of clock values matter from here on (release and
    // vibrato times), so all of them move down by the same whole ticks.
    const float shift = (std::floor(noteClock / rebasedFloor) - 1.0f) * rebasedFloor;
    noteClock -= shift;
    releaseTime -= shift;
    vibrato.shift(shift);
}

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
    clockCarry = 0.0f;
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
