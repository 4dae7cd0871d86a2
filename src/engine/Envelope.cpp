#include "engine/Envelope.h"

#include "params/VolumeCurve.h"

#include <algorithm>
#include <cmath>

namespace grelmond {

namespace {

constexpr int guardedTicks = 8;
constexpr float guardedAttack[guardedTicks] = {0.0f, 0.25f, 0.5f, 0.8f, 0.85f, 0.9f, 0.95f, 1.0f};
constexpr float guardedRelease[guardedTicks] = {1.0f, 0.95f, 0.9f, 0.85f, 0.8f, 0.5f, 0.25f, 0.0f};
constexpr int silentTicksBeforeEnd = 5;

int clampTicks(int ticks) { return std::clamp(ticks, 0, Envelope::maxTicks); }

float clampLevel(float v) { return std::isfinite(v) ? std::clamp(v, 0.0f, 1.0f) : 0.0f; }

// Falls from 1 to 0 along a curve that sags below the straight line.
float sag(float b) { return 2.0f * b - std::log2(1.0f + b); }

// Index of a tick time, or -1 when the time is not below limit (including NaN).
int tickIndex(float time, int limit) {
    if (!(time < static_cast<float>(limit))) return -1;
    return std::max(0, static_cast<int>(std::floor(time)));
}

} // namespace

Envelope::Envelope(int attack, int decay, float sustain, int release, SampleStore* owner, bool clickGuard,
                   FirstAttack firstAttack)
    : owner_(owner), clickGuard_(clickGuard) {
    attack_.store(attack, std::memory_order_relaxed);
    decay_.store(decay, std::memory_order_relaxed);
    sustain_.store(sustain, std::memory_order_relaxed);
    release_.store(release, std::memory_order_relaxed);
    build(firstAttack);
}

void Envelope::setAttack(int32_t ticks) {
    attack_.store(ticks, std::memory_order_relaxed);
    build(FirstAttack::Straight);
}

void Envelope::setDecay(int32_t ticks) {
    decay_.store(ticks, std::memory_order_relaxed);
    build(FirstAttack::Straight);
}

void Envelope::setSustain(float value) {
    sustain_.store(value, std::memory_order_relaxed);
    build(FirstAttack::Straight);
}

void Envelope::setRelease(int32_t ticks) {
    release_.store(ticks, std::memory_order_relaxed);
    build(FirstAttack::Straight);
}

void Envelope::build(FirstAttack shape) {
    int attack = clampTicks(attack_.load(std::memory_order_relaxed));
    int decay = clampTicks(decay_.load(std::memory_order_relaxed));
    int release = clampTicks(release_.load(std::memory_order_relaxed));
    float sustain = clampLevel(sustain_.load(std::memory_order_relaxed));
    if (clickGuard_) {
        attack = std::max(attack, guardedTicks);
        release = std::max(release, guardedTicks);
    }
    // Fill the tables before publishing the lengths, so a voice reading
    // meanwhile sees at worst a mix of old and new entries, never unset ones.
    fillAttack(attack, shape);
    fillDecay(attack, decay, sustain);
    fillRelease(release);
    attack_.store(attack, std::memory_order_relaxed);
    decay_.store(decay, std::memory_order_relaxed);
    sustain_.store(sustain, std::memory_order_relaxed);
    release_.store(release, std::memory_order_relaxed);
    attackDecay_.store(attack + decay, std::memory_order_relaxed);
}

void Envelope::fillAttack(int attack, FirstAttack shape) {
    if (clickGuard_ && attack == guardedTicks) {
        for (int i = 0; i < guardedTicks; ++i) table_.set(i, guardedAttack[i]);
        return;
    }
    for (int i = 0; i < attack; ++i) {
        if (shape == FirstAttack::Exponential)
            table_.set(i, VolumeCurve::at(i * VolumeCurve::kSize / attack));
        else
            table_.set(i, static_cast<float>(i) / static_cast<float>(attack));
    }
}

void Envelope::fillDecay(int attack, int decay, float sustain) {
    for (int i = attack; i < attack + decay; ++i) {
        float b = 1.0f - static_cast<float>(i - attack) / static_cast<float>(decay);
        float k = sag(b);
        table_.set(i, k + (1.0f - k) * sustain);
    }
}

void Envelope::fillRelease(int release) {
    if (clickGuard_ && release == guardedTicks) {
        for (int j = 0; j < guardedTicks; ++j) table_.set(EnvelopeTable::releaseBase + j, guardedRelease[j]);
        return;
    }
    for (int j = 0; j < release; ++j) {
        float b = 1.0f - static_cast<float>(j) / static_cast<float>(release);
        table_.set(EnvelopeTable::releaseBase + j, sag(b));
    }
}

Envelope::Reading Envelope::read(float time, float releaseTime, bool releasing, float releaseLevel) const {
    if (!releasing) {
        int i = tickIndex(time, attackDecay());
        if (i >= 0) return {table_.at(i), false};
        float s = sustain();
        return {s, s == 0.0f};
    }
    int release = this->release();
    float sinceRelease = time - releaseTime;
    int i = tickIndex(sinceRelease, release);
    if (i >= 0) return {releaseLevel * table_.at(EnvelopeTable::releaseBase + i), false};
    return {0.0f, !(sinceRelease < static_cast<float>(release + silentTicksBeforeEnd))};
}

} // namespace grelmond
