#pragma once

// The proc functions' frame steps over N lanes of GCC vector types V (floats)
// and I (32-bit integers), one copy per instruction set (see
// LadderLanesKernel.h). Each expression is ProcProcessor's, operation for
// operation, so every lane rounds as its voice does.

#include "engine/LaneAccess.h"
#include "engine/ProcLanes.h"

#include <cmath>
#include <cstdint>

namespace {

using grelmond::ProcLanes;

constexpr float kTwoPi = 6.2831853072f;
constexpr std::int32_t kRingMask = 4095;
constexpr std::int32_t kFoldAbove = 1 << 30;
constexpr std::int32_t kFold = 1 << 29;
// Frames whose sines are taken in one run of library calls.
constexpr int kSineRun = 32;
// From here up every float is a whole number.
constexpr float kWholeFrom = 8388608.0f;

// Where lane `first` of frame i sits in a frame buffer.
inline int frameAt(int i, int first) { return i * ProcLanes::kLanes + first; }

template <class I>
I advanceCounter(I c, std::int32_t by)
{
    c += by;
    return c >= kFoldAbove ? c - kFold : c;
}

// ProcProcessor::fadeA.
template <class V, class I>
V fadeA(V y, V fadeValue, V dry, I& counter)
{
    const I n = counter;
    counter = advanceCounter(counter, 1);
    const V w = __builtin_convertvector(n - 100, V) / 100.0f;
    const V mid = y * w + dry * (1.0f - w);
    const V late = n < 200 ? mid : y;
    return n < 100 ? fadeValue : late;
}

// std::clamp(v, 0, 1), NaN passing through as it does there.
template <class V>
V clampUnit(V v)
{
    const V zero = V{};
    const V one = zero + 1.0f;
    const V high = one < v ? one : v;
    return v < zero ? zero : high;
}

// ProcProcessor::carrierPhase; floor() is exact here: truncation for the
// positive values under 2^23, the value itself above.
template <class V, class I>
V carrierPhase(V step, I& count, V& phase)
{
    V g = __builtin_convertvector(count, V) * step + phase;
    const I wraps = g >= 1.0f;
    const I small = g < kWholeFrom;
    const V bounded = small ? g : V{} + kWholeFrom;
    const V whole = small ? __builtin_convertvector(__builtin_convertvector(bounded, I), V) : g;
    const V fraction = g - whole;
    phase = wraps ? fraction : phase;
    count = wraps ? I{} : count;
    g = wraps ? fraction : g;
    count = count < INT32_MAX ? count + 1 : count;
    return g;
}

// The exponent fields of every lane (all ones for NaN and infinity).
template <class I, class V>
I exponentsOf(V v)
{
    I bits;
    __builtin_memcpy(&bits, &v, sizeof bits);
    return bits & 0x7F800000;
}

template <class I>
I maxLanes(I a, I b)
{
    return a > b ? a : b;
}

template <class V>
V runSection(V b0, V b1, V b2, V a1, V a2, V& x1, V& x2, V& y1, V& y2, V u, V d)
{
    const V y = b0 * u + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2 + d;
    x2 = x1;
    x1 = u + d;
    y2 = y1;
    y1 = y;
    return y;
}

template <class V>
V quantiseFirst(V v)
{
    V q = V{} - 0.1f;
    q = v >= -0.1f ? V{} - 0.3f : q;
    q = v >= 0.0f ? V{} + 0.2f : q;
    return v >= 0.1f ? V{} + 0.5f : q;
}

template <class V>
V quantiseSecond(V v)
{
    V q = V{} - 0.05f;
    q = v >= -0.1f ? V{} - 0.15f : q;
    q = v >= 0.0f ? V{} + 0.1f : q;
    return v >= 0.1f ? V{} + 0.25f : q;
}

// out = (v + third) × amp, the voice's own tail of the proc stage.
template <class V>
void putFrame(const ProcLanes::Frames& f, int at, V v)
{
    v = v + loadLanes<V>(f.third + at);
    v *= loadLanes<V>(f.amp + at);
    storeLanes(f.mix + at, v);
}

template <class V>
void passFrames(int first, const ProcLanes::Frames& f)
{
    for (int i = 0; i < f.count; ++i) {
        const int at = frameAt(i, first);
        putFrame(f, at, loadLanes<V>(f.mix + at));
    }
}

template <class V, class I, int N>
void flangingFrames(ProcLanes& s, int first, const ProcLanes::Frames& f)
{
    const V level = loadLanes<V>(s.procLevel + first);
    const V depth = loadLanes<V>(s.keyDepth + first);
    const V gain = loadLanes<V>(s.flangerGain + first);
    V p1 = loadLanes<V>(s.p1 + first), p2 = loadLanes<V>(s.p2 + first);
    V feedback = loadLanes<V>(s.flangerFeedback + first);
    V d = loadLanes<V>(s.d + first);
    I counter = loadLanes<I>(s.counter + first);
    I exponents = loadLanes<I>(s.ringExponents + first);
    float* ring[N];
    for (int l = 0; l < N; ++l)
        ring[l] = s.ring[first + l];
    for (int i = 0; i < f.count; ++i) {
        d = -d;
        const int at = frameAt(i, first);
        const V dry = loadLanes<V>(f.mix + at);
        p1 = 0.5f * level + 0.5f * p1;
        p2 = 0.5f * p1 + 0.5f * p2;
        const V a = clampUnit((p2 + 1.0f) / 2.0f);
        const V x = dry * 0.1f;
        const V input = x + feedback + d;
        const I read = __builtin_convertvector(a * depth * 306.0f, I) + counter - 310;
        // The read lies 4 to 310 half-frames behind the two slots written.
        V held, mean;
        for (int l = 0; l < N; ++l) {
            float* r = ring[l];
            const std::int32_t w = counter[l];
            const float hold = r[(w - 1) & kRingMask];
            mean[l] = (input[l] + hold) / 2.0f;
            r[(w + 1) & kRingMask] = input[l];
            r[w & kRingMask] = mean[l];
            held[l] = r[read[l] & kRingMask];
        }
        exponents = maxLanes(exponents, maxLanes(exponentsOf<I>(input), exponentsOf<I>(mean)));
        V y = held + x;
        feedback = y * gain;
        counter = advanceCounter(counter, 2);
        y *= 10.0f;
        const V w = __builtin_convertvector(counter - 4096, V) / 4096.0f;
        const V mid = y * w + dry * (1.0f - w);
        const V late = counter < 8192 ? mid : y;
        putFrame(f, at, counter < 4096 ? dry : late);
    }
    storeLanes(s.p1 + first, p1);
    storeLanes(s.p2 + first, p2);
    storeLanes(s.flangerFeedback + first, feedback);
    storeLanes(s.counter + first, counter);
    storeLanes(s.ringExponents + first, exponents);
}

// Takes the sine of every value of `count` frames of N lanes in place. The
// library's sine branches on the size of its argument and on the quadrant it
// falls in; lanes at unrelated phases would make those branches a coin toss
// on every call, so the calls are made bucket by bucket. The order of the
// calls changes nothing else: each value's sine is the same number.
inline void sines(float* values, int count)
{
    constexpr float kSmall = 0.75f;          // below this the library takes no quadrant
    constexpr float kQuadrants = 0.63661977f; // 2/pi
    std::uint16_t order[3][kSineRun * ProcLanes::kLanes];
    int size[3] = {0, 0, 0};
    for (int k = 0; k < count; ++k) {
        const float x = std::fabs(values[k]);
        // Large or not-a-number arguments take other paths; any bucket will do.
        const int quadrant = x < 120.0f ? static_cast<int>(x * kQuadrants + 0.5f) & 1 : 0;
        const int bucket = x < kSmall ? 0 : 1 + quadrant;
        order[bucket][size[bucket]++] = static_cast<std::uint16_t>(k);
    }
    for (int b = 0; b < 3; ++b)
        for (int j = 0; j < size[b]; ++j)
            values[order[b][j]] = std::sin(values[order[b][j]]);
}

template <class V, class I, int N>
void ringModFrames(ProcLanes& s, int first, const ProcLanes::Frames& f)
{
    const V level = loadLanes<V>(s.procLevel + first);
    const V depth = loadLanes<V>(s.keyDepth + first);
    const V increment = loadLanes<V>(s.increment + first);
    V p1 = loadLanes<V>(s.p1 + first), p2 = loadLanes<V>(s.p2 + first);
    V phase = loadLanes<V>(s.carrierPhase + first);
    I count = loadLanes<I>(s.carrierCounter + first);
    float angle[kSineRun * N];
    for (int start = 0; start < f.count; start += kSineRun) {
        const int run = f.count - start < kSineRun ? f.count - start : kSineRun;
        for (int j = 0; j < run; ++j) {
            p1 = 0.5f * level + 0.5f * p1;
            p2 = 0.5f * p1 + 0.5f * p2;
            const V a = 1.0f - (p2 + 1.0f) / 2.0f;
            const V scaled = a * depth;
            const V mm = scaled < 0.001f ? V{} + 0.001f : scaled;
            const V step = increment * 440.0f / (44100.0f * (mm + 0.001f));
            storeLanes(angle + j * N, kTwoPi * carrierPhase(step, count, phase));
        }
        sines(angle, run * N);
        for (int j = 0; j < run; ++j) {
            const int at = frameAt(start + j, first);
            putFrame(f, at, loadLanes<V>(angle + j * N) * loadLanes<V>(f.mix + at));
        }
    }
    storeLanes(s.p1 + first, p1);
    storeLanes(s.p2 + first, p2);
    storeLanes(s.carrierPhase + first, phase);
    storeLanes(s.carrierCounter + first, count);
}

template <class V, class I, int N>
void chaosFrames(ProcLanes& s, int first, const ProcLanes::Frames& f)
{
    const V m = loadLanes<V>(s.m + first);
    const V increment = loadLanes<V>(s.increment + first);
    // The voice works it out every frame from block values: the same number.
    const V step = increment * 440.0f / (44100.0f * (m + 0.01f));
    const V rate = 3.57f + 0.43f * m;
    V chaos = loadLanes<V>(s.chaos + first);
    V phase = loadLanes<V>(s.carrierPhase + first);
    I count = loadLanes<I>(s.carrierCounter + first);
    float angle[kSineRun * N];
    for (int start = 0; start < f.count; start += kSineRun) {
        const int run = f.count - start < kSineRun ? f.count - start : kSineRun;
        for (int j = 0; j < run; ++j) {
            chaos = clampUnit((chaos - chaos * chaos) * rate);
            const V g = carrierPhase(step, count, phase);
            storeLanes(angle + j * N, kTwoPi * g * (m * chaos + 1.0f));
        }
        sines(angle, run * N);
        for (int j = 0; j < run; ++j) {
            const int at = frameAt(start + j, first);
            const V y = loadLanes<V>(angle + j * N);
            const V v = (1.0f - m) * loadLanes<V>(f.mix + at) + m * y / 20.0f;
            putFrame(f, at, v / 8.0f);
        }
    }
    storeLanes(s.chaos + first, chaos);
    storeLanes(s.carrierPhase + first, phase);
    storeLanes(s.carrierCounter + first, count);
}

template <class V>
void noiseFrames(ProcLanes& s, int first, const ProcLanes::Frames& f)
{
    const V m = loadLanes<V>(s.m + first);
    const V env = loadLanes<V>(s.procEnv + first);
    const float* draws = s.draws.data();
    for (int i = 0; i < f.count; ++i) {
        const int at = frameAt(i, first);
        const V n = loadLanes<V>(draws + frameAt(i * ProcLanes::kDrawsPerFrame, first));
        putFrame(f, at, m * n * env + (1.0f - m) * loadLanes<V>(f.mix + at));
    }
}

template <class V, class I>
void waveshapingFrames(ProcLanes& s, int first, const ProcLanes::Frames& f)
{
    const V m = loadLanes<V>(s.m + first);
    const I on = loadLanes<V>(s.procLevel + first) > 0.0f;
    for (int i = 0; i < f.count; ++i) {
        const int at = frameAt(i, first);
        const V dry = loadLanes<V>(f.mix + at);
        V level = V{} - 0.035f;
        level = dry > -0.3f ? V{} - 0.075f : level;
        level = dry > 0.0f ? V{} + 0.075f : level;
        level = dry > 0.3f ? V{} + 0.035f : level;
        const V shaped = m * level / 4.0f + dry * (1.0f - m);
        putFrame(f, at, on ? shaped : dry);
    }
}

// "20 Waveshaping 2": the pattern steps on only while the signal is above 0.
template <class V, class I, int N>
void patternFrames(ProcLanes& s, int first, const ProcLanes::Frames& f)
{
    static constexpr float pattern[8] = {0.1f, 0.7f, -0.5f, 0.8f, -0.9f, 0.3f, 0.2f, -0.6f};
    const V m = loadLanes<V>(s.m + first);
    const I on = loadLanes<V>(s.procLevel + first) > 0.0f;
    I counter = loadLanes<I>(s.counter + first);
    for (int i = 0; i < f.count; ++i) {
        const int at = frameAt(i, first);
        const V dry = loadLanes<V>(f.mix + at);
        const I up = dry > 0.0f;
        V step;
        for (int l = 0; l < N; ++l)
            step[l] = pattern[counter[l] & 7];
        const V level = up ? step * 0.075f : V{} - 0.075f;
        counter = (on & up) != 0 ? advanceCounter(counter, 1) : counter;
        const V shaped = m * level / 4.0f + (1.0f - m) * dry;
        putFrame(f, at, on ? shaped : dry);
    }
    storeLanes(s.counter + first, counter);
}

template <class V, class I>
void phaserFrames(ProcLanes& s, int first, const ProcLanes::Frames& f)
{
    const float gain = s.function == 24 ? 0.1612f : 0.78182f;
    const V ap = loadLanes<V>(s.ap + first);
    V xp = loadLanes<V>(s.xp + first), a1 = loadLanes<V>(s.a1 + first), a2 = loadLanes<V>(s.a2 + first);
    V feedback = loadLanes<V>(s.phaserFeedback + first);
    V d = loadLanes<V>(s.d + first);
    I counter = loadLanes<I>(s.counter + first);
    for (int i = 0; i < f.count; ++i) {
        d = -d;
        const int at = frameAt(i, first);
        const V dry = loadLanes<V>(f.mix + at);
        const V x = dry + feedback;
        const V next = ap * x + xp - ap * a1 + d;
        xp = x;
        a2 = ap * next + a1 - ap * a2 + d;
        a1 = next;
        feedback = a2 * gain;
        const V y = (dry + a2) * 0.5f + d;
        putFrame(f, at, fadeA(y, dry, dry, counter));
    }
    storeLanes(s.xp + first, xp);
    storeLanes(s.a1 + first, a1);
    storeLanes(s.a2 + first, a2);
    storeLanes(s.phaserFeedback + first, feedback);
    storeLanes(s.counter + first, counter);
}

// One band-pass of "10 BP Dist" held in registers.
template <class V>
struct DistortionSection {
    V x1, x2, y1, y2;

    void load(const ProcLanes& s, int k, int first)
    {
        x1 = loadLanes<V>(s.hx1[k] + first);
        x2 = loadLanes<V>(s.hx2[k] + first);
        y1 = loadLanes<V>(s.hy1[k] + first);
        y2 = loadLanes<V>(s.hy2[k] + first);
    }
    void store(ProcLanes& s, int k, int first) const
    {
        storeLanes(s.hx1[k] + first, x1);
        storeLanes(s.hx2[k] + first, x2);
        storeLanes(s.hy1[k] + first, y1);
        storeLanes(s.hy2[k] + first, y2);
    }
};

template <class V>
struct DistortionCoefficients {
    V b0, b1, b2, a1, a2;

    void load(const ProcLanes& s, int k, int first)
    {
        b0 = loadLanes<V>(s.cb0[k] + first);
        b1 = loadLanes<V>(s.cb1[k] + first);
        b2 = loadLanes<V>(s.cb2[k] + first);
        a1 = loadLanes<V>(s.ca1[k] + first);
        a2 = loadLanes<V>(s.ca2[k] + first);
    }
    V run(DistortionSection<V>& h, V u, V d) const
    {
        return runSection(b0, b1, b2, a1, a2, h.x1, h.x2, h.y1, h.y2, u, d);
    }
};

template <class V, class I>
void distortionFrames(ProcLanes& s, int first, const ProcLanes::Frames& f)
{
    DistortionCoefficients<V> c0, c1;
    c0.load(s, 0, first);
    c1.load(s, 1, first);
    DistortionSection<V> h[4];
    for (int k = 0; k < 4; ++k)
        h[k].load(s, k, first);
    V d = loadLanes<V>(s.d + first);
    I counter = loadLanes<I>(s.counter + first);
    const float* draws = s.draws.data();
    for (int i = 0; i < f.count; ++i) {
        d = -d;
        const int at = frameAt(i, first);
        const V dry = loadLanes<V>(f.mix + at);
        const V r1 = loadLanes<V>(draws + frameAt(i * ProcLanes::kDrawsPerFrame, first));
        const V r2 = loadLanes<V>(draws + frameAt(i * ProcLanes::kDrawsPerFrame + 1, first));
        const V q = quantiseFirst(dry) + r1 * 0.1f;
        const V u = c0.run(h[2], q, d) + c0.run(h[3], q, d);
        const V r = quantiseSecond(u) / 4.0f + r2 * 0.1f;
        const V y = c0.run(h[0], r, d) + c1.run(h[1], r, d);
        putFrame(f, at, fadeA(y, V{}, dry, counter));
    }
    for (int k = 0; k < 4; ++k)
        h[k].store(s, k, first);
    storeLanes(s.counter + first, counter);
}

template <class V, class I, int N>
void procFrames(ProcLanes& s, int first, const ProcLanes::Frames& f)
{
    switch (s.function) {
    case 0: flangingFrames<V, I, N>(s, first, f); break;
    case 3: ringModFrames<V, I, N>(s, first, f); break;
    case 9: distortionFrames<V, I>(s, first, f); break;
    case 10: noiseFrames<V>(s, first, f); break;
    case 15: chaosFrames<V, I, N>(s, first, f); break;
    case 18: waveshapingFrames<V, I>(s, first, f); break;
    case 19: patternFrames<V, I, N>(s, first, f); break;
    case 24:
    case 25: phaserFrames<V, I>(s, first, f); break;
    default: passFrames<V>(first, f); break;
    }
}

} // namespace
