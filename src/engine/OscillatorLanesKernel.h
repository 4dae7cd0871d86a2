#pragma once

// The voice's oscillator frame step over N lanes of GCC vector types V
// (floats) and I (32-bit integers). Included by one source file per
// instruction set, each compiled with its own target flags and
// -ffp-contract=off, so every product and sum is rounded separately exactly
// as in Voice's frame loop and Oscillator::sample. Internal linkage keeps the
// copies apart.

#include "engine/OscillatorLanes.h"
#include "engine/LaneAccess.h"

#include <cstdint>
#if defined(__AVX2__)
#include <immintrin.h>
#endif

namespace {

using grelmond::OscillatorLanes;

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
    I counter, active, offset{};
    const std::int16_t* samples[N];
    bool gather = false;

    void load(const OscillatorLanes::Bank& b, int first)
    {
        // A silent lane reads two samples of another lane's waveform (or these
        // two zeros) and drops them, so no lane reads through a null pointer.
        static constexpr std::int16_t silence[2] = {0, 0};
        position = loadLanes<V>(b.position + first);
        wrap = loadLanes<V>(b.wrap + first);
        loop = loadLanes<V>(b.loop + first);
        gain = loadLanes<V>(b.gain + first);
        increment = loadLanes<V>(b.increment + first);
        counter = loadLanes<I>(b.counter + first);
        const std::int16_t* any = silence;
        for (int l = 0; l < N; ++l) {
            const bool on = b.gain[first + l] > 0.0f && b.samples[first + l] != nullptr;
            active[l] = on ? -1 : 0;
            samples[l] = on ? b.samples[first + l] : nullptr;
            if (on)
                any = samples[l];
        }
        for (int l = 0; l < N; ++l)
            if (samples[l] == nullptr)
                samples[l] = any;
        setUpGather();
    }

    // Asks for the stretch of waveform each lane reads in this call ahead of
    // the reads: hundreds of voices stream through megabytes of waveforms, and
    // the gathers otherwise wait on each cache line in turn.
    void prefetch(int frames) const
    {
        for (int l = 0; l < N; ++l) {
            if (!active[l])
                continue;
            const float from = position[l] + wrap[l];
            const float to = from + increment[l] * static_cast<float>(frames) + 2.0f;
            if (!(from >= 0.0f && to <= loop[l] + 2.0f))
                continue; // wraps inside the call, or an odd state: no hint
            const char* p = reinterpret_cast<const char*>(samples[l] + static_cast<int>(from));
            const char* end = reinterpret_cast<const char*>(samples[l] + static_cast<int>(to));
            for (; p < end; p += 64)
                __builtin_prefetch(p, 0, 2);
        }
    }

    // Eight lanes read with one gather from the first lane's waveform, when
    // every lane's waveform lies within reach of 32-bit indices.
    void setUpGather()
    {
        gather = false;
#if defined(__AVX2__)
        if constexpr (N == 8) {
            const std::int16_t* base = samples[0];
            constexpr std::int64_t reach = (std::int64_t{1} << 30) - (std::int64_t{1} << 20);
            for (int l = 0; l < N; ++l) {
                // Waveforms are separate arrays: measured as addresses, in samples.
                const std::int64_t apart = (reinterpret_cast<std::intptr_t>(samples[l]) -
                                            reinterpret_cast<std::intptr_t>(base)) /
                                           static_cast<std::int64_t>(sizeof(std::int16_t));
                if (apart > reach || apart < -reach)
                    return;
                offset[l] = static_cast<std::int32_t>(apart);
            }
            gather = true;
        }
#endif
    }

    I loadPairs(I at) const
    {
#if defined(__AVX2__)
        if constexpr (N == 8) {
            if (gather) {
                I index = offset + at;
                __m256i v;
                __builtin_memcpy(&v, &index, sizeof v);
                const __m256i pairs = _mm256_i32gather_epi32(reinterpret_cast<const int*>(samples[0]), v, 2);
                I out;
                __builtin_memcpy(&out, &pairs, sizeof out);
                return out;
            }
        }
#endif
        I pair;
        for (int l = 0; l < N; ++l) {
            std::uint32_t both;
            __builtin_memcpy(&both, samples[l] + at[l], sizeof both);
            pair[l] = static_cast<std::int32_t>(both);
        }
        return pair;
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
        const I pair = loadPairs(at);
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
    OscillatorRun<V, I, N> osc[OscillatorLanes::kOscillators];
    for (int k = 0; k < OscillatorLanes::kOscillators; ++k) {
        osc[k].load(s.osc[k], first);
        osc[k].prefetch(f.count);
    }
    // Local copies: stores through the outputs could otherwise alias f's fields.
    float* const mix = f.mix + first;
    float* const third = f.third + first;
    float* const amp = f.amp + first;
    const int count = f.count;
    V amp1 = loadLanes<V>(s.ampStage1 + first);
    V amp2 = loadLanes<V>(s.ampStage2 + first);
    const V level = loadLanes<V>(s.ampLevel + first);
    // The amplitude's smoothing is a chain of dependent steps: it runs beside
    // the first oscillator's reads rather than alone.
    for (int i = 0; i < count; ++i) {
        amp1 = 0.9f * amp1 + 0.1f * level;
        amp2 = 0.9f * amp2 + 0.1f * amp1;
        storeLanes(amp + i * stride, amp2);
        storeLanes(mix + i * stride, osc[0].sample());
        osc[0].advance(amp2);
    }
    storeLanes(s.ampStage1 + first, amp1);
    storeLanes(s.ampStage2 + first, amp2);
    for (int i = 0; i < count; ++i) {
        storeLanes(mix + i * stride, (loadLanes<V>(mix + i * stride) + osc[1].sample()) * mixScale);
        osc[1].advance(loadLanes<V>(amp + i * stride));
    }
    for (int i = 0; i < count; ++i) {
        storeLanes(third + i * stride, osc[2].sample() * mixScale);
        osc[2].advance(loadLanes<V>(amp + i * stride));
    }
    for (int k = 0; k < OscillatorLanes::kOscillators; ++k)
        osc[k].store(s.osc[k], first);
}

} // namespace
