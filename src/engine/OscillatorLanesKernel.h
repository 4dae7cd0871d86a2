#pragma once

// The voice's oscillator frame step over N lanes of GCC vector types V
// (floats) and I (32-bit integers). Included by one source file per
// instruction set, each compiled with its own target flags and
// -ffp-contract=off, so every product and sum is rounded separately exactly
// as in Voice's frame loop and Oscillator::sample. Internal linkage keeps the
// copies apart.

#include "engine/OscillatorLanes.h"

#include <cstdint>

namespace {

using grelmond::OscillatorLanes;

template <class T, class E>
T loadLanes(const E* p)
{
    T v;
    __builtin_memcpy(&v, p, sizeof v);
    return v;
}

template <class T, class E>
void storeLanes(E* p, T v)
{
    __builtin_memcpy(p, &v, sizeof v);
}

template <class I, int N>
bool anyLane(I mask)
{
    std::uint64_t words[N / 2];
    __builtin_memcpy(words, &mask, sizeof words);
    std::uint64_t any = 0;
    for (std::uint64_t w : words)
        any |= w;
    return any != 0;
}

// One oscillator of every lane: its state for the whole call, kept in registers.
template <class V, class I, int N>
struct OscillatorRun {
    V position, wrap, loop, gain, increment;
    I counter, active;
    const std::int16_t* samples[N];

    void load(const OscillatorLanes::Bank& b, int first)
    {
        // A silent lane reads these two zeros, so no lane reads through a null pointer.
        static constexpr std::int16_t silence[2] = {0, 0};
        position = loadLanes<V>(b.position + first);
        wrap = loadLanes<V>(b.wrap + first);
        loop = loadLanes<V>(b.loop + first);
        gain = loadLanes<V>(b.gain + first);
        increment = loadLanes<V>(b.increment + first);
        counter = loadLanes<I>(b.counter + first);
        for (int l = 0; l < N; ++l) {
            const bool on = b.gain[first + l] > 0.0f && b.samples[first + l] != nullptr;
            active[l] = on ? -1 : 0;
            samples[l] = on ? b.samples[first + l] : silence;
        }
    }

    void store(OscillatorLanes::Bank& b, int first) const
    {
        storeLanes(b.position + first, position);
        storeLanes(b.wrap + first, wrap);
        storeLanes(b.counter + first, counter);
    }

    // The loop's wrap, rare: once per pass of the waveform.
    void wrapLanes(V p, I wrapped)
    {
        for (int l = 0; l < N; ++l) {
            if (!wrapped[l])
                continue;
            float w = p[l] - loop[l];
            while (w > loop[l])
                w -= loop[l];
            wrap[l] = w;
            position[l] = 0.0f;
            counter[l] = 1;
        }
    }

    V sample()
    {
        V p = position + wrap;
        const I wrapped = active & (p > loop);
        if (anyLane<I, N>(wrapped)) {
            wrapLanes(p, wrapped);
            p = position + wrap;
        }
        const I at = active ? __builtin_convertvector(p, I) : I{};
        I pair;
        for (int l = 0; l < N; ++l) {
            std::uint32_t both;
            __builtin_memcpy(&both, samples[l] + at[l], sizeof both);
            pair[l] = static_cast<std::int32_t>(both);
        }
        const V a = __builtin_convertvector((pair << 16) >> 16, V);
        const V b = __builtin_convertvector(pair >> 16, V);
        const V v = (a + (p - __builtin_convertvector(at, V)) * (b - a)) / 32767.0f * gain;
        return active ? v : V{};
    }

    void advance(V amp)
    {
        const I moves = gain * amp > 0.0f;
        position = moves ? __builtin_convertvector(counter, V) * increment : position;
        counter = moves ? counter + 1 : counter;
    }
};

// One oscillator at a time over the whole call, so its state stays in
// registers; the voice's frame loop does the same operations frame by frame.
template <class V, class I, int N>
void oscillatorFrames(OscillatorLanes& s, int first, const OscillatorLanes::Frames& f)
{
    constexpr int stride = OscillatorLanes::kLanes;
    constexpr float mixScale = 1.0f / 8.0f;
    V amp1 = loadLanes<V>(s.ampStage1 + first);
    V amp2 = loadLanes<V>(s.ampStage2 + first);
    const V level = loadLanes<V>(s.ampLevel + first);
    for (int i = 0; i < f.count; ++i) {
        amp1 = 0.9f * amp1 + 0.1f * level;
        amp2 = 0.9f * amp2 + 0.1f * amp1;
        storeLanes(f.amp + i * stride + first, amp2);
    }
    storeLanes(s.ampStage1 + first, amp1);
    storeLanes(s.ampStage2 + first, amp2);

    OscillatorRun<V, I, N> osc;
    osc.load(s.osc[0], first);
    for (int i = 0; i < f.count; ++i) {
        storeLanes(f.mix + i * stride + first, osc.sample());
        osc.advance(loadLanes<V>(f.amp + i * stride + first));
    }
    osc.store(s.osc[0], first);
    osc.load(s.osc[1], first);
    for (int i = 0; i < f.count; ++i) {
        float* mix = f.mix + i * stride + first;
        storeLanes(mix, (loadLanes<V>(mix) + osc.sample()) * mixScale);
        osc.advance(loadLanes<V>(f.amp + i * stride + first));
    }
    osc.store(s.osc[1], first);
    osc.load(s.osc[2], first);
    for (int i = 0; i < f.count; ++i) {
        storeLanes(f.third + i * stride + first, osc.sample() * mixScale);
        osc.advance(loadLanes<V>(f.amp + i * stride + first));
    }
    osc.store(s.osc[2], first);
}

} // namespace
