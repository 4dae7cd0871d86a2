#pragma once

namespace grelmond {

// Constant-peak-gain resonant band-pass (Q = D / 2), one biquad section.
// Coefficients are designed once per render call; run() is the per-frame step.

struct BandPassCoefficients {
    float b0 = 0.0f, b1 = 0.0f, b2 = 0.0f;
    float a0 = 1.0f, a1 = 0.0f, a2 = 0.0f;

    // Lowest centre in radians per frame. Below about 2.4e-4 the float32 cosine
    // rounds so close to 1 that a pole lands on or outside the unit circle; from
    // here up to 0.45 of the sample rate every float32 angle gives both widths
    // (D 48 and 192) a pole radius below 1.
    static constexpr float lowestAngle = 5.0e-4f;

    // Centre frequency f in Hz, width divisor D, host sample rate sr.
    // f is held to 1 Hz .. 0.45 x sr: at and past half the sample rate the
    // section turns unstable; the angle is then held to at least lowestAngle.
    static BandPassCoefficients design(float f, float D, float sampleRate);
    // The section for a centre given as an angle w (radians per frame).
    static BandPassCoefficients designAngle(float w, float D);
    static float limitFrequency(float f, float sampleRate);
};

// The coefficients divided by a0, as the section uses them per frame.
struct BandPassNormalised {
    float b0 = 0.0f, b1 = 0.0f, b2 = 0.0f, a1 = 0.0f, a2 = 0.0f;

    BandPassNormalised() = default;
    explicit BandPassNormalised(const BandPassCoefficients& c)
        : b0(c.b0 / c.a0), b1(c.b1 / c.a0), b2(c.b2 / c.a0), a1(c.a1 / c.a0), a2(c.a2 / c.a0) {}
};

struct BandPassHistory {
    float x1 = 0.0f, x2 = 0.0f, y1 = 0.0f, y2 = 0.0f;

    // d is the engine's alternating denormal offset.
    float run(const BandPassNormalised& c, float u, float d)
    {
        const float y = c.b0 * u + c.b1 * x1 + c.b2 * x2 - c.a1 * y1 - c.a2 * y2 + d;
        x2 = x1;
        x1 = u + d;
        y2 = y1;
        y1 = y;
        return y;
    }

    void clear() { *this = BandPassHistory{}; }
    // Clears the whole history if any part of it is NaN or infinite.
    void resetNonFinite();
};

} // namespace grelmond
