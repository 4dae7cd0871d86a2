#include "engine/ProcProcessor.h"

#include <algorithm>
#include <bit>
#include <cmath>

#include "engine/EngineRandom.h"

namespace grelmond {

namespace {

constexpr float twoPi = 6.2831853072f;
constexpr int ringMask = ProcProcessor::ringSize - 1;

// The counter only matters modulo 4,096 and 8 and against the fade-in
// thresholds, so folding it back by a multiple of both keeps every use intact
// while avoiding int32 overflow on very long notes.
constexpr int32_t counterFoldAbove = 1 << 30;
constexpr int32_t counterFold = 1 << 29;

constexpr uint32_t exponentMask = 0x7F800000u; // all ones: NaN or infinity

const char* const functionNames[ProcProcessor::functionCount] = {
    "1 Flanging",        "2 PitchMod Hi",      "3 PitchMod Lo",      "4 Ring Mod",
    "5 Vox A",           "6 Vox B",            "7 Vox C",            "8 BP Mod",
    "9 BP Crazy",        "10 BP Dist",         "11 Noise",           "12 Voder 1",
    "13 Voder 2",        "14 Voder 3",         "15 Voder 4",         "16 Chaos (4th Osc)",
    "17 Chaos (Osc 1)",  "18 Chaos (All Osc)", "19 Waveshaping 1",   "20 Waveshaping 2",
    "21 Filter Bank 1",  "22 Filter Bank 2",   "23 Filter Bank 3",   "24 Filter Bank 4",
    "25 Phaser 1",       "26 Phaser 2",
};

const float waveshapePattern[8] = {0.1f, 0.7f, -0.5f, 0.8f, -0.9f, 0.3f, 0.2f, -0.6f};

uint32_t exponentOf(float v) { return std::bit_cast<uint32_t>(v) & exponentMask; }

float finiteOr(float v, float fallback) { return std::isfinite(v) ? v : fallback; }

// Every block value is a 0 to 1 quantity; holding it there keeps the
// float-to-index conversions defined whatever reaches the voice.
float unit(float v) { return v > 0.0f ? std::min(v, 1.0f) : 0.0f; }

} // namespace

ProcProcessor::ProcProcessor() { reset(); }

void ProcProcessor::reset()
{
    bank_.reset();
    ring_.fill(0.0f);
    ringExponents_ = 0;
    setUp_ = false;
    function_ = 0;
    procLevel_ = 0.0f;
    procEnv_ = 0.0f;
    keyDepth_ = 1.0f;
    m_ = 0.0f;
    flangerFeedbackGain_ = 0.0f;
    osc1Increment_ = 0.0f;
    ap_ = -0.95f;
    counter_ = 0;
    flangerFeedback_ = 0.0f;
    carrierCounter_ = 0;
    carrierPhase_ = 0.0f;
    chaosState_ = 0.5f;
    p1_ = 0.0f;
    p2_ = 0.0f;
    phaserXp_ = 0.998833f;
    phaserA1_ = 0.0705552f;
    phaserA2_ = -0.00898442f;
    phaserFeedback_ = 0.0f;
}

void ProcProcessor::clearHistories()
{
    bank_.reset();
    ring_.fill(0.0f);
    ringExponents_ = 0;
    flangerFeedback_ = 0.0f;
    phaserXp_ = 0.0f;
    phaserA1_ = 0.0f;
    phaserA2_ = 0.0f;
    phaserFeedback_ = 0.0f;
}

int ProcProcessor::functionIndex(float procFunct)
{
    const float v = procFunct * 25.1f;
    if (!(v > 0.0f))
        return 0;
    if (v >= 25.0f)
        return 25;
    return static_cast<int>(v);
}

float ProcProcessor::procLevel(float procAmount, float procEnv, float invert)
{
    const float level = procAmount * procEnv;
    return invert != 0.0f ? 1.0f - level : level;
}

const char* ProcProcessor::functionName(int function)
{
    if (function < 0 || function >= functionCount)
        return "";
    return functionNames[function];
}

void ProcProcessor::setOscillator1Increment(float increment)
{
    osc1Increment_ = increment > 0.0f && std::isfinite(increment) ? increment : 0.0f;
}

bool ProcProcessor::needsOscillator1Increment(int function)
{
    return function == 3 || function == 15;
}

ProcPitch ProcProcessor::blockSetup(const ProcBlockInput& in)
{
    const int function = std::clamp(in.function, 0, functionCount - 1);
    // One function's filter states under another's coefficients can ring far
    // above full scale, and they would last until the note ends.
    if (setUp_ && function != function_)
        clearHistories();
    setUp_ = true;
    function_ = function;
    procLevel_ = unit(in.procLevel);
    procEnv_ = unit(in.procEnv);
    keyDepth_ = unit(in.keyDepth);
    m_ = procLevel_ * keyDepth_;
    flangerFeedbackGain_ = unit(in.flangerFeedback);

    ProcPitch pitch;
    switch (function_) {
    case 1:
        pitch.procPitch = keyDepth_ * procLevel_ * 48.0f;
        break;
    case 2:
        pitch.procPitch = keyDepth_ * procLevel_ * 12.0f;
        break;
    case 16:
    case 17: {
        stepChaos(m_);
        const float out = m_ * static_cast<float>((static_cast<int32_t>(std::floor(chaosState_ * 255.0f)) & 255) - 128) / 128.0f;
        countCarrier();
        pitch.chaosOffset[0] = 24.0f * out;
        if (function_ == 17) {
            pitch.chaosOffset[1] = 20.0f * out;
            pitch.chaosOffset[2] = 28.0f * out;
        }
        break;
    }
    case 24:
    case 25:
        ap_ = std::clamp((1.0f - procLevel_) * 0.65f * keyDepth_ - 0.95f, -0.95f, -0.3f);
        break;
    default:
        if (ProcBandPassBank::handles(function_))
            bank_.blockSetup(function_, procLevel_, keyDepth_, in.sampleRate);
        break;
    }
    return pitch;
}

float ProcProcessor::process(float dry, float third, float denormal, EngineRandom& random)
{
    switch (function_) {
    case 0:
        return flanging(dry, denormal) + third;
    case 3:
        return ringMod(dry) + third;
    case 9:
        return fadeA(bank_.processDistortion(dry, denormal, random), 0.0f, dry) + third;
    case 10:
        return noise(dry, random) + third;
    case 15:
        return chaosOscillator(dry) / 8.0f + third;
    case 18:
        return waveshaping1(dry) + third;
    case 19:
        return waveshaping2(dry) + third;
    case 24:
    case 25:
        return phaser(dry, denormal) + third;
    case 1:
    case 2:
    case 16:
    case 17:
        return dry + third;
    default:
        return bank_.process(dry, denormal) + third;
    }
}

void ProcProcessor::advanceCounter(int32_t by)
{
    counter_ += by;
    if (counter_ >= counterFoldAbove)
        counter_ -= counterFold;
}

void ProcProcessor::smoothProcLevel()
{
    p1_ = 0.5f * procLevel_ + 0.5f * p1_;
    p2_ = 0.5f * p1_ + 0.5f * p2_;
}

float ProcProcessor::flanging(float dry, float denormal)
{
    smoothProcLevel();
    const float a = std::clamp((p2_ + 1.0f) / 2.0f, 0.0f, 1.0f);

    const float x = dry * 0.1f;
    const int32_t w = counter_;
    const float hold = ring_[(w - 1) & ringMask];
    const float input = x + flangerFeedback_ + denormal;
    const float mean = (input + hold) / 2.0f;
    ring_[(w + 1) & ringMask] = input;
    ring_[w & ringMask] = mean;
    ringExponents_ = std::max({ringExponents_, exponentOf(input), exponentOf(mean)});

    const int32_t read = static_cast<int32_t>(std::floor(a * keyDepth_ * 306.0f)) + w - 310;
    float y = ring_[read & ringMask] + x;
    flangerFeedback_ = y * flangerFeedbackGain_;
    advanceCounter(2);
    y *= 10.0f;

    const int32_t n = counter_;
    if (n < 4096)
        return dry;
    if (n < 8192) {
        const float f = static_cast<float>(n - 4096) / 4096.0f;
        return y * f + dry * (1.0f - f);
    }
    return y;
}

float ProcProcessor::carrierPhase(float step)
{
    float g = static_cast<float>(carrierCounter_) * step + carrierPhase_;
    if (g >= 1.0f) {
        // Keep only the fraction: when the carrier runs faster than one cycle
        // per frame the phase would otherwise grow without bound and lose its
        // precision until the carrier falls apart.
        carrierPhase_ = g - std::floor(g);
        carrierCounter_ = 0;
        g = carrierPhase_;
    }
    countCarrier();
    return g;
}

void ProcProcessor::countCarrier()
{
    // A carrier standing still (increment 0) never wraps; stop counting
    // rather than overflow.
    if (carrierCounter_ < INT32_MAX)
        carrierCounter_ += 1;
}

float ProcProcessor::ringMod(float dry)
{
    smoothProcLevel();
    const float a = 1.0f - (p2_ + 1.0f) / 2.0f;
    const float mm = std::max(a * keyDepth_, 0.001f);
    const float step = osc1Increment_ * 440.0f / (44100.0f * (mm + 0.001f));
    const float g = carrierPhase(step);
    return std::sin(twoPi * g) * dry;
}

float ProcProcessor::noise(float dry, EngineRandom& random) const
{
    const float n = static_cast<float>(random.raw16()) / 1360000.0f;
    return m_ * n * procEnv_ + (1.0f - m_) * dry;
}

float ProcProcessor::stepChaos(float m)
{
    const float z = chaosState_;
    // Held to 0 to 1: once outside, the map runs away to -infinity.
    chaosState_ = std::clamp((z - z * z) * (3.57f + 0.43f * m), 0.0f, 1.0f);
    return chaosState_;
}

float ProcProcessor::chaosOscillator(float dry)
{
    const float m = m_;
    const float c = stepChaos(m);
    const float step = osc1Increment_ * 440.0f / (44100.0f * (m + 0.01f));
    const float g = carrierPhase(step);
    const float y = std::sin(twoPi * g * (m * c + 1.0f));
    return (1.0f - m) * dry + m * y / 20.0f;
}

float ProcProcessor::waveshaping1(float dry) const
{
    if (!(procLevel_ > 0.0f))
        return dry;
    float level;
    if (dry > 0.3f)
        level = 0.035f;
    else if (dry > 0.0f)
        level = 0.075f;
    else if (dry > -0.3f)
        level = -0.075f;
    else
        level = -0.035f;
    return m_ * level / 4.0f + dry * (1.0f - m_);
}

float ProcProcessor::waveshaping2(float dry)
{
    if (!(procLevel_ > 0.0f))
        return dry;
    float level = -0.075f;
    if (dry > 0.0f) {
        level = waveshapePattern[counter_ & 7] * 0.075f;
        advanceCounter(1);
    }
    return m_ * level / 4.0f + (1.0f - m_) * dry;
}

float ProcProcessor::phaser(float dry, float denormal)
{
    const float x = dry + phaserFeedback_;
    const float a1 = ap_ * x + phaserXp_ - ap_ * phaserA1_ + denormal;
    phaserXp_ = x;
    phaserA2_ = ap_ * a1 + phaserA1_ - ap_ * phaserA2_ + denormal;
    phaserA1_ = a1;
    phaserFeedback_ = phaserA2_ * (function_ == 24 ? 0.1612f : 0.78182f);
    const float y = (dry + phaserA2_) * 0.5f + denormal;
    return fadeA(y, dry, dry);
}

float ProcProcessor::fadeA(float y, float fadeValue, float dry)
{
    const int32_t n = counter_;
    advanceCounter(1);
    if (n < 100)
        return fadeValue;
    if (n < 200) {
        const float w = static_cast<float>(n - 100) / 100.0f;
        return y * w + dry * (1.0f - w);
    }
    return y;
}

void ProcProcessor::resetNonFinite()
{
    bank_.resetNonFinite();

    // The ring holds a NaN or infinity only if one was written since the last
    // look: the rest of it was finite then.
    if (ringExponents_ == exponentMask) {
        for (float& v : ring_)
            v = finiteOr(v, 0.0f);
    }
    ringExponents_ = 0;
    flangerFeedback_ = finiteOr(flangerFeedback_, 0.0f);

    if (!std::isfinite(phaserXp_) || !std::isfinite(phaserA1_) || !std::isfinite(phaserA2_)
        || !std::isfinite(phaserFeedback_)) {
        phaserXp_ = 0.0f;
        phaserA1_ = 0.0f;
        phaserA2_ = 0.0f;
        phaserFeedback_ = 0.0f;
    }
    p1_ = finiteOr(p1_, 0.0f);
    p2_ = finiteOr(p2_, 0.0f);
    carrierPhase_ = finiteOr(carrierPhase_, 0.0f);
    chaosState_ = finiteOr(chaosState_, 0.0f);
}

} // namespace grelmond
