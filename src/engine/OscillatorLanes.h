#pragma once

#include <cstdint>

namespace grelmond {

class Oscillator;

// The three oscillators and the amplitude smoothing of up to sixteen voices,
// one lane each, for the batched path. Every lane performs the float
// operations of the voice's own frame loop in the same order (sample, mix,
// advance), so each voice's dry signal is the one it renders alone.
struct OscillatorLanes {
    static constexpr int kLanes = 16;
    static constexpr int kOscillators = 3;

    // Frame i of lane l goes to [i × kLanes + l]: the mix of oscillators 1
    // and 2, the third oscillator and the smoothed amplitude.
    struct Frames {
        float* mix = nullptr;
        float* third = nullptr;
        float* amp = nullptr;
        int count = 0;
    };

    struct Bank {
        alignas(64) float position[kLanes];
        alignas(64) float wrap[kLanes];
        alignas(64) float loop[kLanes];
        alignas(64) float gain[kLanes];
        alignas(64) float increment[kLanes];
        alignas(64) std::int32_t counter[kLanes];
        const std::int16_t* samples[kLanes];
    };

    void load(int lane, int k, const Oscillator& oscillator);
    void store(int lane, int k, Oscillator& oscillator) const;
    // An unused lane: silent oscillators that never advance.
    void clear(int lane);

    // Lanes first..first+3 with SSE2, first..first+7 with AVX2 (only where the CPU has it).
    void run4(int first, const Frames& f);
    void run8(int first, const Frames& f);

    Bank osc[kOscillators];
    alignas(64) float ampStage1[kLanes];
    alignas(64) float ampStage2[kLanes];
    alignas(64) float ampLevel[kLanes];
};

} // namespace grelmond
