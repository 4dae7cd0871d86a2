#include "engine/OscillatorLanes.h"

#include "engine/Oscillator.h"

namespace grelmond {

void OscillatorLanes::load(int lane, int k, const Oscillator& oscillator)
{
    Bank& b = osc[k];
    b.position[lane] = oscillator.phasePosition_;
    b.wrap[lane] = oscillator.wrapOffset_;
    b.loop[lane] = oscillator.loopLength_;
    b.gain[lane] = oscillator.gain_;
    b.increment[lane] = oscillator.inc_;
    b.counter[lane] = oscillator.phaseCounter_;
    b.samples[lane] = oscillator.samples_;
}

void OscillatorLanes::store(int lane, int k, Oscillator& oscillator) const
{
    const Bank& b = osc[k];
    oscillator.phasePosition_ = b.position[lane];
    oscillator.wrapOffset_ = b.wrap[lane];
    oscillator.phaseCounter_ = b.counter[lane];
}

void OscillatorLanes::clear(int lane)
{
    for (Bank& b : osc) {
        b.position[lane] = b.wrap[lane] = b.loop[lane] = b.gain[lane] = b.increment[lane] = 0.0f;
        b.counter[lane] = 0;
        b.samples[lane] = nullptr;
    }
    ampStage1[lane] = ampStage2[lane] = ampLevel[lane] = 0.0f;
}

} // namespace grelmond
