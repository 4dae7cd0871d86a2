#pragma once

#include <array>

namespace grelmond {

class Envelope;
class SampleStore;
class Waveform;

// The template every voice context is copied from: the sixteen waveforms
// and the three envelopes of the sound.
class Keygroup {
public:
    static constexpr int waveformSlots = 16;

    explicit Keygroup(SampleStore* owner) : owner_(owner) {}

    // False when all slots are taken.
    bool addWaveform(Waveform* w);
    int waveformCount() const { return waveformCount_; }
    Waveform* waveform(int i) const { return i >= 0 && i < waveformCount_ ? waveforms_[i] : nullptr; }

    void setEnvelopes(Envelope* amplitude, Envelope* filter, Envelope* proc);
    Envelope* amplitude() const { return amplitude_; }
    Envelope* filter() const { return filter_; }
    Envelope* proc() const { return proc_; }

    SampleStore* owner() const { return owner_; }

private:
    SampleStore* owner_;
    std::array<Waveform*, waveformSlots> waveforms_{};
    int waveformCount_ = 0;
    Envelope* amplitude_ = nullptr;
    Envelope* filter_ = nullptr;
    Envelope* proc_ = nullptr;
};

} // namespace grelmond
