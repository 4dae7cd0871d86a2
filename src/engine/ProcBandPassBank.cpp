#include "engine/ProcBandPassBank.h"

#include "engine/EngineRandom.h"

#include <algorithm>

namespace grelmond {

namespace {

// Centre frequency of a band: rest + slope x.
struct Band {
    float rest;
    float slope;
    float at(float x) const { return rest + slope * x; }
};

// Gain of a band: (rest + slope x) x scale; a fixed gain has slope 0.
struct Gain {
    float rest;
    float slope;
    float scale;
    float at(float x) const { return (rest + slope * x) * scale; }
};

struct ThreeBand {
    float D;
    Band f[3];
    Gain g[3];
};

struct SixBand {
    float D;
    Band f[6];
    Gain g[6];
};

constexpr Gain fixed(float g) { return {g, 0.0f, 1.0f}; }
constexpr Gain twice(float rest, float slope) { return {rest, slope, 2.0f}; }
constexpr Gain fourTimes(float rest, float slope) { return {rest, slope, 4.0f}; }

// Functions 4 to 8.
const ThreeBand threeBand[5] = {
    {48.0f, {{600, -250}, {1040, -440}, {2250, 150}},
     {fixed(4), fourTimes(0.45f, -0.35f), fourTimes(0.35f, -0.325f)}},
    {48.0f, {{250, 410}, {2600, -1480}, {3050, -300}},
     {fixed(4), fourTimes(0.16f, 0.34f), fourTimes(0.08f, -0.01f)}},
    {48.0f, {{200, 1800}, {810, 3190}, {1200, 6800}},
     {fixed(4), fourTimes(0.25f, 0.468f), fourTimes(0.375f, -0.15f)}},
    {192.0f, {{100, 10000}, {150, 15000}, {170, 17000}}, {fixed(1), fixed(0.75f), fixed(0.5f)}},
    {192.0f, {{100, 10000}, {150, 15000}, {170, 17000}}, {fixed(1), fixed(0.75f), fixed(0.5f)}},
};

// Functions 11 to 14, then 20 to 23.
const SixBand sixBand[8] = {
    {48.0f, {{140, -50}, {300, -200}, {655, -535}, {1425, -1285}, {3025, -2865}, {6500, -6320}},
     {fixed(2), twice(0.85f, -0.1f), twice(0.65f, -0.1f), twice(0.6f, -0.1f), twice(0.8f, -0.1f),
      twice(0.9f, -0.1f)}},
    {192.0f, {{80, -30}, {200, -150}, {450, -400}, {1000, -950}, {3025, -2975}, {5000, -4950}},
     {fixed(2), fixed(1.3f), fixed(1.5f), fixed(1.7f), fixed(1.8f), fixed(1.1f)}},
    {48.0f, {{140, -40}, {300, -100}, {655, -255}, {1425, 575}, {3025, 975}, {6500, 1500}},
     {fixed(2), fixed(1.7f), fixed(1.3f), twice(0.6f, -0.2f), twice(0.8f, -0.3f), twice(0.9f, -0.4f)}},
    {192.0f, {{80, 120}, {200, 2800}, {450, 7550}, {1000, 9000}, {3025, 8975}, {5000, 9000}},
     {fixed(2), twice(0.65f, 0.3f), twice(0.75f, 0.2f), twice(0.85f, -0.3f), fixed(1.8f),
      twice(0.55f, 0.4f)}},
    {48.0f, {{450, -200}, {3000, -2250}, {6000, -4800}, {8000, -6300}, {10000, -7700}, {12000, -9100}},
     {fixed(2), twice(0.95f, -0.9f), twice(0.85f, -0.7f), twice(0.8f, -0.5f), twice(0.85f, -0.5f),
      twice(0.95f, -0.5f)}},
    {48.0f, {{450, -200}, {8000, -7650}, {9000, -8550}, {10000, -450}, {11000, -10350}, {12000, -11250}},
     {fixed(2), twice(0.9f, -0.8f), twice(0.9f, -0.7f), twice(0.9f, -0.6f), twice(0.9f, -0.5f),
      twice(0.9f, -0.4f)}},
    {48.0f, {{50, 400}, {100, 450}, {150, 650}, {2000, 5000}, {2500, 4600}, {3000, 5200}},
     {fixed(2), twice(0.5f, 0.45f), fixed(0.5f), twice(0.15f, 0.7f), fixed(0.5f), twice(0.5f, 0.3f)}},
    {48.0f, {{50, 0}, {100, 900}, {200, 900}, {400, 3600}, {800, 3600}, {1600, 4350}},
     {fixed(2), fixed(1.9f), twice(0.95f, -0.95f), fixed(1.9f), twice(0.9f, -0.4f), twice(0.3f, 0.6f)}},
};

const SixBand* sixBandFor(int function)
{
    if (function >= 11 && function <= 14)
        return &sixBand[function - 11];
    if (function >= 20 && function <= 23)
        return &sixBand[function - 20 + 4];
    return nullptr;
}

float quantiseFirst(float v)
{
    if (v >= 0.1f)
        return 0.5f;
    if (v >= 0.0f)
        return 0.2f;
    if (v >= -0.1f)
        return -0.3f;
    return -0.1f;
}

float quantiseSecond(float v)
{
    if (v >= 0.1f)
        return 0.25f;
    if (v >= 0.0f)
        return 0.1f;
    if (v >= -0.1f)
        return -0.15f;
    return -0.05f;
}

} // namespace

bool ProcBandPassBank::handles(int function)
{
    return (function >= 4 && function <= 9) || (function >= 11 && function <= 14)
        || (function >= 20 && function <= 23);
}

void ProcBandPassBank::reset()
{
    for (auto& h : histories_)
        h.clear();
    for (auto& h : distortionHistories_)
        h.clear();
}

void ProcBandPassBank::blockSetup(int function, float procLevel, float keyDepth, float sampleRate)
{
    if (!(sampleRate > 0.0f))
        return;
    // The sweeps are laid out for 44.1 kHz; below it they keep their Hz instead
    // of stretching past their rest frequencies into negative centres.
    const float scale = 40000.0f / std::max(sampleRate, 44100.0f);
    const float m = procLevel * keyDepth;

    if (function == 7) {
        // Stepped sweep: x0 scaled by 1, 0.75, 0.5, 0.25 as procLevel climbs.
        const float x0 = scale * procLevel;
        const float s = static_cast<float>(static_cast<int>(procLevel * 100.0f) % 4) / 4.0f;
        setThreeBand(function, (x0 - x0 * s) * keyDepth);
    } else if (function >= 4 && function <= 8) {
        setThreeBand(function, scale * m);
    } else if (function == 9) {
        setDistortion(scale * (1.0f - procLevel) * keyDepth);
    } else if (sixBandFor(function) != nullptr) {
        setSixBand(function, scale * m);
    } else {
        return;
    }
    designAll(sampleRate);
}

void ProcBandPassBank::designAll(float sampleRate)
{
    for (int i = 0; i < active_; ++i) {
        Designed& d = designed_[static_cast<std::size_t>(i)];
        if (d.centre == centres_[i] && d.width == width_ && d.rate == sampleRate)
            continue;
        design_[i] = BandPassCoefficients::design(centres_[i], width_, sampleRate);
        coeffs_[i] = BandPassNormalised(design_[i]);
        d = Designed{centres_[i], width_, sampleRate};
    }
}

void ProcBandPassBank::setThreeBand(int function, float x)
{
    const ThreeBand& t = threeBand[function - 4];
    width_ = t.D;
    active_ = 3;
    for (int i = 0; i < 3; ++i) {
        centres_[i] = t.f[i].at(x);
        gains_[i] = t.g[i].at(x);
    }
}

void ProcBandPassBank::setSixBand(int function, float x)
{
    const SixBand& t = *sixBandFor(function);
    width_ = t.D;
    active_ = 6;
    for (int i = 0; i < 6; ++i) {
        centres_[i] = t.f[i].at(x);
        gains_[i] = t.g[i].at(x);
    }
}

void ProcBandPassBank::setDistortion(float x)
{
    width_ = 48.0f;
    active_ = 2;
    centres_[0] = 650.0f - 360.0f * x;
    centres_[1] = 3000.0f - 2200.0f * x;
    gains_[0] = 1.0f;
    gains_[1] = 1.0f;
}

float ProcBandPassBank::process(float dry, float denormal)
{
    float v = 0.0f;
    for (int i = 0; i < active_; ++i)
        v += gains_[i] * histories_[i].run(coeffs_[i], dry, denormal);
    return v;
}

float ProcBandPassBank::processDistortion(float dry, float denormal, EngineRandom& random)
{
    const float q = quantiseFirst(dry) + random.rnd16() * 0.1f;
    const float u = distortionHistories_[0].run(coeffs_[0], q, denormal)
        + distortionHistories_[1].run(coeffs_[0], q, denormal);
    const float r = quantiseSecond(u) / 4.0f + random.rnd16() * 0.1f;
    return histories_[0].run(coeffs_[0], r, denormal) + histories_[1].run(coeffs_[1], r, denormal);
}

void ProcBandPassBank::resetNonFinite()
{
    for (auto& h : histories_)
        h.resetNonFinite();
    for (auto& h : distortionHistories_)
        h.resetNonFinite();
}

} // namespace grelmond
