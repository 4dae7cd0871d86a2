#pragma once

#include <array>
#include <atomic>
#include <cstdint>

#include "params/EnvelopeTemplate.h"

namespace grelmond {

class SampleStore;

// Attack and decay entries from 0, release entries from releaseBase; each
// segment is at most 3000 ticks, so the regions never overlap.
class EnvelopeTable {
public:
    static constexpr int size = 9001;
    static constexpr int releaseBase = 6000;

    float at(int i) const { return entries_[static_cast<std::size_t>(i)].load(std::memory_order_relaxed); }
    void set(int i, float v) { entries_[static_cast<std::size_t>(i)].store(v, std::memory_order_relaxed); }

private:
    // Rebuilt by the parameter thread while voices read it; each entry is one 32-bit value.
    std::array<std::atomic<float>, size> entries_{};
};

// An ADSR shape precomputed into a table and read at a time in ticks
// (hundredths of a second). Shared by every voice; it has no running state.
// Construction and the setters run on whichever thread sets parameters;
// read() runs on the audio thread.
class Envelope : public EnvelopeTarget {
public:
    static constexpr int maxTicks = 3000;

    // The filter envelope is built once with an exponential attack; every
    // later rebuild, and every other envelope, uses a straight rise.
    enum class FirstAttack { Straight, Exponential };

    struct Reading {
        float value;
        bool ended;
    };

    Envelope(int attack, int decay, float sustain, int release, SampleStore* owner, bool clickGuard,
             FirstAttack firstAttack = FirstAttack::Straight);
    Envelope(const Envelope&) = delete;
    Envelope& operator=(const Envelope&) = delete;

    void setAttack(int32_t ticks) override;
    void setDecay(int32_t ticks) override;
    void setSustain(float value) override;
    void setRelease(int32_t ticks) override;

    Reading read(float time, float releaseTime, bool releasing, float releaseLevel) const;

    int attack() const { return attack_.load(std::memory_order_relaxed); }
    int decay() const { return decay_.load(std::memory_order_relaxed); }
    int attackDecay() const { return attackDecay_.load(std::memory_order_relaxed); }
    float sustain() const { return sustain_.load(std::memory_order_relaxed); }
    int release() const { return release_.load(std::memory_order_relaxed); }
    bool clickGuard() const { return clickGuard_; }
    SampleStore* owner() const { return owner_; }
    const EnvelopeTable& table() const { return table_; }

private:
    void build(FirstAttack shape);
    void fillAttack(int attack, FirstAttack shape);
    void fillDecay(int attack, int decay, float sustain);
    void fillRelease(int release);

    std::atomic<int> attack_{0};
    std::atomic<int> decay_{0};
    std::atomic<int> attackDecay_{0};
    std::atomic<float> sustain_{0.0f};
    std::atomic<int> release_{0};
    EnvelopeTable table_;
    SampleStore* owner_;
    bool clickGuard_;
};

} // namespace grelmond
