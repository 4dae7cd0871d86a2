#pragma once

#include "engine/WaveformSet.h"

#include <memory>
#include <string>

namespace grelmond {

class Envelope;
class Keygroup;
class Multi;
class SampleStore;

// The plug-in's handle on its engine: the sample store and what it builds
// at construction (the multi, the "Default" program with its keygroup,
// three envelopes and sixteen silent waveforms). Built and loaded on the
// constructing thread; the audio thread only reads it afterwards.
class EngineHolder {
public:
    EngineHolder();
    ~EngineHolder();
    EngineHolder(const EngineHolder&) = delete;
    EngineHolder& operator=(const EngineHolder&) = delete;

    // Sine, waveform data file of the installation folder, loop lengths.
    void loadWaveforms(const std::string& installFolder);

    SampleStore* store() const { return store_.get(); }
    Multi* multi() const { return multi_; }
    Keygroup* keygroup() const { return keygroup_; }
    const WaveformSet& waveforms() const { return waveforms_; }

    Envelope* amplitudeEnvelope() const;
    Envelope* filterEnvelope() const;
    Envelope* procEnvelope() const;

    // The event handler lives with the render side, which attaches it here.

private:
    std::unique_ptr<SampleStore> store_;
    Multi* multi_ = nullptr;
    Keygroup* keygroup_ = nullptr;
    WaveformSet waveforms_;
};

} // namespace grelmond
